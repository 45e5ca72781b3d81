#!/usr/bin/env bash
# usage: check_doc_tests.sh DOC TEST_EXECUTABLE...
# Every test that DOC cites as `Suite.Name` must exist in one of the test
# executables (a parameterised one is cited without its prefix and index).
set -euo pipefail
doc=$1
shift
listed=$(for exe in "$@"; do
  "$exe" --gtest_list_tests | awk '/^[^ ]/ { suite = $1 } /^  / { print suite $1 }'
done | sed -E 's#^[^/.]+/##; s#^([^.]+\.[^/]+)/.*$#\1#' | sort -u)
missing=0
# A cited test reads `Suite.SomeLongName`: a suite, a dot, a name of eight or more letters.
for cited in $(grep -oE '`[A-Z][A-Za-z0-9]+\.[A-Z][A-Za-z0-9]{7,}`' "$doc" | tr -d '`' | sort -u); do
  if ! grep -qxF "$cited" <<<"$listed"; then
    echo "$doc cites $cited, which no test executable has" >&2
    missing=1
  fi
done
exit $missing
