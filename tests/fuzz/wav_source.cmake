# The WAV decoder's fuzz target (included by tests/fuzz/CMakeLists.txt in the fuzz build).
add_executable(wav_source_fuzzer ${CMAKE_CURRENT_LIST_DIR}/wav_source_fuzzer.cpp)
target_link_libraries(wav_source_fuzzer PRIVATE tarnix_audio)
target_link_options(wav_source_fuzzer PRIVATE -fsanitize=fuzzer)
