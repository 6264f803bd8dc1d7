#!/bin/sh
# Removes Cinemon from this computer: its menu and desktop entries, its records in the setup's
# registry and the program files beside this script. The database files stay: the shop's data
# is never removed by an uninstallation.
set -u

if [ "$(id -u)" -eq 0 ]; then
    registry=/var/lib/quarkon/registry-machine.ini
else
    registry="${XDG_DATA_HOME:-$HOME/.local/share}/quarkon/registry-machine.ini"
fi
if [ "$(id -u)" -eq 0 ]; then
    programs=/usr/local/share/applications
else
    programs="${XDG_DATA_HOME:-$HOME/.local/share}/applications"
fi
desktop=$(xdg-user-dir DESKTOP 2>/dev/null || echo "$HOME/Desktop")

group=Kinodesk
if [ -f "$registry" ]; then
    found=$(awk -F= '/^\[/{s=($0=="[Software\\Quarkon computers\\Cinemon]")} s&&$1=="ProgramGroup"{sub(/\r$/,"",$2);print $2}' "$registry")
    [ -n "$found" ] && group=$found
    awk 'BEGIN{skip=0}
         /^\[/{h=$0; sub(/\r$/,"",h); skip=(h=="[Software\\Quarkon computers\\Cinemon]" || h=="[Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kinodesk]")}
         !skip{print}' "$registry" > "$registry.new" && mv "$registry.new" "$registry"
fi

rm -f "$programs/$group/Videopůjčovna Kinodesk.desktop" "$programs/$group/Odinstalovat Kinodesk.desktop" \
      "$desktop/Videopůjčovna Kinodesk.desktop"
rmdir "$programs/$group" 2>/dev/null

if [ "${1:-}" != "Kinodesk" ]; then
    here=$(dirname "$(readlink -f "$0")")
    rm -f "$here/Kinodesk.exe" "$here/Kinodesk.ini" "$here/licence.rtf" "$here/Uninstall.exe"
fi
echo "Aplikace Kinodesk byla odinstalována."
