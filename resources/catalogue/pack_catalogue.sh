#!/bin/bash
# Turns the sample catalogue into the resources the installer carries, and writes the manifest
# that tools/respack attaches to the program (lines of "NAME TYPE FILE").
#
#   pack_catalogue.sh OUTPUT_FOLDER [MANIFEST...]
#
# For every DBnn.ini beside this script (numbered from 01 without gaps) and its folder DBnn/:
#   DBnnFULL.7z  the folder's files, 7z, data encrypted with the installer's archive password
#   DBnnINI.ini  the INI as UTF-16LE with a byte-order mark, its TARGETSIZE set to the total
#                size of the folder's files (what the database occupies once unpacked)
# and into catalogue.manifest: the pairs DBnnINI / DBnnFULL, the licences LICPL, LICEN, LICRU,
# LICHU (resources/licenses), LIB7Z (the decoder library, $DBI_SEVENZIP_LIBRARY or Debian's
# p7zip copy) and LIBB1 (the C++ runtime the program is linked with, from $CXX or c++), then
# the lines of every further MANIFEST given (their files made absolute), since the packer
# attaches one bundle per program and a second run would replace the first.
# Needs 7z (p7zip-full) and iconv.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
out="${1:?usage: pack_catalogue.sh OUTPUT_FOLDER [MANIFEST...]}"
shift
mkdir -p "$out"
out="$(cd "$out" && pwd)"
password='kura_pomorska_zielona'
manifest="$out/catalogue.manifest"
licenses="$here/../licenses"

sevenzip_library="${DBI_SEVENZIP_LIBRARY:-/usr/lib/p7zip/7z.so}"
runtime="$(readlink -f "$("${CXX:-c++}" -print-file-name=libstdc++.so.6)")"
for file in "$sevenzip_library" "$runtime"; do
    [[ -f "$file" ]] || { echo "pack_catalogue: missing $file" >&2; exit 1; }
done

{
    echo "# Made by resources/catalogue/pack_catalogue.sh; do not edit."
    n=1
    while :; do
        id=$(printf 'DB%02d' "$n")
        [[ -f "$here/$id.ini" && -d "$here/$id" ]] || break
        size=$(find "$here/$id" -type f -printf '%s\n' | awk '{ s += $1 } END { print s + 0 }')
        rm -f "$out/${id}FULL.7z"
        (cd "$here/$id" && 7z a -bd -bso0 -bsp0 -p"$password" "$out/${id}FULL.7z" . >/dev/null)
        { printf '\xff\xfe'; sed "s/@TARGETSIZE@/$size/" "$here/$id.ini" | sed 's/$/\r/' |
            iconv -f UTF-8 -t UTF-16LE; } >"$out/${id}INI.ini"
        echo "${id}INI RCDATA $out/${id}INI.ini"
        echo "${id}FULL RCDATA $out/${id}FULL.7z"
        n=$((n + 1))
    done
    for lic in LICPL LICEN LICRU LICHU; do
        echo "$lic RCDATA $(cd "$licenses" && pwd)/$lic.rtf"
    done
    echo "LIB7Z RCDATA $sevenzip_library"
    echo "LIBB1 RCDATA $runtime"
    for extra in "$@"; do
        base="$(cd "$(dirname "$extra")" && pwd)"
        while read -r name kind file; do
            [[ -z "$name" || "$name" == \#* ]] && continue
            [[ "$file" == /* ]] || file="$base/$file"
            echo "$name $kind $file"
        done <"$extra"
    done
} >"$manifest"
echo "$manifest"
