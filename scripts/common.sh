# Sourced by the scripts: packages, builds, Wine prefixes and X servers.
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=$ROOT/build
WINE64=/usr/lib/wine/wine64 WINESERVER64=/usr/lib/wine/wineserver64
WINE32=/usr/lib/wine/wine WINESERVER32=/usr/lib/wine/wineserver32 QEMU_I386=/usr/bin/qemu-i386
PACKAGES=(cmake make g++ g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686 wine wine64
          xvfb openbox googletest zip xdotool x11-utils fonts-ipafont-gothic fonts-vlgothic locales imagemagick)
as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }
codename() { sed -n 's/^VERSION_CODENAME=//p' /etc/os-release | grep .; }
# debian_mirror: the address this machine's apt sources give Debian's archive
# (the one serving this release's own suite), a mirror or proxy included.
debian_mirror() {
    apt-get indextargets --no-release-info --format '$(RELEASE) $(REPO_URI)' |
        awk -v suite="$(codename)" '$1 == suite { print $2; exit }' | grep . ||
        { echo "apt's sources name no archive for $(codename)" >&2; return 1; }
}
# apt-get as root, waiting while another apt run holds the lock; as that wait
# does not cover the lists' lock, apt_update tries three times.
apt_get() { as_root env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 -y -qq "$@"; }
APT_FRESH=0
apt_update() {
    for _ in 1 2 3; do [ $APT_FRESH = 1 ] || { apt_get update >&2 && APT_FRESH=1; } && return 0; sleep 10; done; return 1
}
# need PACKAGE...: installs those not installed yet, i386 ones included.
need() {
    local missing=() p
    for p; do dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p"); done
    [ ${#missing[@]} = 0 ] && return 0
    command -v apt-get >/dev/null || { echo "missing packages and no apt-get: ${missing[*]}" >&2; return 1; }
    echo "Installing: ${missing[*]}" >&2
    if [[ "${missing[*]}" == *:i386* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
        as_root dpkg --add-architecture i386 && APT_FRESH=0
    fi
    apt_update || { echo "apt-get update failed" >&2; return 1; }
    apt_get install "${missing[@]}" >/dev/null || { echo "could not install ${missing[*]}" >&2; return 1; }
}
# build ARCH [SRC DIR TARGET]: configures and builds for i686 (the release) or
# x86_64 (whose tests run under wine64); given a TARGET, only it, without tests.
build() {
    local arch=$1 src=${2:-$ROOT} dir=${3:-$BUILD/$1} target=${4:-all} options=()
    [ "$arch" = i686 ] || options=(-DCMAKE_CROSSCOMPILING_EMULATOR="$WINE64")
    [ "$target" = all ] || options+=(-DVESKAROT_TESTS=OFF)
    cmake -S "$src" -B "$dir" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$src/cmake/$arch-w64-mingw32.cmake" "${options[@]}" >/dev/null
    cmake --build "$dir" --target "$target" -j"$(nproc)" -- --no-print-directory >/dev/null
}
# wine_env 64|32: exports what Wine of that width needs: quiet, no offers to install Mono or Gecko.
wine_env() {
    export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    if [ "$1" = 32 ]; then export WINEARCH=win32 WINELOADER=$WINE32 WINESERVER=$WINESERVER32
    else export WINELOADER=$WINE64 WINESERVER=$WINESERVER64; fi
}
# route32: native where the kernel runs i386 programs, unless WINE32_EMULATE=1; else emulated.
route32() { [ "${WINE32_EMULATE:-0}" != 1 ] && "$WINE32" --version >/dev/null 2>&1 && echo native || echo emulated; }
# make_prefix 64|32 DIR: a Wine prefix of that width without a crash dialog, unless
# DIR is one: in the Japanese locale (whose code page it keeps) if DIR ends in -ja,
# at that DPI if in -144 or -192. A 32-bit one is made in a 32-bit session, a 64-bit
# one without its 32-bit half (64-bit Wine skips that where the 32-bit loader is hidden).
make_prefix() {
    local prefix=$2 dpi=${2##*-} log run=("$ROOT/scripts/wine32") locale=()
    [ -f "$prefix/.ready" ] && return 0
    [[ $dpi == 144 || $dpi == 192 ]] || dpi=
    [[ $prefix != *-ja ]] || locale=(LC_ALL=ja_JP.UTF-8)
    # shellcheck disable=SC2016 # expanded by the inner shell
    [ "$1" = 32 ] || run=(unshare --mount --propagation private sh -c \
        '[ ! -e "$0" ] || mount --bind /dev/null "$0" || exit; exec "$@"' "$WINE32")
    [ "$1" = 32 ] || [ "$(id -u)" = 0 ] || run=(unshare --user --map-root-user "${run[@]:1}")
    rm -rf "$prefix" && mkdir -p "${prefix%/*}" && log=$(mktemp)    # Wine makes DIR, not the folders above
    # shellcheck disable=SC2016 # expanded by the inner shell
    ( wine_env "$1" && export WINEPREFIX=$prefix "${locale[@]}" &&
      "${run[@]}" sh -c '"$WINELOADER" wineboot -i && "$WINELOADER" reg add "HKCU\Software\Wine\WineDbg" \
          /v ShowCrashDialog /t REG_DWORD /d 0 /f && { [ -z "$0" ] || "$WINELOADER" reg add \
          "HKCU\Control Panel\Desktop" /v LogPixels /t REG_DWORD /d "$0" /f; } && "$WINESERVER" -w' "$dpi"
    ) >"$log" 2>&1 || { tail -n 5 "$log" >&2; rm -f "$log"; echo "wineboot failed in $prefix" >&2; return 1; }
    rm -f "$log" && touch "$prefix/.ready"
}
# start_xvfb: an X server on a free display, exported as DISPLAY, with a window manager
# as a player's desktop has one (without, Wine waits 2 s each time a window is hidden).
# Each call starts another pair; stop_xvfb ends all.
X_PIDS=''
start_xvfb() {
    local n wm='' i fifo
    # Xvfb picks a free display (one free in this /tmp may be another root's: X's abstract
    # sockets are shared) and names it once it takes connections. Large enough for 200 %.
    fifo=$(mktemp -u) && mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1600x1200x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    X_PIDS="$! $X_PIDS"
    n=$(timeout 30 head -n 1 "$fifo") || true
    rm -f "$fifo"
    [ -n "$n" ] || { echo "Xvfb did not start (it named no display within 30 s)" >&2; return 1; }
    export DISPLAY=:$n
    # openbox is ready once it owns the screen's selection; started again if it gives up early.
    for ((i = 0; i < 300; ++i)); do
        [ -n "$wm" ] && kill -0 "$wm" 2>/dev/null || { openbox >/dev/null 2>&1 & wm=$!; X_PIDS="$wm $X_PIDS"; }
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && return 0
        sleep 0.1
    done
    echo "openbox did not start on :$n within 30 s" >&2 && return 1
}
# stop_xvfb: each window manager before its server, as the newest PIDs come first.
stop_xvfb() { local pid; for pid in $X_PIDS; do { kill "$pid"; wait "$pid"; } 2>/dev/null || true; done; X_PIDS=''; }
