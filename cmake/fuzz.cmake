# Loader fuzzing. test_fuzz runs a bounded, deterministic mutation fuzzer
# over each loader with every test run; with TARPLAY_FUZZ=ON and clang, one
# libFuzzer program per loader is built as well (scripts/fuzz).
option(TARPLAY_FUZZ "Build the libFuzzer programs (clang only)" OFF)

add_library(tp_fuzztargets STATIC ${CMAKE_SOURCE_DIR}/tests/fuzz/fuzztargets.cpp)
target_include_directories(tp_fuzztargets PUBLIC ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(tp_fuzztargets PUBLIC tp_sid tp_ahx)

if(TARPLAY_TESTS)
  tarplay_tests(test_fuzz tests/fuzz tp_fuzztargets)
  if(TARGET test_fuzz)
    # The libFuzzer entry is not part of the mutation test.
    get_target_property(fuzz_srcs test_fuzz SOURCES)
    list(FILTER fuzz_srcs EXCLUDE REGEX "(libfuzzer_main|fuzztargets)\\.cpp$")
    set_property(TARGET test_fuzz PROPERTY SOURCES ${fuzz_srcs})
    foreach(t demotunes ahxdemo)
      if(TARGET ${t})
        add_dependencies(test_fuzz ${t})
      endif()
    endforeach()
  endif()
endif()

if(TARPLAY_FUZZ AND CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  foreach(target psid ahx songdb hvsc stil)
    add_executable(fuzz_${target} ${CMAKE_SOURCE_DIR}/tests/fuzz/libfuzzer_main.cpp)
    target_compile_definitions(fuzz_${target} PRIVATE FUZZ_ENTRY=fuzz${target})
    target_compile_options(fuzz_${target} PRIVATE -fsanitize=fuzzer)
    target_link_options(fuzz_${target} PRIVATE -fsanitize=fuzzer)
    target_link_libraries(fuzz_${target} PRIVATE tp_fuzztargets)
    tarplay_units(fuzz_${target} tarplay)
  endforeach()
endif()
