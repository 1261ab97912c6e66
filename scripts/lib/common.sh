# Sourced first by every script: where the checkout, its builds and Wine's programs are,
# building with CMake, and what the scripts share, one file a job.
shopt -s inherit_errexit    # a command that fails inside $(...) fails the script too
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
BUILD=$ROOT/build
WINE64=/usr/lib/wine/wine64
WINESERVER64=/usr/lib/wine/wineserver64
WINE32=/usr/lib/wine/wine
WINESERVER32=/usr/lib/wine/wineserver32
QEMU_I386=/usr/bin/qemu-i386
. "$ROOT/scripts/lib/packages.sh"
. "$ROOT/scripts/lib/wine.sh"
. "$ROOT/scripts/lib/wine32.sh"
. "$ROOT/scripts/lib/xserver.sh"

# build ARCH SRC DIR [TARGET]: configures the sources in SRC for ARCH, i686 (the release) or
# x86_64 (the tests' main build), in DIR and builds them; given a TARGET, only it, without the
# tests. The tests of each run under the Wine of the same width, which ctest starts them with.
build() {
    local arch=$1 src=$2 dir=$3 target=${4:-all} wine=$WINE64
    if [ "$arch" = i686 ]; then
        wine=$WINE32
    fi
    local options=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$src/cmake/$arch-w64-mingw32.cmake"
        -DCMAKE_CROSSCOMPILING_EMULATOR="$wine")
    if [ "$target" != all ]; then
        options+=(-DVESKAROT_TESTS=OFF)
    fi
    cmake -S "$src" -B "$dir" "${options[@]}" >/dev/null
    cmake --build "$dir" --target "$target" -j"$(nproc)" -- --no-print-directory >/dev/null
}
