#!/bin/sh
# Takes away what install.sh added to your folders: the menu entry, the icons, the file types,
# the manual pages and the links in ~/.local/bin that point into this folder. The folder
# itself, your patches and the choices the window remembers stay.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
data=${XDG_DATA_HOME:-$HOME/.local/share}
bin=$HOME/.local/bin

rm -f "$data/applications/org.varnock.Varnock.desktop" "$data/mime/packages/varnock.xml" \
  "$data/man/man1/varnock.1.gz" "$data/man/man1/varnock-cli.1.gz"
rm -f "$data"/icons/hicolor/*/apps/varnock.png \
  "$data"/icons/hicolor/*/mimetypes/application-x-varnock-ptcset.png
for program in varnock varnock-cli; do
  if [ -L "$bin/$program" ] && [ "$(readlink "$bin/$program")" = "$here/$program" ]; then
    rm -f "$bin/$program"
  fi
done

if command -v update-mime-database >/dev/null 2>&1 && [ -d "$data/mime/packages" ]; then
  update-mime-database "$data/mime" || true
fi
if command -v update-desktop-database >/dev/null 2>&1 && [ -d "$data/applications" ]; then
  update-desktop-database "$data/applications" || true
fi
echo "Varnock is no longer in your menu."
