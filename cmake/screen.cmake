# fontsheet: draws the whole font through the presentation path into a PPM
# picture for looking at the glyphs.
add_executable(fontsheet ${CMAKE_SOURCE_DIR}/tools/fontsheet/fontsheet.cpp)
target_link_libraries(fontsheet PRIVATE tp_screen)
