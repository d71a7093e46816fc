# app_bench: the real program from process start to its tray icon, headless and on an X display
# with a tray host, and its resident memory once up.
if(TARNIX_BUILD_PRODUCT AND TARGET tarnix_program_copy)
  add_executable(app_bench ${CMAKE_CURRENT_LIST_DIR}/app_bench.cpp)
  target_link_libraries(app_bench PRIVATE tarnix_program_copy
                        benchmark::benchmark)
  target_compile_definitions(app_bench PRIVATE
    PROGRAM_PATH="$<TARGET_FILE:tarnix-usbphone>"
    LOCALE_PATH="${PROJECT_SOURCE_DIR}/resources/locale.xml")
  add_dependencies(app_bench tarnix-usbphone)
endif()
