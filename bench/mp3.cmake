find_program(LAME_COMMAND lame REQUIRED)
find_program(MADPLAY_COMMAND madplay REQUIRED)

add_executable(mp3_bench ${CMAKE_CURRENT_LIST_DIR}/mp3_bench.cpp)
target_link_libraries(mp3_bench PRIVATE tarnix_audio_fakes benchmark::benchmark)
target_compile_definitions(mp3_bench PRIVATE LAME_COMMAND="${LAME_COMMAND}" MADPLAY_COMMAND="${MADPLAY_COMMAND}")
