# Sourced by the scripts: the Debian packages they need, installed with apt as root, or
# through sudo for another user.

PACKAGES=(
    cmake make g++ googletest zip
    g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686
    wine wine64
    xvfb openbox x11-utils imagemagick
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
    sed -n 's/^VERSION_CODENAME=//p' /etc/os-release
}

# debian_mirror: the address this machine's apt sources give Debian's archive (the one
# serving this release's own suite), a mirror or proxy included.
debian_mirror() {
    apt-get indextargets --no-release-info --format '$(RELEASE) $(REPO_URI)' |
        awk -v suite="$(codename)" '$1 == suite { print $2; exit }' | grep .
}

# apt_get ARGS...: apt-get as root, quiet, waiting while another apt run holds dpkg's lock.
apt_get() {
    as_root env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 -y -qq "$@"
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
    echo "Installing: ${missing[*]}" >&2
    apt_get update >&2
    apt_get install "${missing[@]}" >/dev/null
}
