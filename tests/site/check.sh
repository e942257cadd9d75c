#!/usr/bin/env bash
# Checks the browser site that ./scripts/web assembled, without a browser:
#
#   tests/site/check.sh DIST_DIR      (DIST_DIR is dist/ after ./scripts/web)
#
# DIST_DIR/web/: the page is Japanese, keeps the browser's zoom and refers
# only to files of the site (as do its style sheets and manifest); the
# service worker keeps every file of the site, and nothing else, in a cache
# named after the program's version, and deletes older caches; the fonts
# declare the three designed faces, the device's own first. DIST_DIR/
# orvalis.html: no reference to any file, no service worker, the faces
# inside. Every character the program can show is in every shipped face.
# Needs Debian's python3 with python3-fonttools and python3-brotli
# (scripts/deps web). Exits 1 naming each fault.
set -euo pipefail
if (($# != 1)); then
    echo "usage: $0 DIST_DIR" >&2
    exit 2
fi
exec /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/check_site.py" "$1"
