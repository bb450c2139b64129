# The programs of the portable Linux archive, in packaged/portable/: varnock-cli with the C++
# runtime and libcrypto linked in, and the window, which finds the Qt libraries carried beside
# it (lib/) through its run path, with the patch bundle appended after the strip and patchelf
# (neither keeps appended bytes). scripts/package-portable gathers the rest of the archive.
find_program(VARNOCK_PATCHELF patchelf)
if(NOT VARNOCK_PATCHELF)
  message(STATUS "patchelf not found: the portable Linux archive cannot be made")
  return()
endif()
varnock_packaged_program(varnock-cli-portable portable/varnock-cli)

set(portable_window ${packaged}/portable/varnock)
get_property(patches GLOBAL PROPERTY VARNOCK_BUNDLED_PATCHES)
add_custom_command(OUTPUT ${portable_window}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${packaged}/portable
  COMMAND ${CMAKE_STRIP} --strip-unneeded --remove-section=.comment -o ${portable_window}
          $<TARGET_FILE:varnock>
  COMMAND ${VARNOCK_PATCHELF} --set-rpath "$ORIGIN/lib" ${portable_window}
  COMMAND varnock-build bundle ${portable_window} ${patches}
  DEPENDS varnock varnock_demo ${packaged}/source-date-epoch
  COMMENT "Preparing varnock for the portable Linux archive"
  VERBATIM)
list(APPEND packaged_programs ${portable_window})
