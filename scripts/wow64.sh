#!/usr/bin/env bash
# Runs the 32-bit program and its tests on this 64-bit-only kernel, which cannot start 32-bit
# Linux programs and so no classic 32-bit Wine: Debian 13's Wine 10 in WoW64 mode (32-bit
# Windows code in a 64-bit Unix process) inside a Debian 13 tree made from Debian's archive.
# Debian 12's own Wine 8 fails every GDI call from 32-bit code in that mode.
#
#   wow64.sh setup           makes the tree once per machine (a few minutes, about 2 GB) and
#                            reuses it while its recipe is unchanged
#   wow64.sh run CMD [ARG]   runs CMD inside the tree, from the caller's folder, with this
#                            checkout at the same path and the caller's X display, SIBORANG_*,
#                            WINE* and PULSE_* settings
#   wow64.sh run32 CMD [ARG] the same for CMD that starts 32-bit Windows code; ends with 77
#                            (the tests' "skipped") on a kernel that cannot run it
#
# The tree is kept outside the checkout (SIBORANG_CACHE, default /var/cache/siborang), since CI
# starts from a fresh clone. Everything a run mounts lives in a mount namespace of its own, so
# nothing stays mounted once the run ends, however it ends.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
cache=${SIBORANG_CACHE:-/var/cache/siborang}
tree=$cache/trixie
mirror=${SIBORANG_DEBIAN_MIRROR:-http://deb.debian.org/debian}

# What the tests need inside: Wine and its fonts (NanumGothic for the Korean faces), the X
# libraries Wine loads at run time, xdotool for real key presses, chattr for the refused-write
# tests, and a sound server for the test that hears the announcement.
packages=(
    wine64 libwine fonts-wine fonts-nanum fontconfig
    libxrender1 libxrandr2 libxi6 libxcursor1 libxinerama1 libxcomposite1 libxfixes3 libxext6
    xdotool e2fsprogs pulseaudio
)
# A tree made from another recipe is made again.
recipe="trixie minbase ${packages[*]} libwine:i386 1"

usage() { sed -n '7,14p' "$0" | sed 's/^# \{0,1\}//' >&2; exit 2; }

need_root() {
    [ "$(id -u)" -eq 0 ] || { echo "wow64.sh: the Debian 13 tree needs root (chroot, mounts)" >&2; exit 1; }
}

ready() { [ -f "$tree/.siborang-recipe" ] && [ "$(cat "$tree/.siborang-recipe")" = "$recipe" ]; }

make_tree() {
    # The folders a making works in are its own, new each time, and go however it ends (the new
    # tree once it is in place); a removal stays on their file system, whatever is mounted in them.
    new=$(mktemp -d "$cache/trixie.new.XXXXXX")
    apt=$(mktemp -d "$cache/apt.XXXXXX")
    trap 'rm -rf --one-file-system "$new" "$apt"' EXIT
    chmod 755 "$new"
    debootstrap --variant=minbase trixie "$new" "$mirror"
    cp /etc/resolv.conf "$new/etc/resolv.conf"
    # The package scripts want /proc and /dev; they are mounted in this namespace only.
    unshare --mount --propagation private bash -c '
        set -e
        mount -t proc proc "$1/proc"
        mount --rbind /dev "$1/dev"
        chroot "$1" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 \
            DEBIAN_FRONTEND=noninteractive apt-get update -q
        chroot "$1" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 \
            DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${@:2}"
        chroot "$1" apt-get clean' _ "$new" "${packages[@]}"

    # The 32-bit Windows DLLs come from Debian 13's libwine:i386 of the same version, fetched
    # with an apt state of its own (the host's architectures stay as they are); they go where
    # the 64-bit Wine looks for them, beside its wow64 DLLs.
    local version
    version=$(chroot "$new" dpkg-query -W -f='${Version}' libwine)
    mkdir -p "$apt/lists/partial" "$apt/archives/partial" "$apt/parts" "$apt/prefs"
    echo "deb [arch=i386 signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $mirror trixie main" >"$apt/sources.list"
    touch "$apt/status"
    local options=(-o APT::Architecture=i386 -o APT::Architectures::=i386 -o Dir::State="$apt"
        -o Dir::State::Lists="$apt/lists" -o Dir::State::status="$apt/status" -o Dir::Cache="$apt"
        -o Dir::Cache::archives="$apt/archives" -o Dir::Etc::sourcelist="$apt/sources.list"
        -o Dir::Etc::sourceparts="$apt/parts" -o Dir::Etc::preferencesparts="$apt/prefs"
        -o Acquire::Languages=none -o APT::Sandbox::User=root)
    apt-get "${options[@]}" update -q
    (cd "$apt" && apt-get "${options[@]}" download "libwine:i386=$version")
    dpkg-deb -x "$apt"/libwine_*_i386.deb "$apt/x"
    cp -a "$apt/x/usr/lib/i386-linux-gnu/wine/i386-windows/." "$new/usr/lib/x86_64-linux-gnu/wine/i386-windows/"
    [ -f "$new/usr/lib/x86_64-linux-gnu/wine/i386-windows/user32.dll" ] || { echo "no 32-bit user32.dll in libwine:i386" >&2; exit 1; }

    echo "$recipe" >"$new/.siborang-recipe"
    rm -rf --one-file-system "$tree"
    mv "$new" "$tree"
}

setup() {
    need_root
    ready && return 0
    mkdir -p "$cache"
    # One maker at a time, and none while a run uses the tree; a second maker waits and then
    # finds the tree made.
    exec 9>"$cache/.lock"
    flock 9
    ready && return 0
    # Only a tree this script made (its recipe file says so) is replaced.
    if [ -e "$tree" ] && [ ! -f "$tree/.siborang-recipe" ]; then
        echo "wow64.sh: $tree has no .siborang-recipe, so it is no tree this script made;" \
            "it is left as it is. Move or delete it, or set SIBORANG_CACHE to another folder." >&2
        exit 1
    fi
    command -v debootstrap >/dev/null || "$here/setup.sh"
    local start=$SECONDS
    make_tree
    echo "Debian 13 tree made in $((SECONDS - start)) s: $(du -sh "$tree" | cut -f1) at $tree"
}

# Inside the run's own mount namespace: the tree's mounts, then CMD as root of the tree.
inside() {
    mount -t proc proc "$tree/proc"
    mount --rbind /sys "$tree/sys"
    mount --rbind /dev "$tree/dev"
    # A private /tmp: Wine's server sockets and the tests' files stay in this run.
    mount -t tmpfs -o mode=1777 tmpfs "$tree/tmp"
    if [ -d /tmp/.X11-unix ]; then
        mkdir -p "$tree/tmp/.X11-unix"
        mount --bind /tmp/.X11-unix "$tree/tmp/.X11-unix"
    fi
    mkdir -p "$tree$root"
    mount --bind "$root" "$tree$root"

    local settings=(PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/tmp LANG=C.UTF-8)
    local name
    for name in $(compgen -e); do
        case $name in
        DISPLAY | SIBORANG_* | WINE* | PULSE_*) settings+=("$name=${!name}") ;;
        esac
    done
    if [ -n "${XAUTHORITY:-}" ] && [ -f "$XAUTHORITY" ]; then
        cp "$XAUTHORITY" "$tree/tmp/.Xauthority"
        settings+=(XAUTHORITY=/tmp/.Xauthority)
    fi
    local status=0
    chroot "$tree" /usr/bin/env -i "${settings[@]}" /bin/bash -c 'cd "$1" && shift && exec "$@"' _ "$PWD" "$@" || status=$?
    # Wine's server outlives its last program by a few seconds; the next run must not meet it
    # still writing the prefix.
    chroot "$tree" /usr/bin/env -i "${settings[@]}" /usr/lib/wine/wineserver -w 2>/dev/null || true
    return $status
}

