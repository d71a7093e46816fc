# The program's objects over the real adapters, headless.
tarnix_add_gtest(application_test
  SOURCES application_test.cpp
  LIBS tarnix_program tarnix_testsupport
  ENV "QT_QPA_PLATFORM=offscreen")
