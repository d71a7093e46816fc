# soak_bench: a day of calls on the phone stack on the virtual clock; memory and descriptors must
# stay flat. A plain program, not a Google Benchmark: it ignores the arguments ./run bench passes.
if(TARGET tarnix_messenger_stack)
  add_executable(soak_bench ${CMAKE_CURRENT_LIST_DIR}/soak_bench.cpp)
  target_link_libraries(soak_bench PRIVATE tarnix_messenger_stack)
endif()
