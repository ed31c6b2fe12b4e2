# ahxmake, our AHX authoring tool, and the demo modules written with it.
# Each demo/source/*.ahxt becomes demo/<name>.ahx both in the build tree and
# in the source tree (where demo/*.ahx is ignored by git), so that the player
# finds them next to the other demo tunes.
file(GLOB ahxmake_srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/ahxmake/*.cpp)
list(FILTER ahxmake_srcs EXCLUDE REGEX "/main\\.cpp$")
add_library(ahxmakelib STATIC ${ahxmake_srcs})
target_include_directories(ahxmakelib PUBLIC ${CMAKE_SOURCE_DIR}/tools/ahxmake)

add_executable(ahxmake ${CMAKE_SOURCE_DIR}/tools/ahxmake/main.cpp)
target_link_libraries(ahxmake PRIVATE ahxmakelib)

file(GLOB ahxdemo_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/demo/source/*.ahxt)
set(ahxdemo_outputs)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/demo)
foreach(src ${ahxdemo_sources})
  get_filename_component(name ${src} NAME_WE)
  set(out_build ${CMAKE_BINARY_DIR}/demo/${name}.ahx)
  set(out_source ${CMAKE_SOURCE_DIR}/demo/${name}.ahx)
  add_custom_command(
    OUTPUT ${out_build} ${out_source}
    COMMAND ahxmake ${src} ${out_build} ${out_source}
    DEPENDS ahxmake ${src}
    COMMENT "ahxmake ${name}.ahxt"
    VERBATIM)
  list(APPEND ahxdemo_outputs ${out_build} ${out_source})
endforeach()
add_custom_target(ahxdemo ALL DEPENDS ${ahxdemo_outputs})

if(TARPLAY_TESTS)
  # The AHX player's integration tests play the demo modules.
  if(TARGET test_ahx)
    add_dependencies(test_ahx ahxdemo)
  endif()
  tarplay_tests(test_ahxmake tests/tools/ahxmake ahxmakelib tp_ahx tp_core)
  if(TARGET test_ahxmake)
    add_dependencies(test_ahxmake ahxdemo)
    target_compile_definitions(test_ahxmake PRIVATE
      AHXMAKE_SOURCE_DIR="${CMAKE_SOURCE_DIR}" AHXMAKE_BUILD_DIR="${CMAKE_BINARY_DIR}")
  endif()
endif()
