# End-to-end tests: the real programs in a real window under Xvfb, driven by
# xdotool. Every tests/e2e/*.sh except the shared lib.sh is one test; a
# script's "# programs:" line names the programs it runs against (tarplay
# alone when it has none).
if(TARPLAY_TESTS)
  file(GLOB e2e_scripts CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.sh)
  list(FILTER e2e_scripts EXCLUDE REGEX "/lib\\.sh$")
  foreach(script ${e2e_scripts})
    get_filename_component(name ${script} NAME_WE)
    file(STRINGS ${script} programs_line REGEX "^# programs:")
    set(programs tarplay)
    if(programs_line)
      string(REGEX REPLACE "^# programs:[ ]*" "" programs "${programs_line}")
      separate_arguments(programs)
    endif()
    foreach(program ${programs})
      set(test e2e_${name})
      if(NOT program STREQUAL "tarplay")
        set(test e2e_${program}_${name})
      endif()
      add_test(NAME ${test} COMMAND bash ${script})
      # tarplay_pd records a tune's whole five minutes: no key stops it.
      set(timeout 300)
      if(program STREQUAL "tarplay_pd")
        set(timeout 900)
      endif()
      set_tests_properties(${test} PROPERTIES
        TIMEOUT ${timeout}
        ENVIRONMENT "TARPLAY_BIN=$<TARGET_FILE:${program}>;TARPLAY_PROGRAM=${program};TARPLAY_BUILD=${CMAKE_BINARY_DIR};TARPLAY_SOURCE=${CMAKE_SOURCE_DIR}")
    endforeach()
  endforeach()
endif()
