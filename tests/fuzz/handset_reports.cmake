# Handset input reports through each model's poll (included by tests/fuzz/CMakeLists.txt).
add_executable(handset_reports_fuzzer ${CMAKE_CURRENT_LIST_DIR}/handset_reports_fuzzer.cpp)
target_link_libraries(handset_reports_fuzzer PRIVATE tarnix_fake_hid_bus tarnix_virtual_pstn_board)
target_compile_definitions(handset_reports_fuzzer PRIVATE
  VIRTUAL_PSTN_BOARD_PATH="$<TARGET_FILE:tarnix_virtual_pstn_board>")
target_link_options(handset_reports_fuzzer PRIVATE -fsanitize=fuzzer,address,undefined)
