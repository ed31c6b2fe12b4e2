# The SID player's integration tests play the demo tunes when they are built.
if(TARPLAY_TESTS AND TARGET test_sid)
  foreach(t demotunes sidasm)
    if(TARGET ${t})
      add_dependencies(test_sid ${t})
    endif()
  endforeach()
endif()
