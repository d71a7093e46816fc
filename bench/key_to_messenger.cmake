# key_to_messenger_bench: the real program under a virtual handset (served by this process from a
# umockdev testbed) beside the messenger stand-in on a private session bus.
if(TARNIX_BUILD_PRODUCT AND TARGET tarnix_program_copy AND TARGET tarnix_handset_bed AND TARGET skype-sim)
  add_executable(key_to_messenger_bench ${CMAKE_CURRENT_LIST_DIR}/key_to_messenger_bench.cpp)
  target_link_libraries(key_to_messenger_bench PRIVATE tarnix_program_copy tarnix_handset_bed Qt6::DBus
                        benchmark::benchmark)
  target_compile_definitions(key_to_messenger_bench PRIVATE
    PROGRAM_PATH="$<TARGET_FILE:tarnix-usbphone>"
    LOCALE_PATH="${PROJECT_SOURCE_DIR}/resources/locale.xml"
    SKYPE_SIM="$<TARGET_FILE:skype-sim>")
  add_dependencies(key_to_messenger_bench tarnix-usbphone skype-sim)
endif()
