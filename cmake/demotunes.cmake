# Our own PSID demo tunes: every demo/source/*.a is assembled by acme into a
# complete PSID file, demo/<name>.sid, both in the build tree and in the
# source tree (where the player is started on the demo folder and where
# demo/*.sid is ignored by git). acme's symbol list of each tune goes to
# <build>/demo/labels for the tests. The sidlengths tool then writes
# Songlengths.txt beside the tunes from their digests and the lengths each
# source states.
add_library(sidlengthslib STATIC ${CMAKE_SOURCE_DIR}/tools/sidlengths/sidlengths.cpp)
target_include_directories(sidlengthslib PUBLIC ${CMAKE_SOURCE_DIR}/tools/sidlengths)
target_link_libraries(sidlengthslib PUBLIC tp_sid)
add_executable(sidlengths ${CMAKE_SOURCE_DIR}/tools/sidlengths/main.cpp)
target_link_libraries(sidlengths PRIVATE sidlengthslib)
tarplay_units(sidlengths tarplay)

file(GLOB demotune_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/demo/source/*.a)
file(GLOB demotune_includes CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/demo/source/*.inc)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/demo/labels)
set(demotune_outputs)
set(demotune_pairs)
foreach(src ${demotune_sources})
  get_filename_component(name ${src} NAME_WE)
  set(out_build ${CMAKE_BINARY_DIR}/demo/${name}.sid)
  set(out_source ${CMAKE_SOURCE_DIR}/demo/${name}.sid)
  set(labels ${CMAKE_BINARY_DIR}/demo/labels/${name}.lbl)
  tarplay_assemble(${out_build} ${src} plain LABELS ${labels} COPY ${out_source}
    DEPENDS ${demotune_includes} WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}/demo/source)
  list(APPEND demotune_outputs ${out_build} ${out_source} ${labels})
  list(APPEND demotune_pairs ${out_build} ${src})
endforeach()

set(songlengths_build ${CMAKE_BINARY_DIR}/demo/Songlengths.txt)
set(songlengths_source ${CMAKE_SOURCE_DIR}/demo/Songlengths.txt)
add_custom_command(
  OUTPUT ${songlengths_build} ${songlengths_source}
  COMMAND sidlengths ${songlengths_build} ${songlengths_source} -- ${demotune_pairs}
  DEPENDS sidlengths ${demotune_outputs} ${demotune_sources}
  COMMENT "Writing demo/Songlengths.txt"
  VERBATIM)
add_custom_target(demotunes ALL DEPENDS ${demotune_outputs} ${songlengths_build} ${songlengths_source})

if(TARPLAY_TESTS)
  tarplay_tests(test_sidlengths tests/tools/sidlengths sidlengthslib tp_sid)
  if(TARGET test_sid)
    add_dependencies(test_sid demotunes)
  endif()
endif()
