# The audio handover under ThreadSanitizer: with -DTARPLAY_TSAN=ON the whole
# tree is compiled with -fsanitize=thread (scripts/test keeps it in a build
# directory of its own, without the other sanitizers) and tsan_play plays the
# demo tunes through the real audio callback while the main thread acts.
option(TARPLAY_TSAN "Build everything with ThreadSanitizer, and tsan_play" OFF)
if(TARPLAY_TSAN)
  if(TARPLAY_SANITIZE)
    message(FATAL_ERROR "TARPLAY_TSAN and TARPLAY_SANITIZE exclude each other")
  endif()
  # The flags variables apply to every target of the directory, whatever
  # was defined before this file.
  string(APPEND CMAKE_CXX_FLAGS " -fsanitize=thread -fno-omit-frame-pointer")
  string(APPEND CMAKE_EXE_LINKER_FLAGS " -fsanitize=thread")
  add_executable(tsan_play ${CMAKE_SOURCE_DIR}/tests/tsan/tsan_play.cpp)
  target_link_libraries(tsan_play PRIVATE tp_app tp_sid tp_ahx)
  tarplay_units(tsan_play tarplay)
  target_compile_definitions(tsan_play PRIVATE TARPLAY_BUILD_DIR="${CMAKE_BINARY_DIR}")
  add_dependencies(tsan_play demotunes ahxdemo)
endif()
