# cmake --install: the programs, a desktop entry and a manual page for each,
# and the shared icon. Only the programs this tree defines are installed.
include(GNUInstallDirs)

function(tarplay_install_rules)
  set(dist ${CMAKE_SOURCE_DIR}/dist)
  set(installed)
  foreach(prog tarplay tarplay8 tarplay_pd)
    if(NOT TARGET ${prog})
      continue()
    endif()
    list(APPEND installed ${prog})
    install(TARGETS ${prog} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    if(UNIX)
      install(FILES ${dist}/${prog}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
      install(FILES ${dist}/${prog}.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    endif()
  endforeach()
  if(UNIX AND installed)
    install(FILES ${dist}/tarplay.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
    # The variants' pages only include tarplay(1).
    if(NOT "tarplay" IN_LIST installed)
      install(FILES ${dist}/tarplay.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    endif()
  endif()
endfunction()
tarplay_install_rules()

# An install into a scratch folder, checked as a packager would.
if(TARPLAY_TESTS AND UNIX)
  add_test(NAME install_tree
    COMMAND bash ${CMAKE_SOURCE_DIR}/tests/install/install_tree.sh ${CMAKE_BINARY_DIR})
endif()
