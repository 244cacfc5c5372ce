#!/usr/bin/env bash
# Lays out a small machine of its own in a folder, so that the installer can be walked to an
# installed catalogue on a computer that has none of the maker's programs:
#   <folder>/programs/CAD Lumora/   one installed CAD program (its executable and libraries
#                                   carry real version resources, made by make_pe_fixtures.sh)
#   <folder>/registry/*.reg         the registry store naming that installation
#   <folder>/temp, system32, ...    the folders the installer writes to
#   <folder>/demo.env               the DBI_ variables that point the installer at all of it
#
#   make_demo_environment.sh <folder>      then: source <folder>/demo.env
set -euo pipefail

[[ $# -eq 1 ]] || { echo "usage: make_demo_environment.sh <folder>" >&2; exit 2; }
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
root="$(mkdir -p "$1" && cd "$1" && pwd)"
program="$root/programs/CAD Lumora"
mkdir -p "$program" "$root/registry" "$root/temp" "$root/system32" "$root/windows" \
    "$root/program-files"

version_file="$root/temp/version-7.2.dll"
bash "$here/tools/make_pe_fixtures.sh" --version 7.2.0.0 "$version_file" >/dev/null
for file in CadLumora.exe Manager.dll kafle.dll; do
    cp "$version_file" "$program/$file"
done
rm -f "$version_file"

printf 'Windows Registry Editor Version 5.00\r\n\r\n' >"$root/registry/machine.reg"
{
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\SOFTWARE\\ZENTRAVO\\CADLUMORA3]\r\n'
    printf '"runfrom"="%s/"\r\n' "$program"
} >"$root/registry/user.reg"

cat >"$root/demo.env" <<ENV
export DBI_REGISTRY_MACHINE='$root/registry/machine.reg'
export DBI_REGISTRY_USER='$root/registry/user.reg'
export DBI_TEMP_DIR='$root/temp'
export DBI_SYSTEM_DIR='$root/system32'
export DBI_WINDOWS_DIR='$root/windows'
export DBI_PROGRAM_FILES_DIR='$root/program-files'
export DBI_DRIVES='C=/'
export DEMO_TARGET='$program/'
ENV
echo "$root/demo.env"
