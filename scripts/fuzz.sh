#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time
# (seconds, default 60). A crash, leak or sanitizer report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
# Paths relative to the checkout, so ccache hits across clones of the tree.
export CCACHE_BASEDIR="$PWD"
seconds="${1:-60}"
cmake --preset fuzz >/dev/null
shopt -s nullglob
# Only the fuzz targets: the rest of the tree is not meant to link with
# clang's fuzzer instrumentation (the module's shared library refuses
# undefined symbols).
names=()
for src in fuzz/*_fuzz.cc; do names+=("$(basename "$src" .cc)"); done
if ((${#names[@]} > 0)); then
  cmake --build --preset fuzz -j "${ORV_JOBS:-$(nproc)}" --target "${names[@]}"
fi
targets=(build/fuzz/fuzz/*_fuzz)
if ((${#targets[@]} == 0)); then
  echo "fuzz: no targets built"
  exit 0
fi
for t in "${targets[@]}"; do
  name=$(basename "$t")
  corpus="fuzz/corpus/${name}"
  work="build/fuzz/corpus/${name}"
  mkdir -p "$work"
  seeds=()
  [[ -d "$corpus" ]] && seeds=("$corpus")
  echo "fuzz: ${name} for ${seconds}s"
  "$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    "$work" "${seeds[@]}" 2>"build/fuzz/${name}.log" || {
      tail -50 "build/fuzz/${name}.log"
      echo "fuzz: ${name} FAILED"
      exit 1
    }
  grep -E "stat::number_of_executed_units|Done" "build/fuzz/${name}.log" | tail -2 || true
done
