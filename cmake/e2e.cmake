# End-to-end tests: the real program in a real window under Xvfb, driven by
# xdotool. Every tests/e2e/*.sh except the shared lib.sh is one test.
if(TARPLAY_TESTS)
  file(GLOB e2e_scripts CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.sh)
  list(FILTER e2e_scripts EXCLUDE REGEX "/lib\\.sh$")
  foreach(script ${e2e_scripts})
    get_filename_component(name ${script} NAME_WE)
    add_test(NAME e2e_${name} COMMAND bash ${script})
    set_tests_properties(e2e_${name} PROPERTIES
      TIMEOUT 300
      ENVIRONMENT "TARPLAY_BIN=$<TARGET_FILE:tarplay>;TARPLAY_BUILD=${CMAKE_BINARY_DIR};TARPLAY_SOURCE=${CMAKE_SOURCE_DIR}")
  endforeach()
endif()
