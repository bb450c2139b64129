#!/bin/sh
# at_dpi.sh DPI WINE PROGRAM ARGS...: runs a Windows program with the screen of the Wine prefix
# at DPI dots per inch, and sets it back to 96 afterwards, whatever the program's outcome.
set -u
dpi="$1"
wine="$2"
shift 2
"$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
"$wine" "$@"
status=$?
"$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null
exit $status
