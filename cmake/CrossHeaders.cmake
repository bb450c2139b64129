# varnock_cross_headers(NAME)
# An interface library NAME that brings the header-only libraries CLI11 and nlohmann-json. A
# native build links the installed packages. A cross build copies the host's headers of these
# two libraries into the build tree and adds only that copy to the include path: the host's
# own include folder never reaches the cross compiler, whose system headers differ.
include_guard(GLOBAL)

set(VARNOCK_HOST_INCLUDE_DIR /usr/include
    CACHE PATH "Host folder whose CLI and nlohmann headers a cross build copies")

function(varnock_cross_headers name)
  add_library(${name} INTERFACE)
  if(NOT CMAKE_CROSSCOMPILING)
    find_package(CLI11 REQUIRED)
    find_package(nlohmann_json REQUIRED)
    target_link_libraries(${name} INTERFACE CLI11::CLI11 nlohmann_json::nlohmann_json)
    return()
  endif()
  set(copy ${CMAKE_BINARY_DIR}/cross-headers/include)
  foreach(folder CLI nlohmann)
    if(NOT EXISTS ${VARNOCK_HOST_INCLUDE_DIR}/${folder})
      message(FATAL_ERROR "The ${folder} headers are missing from ${VARNOCK_HOST_INCLUDE_DIR}: "
                          "install libcli11-dev and nlohmann-json3-dev")
    endif()
    file(COPY ${VARNOCK_HOST_INCLUDE_DIR}/${folder} DESTINATION ${copy})
  endforeach()
  target_include_directories(${name} SYSTEM INTERFACE ${copy})
endfunction()
