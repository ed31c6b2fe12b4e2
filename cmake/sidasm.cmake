# 6502 test programs for the processor tests: every tests/players/sid/asm/*.a
# is assembled with acme into <build>/asm/<name>.prg (two-byte load address,
# then the code), where the tests read it through TARPLAY_BUILD.
find_program(ACME_EXECUTABLE acme)
if(TARPLAY_TESTS)
  if(NOT ACME_EXECUTABLE)
    message(FATAL_ERROR "acme (6502 assembler) not found; it assembles the processor test programs")
  endif()
  file(GLOB sidasm_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/players/sid/asm/*.a)
  set(sidasm_outputs)
  foreach(src ${sidasm_sources})
    get_filename_component(name ${src} NAME_WE)
    set(out ${CMAKE_BINARY_DIR}/asm/${name}.prg)
    add_custom_command(
      OUTPUT ${out}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/asm
      COMMAND ${ACME_EXECUTABLE} -f cbm -o ${out} ${src}
      DEPENDS ${src}
      COMMENT "Assembling ${name}.a"
      VERBATIM)
    list(APPEND sidasm_outputs ${out})
  endforeach()
  add_custom_target(sidasm ALL DEPENDS ${sidasm_outputs})
  if(TARGET test_sid)
    add_dependencies(test_sid sidasm)
    # Where the tests find their files when the environment does not say.
    target_compile_definitions(test_sid PRIVATE
      TARPLAY_BUILD_DIR="${CMAKE_BINARY_DIR}" TARPLAY_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  endif()
endif()

# Interpreter speed, built only with the other benchmarks.
if(TARPLAY_BENCH)
  find_package(benchmark REQUIRED)
  add_executable(bench_cpu ${CMAKE_SOURCE_DIR}/bench/cpu_bench.cpp)
  target_link_libraries(bench_cpu PRIVATE tp_sid benchmark::benchmark_main)
  tarplay_units(bench_cpu tarplay)
endif()
