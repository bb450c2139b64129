# The Windows zip: Varnock-<version>-win64/ holding the two programs, a README.txt and the
# licence with Windows line ends, and the SHA-256 sums of the programs.
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
add_custom_target(varnock_packaged ALL DEPENDS ${packaged_programs} ${sums})

install(PROGRAMS ${packaged_programs} DESTINATION .)
install(FILES ${packaged}/README.txt ${packaged}/LICENSE.txt ${sums} DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_FILE_NAME Varnock-${PROJECT_VERSION}-win64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
