#!/usr/bin/env bash
# Runs one window test program in Chromium (tests/web/lib/run_gtest.mjs,
# same arguments), with the browser tests' playwright-core, which
# tests/web/run.sh installs when it is missing (--install does only that).
set -euo pipefail
web=$(cd "$(dirname "${BASH_SOURCE[0]}")/../web" && pwd)
"$web/run.sh" --install
if [[ ${1:-} == --install ]]; then
    exit 0
fi
exec node "$web/lib/run_gtest.mjs" "$@"
