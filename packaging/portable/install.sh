#!/bin/sh
# Adds Varnock, run from this folder, to your desktop: a menu entry, its icons, the types of .ptc
# and .ptcset files (which then open in it), the manual pages, and varnock and varnock-cli in ~/.local/bin.
# Only your own folders change: $XDG_DATA_HOME (~/.local/share by default) and ~/.local/bin.
# uninstall.sh takes it all away again. Move the folder first, then run this.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
data=${XDG_DATA_HOME:-$HOME/.local/share}
bin=$HOME/.local/bin

# The menu entry names the window by its full path, quoted as desktop entries want it.
case $here in
  *[\"\`\$\\]*)
    echo "install.sh: move the folder to a path without \", \`, \$ or \\ first: $here" >&2
    exit 1
    ;;
esac
exec_path=$(printf '%s' "$here/varnock" | sed -e 's/%/%%/g' -e 's/[&|]/\\&/g')

mkdir -p "$data/applications" "$data/mime/packages" "$data/man/man1" "$bin"
sed "s|^Exec=varnock |Exec=\"$exec_path\" |" "$here/share/applications/org.varnock.Varnock.desktop" \
  >"$data/applications/org.varnock.Varnock.desktop"
cp "$here/share/mime/packages/varnock.xml" "$data/mime/packages/varnock.xml"
for icon in "$here"/share/icons/hicolor/*/apps/varnock.png; do
  size=$(basename "$(dirname "$(dirname "$icon")")")
  mkdir -p "$data/icons/hicolor/$size/apps"
  cp "$icon" "$data/icons/hicolor/$size/apps/varnock.png"
done
for icon in "$here"/share/icons/hicolor/*/mimetypes/application-x-varnock-ptcset.png; do
  [ -f "$icon" ] || continue
  size=$(basename "$(dirname "$(dirname "$icon")")")
  mkdir -p "$data/icons/hicolor/$size/mimetypes"
  cp "$icon" "$data/icons/hicolor/$size/mimetypes/application-x-varnock-ptcset.png"
done
cp "$here"/share/man/man1/*.1.gz "$data/man/man1/"

# A program of the same name that is not a link is yours: it stays.
for program in varnock varnock-cli; do
  if [ -e "$bin/$program" ] && [ ! -L "$bin/$program" ]; then
    echo "install.sh: $bin/$program is not a link made here: left as it is" >&2
  else
    ln -sfn "$here/$program" "$bin/$program"
  fi
done

# The desktop's caches, where the tools for them are installed.
if command -v update-mime-database >/dev/null 2>&1; then
  update-mime-database "$data/mime" || true
fi
if command -v update-desktop-database >/dev/null 2>&1; then
  update-desktop-database "$data/applications" || true
fi
echo "Varnock is in your menu; .ptc files open in it; varnock and varnock-cli are in $bin."
