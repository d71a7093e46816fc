# The Skype link: a ringing call from the messenger stand-in to the handset's ring report over a
# private session bus, and the parser's throughput. Needs the test stack and the stand-in.
if(TARGET tarnix_messenger_stack AND TARGET tarnix_platform_dbus_link AND TARGET skype-sim)
  add_executable(messenger_bench ${CMAKE_CURRENT_LIST_DIR}/messenger_bench.cpp)
  target_link_libraries(messenger_bench PRIVATE tarnix_messenger_stack tarnix_platform_dbus_link tarnix_base_qt
                        tarnix_platform_testsupport benchmark::benchmark)
  target_compile_definitions(messenger_bench PRIVATE SKYPE_SIM="$<TARGET_FILE:skype-sim>")
  add_dependencies(messenger_bench skype-sim)
endif()
