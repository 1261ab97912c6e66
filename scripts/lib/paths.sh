# Sourced first by every script: where the checkout, its builds and Wine's programs are.
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
BUILD=$ROOT/build
WINE64=/usr/lib/wine/wine64
WINESERVER64=/usr/lib/wine/wineserver64
WINE32=/usr/lib/wine/wine
WINESERVER32=/usr/lib/wine/wineserver32
QEMU_I386=/usr/bin/qemu-i386
