#!/usr/bin/env bash
# Runs one browser test file with node's test runner, after installing
# playwright-core from the lockfile into tests/web/node_modules when it is
# missing (--install does only that).
#
#   tests/web/run.sh --install
#   tests/web/run.sh FILE.test.mjs     (ORVALIS_WEB_DIST: the dist folder)
#
# Without a built site (dist/web/index.html and dist/orvalis.html, which
# scripts/web makes and ./scripts/test builds first) a test is skipped with
# code 77, which CTest reports as skipped.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

want=$(sed -n 's/.*"playwright-core": "\(.*\)".*/\1/p' "$here/package.json" | head -n 1)
have=$(sed -n 's/.*"version": "\(.*\)".*/\1/p' "$here/node_modules/playwright-core/package.json" 2>/dev/null | head -n 1 || true)
if [[ $have != "$want" ]]; then
    echo "web tests: installing playwright-core $want" >&2
    (cd "$here" && npm ci --no-audit --no-fund --loglevel=error)
fi
if [[ ${1:-} == --install ]]; then
    exit 0
fi
dist=${ORVALIS_WEB_DIST:-$here/../../dist}
if [[ ! -f $dist/web/index.html || ! -f $dist/orvalis.html ]]; then
    echo "web tests: skipped, no site in $dist (build it with scripts/web)" >&2
    exit 77
fi
cd "$here"
exec node --test "$@"
