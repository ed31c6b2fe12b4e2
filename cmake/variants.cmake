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

# A variant's own units, tested against that variant: test_<program> from
# the test folders named after its renderer and program, which the tarplay
# test programs do not take.
function(tarplay_variant_tests program)
  set(globs)
  foreach(dir ${ARGN})
    list(APPEND globs ${CMAKE_SOURCE_DIR}/tests/${dir}/*.cpp)
  endforeach()
  file(GLOB srcs CONFIGURE_DEPENDS ${globs})
  add_executable(test_${program} ${srcs})
  target_include_directories(test_${program} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(test_${program} PRIVATE tp_app tp_sid tp_ahx tp_testmain GTest::gtest)
  tarplay_units(test_${program} ${program})
  gtest_discover_tests(test_${program} DISCOVERY_MODE PRE_TEST TEST_PREFIX "${program}."
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
endfunction()

if(TARPLAY_TESTS)
  # tarplay8: its renderer, its processor's SBX, its play-screen keys.
  tarplay_variant_tests(tarplay8 synth/fm players/sid/tarplay8 app/tarplay8)
  # tarplay_pd: its renderer and wave editor, its SID player, its shell
  # (time in ticks, the device per tune).
  tarplay_variant_tests(tarplay_pd synth/pd32 players/sid/tarplay_pd app/tarplay_pd)
endif()
