# 6502 test programs for the processor tests: every tests/players/sid/asm/*.a
# is assembled with acme into <build>/asm/<name>.prg (two-byte load address,
# then the code), where the tests read it through TARPLAY_BUILD.
if(TARPLAY_TESTS)
  file(GLOB sidasm_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/players/sid/asm/*.a)
  set(sidasm_outputs)
  foreach(src ${sidasm_sources})
    get_filename_component(name ${src} NAME_WE)
    set(out ${CMAKE_BINARY_DIR}/asm/${name}.prg)
    tarplay_assemble(${out} ${src} cbm)
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

