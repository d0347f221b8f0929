#!/usr/bin/env bash
# The statement check of CI: replays every session script of the project
# (tests/session, docs/examples) on fresh demo installations, collects every
# distinct statement sent to a driver together with the batches of
# src/hostdb/sql, and checks them all against SQL Server's dialect
# (scripts/check_statements.py: sqlfluff's T-SQL grammar, identifier case,
# literal lengths, quoting, no SQLite-only syntax). Fails on any fault.
#
#   scripts/check_statements.sh [BUILD_DIR]     (default build/default, built)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/default}"
out="$build/statements"
mkdir -p "$out"

"$build/src/orvelka-db" script --dialect tsql --demo >"$out/install.sql"
"$build/src/orvelka-statements" --schema "$out/session-statements.sql" \
  tests/session/*.session docs/examples/*.session
# The install script's demo rows go through the same checks.
/usr/bin/python3 scripts/check_statements.py --schema "$out/install.sql" \
  "$out/session-statements.sql" "$out/install.sql"
