# Tests of a cross build: GoogleTest built from its source package with the cross compiler, and,
# when the tests run under Wine, one Wine prefix for the whole build folder with a server that a
# set-up fixture starts before the first test and a clean-up fixture stops after the last.
include_guard(GLOBAL)

set(VARNOCK_GOOGLETEST_SOURCE /usr/src/googletest
    CACHE PATH "GoogleTest source package built for the cross tests")
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${VARNOCK_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
foreach(gtest_target gtest gtest_main)
  # Its own warnings are not ours to fix.
  set_target_properties(${gtest_target} PROPERTIES COMPILE_WARNING_AS_ERROR OFF)
  if(NOT TARGET GTest::${gtest_target})
    add_library(GTest::${gtest_target} ALIAS ${gtest_target})
  endif()
endforeach()

if(NOT CMAKE_CROSSCOMPILING_EMULATOR MATCHES "wine" OR NOT VARNOCK_WINEPREFIX)
  return()
endif()

set(varnock_wine_env WINEDEBUG=-all WINEPREFIX=${VARNOCK_WINEPREFIX}
    "WINEDLLOVERRIDES=mscoree,mshtml=")

# The prefix is made once, when the build folder is configured: programs run during the build
# (tools, and every test program, whose tests are listed by running it once it is linked) must
# not race to create it. The rule below makes it again should it be deleted later.
# wineserver -w waits until the new registry is saved.
if(NOT EXISTS ${VARNOCK_WINEPREFIX}/system.reg)
  message(STATUS "Creating the Wine prefix ${VARNOCK_WINEPREFIX}")
  execute_process(COMMAND /usr/bin/env ${varnock_wine_env} ${VARNOCK_WINE} wineboot -i
                  OUTPUT_QUIET ERROR_QUIET)
  execute_process(COMMAND /usr/bin/env ${varnock_wine_env} ${VARNOCK_WINESERVER} -w)
endif()
add_custom_command(
  OUTPUT ${VARNOCK_WINEPREFIX}/system.reg
  COMMAND /usr/bin/env ${varnock_wine_env} ${VARNOCK_WINE} wineboot -i
  COMMAND /usr/bin/env ${varnock_wine_env} ${VARNOCK_WINESERVER} -w
  COMMENT "Creating the Wine prefix ${VARNOCK_WINEPREFIX}"
  VERBATIM)
add_custom_target(varnock_wineprefix DEPENDS ${VARNOCK_WINEPREFIX}/system.reg)

# Without a running server every Wine program waits for one to start and stop; one persistent
# server for the whole run makes each test start at once. The server and the services Wine
# starts with it outlive the fixture: they must not hold its output open, or CTest waits for
# them. A server left running by an interrupted run is used as it is (wineserver -p then
# refuses to start a second one).
add_test(NAME wine_server_start
         COMMAND /usr/bin/env ${varnock_wine_env} /bin/sh -c
                 "exec >/dev/null 2>&1 </dev/null; \"$1\" -p; \"$2\" cmd /c exit 0"
                 sh ${VARNOCK_WINESERVER} ${VARNOCK_WINE})
# Stopping a server that already ended is no failure.
add_test(NAME wine_server_stop
         COMMAND /usr/bin/env ${varnock_wine_env} /bin/sh -c "\"$1\" -k || true" sh
                 ${VARNOCK_WINESERVER})
set_tests_properties(wine_server_start PROPERTIES FIXTURES_SETUP wine_server TIMEOUT 120)
set_tests_properties(wine_server_stop PROPERTIES FIXTURES_CLEANUP wine_server TIMEOUT 60)
set(VARNOCK_WINE_FIXTURE wine_server)
