#!/usr/bin/env bash
# Renders the pictures of the desktop program in the README and the user
# guide off screen, from a fresh demo installation: docs/images/*.png. Needs a
# built orvelka.
set -euo pipefail
cd "$(dirname "$0")/.."
bin=build/default/src/hostapp/orvelka
[[ -x "$bin" ]] || { echo "screenshots: build orvelka first (cmake --build --preset default)"; exit 1; }
data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT
export QT_QPA_PLATFORM=offscreen XDG_DATA_HOME="$data" XDG_CONFIG_HOME="$data"
shot() {  # file section principal [size]
  local size=()
  [[ $# -ge 4 ]] && size=(--size "$4")
  "$bin" --screenshot "docs/images/$1.png" --section "$2" --principal "$3" "${size[@]}" 2>/dev/null
  echo "docs/images/$1.png"
}
shot customers-suppliers ITM50010 group:3
shot warehouses ITM50017 group:3
shot families ITM_ARTFAM user:4
shot projects ITM50026 group:5
shot transfers ITM_TRANSORIDEST user:4
shot copy ITM154 group:3
# The user guide's start and the window at three sizes and scale factors.
"$bin" --screenshot docs/images/guide-start.png --section ITM50017 --size 1024x640 2>/dev/null
echo docs/images/guide-start.png
shot layout-1024x640 ITM_TRANSORIDEST user:4 1024x640
shot layout-1920x1080 ITM_TRANSORIDEST user:4 1920x1080
QT_SCALE_FACTOR=2 shot layout-scale2 ITM_TRANSORIDEST user:4 700x450
# The profile window: effective rights by source, a comparison, where-used,
# the preview of an import.
profile() {  # file view
  "$bin" --screenshot "docs/images/$1.png" --profile-view "$2" 2>/dev/null
  echo "docs/images/$1.png"
}
profile profile-effective effective:lbianchi
profile profile-compare compare:mrossi,lbianchi
profile profile-where-used where-used:transfer:MP:PF
mario="$data/mario.json"
build/default/src/orvelka-profile --db "$data/orvelka/demo.db" --user admin export user:mrossi -o "$mario"
profile profile-import "import:user:pcolombo,$mario"
# The journal of changes after a few gestures of a session (last: they write to the database).
build/default/src/orvelka-session --db "$data/orvelka/demo.db" docs/examples/journal-picture.session >/dev/null
"$bin" --screenshot docs/images/journal.png --journal-view --size 1200x640 2>/dev/null
echo docs/images/journal.png
