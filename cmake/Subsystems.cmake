# tarnix_add_subdirectories(<parent> <child>...): adds each <parent>/<child> that has a
# CMakeLists.txt, so a subsystem joins the build by existing.
function(tarnix_add_subdirectories parent)
  foreach(child IN LISTS ARGN)
    if(EXISTS "${CMAKE_CURRENT_SOURCE_DIR}/${parent}/${child}/CMakeLists.txt")
      add_subdirectory("${parent}/${child}")
    endif()
  endforeach()
endfunction()

# tarnix_add_gtest(<name> SOURCES ... LIBS ... [ENV ...]): one test binary per unit, its cases
# registered with ctest one by one. Every case runs in the home TARNIX_TEST_HOME_ENV names.
function(tarnix_add_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;ENV" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gmock GTest::gtest_main)
  # gtest_discover_tests flattens its arguments: escape the list so every variable survives.
  string(REPLACE ";" "\\;" env "${ARG_ENV}")
  # The emulator prefixes every discovered test's command (and the discovery): this CMake has no
  # test launcher, and these variables would not survive gtest_discover_tests' PROPERTIES.
  set_property(TARGET ${name} PROPERTY CROSSCOMPILING_EMULATOR env ${TARNIX_TEST_HOME_ENV})
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ENVIRONMENT "${env}")
endfunction()
