# Timing of the directory listing: built only with TARPLAY_BENCH.
if(TARPLAY_BENCH)
  find_package(benchmark REQUIRED)
  add_executable(bench_selector ${CMAKE_SOURCE_DIR}/bench/selector_bench.cpp)
  target_link_libraries(bench_selector PRIVATE tp_selector benchmark::benchmark benchmark::benchmark_main)
  tarplay_units(bench_selector tarplay)
endif()
