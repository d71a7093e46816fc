# device_hid_bench: the handset layer over the hidraw adapter, on a virtual handset served as an
# emulated /dev/hidrawN (it re-runs itself under umockdev's preload library).
if(TARNIX_BUILD_PRODUCT AND TARGET tarnix_handset_bed AND TARGET tarnix_testsupport)
  add_executable(device_hid_bench ${CMAKE_CURRENT_LIST_DIR}/device_hid_bench.cpp)
  target_link_libraries(device_hid_bench PRIVATE tarnix_device tarnix_platform_hid tarnix_base_qt
                        tarnix_handset_bed tarnix_testsupport benchmark::benchmark)
  target_compile_options(device_hid_bench PRIVATE -U_FORTIFY_SOURCE)
endif()
