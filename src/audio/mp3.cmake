# MP3 recording (LAME) and decoding (libmad).
pkg_check_modules(LAME REQUIRED IMPORTED_TARGET lame)
pkg_check_modules(MAD REQUIRED IMPORTED_TARGET mad)

add_library(tarnix_audio_mp3 STATIC
  ${CMAKE_CURRENT_LIST_DIR}/capture_channel.h
  ${CMAKE_CURRENT_LIST_DIR}/lame_encoder.cpp ${CMAKE_CURRENT_LIST_DIR}/lame_encoder.h
  ${CMAKE_CURRENT_LIST_DIR}/linear_dither.cpp ${CMAKE_CURRENT_LIST_DIR}/linear_dither.h
  ${CMAKE_CURRENT_LIST_DIR}/mp3_encoder.h
  ${CMAKE_CURRENT_LIST_DIR}/mp3_recorder.cpp ${CMAKE_CURRENT_LIST_DIR}/mp3_recorder.h
  ${CMAKE_CURRENT_LIST_DIR}/mp3_source.cpp ${CMAKE_CURRENT_LIST_DIR}/mp3_source.h
)
target_link_libraries(tarnix_audio_mp3 PUBLIC tarnix_config tarnix_base PkgConfig::MAD PRIVATE PkgConfig::LAME)
