# fontsheet: draws the whole font through the presentation path into a PPM
# picture for looking at the glyphs.
add_executable(fontsheet ${CMAKE_SOURCE_DIR}/tools/fontsheet/fontsheet.cpp)
target_link_libraries(fontsheet PRIVATE tp_screen tp_videoflavour_mouseorkey)

# Timing of presentation: built only with TARPLAY_BENCH.
if(TARPLAY_BENCH)
  add_executable(bench_screen ${CMAKE_SOURCE_DIR}/bench/screen_bench.cpp)
  target_link_libraries(bench_screen PRIVATE tp_screen tp_videoflavour_mouseorkey benchmark::benchmark benchmark::benchmark_main)
endif()