# Wine 10 gives each thread of 32-bit code its %fs selector through the kernel's 32-bit system
# call gate (int 0x80) from 64-bit code. Some kernels have that gate off (a confidential-computing
# guest, or ia32_emulation=0): there the 32-bit program dies at its first instruction. Asks a
# throwaway process to go through the gate once (getpid).
has_32bit_gate() {
    (python3 - <<'PY'
import ctypes, mmap
code = bytes.fromhex("b814000000" "cd80" "c3")  # mov eax, 20 (getpid); int 0x80; ret
page = mmap.mmap(-1, mmap.PAGESIZE, prot=mmap.PROT_READ | mmap.PROT_WRITE | mmap.PROT_EXEC)
page.write(code)
ctypes.CFUNCTYPE(ctypes.c_int)(ctypes.addressof(ctypes.c_char.from_buffer(page)))()
PY
        # Not the subshell's last command, so that the crash is reported on its silenced stderr.
        status=$?
        exit $status
    ) 2>/dev/null
}

case ${1:-} in
setup)
    setup
    ;;
run32)
    if ! has_32bit_gate; then
        echo "wow64.sh: skipped: this kernel refuses the 32-bit system call gate (int 0x80) that Wine 10" \
            "needs to run 32-bit Windows code, so the 32-bit layers cannot run on this machine" >&2
        exit 77
    fi
    exec "$0" run "${@:2}"
    ;;
run)
    [ $# -ge 2 ] || usage
    need_root
    ready || { echo "wow64.sh: no Debian 13 tree at $tree; make it with scripts/wow64.sh setup" >&2; exit 1; }
    shift
    # Held by the run and whatever it leaves behind, so that no maker replaces the tree under it.
    exec 9>>"$cache/.lock"
    flock -s 9
    exec unshare --mount --propagation private "$0" inside "$@"
    ;;
inside)
    shift
    inside "$@"
    ;;
*)
    usage
    ;;
esac
