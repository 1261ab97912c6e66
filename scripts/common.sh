# Shared by scripts/run and scripts/test: packages, builds, Wine and the X server.
# Sourced, not run.

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD="$ROOT/build"
WINE64=/usr/lib/wine/wine64
WINESERVER64=/usr/lib/wine/wineserver64

PACKAGES=(cmake make g++ g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686
          wine wine64 xvfb openbox googletest zip xdotool x11-utils
          fonts-ipafont-gothic fonts-vlgothic locales imagemagick)

as_root() {
    if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi
}

# debian_mirror: the address this machine's apt sources give Debian's archive
# (the one serving this release's own suite), a mirror or proxy included.
debian_mirror() {
    local codename
    codename=$(sed -n 's/^VERSION_CODENAME=//p' /etc/os-release)
    apt-get indextargets --no-release-info --format '$(RELEASE) $(REPO_URI)' |
        awk -v suite="$codename" '$1 == suite { print $2; exit }' | grep . ||
        { echo "apt's sources name no archive for $codename" >&2; return 1; }
}

ensure_packages() {
    local missing=() p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
}

# build_arch i686|x86_64: configure and build. The 64-bit build runs its
# tests under wine64.
build_arch() {
    local arch=$1 options=()
    [ "$arch" = x86_64 ] && options=(-DCMAKE_CROSSCOMPILING_EMULATOR="$WINE64")
    cmake -S "$ROOT" -B "$BUILD/$arch" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/$arch-w64-mingw32.cmake" "${options[@]}" >/dev/null
    cmake --build "$BUILD/$arch" -j"$(nproc)" -- --no-print-directory >/dev/null
}

# Quiet Wine without offers to install Mono or Gecko, and no crash dialog.
wine_env() {
    export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINELOADER=$WINE64
}

# make_prefix64 DIR [LOCALE [DPI]]: a 64-bit prefix, made without its 32-bit
# half. A prefix takes its code page from the locale it is made in.
make_prefix64() {
    local prefix=$1 dpi=${3:-}
    local locale=(${2:+LC_ALL=$2})
    [ -f "$prefix/.ready" ] && return 0
    rm -rf "$prefix"
    mkdir -p "${prefix%/*}"    # Wine makes the prefix itself, but not the folders above it
    wine_env
    env WINEPREFIX="$prefix" "${locale[@]}" "$ROOT/scripts/wine32" without-emulation \
        bash -c '"$0" wineboot -i >/dev/null 2>&1; "$1" -w' "$WINE64" "$WINESERVER64"
    env WINEPREFIX="$prefix" "${locale[@]}" "$WINE64" reg add 'HKCU\Software\Wine\WineDbg' \
        /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    [ -z "$dpi" ] || env WINEPREFIX="$prefix" "$WINE64" reg add 'HKCU\Control Panel\Desktop' \
        /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    WINEPREFIX="$prefix" "$WINESERVER64" -w
    touch "$prefix/.ready"
}

# start_xvfb: an X server on a free display, with a window manager as a
# player's desktop has one (without it Wine waits two seconds each time a
# window is hidden); it exports DISPLAY. Each call starts another pair;
# stop_xvfb ends them all by their PIDs.
XVFB_PIDS=
WM_PIDS=
start_xvfb() {
    local n xvfb wm i fifo
    # Xvfb picks a free display itself and names it once it takes connections.
    # (X's abstract sockets are shared across mount namespaces: a display free
    # in this /tmp may be taken by another root's server.)
    fifo=$(mktemp -u) && mkfifo "$fifo"
    # Large enough for the dialog at 200 %.
    Xvfb -displayfd 3 -screen 0 1600x1200x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    xvfb=$!
    XVFB_PIDS="$XVFB_PIDS $xvfb"
    n=$(timeout 30 head -n 1 "$fifo") || true
    rm -f "$fifo"
    [ -n "$n" ] || { echo "Xvfb did not start (it named no display within 30 s)" >&2; return 1; }
    export DISPLAY=":$n"
    openbox >/dev/null 2>&1 &
    wm=$!
    # The window manager is ready once it owns the screen's selection.
    for i in $(seq 300); do
        if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; then
            WM_PIDS="$WM_PIDS $wm"
            return 0
        fi
        if ! kill -0 "$wm" 2>/dev/null; then    # it gave up early: start it again
            openbox >/dev/null 2>&1 &
            wm=$!
        fi
        sleep 0.1
    done
    WM_PIDS="$WM_PIDS $wm"
    echo "openbox did not start on :$n" >&2
    return 1
}

stop_xvfb() {
    local pid
    for pid in $WM_PIDS $XVFB_PIDS; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    WM_PIDS= XVFB_PIDS=
}
