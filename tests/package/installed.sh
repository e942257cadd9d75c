#!/usr/bin/env bash
# Test of the installed program: builds the Debian package with
# ./scripts/package (unless one is given), installs it with apt-get, which
# pulls in its dependencies, starts `orvalis` from the PATH on a virtual X
# screen and checks that the menu is there (its title, size, place and pink
# background), quits with the menu's end button, then purges the package and
# checks that none of its files is left.
#
#   tests/package/installed.sh [PACKAGE.deb]
#
# Needs root or sudo without a password; without either it is skipped (in CI
# that is a failure). An older copy of orvalis that is already installed is
# saved with dpkg-repack, removed for the test and installed again after it.
# Logs and screenshots go to build-deb/installed/.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../.."
root=$PWD

log() { echo "installed: $*"; }

runner=()
if ((EUID != 0)); then
    if command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
        runner=(sudo -n)
    elif [[ ${CI:-} == true ]]; then
        echo "installed: FAIL: installing a package needs root or sudo without a password" >&2
        exit 1
    else
        log "SKIP: installing a package needs root or sudo without a password"
        exit 0
    fi
fi
as_root() { "${runner[@]}" env DEBIAN_FRONTEND=noninteractive "$@"; }
apt=(apt-get -q -y -o Dpkg::Use-Pty=0 -o DPkg::Lock::Timeout=300)

# shellcheck source=scripts/deps
source scripts/deps
orvalis_deps_install package

start=$SECONDS
if (($# > 0)); then
    deb=$(realpath "$1")
else
    ./scripts/package
    version=$(sed -n 's/^project(Orvalis VERSION \([0-9][0-9.]*\)[ )].*/\1/p' CMakeLists.txt)
    deb=$root/dist/orvalis_${version}_$(dpkg --print-architecture).deb
fi
[[ -f $deb ]] || {
    echo "installed: FAIL: no package at $deb" >&2
    exit 1
}
version=$(dpkg-deb --field "$deb" Version)
build_seconds=$((SECONDS - start))

out=$root/build-deb/installed
rm -rf "$out"
mkdir -p "$out"

xvfb_pid=
prog_pid=
runtime_dir=
saved=
ours_installed=0

fail() {
    echo "installed: FAIL: $*" >&2
    if [[ -s $out/program.log ]]; then
        echo "---- $out/program.log ----" >&2
        tail -n 20 "$out/program.log" >&2
    fi
    exit 1
}

status_of() { dpkg-query -W -f='${db:Status-Status}' "$1" 2>/dev/null || true; }

cleanup() {
    local rc=$?
    [[ -n $prog_pid ]] && kill "$prog_pid" 2>/dev/null
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    [[ -n $runtime_dir ]] && rm -rf "$runtime_dir"
    if ((ours_installed)) && [[ $(status_of orvalis) != not-installed ]]; then
        log "purging orvalis after a failure"
        as_root "${apt[@]}" purge orvalis >>"$out/apt.log" 2>&1 || rc=1
    fi
    if [[ -n $saved ]]; then
        log "installing the older copy again ($saved)"
        if ! as_root "${apt[@]}" install --no-install-recommends "$saved" >>"$out/apt.log" 2>&1; then
            echo "installed: FAIL: could not install the older copy again; it is saved at $saved" >&2
            rc=1
        fi
    fi
    exit "$rc"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# ------------------------------------------------------------ an older copy
case $(status_of orvalis) in
    '' | not-installed) ;;
    installed)
        old=$(dpkg-query -W -f='${Version}' orvalis)
        log "orvalis $old is installed already: saving it with dpkg-repack and removing it for the test"
        (cd "$out" && as_root dpkg-repack orvalis >"$out/repack.log" 2>&1) || fail "dpkg-repack failed (see $out/repack.log)"
        saved=$(find "$out" -maxdepth 1 -name 'orvalis_*.deb' -print -quit)
        [[ -n $saved ]] || fail "dpkg-repack made no package (see $out/repack.log)"
        as_root "${apt[@]}" purge orvalis >>"$out/apt.log" 2>&1 || fail "could not remove the older copy (see $out/apt.log)"
        ;;
    *)
        # Removed but not purged, or half installed: nothing worth keeping.
        log "orvalis is in state $(status_of orvalis): purging it first"
        as_root "${apt[@]}" purge orvalis >>"$out/apt.log" 2>&1 || fail "could not purge orvalis (see $out/apt.log)"
        ;;
esac

# ------------------------------------------------------------ install
t=$SECONDS
log "apt-get install $deb"
ours_installed=1
as_root "${apt[@]}" install --no-install-recommends "$deb" >>"$out/apt.log" 2>&1 ||
    fail "apt-get install failed (see $out/apt.log)"
