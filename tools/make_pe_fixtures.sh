#!/bin/bash
# Builds small resource-only PE libraries with version resources, as test fixtures.
#
#   make_pe_fixtures.sh <output folder>
#       every tools/pe_fixtures/<name>.rc as <name>.32.dll and <name>.64.dll
#   make_pe_fixtures.sh --version A.B.C.D [--text "FileVersion text"] [--bits 32|64] <file>
#       one library whose fixed version is A.B.C.D and whose "FileVersion" is the text
#       (A.B.C.D when not given), with the Polish translation 0x415/1250
#
# Needs Debian's binutils-mingw-w64-i686 and binutils-mingw-w64-x86-64. No mingw compiler is
# needed: windres runs the system's cpp, and ld links the resources into a DLL without code.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

build() { # build <rc file> <bits> <output>
    local rc="$1" bits="$2" out="$3" prefix object
    case "$bits" in
        32) prefix=i686-w64-mingw32 ;;
        64) prefix=x86_64-w64-mingw32 ;;
        *) echo "make_pe_fixtures: --bits is 32 or 64" >&2; exit 2 ;;
    esac
    object="$(mktemp --suffix=.o)"
    trap 'rm -f "$object"' RETURN
    "$prefix-windres" --preprocessor=cpp -i "$rc" -O coff -o "$object"
    "$prefix-ld" --dll -e 0 -o "$out" "$object"
}

if [[ "${1:-}" == --version ]]; then
    version="" text="" bits=32 out=""
    while (($#)); do
        case "$1" in
            --version) version="$2"; shift 2 ;;
            --text) text="$2"; shift 2 ;;
            --bits) bits="$2"; shift 2 ;;
            *) out="$1"; shift ;;
        esac
    done
    if [[ ! "$version" =~ ^[0-9]+\.[0-9]+\.[0-9]+\.[0-9]+$ || -z "$out" ]]; then
        echo "usage: make_pe_fixtures.sh --version A.B.C.D [--text T] [--bits 32|64] <file>" >&2
        exit 2
    fi
    text="${text:-$version}"
    text="${text//\\/\\\\}"
    text="${text//\"/\"\"}"
    rc="$(mktemp --suffix=.rc)"
    trap 'rm -f "$rc"' EXIT
    cat >"$rc" <<RC
1 VERSIONINFO
FILEVERSION ${version//./,}
PRODUCTVERSION ${version//./,}
BEGIN
  BLOCK "StringFileInfo"
  BEGIN
    BLOCK "041504e2"
    BEGIN
      VALUE "FileVersion", "$text"
    END
  END
  BLOCK "VarFileInfo"
  BEGIN
    VALUE "Translation", 0x415, 1250
  END
END
RC
    build "$rc" "$bits" "$out"
    exit 0
fi

if (($# != 1)); then
    echo "usage: make_pe_fixtures.sh <output folder>" >&2
    exit 2
fi
mkdir -p "$1"
for rc in "$here"/pe_fixtures/*.rc; do
    name="$(basename "$rc" .rc)"
    build "$rc" 32 "$1/$name.32.dll"
    build "$rc" 64 "$1/$name.64.dll"
done
