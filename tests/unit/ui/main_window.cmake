# The main window and the program-wide key handling, in a binary of their own: they run the
# application's main loop.
tarnix_add_gtest(main_window_test
  SOURCES
    accelerator_filter_test.cpp
    main_window_test.cpp
    recording_window.cpp recording_window.h
    ui_test_support.cpp ui_test_support.h
  LIBS tarnix_ui tarnix_fake_hid_bus tarnix_testsupport Qt6::Test
  ENV "QT_QPA_PLATFORM=offscreen")
