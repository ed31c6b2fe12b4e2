# fontsheet: draws the whole font through the presentation path into a PPM
# picture for looking at the glyphs.
add_executable(fontsheet ${CMAKE_SOURCE_DIR}/tools/fontsheet/fontsheet.cpp)
target_link_libraries(fontsheet PRIVATE tp_screen tp_video_full)

# Timing of presentation: built only with TARPLAY_BENCH.
if(TARPLAY_BENCH)
  find_package(benchmark REQUIRED)
  add_executable(bench_screen ${CMAKE_SOURCE_DIR}/bench/screen_bench.cpp)
  target_link_libraries(bench_screen PRIVATE tp_screen tp_video_full benchmark::benchmark benchmark::benchmark_main)
endif()
