# acme, the 6502 assembler that builds our demo tunes and the processor
# tests' programs, and the one rule both use:
#   tarplay_assemble(<out> <source> <format> [LABELS <file>] [COPY <file>]
#                    [DEPENDS <files...>] [WORKING_DIRECTORY <dir>])
# assembles <source> into <out> (acme's -f <format>), optionally writing
# acme's symbol list and a copy of the result elsewhere.
find_program(ACME_EXECUTABLE acme)
if(NOT ACME_EXECUTABLE)
  message(FATAL_ERROR "acme (6502 assembler) not found; it assembles the demo tunes and the processor tests")
endif()

function(tarplay_assemble out src format)
  cmake_parse_arguments(PARSE_ARGV 3 asm "" "LABELS;COPY;WORKING_DIRECTORY" "DEPENDS")
  get_filename_component(name ${src} NAME)
  get_filename_component(outdir ${out} DIRECTORY)
  set(labels)
  set(outputs ${out})
  if(asm_LABELS)
    set(labels -l ${asm_LABELS})
    list(APPEND outputs ${asm_LABELS})
  endif()
  set(copy)
  if(asm_COPY)
    set(copy COMMAND ${CMAKE_COMMAND} -E copy ${out} ${asm_COPY})
    list(APPEND outputs ${asm_COPY})
  endif()
  set(workdir ${CMAKE_CURRENT_BINARY_DIR})
  if(asm_WORKING_DIRECTORY)
    set(workdir ${asm_WORKING_DIRECTORY})
  endif()
  add_custom_command(
    OUTPUT ${outputs}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${outdir}
    COMMAND ${ACME_EXECUTABLE} -f ${format} ${labels} -o ${out} ${src}
    ${copy}
    DEPENDS ${src} ${asm_DEPENDS}
    WORKING_DIRECTORY ${workdir}
    COMMENT "Assembling ${name}"
    VERBATIM)
endfunction()
