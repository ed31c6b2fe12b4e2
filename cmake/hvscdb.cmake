# Reading the collection's song-length list at its real size.
if(TARPLAY_BENCH)
  find_package(benchmark REQUIRED)
  add_executable(bench_hvscdb ${CMAKE_SOURCE_DIR}/bench/hvscdb_bench.cpp)
  target_link_libraries(bench_hvscdb PRIVATE tp_sid benchmark::benchmark)
  tarplay_units(bench_hvscdb tarplay)
endif()
