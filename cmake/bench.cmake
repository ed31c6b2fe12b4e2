# Benchmarks, built only on request (-DTARPLAY_BENCH=ON); run them from a
# Release build for meaningful numbers.
if(TARPLAY_BENCH)
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

# The interpreter, the SID player and the AHX replayer on their own.
if(TARPLAY_BENCH)
  add_executable(bench_cpu ${CMAKE_SOURCE_DIR}/bench/cpu_bench.cpp)
  target_link_libraries(bench_cpu PRIVATE tp_sid benchmark::benchmark_main)
  tarplay_units(bench_cpu tarplay)
  add_executable(bench_sid ${CMAKE_SOURCE_DIR}/bench/sid_bench.cpp)
  target_link_libraries(bench_sid PRIVATE tp_sid benchmark::benchmark_main)
  tarplay_units(bench_sid tarplay)
  add_executable(bench_ahx ${CMAKE_SOURCE_DIR}/bench/ahx_bench.cpp)
  target_include_directories(bench_ahx PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(bench_ahx PRIVATE tp_ahx tp_core benchmark::benchmark)
  tarplay_units(bench_ahx tarplay)
endif()

# Reading the collection's song-length list and its tune notes at their
# real sizes, and the directory listing.
if(TARPLAY_BENCH)
  add_executable(bench_hvscdb ${CMAKE_SOURCE_DIR}/bench/hvscdb_bench.cpp)
  target_link_libraries(bench_hvscdb PRIVATE tp_sid benchmark::benchmark)
  tarplay_units(bench_hvscdb tarplay)
  add_executable(bench_stil ${CMAKE_SOURCE_DIR}/bench/stil_bench.cpp)
  target_link_libraries(bench_stil PRIVATE tp_sid benchmark::benchmark)
  tarplay_units(bench_stil tarplay)
  add_executable(bench_selector ${CMAKE_SOURCE_DIR}/bench/selector_bench.cpp)
  target_link_libraries(bench_selector PRIVATE tp_selector benchmark::benchmark benchmark::benchmark_main)
  tarplay_units(bench_selector tarplay)
endif()
