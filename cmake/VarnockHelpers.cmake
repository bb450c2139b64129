# varnock_library(NAME [DEPENDS libs...] [PLATFORM_LIBS libs...])
# A static library of the core made of the .cpp files of the calling folder; its headers are
# included from the project root ("support/paths.h"). Files named *_win32.cpp build only for
# Windows and *_posix.cpp only elsewhere.
function(varnock_library name)
  cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(WIN32)
    list(FILTER sources EXCLUDE REGEX "_posix\\.cpp$")
  else()
    list(FILTER sources EXCLUDE REGEX "_win32\\.cpp$")
  endif()
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_DEPENDS})
  endif()
endfunction()

# varnock_test(NAME DEPENDS libs... [LABELS labels...])
# A GoogleTest program made of the *_test.cpp files of the calling folder, registered with
# CTest; every test has a timeout so a modal box that nobody answers fails instead of hanging.
# Builds that run several times slower (sanitizers) give their tests a longer one.
set(VARNOCK_TEST_TIMEOUT 120 CACHE STRING "Seconds a test may run before it fails")
function(varnock_test name)
  cmake_parse_arguments(ARG "" "" "DEPENDS;LABELS;EXTRA_SOURCES" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  if(WIN32)
    list(FILTER sources EXCLUDE REGEX "_posix_test\\.cpp$")
  else()
    list(FILTER sources EXCLUDE REGEX "_win32_test\\.cpp$")
  endif()
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources} ${ARG_EXTRA_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPENDS} varnock_test_common GTest::gtest_main)
  # The test files of a folder compile together: each would otherwise parse GoogleTest and the
  # same headers again, which is most of their compile time in every build of the suite.
  # Helpers beside them (allocation hooks, process runners) keep a file of their own. The
  # Windows build compiles them one by one: <windows.h>'s macros would reach the next file.
  if(NOT WIN32)
    set_target_properties(${name} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 8)
    if(ARG_EXTRA_SOURCES)
      set_source_files_properties(${ARG_EXTRA_SOURCES} PROPERTIES SKIP_UNITY_BUILD_INCLUSION ON)
    endif()
  endif()
  # Under Wine, the tests need the prefix (to list them at build time) and its running server.
  set(wine_properties)
  if(VARNOCK_WINE_FIXTURE)
    add_dependencies(${name} varnock_wineprefix)
    set(wine_properties FIXTURES_REQUIRED ${VARNOCK_WINE_FIXTURE})
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 120
    PROPERTIES TIMEOUT ${VARNOCK_TEST_TIMEOUT} LABELS "${ARG_LABELS}" ${wine_properties})
endfunction()

# varnock_cross_headers(NAME): CLI11 and nlohmann-json headers, also for a cross build.
include(${CMAKE_CURRENT_LIST_DIR}/CrossHeaders.cmake)
