# Golden renders: the demo tunes through each program's renderer, compared
# with committed digests.
if(TARPLAY_TESTS)
  foreach(program tarplay)
    add_executable(test_golden_${program} ${CMAKE_SOURCE_DIR}/tests/golden/golden_test.cpp)
    target_include_directories(test_golden_${program} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
    target_compile_definitions(test_golden_${program} PRIVATE TARPLAY_PROGRAM="${program}")
    target_link_libraries(test_golden_${program} PRIVATE tp_app tp_sid tp_ahx tp_testmain GTest::gtest)
    tarplay_units(test_golden_${program} ${program})
    add_dependencies(test_golden_${program} demotunes ahxdemo)
    gtest_discover_tests(test_golden_${program} DISCOVERY_MODE PRE_TEST TEST_PREFIX "${program}."
      WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
  endforeach()
endif()
