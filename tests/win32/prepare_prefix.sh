#!/bin/sh
# prepare_prefix.sh WINE PREFIX: makes a Wine prefix fit for the window tests. Wine's own fonts
# are copied where its programs look for them (else the close box draws as a letter and the
# dialog face is missing), and windows draw their own frames: no window manager runs on the
# test display, and without one every window closes slowly.
set -eu
wine="$1"
export WINEPREFIX="$2" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
fonts="$WINEPREFIX/drive_c/windows/Fonts"
mkdir -p "$fonts"
if [ -d /usr/share/wine/fonts ]; then
  cp -n /usr/share/wine/fonts/* "$fonts"/ 2>/dev/null || true
fi
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
"$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null
