#!/bin/bash
# Writes the tables of switches, commands and exit codes in README.md,
# docs/install-ini.md, docs/deploying.md and dist/release/README.txt from
# docs/switches.txt. --check writes nothing and fails when a document differs.
set -euo pipefail
cd "$(dirname "$0")/.."
TABLE=docs/switches.txt
CHECK=0
[ "${1:-}" = --check ] && CHECK=1
status=0
for doc in README.md docs/install-ini.md docs/deploying.md dist/release/README.txt; do
  made=$(mktemp)
  LC_ALL=C awk -v table="$TABLE" -f scripts/doc-tables.awk "$doc" >"$made" || { rm -f "$made"; exit 1; }
  if ! cmp -s "$doc" "$made"; then
    if [ "$CHECK" = 1 ]; then
      echo "$doc is out of date with $TABLE (bash scripts/doc-tables.sh writes it):"
      diff -u "$doc" "$made" | head -20
      status=1
    else
      cat "$made" >"$doc"
      echo "wrote $doc"
    fi
  fi
  rm -f "$made"
done
exit $status
