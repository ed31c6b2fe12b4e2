# Benchmarks, built only on request (-DTARPLAY_BENCH=ON); run them from a
# Release build for meaningful numbers.
if(NOT TARPLAY_BENCH)
  return()
endif()

# tarplay_bench(<target> <source> <program> <libraries...>): bench/<source>.cpp
# built against a program's units.
function(tarplay_bench target source program)
  add_executable(${target} ${CMAKE_SOURCE_DIR}/bench/${source}.cpp)
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(${target} PRIVATE ${ARGN})
  tarplay_units(${target} ${program})
endfunction()

# The renderer alone.
tarplay_bench(bench_render bench_render tarplay tp_synth benchmark::benchmark_main)
# F2's loop over a fixed length, for each program (scripts/bench runs them).
foreach(program tarplay tarplay8 tarplay_pd)
  tarplay_bench(bench_record_${program} record_bench ${program} tp_app tp_sid tp_ahx)
endforeach()
# The interpreter, the SID player and the AHX replayer on their own.
tarplay_bench(bench_cpu cpu_bench tarplay tp_sid benchmark::benchmark_main)
tarplay_bench(bench_sid sid_bench tarplay tp_sid benchmark::benchmark_main)
# Playing a PSID tune and interrupt-driven tunes: our test tunes, assembled
# here as well, since a benchmark build has no tests.
tarplay_bench(bench_machine machine_bench tarplay tp_sid benchmark::benchmark_main)
foreach(name sid_tune interrupt_tune)
  tarplay_assemble(${CMAKE_BINARY_DIR}/bench/asm/${name}.prg ${CMAKE_SOURCE_DIR}/tests/players/sid/asm/${name}.a cbm)
  list(APPEND bench_tunes ${CMAKE_BINARY_DIR}/bench/asm/${name}.prg)
endforeach()
add_custom_target(bench_tunes DEPENDS ${bench_tunes})
add_dependencies(bench_machine bench_tunes)
target_compile_definitions(bench_machine PRIVATE TARPLAY_BENCH_ASM="${CMAKE_BINARY_DIR}/bench/asm")
tarplay_bench(bench_ahx ahx_bench tarplay tp_ahx tp_core benchmark::benchmark)
# Reading the collection's song-length list and its tune notes at their
# real sizes, and the directory listing.
tarplay_bench(bench_hvscdb hvscdb_bench tarplay tp_sid benchmark::benchmark)
tarplay_bench(bench_stil stil_bench tarplay tp_sid benchmark::benchmark)
tarplay_bench(bench_selector selector_bench tarplay tp_selector benchmark::benchmark benchmark::benchmark_main)
