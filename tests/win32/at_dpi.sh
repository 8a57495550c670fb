#!/usr/bin/env bash
# Runs a Windows test program under Wine with the desktop at another DPI, in a Wine
# prefix of its own (TORNEVO_WINEPREFIX), so that the other tests keep 96 DPI.
#   at_dpi.sh DPI wine-run program.exe [arguments...]
set -euo pipefail
dpi=$1
wine_run=$2
shift 2
"$wine_run" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
exec "$wine_run" "$@"
