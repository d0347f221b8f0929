#!/usr/bin/env bash
# Configures, builds and runs every test with the given preset (default:
# "default"). Used by the README and by CI.
set -euo pipefail
cd "$(dirname "$0")/.."
# Paths relative to the checkout, so ccache hits across clones of the tree.
export CCACHE_BASEDIR="$PWD"
preset="${1:-default}"
jobs="${ORV_JOBS:-$(nproc)}"
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j "$jobs"
ctest --preset "$preset" -j "$jobs"
