# Benchmarks, built only on request (-DTARPLAY_BENCH=ON); run them from a
# Release build for meaningful numbers.
if(TARPLAY_BENCH)
  find_package(benchmark REQUIRED)
  add_executable(bench_render ${CMAKE_SOURCE_DIR}/bench/bench_render.cpp)
  target_link_libraries(bench_render PRIVATE tp_synth benchmark::benchmark_main)
  tarplay_units(bench_render tarplay)
endif()
