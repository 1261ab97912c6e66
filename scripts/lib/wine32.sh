# Sourced by the scripts: 32-bit Wine, run as it is where the kernel runs i386 programs, else
# through qemu-i386 (scripts/wine32 runs a command in a session of either route).
QEMU_MIN=10    # Debian 12's own qemu (7.2) cannot start 32-bit Wine

# route32: "native" where the kernel runs i386 programs (unless WINE32_EMULATE=1 asks for the
# other route), else "emulated".
route32() {
    if [ "${WINE32_EMULATE:-0}" != 1 ] && "$WINE32" --version >/dev/null 2>&1; then
        echo native
    else
        echo emulated
    fi
}

# add_suite SUITE: adds Debian's SUITE to apt's sources, at the address they give this
# release's own suite, unless they name it already. Its packages keep apt's low priority, so
# only what -t asks for comes from it.
add_suite() {
    local suite=$1 file=/etc/apt/sources.list.d/$1.sources
    if apt-get indextargets --no-release-info --format '$(RELEASE)' | grep -qx "$suite"; then
        return 0
    fi
    echo "adding Debian's $suite to apt's sources ($file)" >&2
    printf '%s\n' 'Types: deb' "URIs: $(debian_mirror)" "Suites: $suite" 'Components: main' \
        'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg' | as_root tee "$file" >/dev/null
}

# qemu_version: the installed qemu-i386's version, 0 for none.
qemu_version() {
    if [ -x "$QEMU_I386" ]; then
        "$QEMU_I386" --version | sed -n '1s/.*version \([0-9][0-9.]*\).*/\1/p'
    else
        echo 0
    fi
}

# ready32: installs 32-bit Wine and, for the emulated route, qemu-user QEMU_MIN or later, from
# Debian 12's backports there (without recommends: qemu-user-binfmt would register qemu for the
# machine). Prints the route; fails, saying why, where 32-bit Wine does not start on it.
ready32() {
    local suite=()
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        as_root dpkg --add-architecture i386
    fi
    need wine32:i386
    if [ "$(route32)" = native ]; then
        echo native
        return 0
    fi
    if [ "$(codename)" = bookworm ]; then
        suite=(-t bookworm-backports)
        add_suite bookworm-backports
    fi
    if [ "$(qemu_version | cut -d. -f1)" -lt "$QEMU_MIN" ]; then
        echo "installing qemu-user ${suite[*]}" >&2
        apt_get update >&2
        apt_get install --no-install-recommends "${suite[@]}" qemu-user >/dev/null
    fi
    if [ "$(qemu_version | cut -d. -f1)" -lt "$QEMU_MIN" ]; then
        echo "qemu-i386 $(qemu_version) is older than $QEMU_MIN, which 32-bit Wine needs" >&2
        return 1
    fi
    if ! "$ROOT/scripts/wine32" "$WINE32" --version >/dev/null; then
        echo "32-bit Wine does not start under qemu-i386 $(qemu_version)" >&2
        return 1
    fi
    echo "emulated (qemu-i386 $(qemu_version))"
}
