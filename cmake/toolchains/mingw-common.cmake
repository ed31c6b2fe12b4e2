# Shared part of the Windows toolchain files: the posix-threads flavour of
# mingw-w64 (the win32-threads one has no std::mutex, which GoogleTest
# needs), everything linked statically except SDL, and Wine to run the
# build's own tools (ahxmake, sidlengths) and the tests.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${TARPLAY_MINGW_ARCH})
set(TARPLAY_MINGW_TRIPLE ${TARPLAY_MINGW_ARCH}-w64-mingw32)

set(CMAKE_C_COMPILER ${TARPLAY_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TARPLAY_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TARPLAY_MINGW_TRIPLE}-windres)

# SDL and GoogleTest built for the target live under TARPLAY_WIN_DEPS
# (scripts/build-win32 makes them there).
set(CMAKE_FIND_ROOT_PATH /usr/${TARPLAY_MINGW_TRIPLE})
if(TARPLAY_WIN_DEPS)
  list(APPEND CMAKE_FIND_ROOT_PATH ${TARPLAY_WIN_DEPS})
  # FindSDL would put -mwindows on everything that links SDL, which makes
  # GUI programs of the tools and tests; cmake/win32.cmake gives SDLmain to
  # every program and -mwindows to the players only.
  set(SDL_LIBRARY ${TARPLAY_WIN_DEPS}/lib/libSDL.dll.a CACHE STRING "SDL's import library")
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# GCC 12 reports out-of-bounds copies inside std::vector's resize and insert
# at -O3 on this target that cannot happen (the same false positive family
# as the top-level -Wno-restrict).
set(CMAKE_CXX_FLAGS_INIT "-Wno-array-bounds -Wno-stringop-overflow -Wno-stringop-overread")

# Only SDL.dll beside the program: libgcc, libstdc++ and winpthread go in.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

set(CMAKE_CROSSCOMPILING_EMULATOR
    env WINEPREFIX=${CMAKE_BINARY_DIR}/wine ${CMAKE_CURRENT_LIST_DIR}/../../scripts/wine-run)
