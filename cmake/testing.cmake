# Test helpers.
#
# skolp_add_unit_tests(SOURCES...) adds portable GoogleTest sources to the one unit-test
# program, skolp_unit_tests. Natively every test case is its own CTest test; in the win32 build
# the whole program runs once under Wine.
#
# skolp_add_wine_test(NAME SOURCES... [LIBS...]) adds a Win32-only GoogleTest program, run
# under Wine in the build tree's Wine session.

if(WIN32)
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  set(SKOLP_GTEST_LIBS GTest::gmock GTest::gtest GTest::gtest_main)
else()
  find_package(GTest REQUIRED)
  include(GoogleTest)
  set(SKOLP_GTEST_LIBS GTest::gmock GTest::gtest GTest::gtest_main)
endif()

add_executable(skolp_unit_tests)
target_link_libraries(skolp_unit_tests PRIVATE skolp_core ${SKOLP_GTEST_LIBS})
if(WIN32)
  add_test(NAME skolp_unit_tests COMMAND skolp_unit_tests)
  set_tests_properties(skolp_unit_tests PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 300)
else()
  gtest_discover_tests(skolp_unit_tests DISCOVERY_TIMEOUT 60)
endif()

function(skolp_add_unit_tests)
  target_sources(skolp_unit_tests PRIVATE ${ARGN})
endfunction()

# The Wine session of a test run: Xvfb, the private prefix (made on first use), one
# wineserver for the whole run.
if(WIN32)
  set(SKOLP_WINE_SESSION ${CMAKE_SOURCE_DIR}/scripts/wine_session.sh)
  add_test(NAME wine_session_start COMMAND ${SKOLP_WINE_SESSION} start ${CMAKE_BINARY_DIR})
  add_test(NAME wine_session_stop COMMAND ${SKOLP_WINE_SESSION} stop ${CMAKE_BINARY_DIR})
  set_tests_properties(wine_session_start PROPERTIES FIXTURES_SETUP wine)
  set_tests_properties(wine_session_stop PROPERTIES FIXTURES_CLEANUP wine)
endif()

function(skolp_add_wine_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} ${SKOLP_GTEST_LIBS})
  add_test(NAME ${name} COMMAND ${name} WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 300)
endfunction()
