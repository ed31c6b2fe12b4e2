# AHX player: the integration tests play the demo modules that ahxmake
# writes into the build tree, so they are built first; the benchmark is
# built only on request.
if(TARPLAY_TESTS AND TARGET test_ahx)
  # The demo target is declared by a file included after this one.
  function(ahx_link_demo)
    if(TARGET ahxdemo)
      add_dependencies(test_ahx ahxdemo)
    endif()
  endfunction()
  cmake_language(DEFER CALL ahx_link_demo)
endif()

if(TARPLAY_BENCH)
  find_package(benchmark REQUIRED)
  add_executable(bench_ahx ${CMAKE_SOURCE_DIR}/bench/ahx_bench.cpp)
  target_include_directories(bench_ahx PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(bench_ahx PRIVATE tp_ahx tp_core benchmark::benchmark)
  tarplay_units(bench_ahx tarplay)
endif()
