find_program(LAME_COMMAND lame REQUIRED)
find_program(MADPLAY_COMMAND madplay REQUIRED)

add_library(tarnix_mp3_testsupport STATIC
  ${CMAKE_CURRENT_LIST_DIR}/mp3_test_support.cpp ${CMAKE_CURRENT_LIST_DIR}/mp3_test_support.h)
target_link_libraries(tarnix_mp3_testsupport PUBLIC tarnix_audio_mp3 GTest::gtest)

tarnix_add_gtest(mp3_recorder_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/mp3_recorder_test.cpp
                 LIBS tarnix_mp3_testsupport)
target_compile_definitions(mp3_recorder_test PRIVATE LAME_COMMAND="${LAME_COMMAND}")

tarnix_add_gtest(mp3_source_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/mp3_source_test.cpp
                 ${CMAKE_CURRENT_LIST_DIR}/mp3_dither_test.cpp LIBS tarnix_mp3_testsupport)
target_compile_definitions(mp3_source_test PRIVATE LAME_COMMAND="${LAME_COMMAND}")

tarnix_add_gtest(mp3_madplay_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/mp3_madplay_test.cpp
                 LIBS tarnix_mp3_testsupport)
target_compile_definitions(mp3_madplay_test PRIVATE MADPLAY_COMMAND="${MADPLAY_COMMAND}")
