# tunerender (tarplay's renderer) and tunerender8 (tarplay8's): any tune
# through the real player table and synth into a WAV file, for listening to
# the demo tunes and measuring them with sox.
foreach(program tarplay tarplay8)
  set(tool tunerender)
  if(program STREQUAL "tarplay8")
    set(tool tunerender8)
  endif()
  add_executable(${tool} ${CMAKE_SOURCE_DIR}/tools/tunerender/main.cpp)
  target_link_libraries(${tool} PRIVATE tp_app tp_sid tp_ahx)
  tarplay_units(${tool} ${program})
endforeach()
