#!/bin/sh
# The windows as a screen reader reads them: the probe runs in a private X display and D-Bus
# session, which end with it. Exit status 77 (skipped, with a loud message) when there is no
# virtual display or session bus to start.
set -u
varnock=$1
demo=$2
probe=$(dirname "$0")/accessibility_probe.py
for tool in xvfb-run xauth dbus-run-session dbus-send /usr/bin/python3; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "************************************************************************" >&2
    echo "SKIPPED: the screen reader's view was NOT checked: $tool is missing" >&2
    echo "(Debian's xvfb, xauth, dbus-x11, at-spi2-core and python3-pyatspi)" >&2
    echo "************************************************************************" >&2
    exit 77
  fi
done
log=$(mktemp)
trap 'rm -f "$log"' EXIT
# Other test runs start displays too: the search for a free display starts at one of its own.
timeout -k 5 240 xvfb-run -a -n $((100 + $$ % 800)) -s "-screen 0 1024x768x24" \
  dbus-run-session -- /usr/bin/python3 "$probe" "$varnock" "$demo" >"$log" 2>&1
status=$?
# dbus-daemon warns that it cannot raise its descriptor limit when run as root: harmless.
grep -v -e "Failed to set fd limit" -e "org.a11y.atspi.Registry" -e "SpiRegistry daemon" "$log"
if [ "$status" = 124 ]; then
  echo "FAULT: the probe did not end within 240 s" >&2
fi
exit "$status"
