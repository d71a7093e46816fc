if(TARNIX_BUILD_PRODUCT)
  tarnix_add_gtest(popups_test
    SOURCES
      ${CMAKE_CURRENT_LIST_DIR}/notification_popup_test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/volume_popup_test.cpp
    LIBS tarnix_ui_popups tarnix_fake_hid_bus tarnix_audio_fakes tarnix_testsupport_ui Qt6::Test
    ENV "QT_QPA_PLATFORM=offscreen")
endif()
