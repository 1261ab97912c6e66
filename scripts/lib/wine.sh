# Sourced by the scripts: Wine's settings and the Wine prefixes the program and
# the tests run in. Source paths.sh first.

# wine_env 64|32: exports what Wine of that width needs: quiet, no offers to
# install Mono or Gecko, and the loader and server of that width.
wine_env() {
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    if [ "$1" = 32 ]; then
        export WINEARCH=win32 WINELOADER=$WINE32 WINESERVER=$WINESERVER32
    else
        export WINELOADER=$WINE64 WINESERVER=$WINESERVER64
    fi
}

# route32: how 32-bit Wine runs here: "native" where the kernel runs i386
# programs (unless WINE32_EMULATE=1 asks for the other route), else "emulated".
route32() {
    if [ "${WINE32_EMULATE:-0}" != 1 ] && "$WINE32" --version >/dev/null 2>&1; then
        echo native
    else
        echo emulated
    fi
}

# make_prefix 64|32 DIR DPI LOCALE: a Wine prefix of that width in DIR, without
# a crash dialog, made in LOCALE (whose code page it keeps) and set to DPI. Kept
# while it was made with the same settings. A 32-bit one is made in a 32-bit
# session (scripts/wine32); a 64-bit one without its 32-bit half.
make_prefix() {
    local width=$1 prefix=$2 dpi=$3 locale=$4
    local settings="width=$width dpi=$dpi locale=$locale" run log status attempt
    if [ "$(cat "$prefix/.ready" 2>/dev/null)" = "$settings" ]; then
        return 0
    fi
    if [ "$width" = 32 ]; then
        run=("$ROOT/scripts/wine32")
    else
        run=("$ROOT/scripts/lib/without-wine32")
    fi
    mkdir -p "$(dirname "$prefix")"    # Wine makes DIR itself, not the folders above it
    log=$(mktemp)
    # Tried twice: now and then a first boot fails for no reason it gives.
    for attempt in 1 2; do
        rm -rf "$prefix"
        status=0
        (
            wine_env "$width"
            export WINEPREFIX=$prefix LC_ALL=$locale
            "${run[@]}" "$ROOT/scripts/lib/boot-prefix" "$dpi"
        ) </dev/null >"$log" 2>&1 || status=$?
        if [ "$status" = 0 ]; then
            break
        fi
    done
    if [ "$status" != 0 ]; then
        tail -n 5 "$log" >&2
        rm -f "$log"
        echo "wineboot failed in $prefix" >&2
        return 1
    fi
    rm -f "$log"
    echo "$settings" >"$prefix/.ready"
}

# The prefixes the tests run in, from tests/prefixes.txt: TEST_PREFIXES, their
# folders in a build folder, in the list's order; PREFIX_DPI and PREFIX_LOCALE,
# the DPI and the locale of each.
TEST_PREFIXES=()
declare -A PREFIX_DPI PREFIX_LOCALE
read_test_prefixes() {
    local folder dpi locale
    while read -r folder dpi locale; do
        TEST_PREFIXES+=("$folder")
        PREFIX_DPI[$folder]=$dpi
        PREFIX_LOCALE[$folder]=$locale
    done < <(grep -v -e '^#' -e '^[[:space:]]*$' "$ROOT/tests/prefixes.txt")
}
read_test_prefixes

# make_test_prefix 64|32 BUILD_DIR FOLDER: the test prefix FOLDER in BUILD_DIR,
# at its DPI and in its locale.
make_test_prefix() {
    local width=$1 dir=$2 folder=$3
    if [ -z "${PREFIX_DPI[$folder]:-}" ]; then
        echo "tests/prefixes.txt has no prefix $folder" >&2
        return 1
    fi
    make_prefix "$width" "$dir/$folder" "${PREFIX_DPI[$folder]}" "${PREFIX_LOCALE[$folder]}"
}

# warm_prefix DIR LOCALE: starts the prefix's Wine server, to stay until it is
# ended (end_prefix), and its background programs, in LOCALE. Started by a test
# instead, they would hold the test's output open after it ends. Run wine_env
# first.
warm_prefix() {
    local prefix=$1 locale=$2
    WINEPREFIX=$prefix "$WINESERVER" -p
    WINEPREFIX=$prefix LC_ALL=$locale "$WINELOADER" wineboot </dev/null >/dev/null 2>&1
}

# end_prefix DIR: ends the prefix's Wine server, if one runs, with all still
# running in it. Run wine_env first.
end_prefix() {
    local prefix=$1
    if [ -d "$prefix" ]; then
        WINEPREFIX=$prefix "$WINESERVER" -k 2>/dev/null || true
    fi
}
