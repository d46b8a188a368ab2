#!/usr/bin/env bash
# Builds the native tests, the x86_64 program with its Windows tests, and the 32-bit release
# program. Usage: build.sh [native|x64|i686]... (default: all three)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)

configure() {  # dir, extra cmake arguments...
    local dir=$1
    shift
    [ -f "$root/build/$dir/CMakeCache.txt" ] || cmake -S "$root" -B "$root/build/$dir" "$@" >/dev/null
}

targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(x64 i686 native)
for t in "${targets[@]}"; do
    case $t in
    x64)
        configure x64 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake"
        cmake --build "$root/build/x64" -j"$jobs"
        ;;
    i686)
        # The release program only: its tests run on the x86_64 build of the same sources.
        configure i686 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" -DSIBORANG_TESTS=OFF
        cmake --build "$root/build/i686" -j"$jobs" --target Siborang
        ;;
    native)
        configure native -DSIBORANG_WINDOWS_BUILD="$root/build/x64"
        cmake --build "$root/build/native" -j"$jobs"
        ;;
    *)
        echo "unknown build: $t" >&2
        exit 2
        ;;
    esac
done
