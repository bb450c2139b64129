#!/bin/sh
# read_only_folder.sh WINE PROGRAM VARNOCK_EXE ARGS...: copies VARNOCK_EXE into a fresh folder
# that nobody may write in (immutable, so that the system administrator may not either), runs
# the Windows program PROGRAM with that copy's Windows path in VARNOCK_READ_ONLY_PROGRAM, and
# removes the folder afterwards, whatever the program's outcome.
set -u
wine="$1"
program="$2"
exe="$3"
shift 3
folder="$(mktemp -d)"
cp "$exe" "$folder/varnock.exe"
chattr +i "$folder" 2>/dev/null || chmod a-w "$folder"
VARNOCK_READ_ONLY_PROGRAM="Z:$(printf '%s' "$folder" | tr / '\\')\\varnock.exe" \
  "$wine" "$program" "$@"
status=$?
chattr -i "$folder" 2>/dev/null
chmod u+w "$folder"
rm -rf "$folder"
exit $status
