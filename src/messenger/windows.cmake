# Skype's own windows: finding its main window, pop-up and entry box, and working on them.
add_library(tarnix_messenger_windows STATIC
  ${CMAKE_CURRENT_LIST_DIR}/messenger_windows_log.cpp ${CMAKE_CURRENT_LIST_DIR}/messenger_windows_log.h
  ${CMAKE_CURRENT_LIST_DIR}/skype_windows.cpp ${CMAKE_CURRENT_LIST_DIR}/skype_windows.h
  ${CMAKE_CURRENT_LIST_DIR}/window_system.h)
target_link_libraries(tarnix_messenger_windows PUBLIC tarnix_base)
