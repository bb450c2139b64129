# The Debian packages: varnock (the window, its desktop entry, icons, AppStream data, the MIME
# type of patch files) and varnock-cli (the command line and the carried patches for it).
set(linux ${CMAKE_CURRENT_SOURCE_DIR}/linux)
set(generated ${CMAKE_CURRENT_BINARY_DIR}/generated)
set(VARNOCK_VERSION ${PROJECT_VERSION})
set(VARNOCK_MAINTAINER ${VARNOCK_PACKAGE_MAINTAINER})
# The picture of the window that software centres show, made by scripts/screenshots.
set(VARNOCK_SCREENSHOT_URL "https://varnock.example.org/docs/images/varnock-qt.png"
    CACHE STRING "Where the AppStream data finds the window's picture")
string(TIMESTAMP VARNOCK_RELEASE_DATE "%Y-%m-%d" UTC)
string(TIMESTAMP VARNOCK_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
set(generated_files)

# varnock_gzip(SOURCE OUTPUT): OUTPUT is SOURCE compressed as Debian wants it (no name, no time).
function(varnock_gzip source output)
  add_custom_command(OUTPUT ${output}
    COMMAND sh -c "gzip -9n -c \"$1\" > \"$2\"" sh ${source} ${output}
    DEPENDS ${source}
    VERBATIM)
  set(generated_files ${generated_files} ${output} PARENT_SCOPE)
endfunction()

set(components)
if(TARGET varnock)
  list(APPEND components window)
endif()
if(TARGET varnock-cli)
  list(APPEND components cli)
endif()

# Per package: the copyright file, its changelog and its manual page.
set(window_package varnock)
set(cli_package varnock-cli)
foreach(component IN LISTS components)
  set(VARNOCK_PACKAGE ${${component}_package})
  configure_file(${linux}/changelog.in ${generated}/${VARNOCK_PACKAGE}/changelog @ONLY)
  configure_file(${linux}/${VARNOCK_PACKAGE}.1 ${generated}/${VARNOCK_PACKAGE}.1 @ONLY)
  varnock_gzip(${generated}/${VARNOCK_PACKAGE}/changelog ${generated}/${VARNOCK_PACKAGE}/changelog.gz)
  varnock_gzip(${generated}/${VARNOCK_PACKAGE}.1 ${generated}/${VARNOCK_PACKAGE}.1.gz)
  install(FILES ${linux}/copyright ${generated}/${VARNOCK_PACKAGE}/changelog.gz
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${VARNOCK_PACKAGE} COMPONENT ${component})
  install(FILES ${generated}/${VARNOCK_PACKAGE}.1.gz
          DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT ${component})
  install(PROGRAMS ${packaged}/${VARNOCK_PACKAGE}
          DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT ${component})
endforeach()

if(TARGET varnock-cli)
  get_property(patches GLOBAL PROPERTY VARNOCK_BUNDLED_PATCHES)
  install(FILES ${patches} DESTINATION ${CMAKE_INSTALL_DATADIR}/varnock/patches COMPONENT cli)
  install(FILES ${linux}/varnock-cli.bash-completion
          DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME varnock-cli
          COMPONENT cli)
endif()

if(TARGET varnock)
  # The icon drawn by the program's own drawing code, at the sizes of the icon theme.
  find_package(Qt6 REQUIRED COMPONENTS Gui)
  add_executable(varnock-icon-png icon_png_tool.cpp ${PROJECT_SOURCE_DIR}/win32/icon_image.cpp)
  target_include_directories(varnock-icon-png PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(varnock-icon-png PRIVATE Qt6::Gui)
  foreach(size 16 24 32 48 64 128 256)
    set(icon ${generated}/icons/${size}/varnock.png)
    add_custom_command(OUTPUT ${icon}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${generated}/icons/${size}
      COMMAND varnock-icon-png ${size} ${icon}
      DEPENDS varnock-icon-png
      VERBATIM)
    list(APPEND generated_files ${icon})
    install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            COMPONENT window)
    # The icon of set files (application/x-varnock-ptcset), named after their type.
    set(set_icon ${generated}/icons/${size}/application-x-varnock-ptcset.png)
    add_custom_command(OUTPUT ${set_icon}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${generated}/icons/${size}
      COMMAND varnock-icon-png ${size} ${set_icon} set
      DEPENDS varnock-icon-png
      VERBATIM)
    list(APPEND generated_files ${set_icon})
    install(FILES ${set_icon}
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/mimetypes
            COMPONENT window)
  endforeach()

  # The documentation's pictures are taken from a virtual display (scripts/screenshots).
  add_executable(varnock-screen-png EXCLUDE_FROM_ALL screen_png_tool.cpp)
  target_link_libraries(varnock-screen-png PRIVATE Qt6::Gui)

  # The desktop entry and the AppStream data carry the name and summary in every language of
  # po/, merged in by msgfmt from the same catalogues as the programs' texts.
  configure_file(${linux}/org.varnock.Varnock.metainfo.xml.in
                 ${generated}/untranslated/org.varnock.Varnock.metainfo.xml @ONLY)
  add_custom_command(OUTPUT ${generated}/org.varnock.Varnock.metainfo.xml
    COMMAND ${VARNOCK_MSGFMT} --xml --template=${generated}/untranslated/org.varnock.Varnock.metainfo.xml
            -d ${PROJECT_SOURCE_DIR}/po -o ${generated}/org.varnock.Varnock.metainfo.xml
    DEPENDS ${generated}/untranslated/org.varnock.Varnock.metainfo.xml ${VARNOCK_CATALOGUE_SOURCES}
    VERBATIM)
  add_custom_command(OUTPUT ${generated}/org.varnock.Varnock.desktop
    COMMAND ${VARNOCK_MSGFMT} --desktop --template=${linux}/org.varnock.Varnock.desktop.in
            -d ${PROJECT_SOURCE_DIR}/po -o ${generated}/org.varnock.Varnock.desktop
    DEPENDS ${linux}/org.varnock.Varnock.desktop.in ${VARNOCK_CATALOGUE_SOURCES}
    VERBATIM)
  list(APPEND generated_files ${generated}/org.varnock.Varnock.metainfo.xml
       ${generated}/org.varnock.Varnock.desktop)
  install(FILES ${generated}/org.varnock.Varnock.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT window)
  install(FILES ${generated}/org.varnock.Varnock.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT window)
  install(FILES ${linux}/varnock-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
          RENAME varnock.xml COMPONENT window)
endif()
add_custom_target(varnock_packaged ALL DEPENDS ${packaged_programs} ${generated_files})

set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL ${components})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${VARNOCK_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_WINDOW_PACKAGE_NAME varnock)
set(CPACK_DEBIAN_CLI_PACKAGE_NAME varnock-cli)
set(CPACK_DEBIAN_WINDOW_PACKAGE_SUGGESTS varnock-cli)
set(CPACK_DEBIAN_CLI_PACKAGE_SUGGESTS varnock)
# Each description starts with the package's own synopsis: CPack puts the project's summary
# before it unless the summary is left at CPack's default.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${CMAKE_PROJECT_NAME} built using CMake")
set(about
  "Varnock applies binary patches (.ptc files) to the executables of an old game\n"
  "engine and its level-editing tools (tomb4.exe, tom2pc.exe, winroomedit.exe,\n"
  "script.exe), and removes them again. Every byte is verified before anything\n"
  "changes, and an executable is either rewritten whole and correctly or left\n"
  "exactly as it was.\n\n")
string(CONCAT CPACK_DEBIAN_WINDOW_DESCRIPTION
  "apply and remove binary patches in a window\n" ${about}
  "This package holds the window, which carries two patches of its own.")
string(CONCAT CPACK_DEBIAN_CLI_DESCRIPTION
  "apply and remove binary patches from the command line\n" ${about}
  "This package holds varnock-cli, the window's engine for scripts and batch\n"
  "work, and the patches the window carries.")
