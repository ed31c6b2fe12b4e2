# tunerender (tarplay's renderer), tunerender8 (tarplay8's) and
# tunerender_pd (tarplay_pd's): any tune through the real player table and
# synth into a WAV file, for listening to the demo tunes and measuring them
# with sox.
foreach(program tarplay tarplay8 tarplay_pd)
  set(tool tunerender)
  if(program STREQUAL "tarplay8")
    set(tool tunerender8)
  elseif(program STREQUAL "tarplay_pd")
    set(tool tunerender_pd)
  endif()
  add_executable(${tool} ${CMAKE_SOURCE_DIR}/tools/tunerender/main.cpp)
  target_link_libraries(${tool} PRIVATE tp_app tp_sid tp_ahx)
  tarplay_units(${tool} ${program})
endforeach()
