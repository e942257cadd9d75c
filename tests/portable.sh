#!/usr/bin/env bash
# Builds every source outside the Qt backend without Qt: the toolkit's core,
# the plane, the entry, the activities, the application and main.cpp, with
# em++ (WebAssembly, and then the browser backend too) when it is installed,
# else with the host compiler and no Qt found at all, and runs the tests that need no window there (under node
# for WebAssembly; with em++ also the window tests, built for the page and
# run in headless Chromium, tests/webdriver/). Fails if any such source is
# left out of the build or is compiled with a Qt include path.
#
#   tests/portable.sh SOURCE_DIR OUT_DIR
set -euo pipefail
src=$(cd "$1" && pwd)
out=$2
mkdir -p "$out"

if command -v em++ >/dev/null && command -v emcmake >/dev/null; then
    dir=$out/wasm
    # emcc's JavaScript optimizer needs Debian's node-acorn.
    export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
    configure=(emcmake cmake -DORVALIS_WEB=ON)
    skip=()
    echo "portable: compiling with $(em++ --version | head -n 1)"
else
    dir=$out/native
    configure=(cmake)
    skip=(-not -path "$src/src/toolkit/web/*")
    echo "portable: em++ is not installed; compiling with the host compiler and no Qt"
fi

"${configure[@]}" -S "$src" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DORVALIS_QT=OFF \
    -DBUILD_TESTING=ON -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >"$out/configure.log" 2>&1 ||
    { cat "$out/configure.log"; exit 1; }
cmake --build "$dir" -j"${ORVALIS_PORTABLE_JOBS:-2}"

# Every source outside the Qt backend, and none of them with Qt.
commands=$dir/compile_commands.json
missing=0
while IFS= read -r file; do
    if ! grep -q "\"file\": \"$file\"" "$commands"; then
        echo "portable: $file was not compiled" >&2
        missing=1
    fi
done < <(find "$src/src" -name '*.cpp' -not -path "$src/src/toolkit/qt/*" "${skip[@]}" | sort)
if grep -Ei -- '-I[^ ]*qt[56]|-isystem [^ ]*qt[56]' "$commands" >&2; then
    echo "portable: a source was compiled with a Qt include path" >&2
    missing=1
fi
((missing == 0))

ctest --test-dir "$dir" --output-on-failure -j"${ORVALIS_PORTABLE_JOBS:-2}"
