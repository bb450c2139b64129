# The languages Varnock speaks. The template (varnock.pot) is extracted by xgettext from the
# texts marked with Tr, TrNoop and TrFormat; each language's po/LL.po is compiled by msgfmt,
# which checks it; the pseudo-language "qps" is made from the template for the tests; and the
# compiled catalogues are embedded in the support library, so that the programs carry them.
find_program(VARNOCK_XGETTEXT xgettext REQUIRED)
find_program(VARNOCK_MSGFMT msgfmt REQUIRED)
find_program(VARNOCK_PYTHON python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)
find_file(VARNOCK_METAINFO_ITS metainfo.its PATHS /usr/share/gettext/its NO_CMAKE_FIND_ROOT_PATH REQUIRED)
file(STRINGS ${PROJECT_SOURCE_DIR}/po/LINGUAS VARNOCK_LANGUAGES REGEX "^[a-z]")
set(VARNOCK_CATALOGUE_SOURCES ${PROJECT_SOURCE_DIR}/po/LINGUAS)
foreach(language IN LISTS VARNOCK_LANGUAGES)
  list(APPEND VARNOCK_CATALOGUE_SOURCES ${PROJECT_SOURCE_DIR}/po/${language}.po)
endforeach()

set(VARNOCK_TEXT_FOLDERS support patchfile target history engine author sets app picker cli qt win32)

function(varnock_embed_catalogues target)
  set(dir ${CMAKE_BINARY_DIR}/po)
  file(STRINGS ${PROJECT_SOURCE_DIR}/po/LINGUAS languages REGEX "^[a-z]")
  set(globs)
  foreach(folder IN LISTS VARNOCK_TEXT_FOLDERS)
    list(APPEND globs ${PROJECT_SOURCE_DIR}/${folder}/*.cpp ${PROJECT_SOURCE_DIR}/${folder}/*.h)
  endforeach()
  file(GLOB sources CONFIGURE_DEPENDS RELATIVE ${PROJECT_SOURCE_DIR} ${globs})
  list(SORT sources)
  list(JOIN sources "\n" source_list)
  file(CONFIGURE OUTPUT ${dir}/sources.txt CONTENT "${source_list}\n")
  list(TRANSFORM sources PREPEND ${PROJECT_SOURCE_DIR}/ OUTPUT_VARIABLE source_paths)

  # The desktop entry's and the AppStream data's texts join the programs' (by the rules of
  # AppStream's own package for its format).
  set(desktop packaging/linux/org.varnock.Varnock.desktop.in)
  set(metainfo packaging/linux/org.varnock.Varnock.metainfo.xml.in)
  add_custom_command(OUTPUT ${dir}/varnock.pot
    COMMAND ${VARNOCK_XGETTEXT} --from-code=UTF-8 --language=C++ --keyword=Tr --keyword=TrNoop
      --keyword=TrFormat:1 --keyword=TrCrLf --keyword=TrFormatCrLf:1 --add-comments=TRANSLATORS: --add-location=file --no-wrap --force-po
      --package-name=Varnock --files-from=${dir}/sources.txt --output=${dir}/varnock.pot
    COMMAND ${VARNOCK_XGETTEXT} --join-existing --language=Desktop --add-location=file --no-wrap
      --output=${dir}/varnock.pot ${desktop}
    COMMAND ${VARNOCK_XGETTEXT} --join-existing --its=${VARNOCK_METAINFO_ITS} --add-location=file
      --no-wrap --output=${dir}/varnock.pot ${metainfo}
    COMMAND ${VARNOCK_XGETTEXT} --join-existing --language=Python --add-location=file --no-wrap
      --output=${dir}/varnock.pot scripts/installer-texts
    DEPENDS ${source_paths} ${dir}/sources.txt ${PROJECT_SOURCE_DIR}/${desktop}
      ${PROJECT_SOURCE_DIR}/${metainfo} ${PROJECT_SOURCE_DIR}/scripts/installer-texts
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    COMMENT "Extracting the texts to translate"
    VERBATIM)

  set(catalogues)
  foreach(language IN LISTS languages)
    add_custom_command(OUTPUT ${dir}/${language}.mo
      COMMAND ${VARNOCK_MSGFMT} --check-format --check-domain --output-file=${dir}/${language}.mo
        ${PROJECT_SOURCE_DIR}/po/${language}.po
      DEPENDS ${PROJECT_SOURCE_DIR}/po/${language}.po
      VERBATIM)
    list(APPEND catalogues ${dir}/${language}.mo)
  endforeach()
  add_custom_command(OUTPUT ${dir}/qps.mo
    COMMAND ${VARNOCK_PYTHON} ${PROJECT_SOURCE_DIR}/scripts/pseudo-locale ${dir}/varnock.pot ${dir}/qps.po
    COMMAND ${VARNOCK_MSGFMT} --check-format --check-domain --output-file=${dir}/qps.mo ${dir}/qps.po
    DEPENDS ${dir}/varnock.pot ${PROJECT_SOURCE_DIR}/scripts/pseudo-locale
    VERBATIM)
  list(APPEND languages qps)
  list(APPEND catalogues ${dir}/qps.mo)

  add_custom_command(OUTPUT ${dir}/embedded_catalogues.cpp
    COMMAND ${CMAKE_COMMAND} -DOUTPUT=${dir}/embedded_catalogues.cpp -DDIR=${dir}
      "-DLANGUAGES=${languages}" -P ${PROJECT_SOURCE_DIR}/cmake/embed_catalogues.cmake
    DEPENDS ${catalogues} ${PROJECT_SOURCE_DIR}/cmake/embed_catalogues.cmake
    VERBATIM)
  target_sources(${target} PRIVATE ${dir}/embedded_catalogues.cpp)
  set(VARNOCK_TEMPLATE ${dir}/varnock.pot PARENT_SCOPE)
endfunction()

# Brings po/LL.po up to date with the template (new texts empty, gone ones obsolete), for the
# translators: cmake --build BUILD --target varnock-update-po.
function(varnock_update_po_target)
  file(STRINGS ${PROJECT_SOURCE_DIR}/po/LINGUAS languages REGEX "^[a-z]")
  find_program(VARNOCK_MSGMERGE msgmerge REQUIRED)
  set(commands)
  foreach(language IN LISTS languages)
    list(APPEND commands COMMAND ${VARNOCK_MSGMERGE} --quiet --update --backup=none --no-wrap
      --add-location=file ${PROJECT_SOURCE_DIR}/po/${language}.po ${CMAKE_BINARY_DIR}/po/varnock.pot)
  endforeach()
  add_custom_target(varnock-update-po ${commands} DEPENDS ${CMAKE_BINARY_DIR}/po/varnock.pot VERBATIM)
endfunction()
