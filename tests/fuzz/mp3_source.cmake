add_executable(mp3_source_fuzzer ${CMAKE_CURRENT_LIST_DIR}/mp3_source_fuzzer.cpp)
target_link_libraries(mp3_source_fuzzer PRIVATE tarnix_audio)
target_link_options(mp3_source_fuzzer PRIVATE -fsanitize=fuzzer,address,undefined)
