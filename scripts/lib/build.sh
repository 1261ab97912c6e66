# Sourced by the scripts: configuring and building with CMake and MinGW-w64.

# build ARCH SRC DIR [TARGET]: configures the sources in SRC for ARCH, i686 (the
# release) or x86_64 (the tests' main build), in DIR and builds them; given a
# TARGET, only it, without the tests. The tests of each run under the Wine of
# the same width, which ctest starts them with.
build() {
    local arch=$1 src=$2 dir=$3 target=${4:-all}
    local options=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$src/cmake/$arch-w64-mingw32.cmake")
    if [ "$arch" = i686 ]; then
        options+=(-DCMAKE_CROSSCOMPILING_EMULATOR="$WINE32")
    else
        options+=(-DCMAKE_CROSSCOMPILING_EMULATOR="$WINE64")
    fi
    if [ "$target" != all ]; then
        options+=(-DVESKAROT_TESTS=OFF)
    fi
    cmake -S "$src" -B "$dir" "${options[@]}" >/dev/null
    cmake --build "$dir" --target "$target" -j"$(nproc)" -- --no-print-directory >/dev/null
}
