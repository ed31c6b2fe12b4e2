# Benchmarks, built only on request (-DTARPLAY_BENCH=ON); run them from a
# Release build for meaningful numbers.
if(TARPLAY_BENCH)
  find_package(benchmark REQUIRED)
  add_executable(bench_render ${CMAKE_SOURCE_DIR}/bench/bench_render.cpp)
  target_link_libraries(bench_render PRIVATE tp_synth benchmark::benchmark_main)
  tarplay_units(bench_render tarplay)
endif()

# F2's loop over a fixed length, for each program (scripts/bench runs them).
if(TARPLAY_BENCH)
  foreach(program tarplay tarplay8 tarplay_pd)
    add_executable(bench_record_${program} ${CMAKE_SOURCE_DIR}/bench/record_bench.cpp)
    target_link_libraries(bench_record_${program} PRIVATE tp_app tp_sid tp_ahx)
    tarplay_units(bench_record_${program} ${program})
  endforeach()
endif()
