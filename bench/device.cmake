# The handset layer's poll tick; needs the fake bus of the unit tests.
if(TARGET tarnix_fake_hid_bus)
  add_executable(handset_poll_bench ${CMAKE_CURRENT_LIST_DIR}/handset_poll_bench.cpp)
  target_link_libraries(handset_poll_bench PRIVATE tarnix_fake_hid_bus benchmark::benchmark_main)
endif()
