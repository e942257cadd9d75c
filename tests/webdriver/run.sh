#!/usr/bin/env bash
# Runs one window test program in Chromium (run_gtest.mjs, same arguments),
# after installing playwright-core from the lockfile into
# tests/webdriver/node_modules when it is missing (--install does only that).
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

want=$(sed -n 's/.*"playwright-core": "\(.*\)".*/\1/p' "$here/package.json" | head -n 1)
have=$(sed -n 's/.*"version": "\(.*\)".*/\1/p' "$here/node_modules/playwright-core/package.json" 2>/dev/null | head -n 1 || true)
if [[ $have != "$want" ]]; then
    echo "webdriver: installing playwright-core $want" >&2
    (cd "$here" && npm ci --no-audit --no-fund --loglevel=error)
fi
if [[ ${1:-} == --install ]]; then
    exit 0
fi
exec node "$here/run_gtest.mjs" "$@"
