# Sourced by the scripts: the Debian packages they need, installed with apt as
# root, or through sudo for another user.

PACKAGES=(
    cmake make g++ googletest zip
    g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686
    wine wine64
    xvfb openbox xdotool x11-utils imagemagick
    fonts-ipafont-gothic fonts-vlgothic locales
)

# as_root CMD [ARGS...]: runs CMD as root: as it is for root, else through sudo.
as_root() {
    if [ "$(id -u)" = 0 ]; then
        "$@"
    else
        sudo "$@"
    fi
}

# codename: this Debian release's code name, as apt's suites call it.
codename() {
    sed -n 's/^VERSION_CODENAME=//p' /etc/os-release | grep .
}

# debian_mirror: the address this machine's apt sources give Debian's archive
# (the one serving this release's own suite), a mirror or proxy included.
debian_mirror() {
    local suite
    suite=$(codename)
    if ! apt-get indextargets --no-release-info --format '$(RELEASE) $(REPO_URI)' |
        awk -v suite="$suite" '$1 == suite { print $2; exit }' | grep .; then
        echo "apt's sources name no archive for $suite" >&2
        return 1
    fi
}

# apt_get ARGS...: apt-get as root, quiet, waiting while another apt run holds the lock.
apt_get() {
    as_root env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 -y -qq "$@"
}

# apt_update: apt's package lists, fetched once per script run (again after
# APT_FRESH=0). The lock wait above does not cover the lists' lock, so it tries
# three times, ten seconds apart.
APT_FRESH=0
apt_update() {
    local try
    if [ "$APT_FRESH" = 1 ]; then
        return 0
    fi
    for try in 1 2 3; do
        if apt_get update >&2; then
            APT_FRESH=1
            return 0
        fi
        if [ "$try" != 3 ]; then
            sleep 10
        fi
    done
    return 1
}

# need PACKAGE...: installs those not installed yet, i386 ones (NAME:i386) included.
need() {
    local missing=() package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed"; then
            missing+=("$package")
        fi
    done
    if [ ${#missing[@]} = 0 ]; then
        return 0
    fi
    if ! command -v apt-get >/dev/null; then
        echo "missing packages and no apt-get: ${missing[*]}" >&2
        return 1
    fi
    echo "Installing: ${missing[*]}" >&2
    if [[ "${missing[*]}" == *:i386* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
        as_root dpkg --add-architecture i386
        APT_FRESH=0
    fi
    if ! apt_update; then
        echo "apt-get update failed" >&2
        return 1
    fi
    if ! apt_get install "${missing[@]}" >/dev/null; then
        echo "could not install ${missing[*]}" >&2
        return 1
    fi
}
