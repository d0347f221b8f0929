#!/usr/bin/env bash
# Builds everything and opens the editor on the embedded demo database
# (created on first run in the user's data folder). Extra arguments go to
# the program. Without a display, the desktop program needs
# QT_QPA_PLATFORM=offscreen or xvfb-run; the script says so.
set -euo pipefail
cd "$(dirname "$0")/.."
# Paths relative to the checkout, so ccache hits across clones of the tree.
export CCACHE_BASEDIR="$PWD"
cmake --preset default >/dev/null
cmake --build --preset default -j "${ORV_JOBS:-$(nproc)}"

bin=build/default/src
data="${XDG_DATA_HOME:-$HOME/.local/share}/orvelka"
demo="$data/demo.db"
mkdir -p "$data"

if [[ -x "$bin/hostapp/orvelka" ]]; then
  if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" ]]; then
    echo "run: no display. Run under a virtual one:  xvfb-run -a $0"
    echo "     or take a picture off screen:        $bin/hostapp/orvelka --screenshot editor.png"
    exit 1
  fi
  exec "$bin/hostapp/orvelka" "$@"
fi

if [[ -x "$bin/orvelka-db" && ! -f "$demo" ]]; then
  "$bin/orvelka-db" create --demo "$demo"
fi

if [[ -x "$bin/orvelka-session" ]]; then
  echo "run: the desktop program is not built yet; replaying the demo session headless on $demo"
  exec "$bin/orvelka-session" --db "$demo" docs/examples/demo.session "$@"
fi

if [[ -f "$demo" ]]; then
  echo "run: the editor is not built yet; the demo database is at $demo. Its tables:"
  sqlite3 "$demo" ".tables"
  exit 0
fi
echo "run: only the data-access layer exists so far; run the tests with ./scripts/test.sh"
