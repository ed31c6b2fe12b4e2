# The SID player's integration tests play the demo tunes when they are built.
if(TARPLAY_TESTS AND TARGET test_sid)
  foreach(t demotunes sidasm)
    if(TARGET ${t})
      add_dependencies(test_sid ${t})
    endif()
  endforeach()
endif()

if(TARPLAY_BENCH)
  find_package(benchmark REQUIRED)
  add_executable(bench_sid ${CMAKE_SOURCE_DIR}/bench/sid_bench.cpp)
  target_link_libraries(bench_sid PRIVATE tp_sid benchmark::benchmark_main)
endif()
