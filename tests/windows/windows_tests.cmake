# The Windows build's own tests, run under Wine: the devices on a real console, and the
# programs end to end. Every test needs the Wine session, which the fixture starts first
# and ends last.
add_test(NAME windows.wine_session_start
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/windows/wine_session.sh start ${TEXTSCREEN_WINE_PREFIX})
add_test(NAME windows.wine_session_stop
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/windows/wine_session.sh stop ${TEXTSCREEN_WINE_PREFIX})
set_tests_properties(windows.wine_session_start PROPERTIES FIXTURES_SETUP wine TIMEOUT 120)
set_tests_properties(windows.wine_session_stop PROPERTIES FIXTURES_CLEANUP wine)

file(GLOB WINDOWS_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/windows/*.cpp)
add_executable(windows_tests ${WINDOWS_TEST_SOURCES})
target_include_directories(windows_tests PRIVATE ${PROJECT_SOURCE_DIR}/textscreen ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(windows_tests PRIVATE textscreen GTest::gtest_main)
add_dependencies(windows_tests tripcost logvolume)
textscreen_add_gtests(windows_tests)

# The programs in a real terminal (tmux), under Wine.
file(GLOB WINDOWS_E2E_SCRIPTS CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/windows/e2e/test_*.sh)
foreach(script ${WINDOWS_E2E_SCRIPTS})
  get_filename_component(name ${script} NAME_WE)
  add_test(NAME windows.e2e.${name}
    COMMAND bash ${script} $<TARGET_FILE_DIR:tripcost> ${TEXTSCREEN_WINE_PREFIX})
  set_tests_properties(windows.e2e.${name} PROPERTIES LABELS "windows;e2e" TIMEOUT 300
    RUN_SERIAL TRUE FIXTURES_REQUIRED wine)
endforeach()
