# The pop-up panels; the volume panel works on the handset and its mixer.
if(TARNIX_BUILD_PRODUCT)
  add_library(tarnix_ui_popups STATIC
    ${CMAKE_CURRENT_LIST_DIR}/notification_popup.cpp ${CMAKE_CURRENT_LIST_DIR}/notification_popup.h
    ${CMAKE_CURRENT_LIST_DIR}/volume_popup.cpp ${CMAKE_CURRENT_LIST_DIR}/volume_popup.h)
  target_link_libraries(tarnix_ui_popups PUBLIC tarnix_ui tarnix_audio tarnix_device)
endif()
