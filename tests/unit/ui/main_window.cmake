# The main window in a binary of its own: it runs the application's main loop.
tarnix_add_gtest(main_window_test
  SOURCES main_window_fixture.cpp main_window_fixture.h main_window_test.cpp message_list_test.cpp
    options_path_test.cpp
  LIBS tarnix_ui tarnix_testsupport_app tarnix_testsupport_config tarnix_testsupport_ui Qt6::Test
  ENV "QT_QPA_PLATFORM=offscreen")

# The handset test dialog on the virtual handsets and fake sound devices.
tarnix_add_gtest(handset_test_dialog_test
  SOURCES handset_test_dialog_test.cpp
  LIBS tarnix_ui tarnix_testsupport_app tarnix_testsupport_config tarnix_testsupport_ui tarnix_audio_fakes
       tarnix_virtual_pstn_board
  ENV "QT_QPA_PLATFORM=offscreen")
target_compile_definitions(handset_test_dialog_test PRIVATE
  VIRTUAL_PSTN_BOARD_PATH="$<TARGET_FILE:tarnix_virtual_pstn_board>")
