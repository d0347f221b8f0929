#!/usr/bin/env bash
# Runs the benchmarks of the scaled installation at two scales (0.2 and 1 by
# default), each figure beside its raw-SQLite floor in the same program run.
#
#   scripts/bench_scaled.sh [build-dir] [scale ...]
#
# Each scale's database is made once with `orvelka-db create --scale S` into
# <build-dir>/scaled/scale_S.db and shared by every benchmark (they would
# otherwise each build their own beside the program). The reading gestures
# and the clicks run on a copy in /dev/shm, so that the figures show the work
# and not the disk; the revoke-alls and the clicks run once more on the file
# on disk with Synchronous=Full (the default), where every commit is a sync.
set -euo pipefail

build=${1:-build/default}
shift || true
scales=("$@")
[[ ${#scales[@]} -gt 0 ]] || scales=(0.2 1)
bench=$build/bench
shm=/dev/shm/orv_bench_$$
mkdir -p "$build/scaled" "$shm"
trap 'rm -rf "$shm"' EXIT

run() {  # name, program, filter, env...
  local name=$1 program=$2 filter=$3
  shift 3
  echo "### $name"
  env "$@" "$bench/$program" --benchmark_filter="$filter" 2>&1 | grep -E '^BM_' || true
}

for scale in "${scales[@]}"; do
  disk=$build/scaled/scale_$scale.db
  [[ -f $disk ]] || "$build/src/orvelka-db" create --scale "$scale" "$disk"
  memory=$shm/scale_$scale.db
  cp "$disk" "$memory"
  echo "## scale $scale ($(date -u +%H:%M) UTC, load $(cut -d' ' -f1-3 /proc/loadavg))"
  run "customer/supplier tree, open and pick (memory)" clifor_bench \
    'OpenAndPickUser|LoadTreeCausali|TreeBatch' ORV_CLIFOR_BENCH_DB="$memory"
  if [[ -x $bench/desktop_bench ]]; then
    run "desktop program: open and pick a user (memory, off screen)" desktop_bench . \
      ORV_DESKTOP_BENCH_DB="$memory" QT_QPA_PLATFORM=offscreen
  fi
  run "catalogues (memory)" parameters_bench \
    'BM_LoadData/(projects|simulations)|BM_CatalogueRawSqlite/(projects|simulations)' \
    ORV_PARAMETERS_BENCH_DB="$memory"
  run "nodes: Aggiorna and click (memory)" nodes_bench \
    'BM_LoadData$|BM_LoadDataRawSqlite|BM_Click|BM_RawClick' ORV_NODES_BENCH_DB="$memory"
  run "parameter revoke-all and clicks (disk, full sync)" parameters_bench \
    'BM_DisableAll|BM_Click/' ORV_PARAMETERS_BENCH_DB="$disk"
  run "node clicks (disk, full sync)" nodes_bench 'BM_Click|BM_RawClick' ORV_NODES_BENCH_DB="$disk"
  run "matrix revoke-all (memory)" transfers_bench 'DisableAllScaled' \
    ORV_TRANSFERS_BENCH_DB="$memory"
  run "matrix revoke-all (disk, full sync)" transfers_bench 'DisableAllScaled' \
    ORV_TRANSFERS_BENCH_DB="$disk"
  rm -f "$memory"*
done
