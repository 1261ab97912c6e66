# Sourced by the scripts: Wine's settings and the Wine prefixes the program and the tests run in.

# wine_env 64|32: exports what Wine of that width needs: quiet, no offers to install Mono or
# Gecko, and the loader and server of that width.
wine_env() {
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    if [ "$1" = 32 ]; then
        export WINEARCH=win32 WINELOADER=$WINE32 WINESERVER=$WINESERVER32
    else
        export WINELOADER=$WINE64 WINESERVER=$WINESERVER64
    fi
}

# make_prefix 64|32 DIR DPI LOCALE: a Wine prefix of that width in DIR, without a crash dialog,
# made in LOCALE (whose code page it keeps) and set to DPI; kept while it was made with the same
# settings. A 32-bit one is made in a 32-bit session (scripts/wine32); a 64-bit one without its
# 32-bit half, as on a machine without 32-bit Wine (its loader hidden in a mount namespace).
make_prefix() {
    local width=$1 prefix=$2 dpi=$3 locale=$4
    local settings="width=$width dpi=$dpi locale=$locale" run=("$ROOT/scripts/wine32") log attempt
    if [ "$(cat "$prefix/.ready" 2>/dev/null)" = "$settings" ]; then
        return 0
    fi
    if [ "$width" = 64 ]; then
        run=(unshare --mount --propagation private)
        if [ "$(id -u)" != 0 ]; then
            run+=(--user --map-root-user)
        fi
    fi
    mkdir -p "$(dirname "$prefix")"    # Wine makes DIR itself, not the folders above it
    log=$prefix.log
    # Tried twice: now and then a first boot fails for no reason it gives.
    for attempt in 1 2; do
        rm -rf "$prefix"
        if WINEPREFIX=$prefix LC_ALL=$locale "${run[@]}" "$ROOT/scripts/lib/boot-prefix" "$width" "$dpi" \
            </dev/null >"$log" 2>&1; then
            echo "$settings" >"$prefix/.ready"
            return 0
        fi
    done
    tail -n 5 "$log" >&2
    echo "wineboot failed in $prefix" >&2
    return 1
}

# The prefixes the tests run in, from tests/prefixes.txt: TEST_PREFIXES, their folders in a
# build folder, in the list's order (the first is the one the program runs in); PREFIX_DPI and
# PREFIX_LOCALE, the DPI and the locale of each.
TEST_PREFIXES=()
declare -A PREFIX_DPI PREFIX_LOCALE
while read -r folder dpi locale _; do
    TEST_PREFIXES+=("$folder")
    PREFIX_DPI[$folder]=$dpi
    PREFIX_LOCALE[$folder]=$locale
done < <(grep -v -e '^#' -e '^[[:space:]]*$' "$ROOT/tests/prefixes.txt")

# make_test_prefix 64|32 BUILD_DIR FOLDER: the test prefix FOLDER in BUILD_DIR, at its DPI and
# in its locale.
make_test_prefix() {
    make_prefix "$1" "$2/$3" "${PREFIX_DPI[$3]}" "${PREFIX_LOCALE[$3]}"
}

# warm_prefix DIR LOCALE: starts the prefix's Wine server, to stay until it is ended
# (end_prefix), and its background programs, in LOCALE. Started by a test instead, they would
# hold the test's output open after it ends. Run wine_env first.
warm_prefix() {
    WINEPREFIX=$1 "$WINESERVER" -p
    WINEPREFIX=$1 LC_ALL=$2 "$WINELOADER" wineboot </dev/null >/dev/null 2>&1
}

# end_prefix DIR: ends the prefix's Wine server, if one runs, with all still running in it.
# Run wine_env first.
end_prefix() {
    if [ -d "$1" ]; then
        WINEPREFIX=$1 "$WINESERVER" -k 2>/dev/null || true
    fi
}
