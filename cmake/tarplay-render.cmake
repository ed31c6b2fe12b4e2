# tarplay-render: the command-line renderer. The front end finds the tunes
# and runs workers, one process per tune at a time; each worker holds one
# program's players and renderer (their symbols clash, and their state is
# global), so there is one worker executable per program.
find_package(PkgConfig QUIET)
set(TARPLAY_RENDER_FLAC OFF)
if(NOT WIN32 AND PKG_CONFIG_FOUND)
  pkg_check_modules(FLAC IMPORTED_TARGET flac)
  if(FLAC_FOUND)
    set(TARPLAY_RENDER_FLAC ON)
  endif()
endif()
if(NOT WIN32 AND NOT TARPLAY_RENDER_FLAC)
  message(FATAL_ERROR "tarplay-render needs libFLAC (Debian: libflac-dev; scripts/setup installs it)")
endif()

set(render_dir ${CMAKE_SOURCE_DIR}/tools/tarplay-render)
add_executable(tarplay-render ${render_dir}/front.cpp)
target_include_directories(tarplay-render PRIVATE ${render_dir} ${CMAKE_SOURCE_DIR}/src)

foreach(program tarplay tarplay8 tarplay_pd)
  set(worker tarplay-render-${program})
  add_executable(${worker} ${render_dir}/worker.cpp ${render_dir}/sink.cpp)
  target_include_directories(${worker} PRIVATE ${render_dir})
  target_link_libraries(${worker} PRIVATE tp_app tp_sid tp_ahx)
  tarplay_units(${worker} ${program})
  if(TARPLAY_RENDER_FLAC)
    target_compile_definitions(${worker} PRIVATE TARPLAY_FLAC)
    target_link_libraries(${worker} PRIVATE PkgConfig::FLAC)
  endif()
  add_dependencies(tarplay-render ${worker})
endforeach()
if(TARPLAY_RENDER_FLAC)
  target_compile_definitions(tarplay-render PRIVATE TARPLAY_FLAC)
endif()

include(GNUInstallDirs)
install(TARGETS tarplay-render RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS tarplay-render-tarplay tarplay-render-tarplay8 tarplay-render-tarplay_pd
  RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/tarplay)
if(UNIX)
  install(FILES ${CMAKE_SOURCE_DIR}/dist/tarplay-render.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

# On Windows the command's files are held to the Linux build's instead
# (tests/win32/render.sh, run by scripts/test-win32), which these hold to F2.
if(TARPLAY_TESTS AND NOT WIN32)
  # Each program's F2 in the test process against that program's worker.
  foreach(program tarplay tarplay8 tarplay_pd)
    set(test test_render_${program})
    add_executable(${test} ${CMAKE_SOURCE_DIR}/tests/tools/tarplay-render/f2match_test.cpp)
    target_include_directories(${test} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
    target_compile_definitions(${test} PRIVATE TARPLAY_PROGRAM="${program}")
    target_link_libraries(${test} PRIVATE tp_app tp_sid tp_ahx tp_testmain GTest::gtest)
    if(TARPLAY_RENDER_FLAC)
      target_compile_definitions(${test} PRIVATE TARPLAY_FLAC)
      target_link_libraries(${test} PRIVATE PkgConfig::FLAC)
    endif()
    tarplay_units(${test} ${program})
    add_dependencies(${test} tarplay-render demotunes ahxdemo)
    gtest_discover_tests(${test} DISCOVERY_MODE PRE_TEST TEST_PREFIX "${program}."
      WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
  endforeach()
endif()

if(TARPLAY_TESTS AND UNIX)
  # The command from the outside: usage, a broken tune among good ones,
  # parallel workers, resuming, Ctrl+C.
  add_test(NAME tarplay_render_cli
    COMMAND bash ${CMAKE_SOURCE_DIR}/tests/tools/tarplay-render/cli.sh $<TARGET_FILE:tarplay-render> ${CMAKE_BINARY_DIR})
  set_tests_properties(tarplay_render_cli PROPERTIES TIMEOUT 300)
endif()
