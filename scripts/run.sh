#!/usr/bin/env bash
# Installs what is needed, builds the installer and starts it on its embedded sample catalogue,
# as a user meets it.
#
# On a machine without a registry store of its own (no DBI_REGISTRY_* and nothing under
# $XDG_CONFIG_HOME/dbinstaller) a small demo machine is laid out first in a scratch folder: one
# installed CAD program and a drive map, so the whole road to an installed catalogue can be
# walked. Without a display the wizard runs under Xvfb and the road is walked by the end-to-end
# script, which prints where its screenshots and the installed tree are.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target DbInstaller
program="$PWD/build/default/DbInstaller"

config="${XDG_CONFIG_HOME:-$HOME/.config}/dbinstaller"
if [[ -z "${DBI_REGISTRY_MACHINE:-}${DBI_REGISTRY_USER:-}" && ! -e "$config/machine.reg" &&
      ! -e "$config/user.reg" ]]; then
    scratch="$(mktemp -d "${TMPDIR:-/tmp}/dbinstaller-demo.XXXXXX")"
    # shellcheck disable=SC1090
    source "$(bash scripts/make_demo_environment.sh "$scratch")"
    echo "Demo machine in $scratch: the CAD program is installed in $DEMO_TARGET"
fi

walk="tests/installer/ui/wizard_walk.py"
if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]]; then
    exec "$program" "$@"
elif [[ -f "$walk" ]]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" /usr/bin/python3 "$walk" --program "$program"
else
    echo "No display: the wizard runs under Xvfb."
    exec xvfb-run -a -s "-screen 0 1024x768x24" "$program" "$@"
fi
