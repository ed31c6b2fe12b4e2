# Golden renders: the demo tunes through each program's renderer, compared
# with committed digests.
if(TARPLAY_TESTS)
  add_executable(test_golden_tarplay ${CMAKE_SOURCE_DIR}/tests/golden/golden_test.cpp)
  target_include_directories(test_golden_tarplay PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_compile_definitions(test_golden_tarplay PRIVATE TARPLAY_PROGRAM="tarplay")
  target_link_libraries(test_golden_tarplay PRIVATE tp_app tp_sid tp_ahx tp_testmain GTest::gtest)
  add_dependencies(test_golden_tarplay demotunes ahxdemo)
  gtest_discover_tests(test_golden_tarplay DISCOVERY_MODE PRE_TEST WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
endif()
