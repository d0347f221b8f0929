#!/usr/bin/env bash
# Renders the README's pictures of the desktop program off screen, from a
# fresh demo installation: docs/images/*.png. Needs a built orvelka.
set -euo pipefail
cd "$(dirname "$0")/.."
bin=build/default/src/hostapp/orvelka
[[ -x "$bin" ]] || { echo "screenshots: build orvelka first (cmake --build --preset default)"; exit 1; }
data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT
export QT_QPA_PLATFORM=offscreen XDG_DATA_HOME="$data"
shot() {  # file section principal
  "$bin" --screenshot "docs/images/$1.png" --section "$2" --principal "$3" 2>/dev/null
  echo "docs/images/$1.png"
}
shot customers-suppliers ITM50010 group:3
shot warehouses ITM50017 group:3
shot families ITM_ARTFAM user:4
shot projects ITM50026 group:5
shot transfers ITM_TRANSORIDEST user:4
shot copy ITM154 group:3
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
