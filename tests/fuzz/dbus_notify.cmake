# The bus's Notify texts into an attached Skype client (included by tests/fuzz/CMakeLists.txt).
add_executable(dbus_notify_fuzzer ${CMAKE_CURRENT_LIST_DIR}/dbus_notify_fuzzer.cpp)
target_link_libraries(dbus_notify_fuzzer PRIVATE tarnix_platform_dbus_text tarnix_messenger_stack)
target_include_directories(dbus_notify_fuzzer PRIVATE ${CMAKE_CURRENT_LIST_DIR})
target_link_options(dbus_notify_fuzzer PRIVATE -fsanitize=fuzzer,address,undefined)
