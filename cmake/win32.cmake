# Windows builds (cmake/toolchains/). A module that includes SDL.h has its
# main renamed SDL_main there, and SDL's WinMain calls it: every program
# gets SDLmain, which the linker takes only where no main of its own exists.
# The players are GUI programs; the tools and tests stay console programs.
# The players the tree defines are listed in programs.txt for
# scripts/build-win32.
if(WIN32)
  function(tarplay_win32_programs)
    get_property(targets DIRECTORY ${CMAKE_SOURCE_DIR} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(t ${targets})
      get_target_property(type ${t} TYPE)
      if(type STREQUAL "EXECUTABLE")
        target_link_libraries(${t} PRIVATE mingw32 ${SDLMAIN_LIBRARY} ${SDL_LIBRARY})
      endif()
    endforeach()
    set(programs)
    foreach(p tarplay tarplay8 tarplay_pd)
      if(TARGET ${p})
        target_link_options(${p} PRIVATE -mwindows)
        list(APPEND programs ${p})
      endif()
    endforeach()
    list(JOIN programs "\n" text)
    file(WRITE ${CMAKE_BINARY_DIR}/programs.txt "${text}\n")
  endfunction()
  # Included last, so that every program and tool is declared by now.
  tarplay_win32_programs()
  # Tools that the build runs under Wine (sidlengths) link SDL like the
  # players: its DLL goes beside them before anything runs.
  if(TARPLAY_WIN_DEPS AND EXISTS ${TARPLAY_WIN_DEPS}/bin/SDL.dll)
    file(COPY ${TARPLAY_WIN_DEPS}/bin/SDL.dll DESTINATION ${CMAKE_BINARY_DIR})
  endif()
endif()
