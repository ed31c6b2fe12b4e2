# Tests run per program: the golden renders of the demo tunes through each
# program's renderer, compared with committed digests, and the units of
# tarplay8 and tarplay_pd.
if(TARPLAY_TESTS)
  foreach(program tarplay tarplay8 tarplay_pd)
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

# tarplay8's own units: its renderer, its processor's SBX, its play-screen
# keys. They sit in tarplay8/ and fm/ folders of the test tree, which the
# tarplay test programs do not take.
if(TARPLAY_TESTS)
  file(GLOB tarplay8_tests CONFIGURE_DEPENDS
    ${CMAKE_SOURCE_DIR}/tests/synth/fm/*.cpp
    ${CMAKE_SOURCE_DIR}/tests/players/sid/tarplay8/*.cpp
    ${CMAKE_SOURCE_DIR}/tests/app/tarplay8/*.cpp)
  add_executable(test_tarplay8 ${tarplay8_tests})
  target_include_directories(test_tarplay8 PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(test_tarplay8 PRIVATE tp_app tp_sid tp_ahx tp_testmain GTest::gtest)
  tarplay_units(test_tarplay8 tarplay8)
  gtest_discover_tests(test_tarplay8 DISCOVERY_MODE PRE_TEST TEST_PREFIX "tarplay8."
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
endif()

# tarplay_pd's own units: its renderer and wave editor, its SID player, its
# shell (time in ticks, the device per tune).
if(TARPLAY_TESTS)
  file(GLOB tarplay_pd_tests CONFIGURE_DEPENDS
    ${CMAKE_SOURCE_DIR}/tests/synth/pd32/*.cpp
    ${CMAKE_SOURCE_DIR}/tests/players/sid/tarplay_pd/*.cpp
    ${CMAKE_SOURCE_DIR}/tests/app/tarplay_pd/*.cpp)
  add_executable(test_tarplay_pd ${tarplay_pd_tests})
  target_include_directories(test_tarplay_pd PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(test_tarplay_pd PRIVATE tp_app tp_sid tp_ahx tp_testmain GTest::gtest)
  tarplay_units(test_tarplay_pd tarplay_pd)
  gtest_discover_tests(test_tarplay_pd DISCOVERY_MODE PRE_TEST TEST_PREFIX "tarplay_pd."
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
endif()
