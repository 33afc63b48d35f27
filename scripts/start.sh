#!/usr/bin/env bash
# Sets up, builds and starts TAVO ZZ on a ready program folder (default ~/TavoZZ).
# The program folder is the current directory of the program: it holds Datazz,
# tavozz.ini, reports, sablony and sablonyRev. A missing Datazz is created with
# the full schema and code tables; --demo loads a small demo data set into it.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
"$here/scripts/deps.sh"
"$here/scripts/build.sh"
prog="${TAVOZZ_HOME:-$HOME/TavoZZ}"
mkdir -p "$prog"
for d in reports sablony sablonyRev; do
  mkdir -p "$prog/$d"
  [ -d "$here/install/$d" ] && cp -rn "$here/install/$d/." "$prog/$d/" 2>/dev/null || true
done
cd "$prog"
if [ ! -d Datazz ] && [ ! -d DATAZZ ] && [ ! -d datazz ]; then
  "$here/build/bin/tavozz-cli" init "$prog/Datazz" ${1:+$1}
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x900x24" "$here/build/bin/tavozz"
fi
exec "$here/build/bin/tavozz"
