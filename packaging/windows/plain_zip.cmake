# Run by cpack once the packages are made: the zip is written again without the owner's user
# and group numbers, which the archiver takes from the files of whoever builds it.
if(NOT CPACK_GENERATOR STREQUAL "ZIP" OR NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  return()
endif()
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  execute_process(COMMAND python3 ${CMAKE_CURRENT_LIST_DIR}/plain_zip.py ${package}
                  COMMAND_ERROR_IS_FATAL ANY)
endforeach()
