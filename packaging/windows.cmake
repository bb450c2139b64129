# The Windows zip, Varnock-<version>-win64/ holding the two programs, a README.txt and the
# licence with Windows line ends, and the SHA-256 sums of the programs; and the installer of the
# same files, Varnock-<version>-win64-setup.exe (windows/NSIS.template.in).
set(VARNOCK_VERSION ${PROJECT_VERSION})
configure_file(windows/README.txt.in ${packaged}/README.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${packaged}/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)

set(sums ${packaged}/SHA256SUMS)
set(names)
foreach(program IN LISTS packaged_programs)
  get_filename_component(name ${program} NAME)
  list(APPEND names ${name})
endforeach()
add_custom_command(OUTPUT ${sums}
  COMMAND ${CMAKE_COMMAND} -DOUTPUT=${sums} "-DFILES=${names}"
          -P ${CMAKE_CURRENT_SOURCE_DIR}/windows/sha256sums.cmake
  WORKING_DIRECTORY ${packaged}
  DEPENDS ${packaged_programs} ${CMAKE_CURRENT_SOURCE_DIR}/windows/sha256sums.cmake
  VERBATIM)
# The installer's own texts in every language of po/, as NSIS language strings.
set(CPACK_VARNOCK_TEXTS_NSH ${CMAKE_CURRENT_BINARY_DIR}/installer_texts.nsh)
add_custom_command(OUTPUT ${CPACK_VARNOCK_TEXTS_NSH}
  COMMAND ${VARNOCK_PYTHON} ${PROJECT_SOURCE_DIR}/scripts/installer-texts ${PROJECT_SOURCE_DIR}/po
          ${CPACK_VARNOCK_TEXTS_NSH}
  DEPENDS ${PROJECT_SOURCE_DIR}/scripts/installer-texts ${VARNOCK_CATALOGUE_SOURCES}
  VERBATIM)
add_custom_target(varnock_packaged ALL DEPENDS ${packaged_programs} ${sums} ${CPACK_VARNOCK_TEXTS_NSH})

install(PROGRAMS ${packaged_programs} DESTINATION .)
set(documents ${packaged}/README.txt ${packaged}/LICENSE.txt ${sums})
install(FILES ${documents} DESTINATION .)

set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_FILE_NAME Varnock-${PROJECT_VERSION}-win64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_SOURCE_DIR}/windows/cpack_options.cmake)
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_SOURCE_DIR}/windows/plain_zip.cmake)

# The installer names each file it installs, in a fixed order, and its uninstaller deletes
# those and nothing else: patches a user put into the folder stay, and with them the folder.
list(PREPEND CMAKE_MODULE_PATH ${CMAKE_CURRENT_SOURCE_DIR}/windows)
set(installed ${names})
foreach(file IN LISTS documents)
  get_filename_component(name ${file} NAME)
  list(APPEND installed ${name})
endforeach()
list(SORT installed)
set(install_files "")
set(delete_files "")
foreach(name IN LISTS installed)
  string(APPEND install_files "  File \"\${INST_DIR}\\${name}\"\n")
  string(APPEND delete_files "  Delete \"$INSTDIR\\${name}\"\n")
endforeach()
set(CPACK_VARNOCK_FILES_NSH ${CMAKE_CURRENT_BINARY_DIR}/installed_files.nsh)
file(WRITE ${CPACK_VARNOCK_FILES_NSH}
  "!macro VARNOCK_INSTALL_FILES\n${install_files}!macroend\n"
  "!macro VARNOCK_DELETE_FILES\n${delete_files}!macroend\n")
set(CPACK_VARNOCK_ICON ${PROJECT_BINARY_DIR}/win32/varnock.ico)
