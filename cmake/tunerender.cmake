# tunerender: any tune through the real player table and synth into a WAV
# file, for listening to the demo tunes and measuring them with sox.
add_executable(tunerender ${CMAKE_SOURCE_DIR}/tools/tunerender/main.cpp)
target_link_libraries(tunerender PRIVATE tp_app tp_sid tp_ahx)
tarplay_units(tunerender tarplay)
