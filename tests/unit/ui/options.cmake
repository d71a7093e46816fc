if(TARNIX_BUILD_PRODUCT)
  # The options dialog and its pages over a virtual handset, with the shipped language file.
  tarnix_add_gtest(options_dialog_test
    SOURCES
      ${CMAKE_CURRENT_LIST_DIR}/options_dialog_test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/tone_settings_page_test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/answering_page_test.cpp
    LIBS tarnix_ui tarnix_fake_hid_bus tarnix_testsupport_config tarnix_testsupport_ui Qt6::Test
    ENV "QT_QPA_PLATFORM=offscreen")
  target_compile_definitions(options_dialog_test PRIVATE
    TARNIX_RESOURCES_FOLDER="${PROJECT_SOURCE_DIR}/resources/")
endif()
