# The Skype client's notification parse on the virtual clock (included by tests/fuzz/CMakeLists.txt).
add_executable(skype_notifications_fuzzer ${CMAKE_CURRENT_LIST_DIR}/skype_notifications_fuzzer.cpp)
target_link_libraries(skype_notifications_fuzzer PRIVATE tarnix_messenger_stack)
target_include_directories(skype_notifications_fuzzer PRIVATE ${CMAKE_CURRENT_LIST_DIR})
target_link_options(skype_notifications_fuzzer PRIVATE -fsanitize=fuzzer,address,undefined)
