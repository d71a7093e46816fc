# The main window in a binary of its own: it runs the application's main loop. The options
# dialog comes from the program's own dialogs.
tarnix_add_gtest(main_window_test
  SOURCES main_window_fixture.cpp main_window_fixture.h main_window_test.cpp message_list_test.cpp
    options_path_test.cpp
  LIBS tarnix_ui tarnix_program tarnix_testsupport_app tarnix_testsupport_config tarnix_testsupport_ui Qt6::Test
  ENV "QT_QPA_PLATFORM=offscreen")
