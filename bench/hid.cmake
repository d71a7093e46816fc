# hid_bench: reports through the hidraw adapter on a umockdev-emulated /dev/hidrawN. Needs the
# test bed from tools/handset-sim (it re-runs itself under umockdev's preload library).
if(TARNIX_BUILD_PRODUCT AND TARGET tarnix_umockdev_hid AND TARGET tarnix_testsupport)
  add_executable(hid_bench ${CMAKE_CURRENT_LIST_DIR}/hid_bench.cpp)
  target_link_libraries(hid_bench PRIVATE tarnix_platform_hid tarnix_umockdev_hid tarnix_testsupport
                        benchmark::benchmark)
endif()