install_seconds=$((SECONDS - t))
[[ $(status_of orvalis) == installed ]] || fail "orvalis is not installed after apt-get install"
[[ $(dpkg-query -W -f='${Version}' orvalis) == "$version" ]] || fail "the installed version is not $version"
[[ $(status_of fonts-ipafont) == installed ]] || fail "the dependency fonts-ipafont was not installed"
hash -r
[[ $(command -v orvalis) == /usr/bin/orvalis ]] || fail "orvalis on the PATH is '$(command -v orvalis || true)', not /usr/bin/orvalis"
dpkg -L orvalis >"$out/files.txt"

# ------------------------------------------------------------ start it
readonly PINK=255,210,210
# shellcheck source=tests/support/xvfb.sh
source tests/support/xvfb.sh
start_xvfb "$out" 1024 768
xvfb_pid=$XVFB_PID
unset QT_QPA_PLATFORM
runtime_dir=$(mktemp -d)
chmod 700 "$runtime_dir"

log "starting orvalis from the PATH on $DISPLAY"
(cd / && XDG_RUNTIME_DIR=$runtime_dir exec orvalis) >"$out/program.log" 2>&1 &
prog_pid=$!

menu=
for ((i = 0; i < 150; i++)); do
    menu=$(xdotool search --onlyvisible --name '^Orvalis$' 2>/dev/null | head -n 1 || true)
    [[ -n $menu ]] && break
    kill -0 "$prog_pid" 2>/dev/null || fail "orvalis ended before showing its menu"
    sleep 0.2
done
[[ -n $menu ]] || fail "no visible window \"Orvalis\" within 30 s"
geometry=$(xdotool getwindowgeometry --shell "$menu")
x=$(sed -n 's/^X=//p' <<<"$geometry") y=$(sed -n 's/^Y=//p' <<<"$geometry")
w=$(sed -n 's/^WIDTH=//p' <<<"$geometry") h=$(sed -n 's/^HEIGHT=//p' <<<"$geometry")
[[ "$x,$y ${w}x$h" == "0,0 250x250" ]] || fail "the menu is ${w}x$h at ($x,$y), expected 250x250 at (0,0)"

# The menu's background, away from its three buttons, is pink; the middle of
# its first button is not.
pixel() {
    convert "$out/menu.png" -crop "1x1+$1+$2" -depth 8 txt:- 2>>"$out/imagemagick.log" |
        sed -n '2s/^[^(]*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p'
}
for ((i = 0; i < 25; i++)); do
    import -window root "$out/menu.png" 2>>"$out/imagemagick.log" || fail "import could not take a screenshot"
    [[ $(pixel 5 125) == "$PINK" && $(pixel 125 220) == "$PINK" && $(pixel 240 240) == "$PINK" ]] && break
    sleep 0.2
done
for spot in "5 125" "125 220" "240 240"; do
    got=$(pixel "${spot% *}" "${spot#* }")
    [[ $got == "$PINK" ]] || fail "the menu's background at ($spot) is $got, expected pink $PINK (see $out/menu.png)"
done
got=$(pixel 120 32)
[[ $got != "$PINK" ]] || fail "the menu's first button at (120, 32) is missing (see $out/menu.png)"
log "the menu is on the screen ($out/menu.png)"

# The end button ends the program with status 0.
xdotool mousemove --sync 120 160 click 1
status=
for ((i = 0; i < 50; i++)); do
    if ! kill -0 "$prog_pid" 2>/dev/null; then
        status=0
        wait "$prog_pid" || status=$?
        break
    fi
    sleep 0.2
done
[[ -n $status ]] || fail "orvalis is still running 10 s after its end button was clicked"
prog_pid=
[[ $status == 0 ]] || fail "orvalis ended with status $status"
log "the end button ended orvalis with status 0"

# ------------------------------------------------------------ remove it
t=$SECONDS
as_root "${apt[@]}" purge orvalis >>"$out/apt.log" 2>&1 || fail "apt-get purge failed (see $out/apt.log)"
remove_seconds=$((SECONDS - t))
ours_installed=0
[[ $(status_of orvalis) == not-installed || -z $(status_of orvalis) ]] ||
    fail "orvalis is in state $(status_of orvalis) after the purge"
dpkg -L orvalis >/dev/null 2>&1 && fail "dpkg still lists files of orvalis after the purge"
# No file is left, nor a folder that is empty and that no other package owns
# (the icon theme's own folders may well be empty).
left=0
while IFS= read -r path; do
    [[ -z $path || $path == /. ]] && continue
    if [[ -d $path && ! -L $path ]]; then
        if [[ -z $(ls -A "$path") ]] && ! dpkg-query -S "$path" >/dev/null 2>&1; then
            echo "installed: empty folder left: $path" >&2
            left=1
        fi
    elif [[ -e $path || -L $path ]]; then
        echo "installed: file left: $path" >&2
        left=1
    fi
done <"$out/files.txt"
((left == 0)) || fail "the purge left some of the package behind"
hash -r
command -v orvalis >/dev/null 2>&1 && fail "orvalis is still on the PATH after the purge: $(command -v orvalis)"
log "purged: none of its $(grep -c . "$out/files.txt") paths is left"

log "passed: package $build_seconds s, install $install_seconds s, purge $remove_seconds s, whole test $((SECONDS - start)) s"
