#!/bin/sh
# Removes Cinemon from this computer: exactly the files and folders its setup made, as the setup
# listed them beside this script, and the product's records in the setup's registry. The shop's
# database stays unless the owner asks for it to go. The list is in UTF-8, as the file system's
# names are, so Czech names of groups and folders are removed as they were made.
set -u

here=$(dirname "$(readlink -f "$0")")
list="$here/Kinodesk.files"
if [ ! -f "$list" ]; then
    echo "Seznam nainstalovaných souborů $list chybí, aplikaci nelze odinstalovat."
    exit 1
fi

ask() {
    printf '%s [a/N] ' "$1"
    read -r answer || answer=
    case "$answer" in
    a | A | ano | Ano | ANO) return 0 ;;
    esac
    return 1
}

if ! ask "Opravdu chcete odebrat aplikaci Kinodesk z tohoto počítače?"; then
    echo "Aplikace Kinodesk nebyla odebrána."
    exit 1
fi
database=no
if ask "Odebrat také databázi? Všechna data prodejny budou nenávratně ztracena."; then
    database=yes
fi

# Read first: the list is among the files it names.
folders=$(grep '^D ' "$list" | cut -c3- | sort -r)
registry=
while IFS= read -r line; do
    path=${line#? }
    case "$line" in
    "F "*) rm -f -- "$path" ;;
    "B "*) [ "$database" = yes ] && rm -f -- "$path" ;;
    "R "*) registry=$path ;;
    esac
done <"$list"

# The product's records go; the section headers are plain ASCII whatever the values' encoding.
# A registry left without any record goes too.
if [ -n "$registry" ] && [ -f "$registry" ]; then
    awk '/^\[/{h=$0; sub(/\r$/,"",h); skip=(h=="[Software\\Quarkon computers\\Cinemon]" || h=="[Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kinodesk]")}
         !skip{print}' "$registry" >"$registry.new" && mv "$registry.new" "$registry"
    if ! grep -q '[^[:space:]]' "$registry"; then
        rm -f -- "$registry"
    fi
fi

# Folders the setup made, the deepest first; a folder that still holds anything stays.
printf '%s\n' "$folders" | while IFS= read -r folder; do
    [ -n "$folder" ] && rmdir -- "$folder" 2>/dev/null
done
echo "Aplikace Kinodesk byla odinstalována."
