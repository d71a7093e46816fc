# The parts of the user interface that need no widgets: the handset light's blinking.
add_library(tarnix_ui_core STATIC
  ${CMAKE_CURRENT_LIST_DIR}/handset_light_blinker.cpp ${CMAKE_CURRENT_LIST_DIR}/handset_light_blinker.h)
target_link_libraries(tarnix_ui_core PUBLIC tarnix_base tarnix_device)
