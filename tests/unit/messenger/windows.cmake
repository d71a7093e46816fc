tarnix_add_gtest(skype_windows_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/skype_windows_test.cpp
  LIBS tarnix_messenger_windows tarnix_testsupport)
