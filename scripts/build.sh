#!/usr/bin/env bash
# Builds the native tests and both Windows programs, each with its Windows tests: the 32-bit
# one that users get and the x86_64 one. Usage: build.sh [native|x64|i686]... (default: all three)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)

configure() {  # dir, extra cmake arguments...
    local dir=$1
    shift
    # Every time, so that a tree configured by an older checkout takes the current arguments.
    cmake -S "$root" -B "$root/build/$dir" "$@" >/dev/null
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
        # The program and what tests it; the benchmark's programs are built on x86_64 only.
        configure i686 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" -DSIBORANG_TESTS=ON
        cmake --build "$root/build/i686" -j"$jobs" --target Siborang SiborangWindowsTests SiborangProcessTests
        ;;
    native)
        configure native -DSIBORANG_WINDOWS_BUILD="$root/build/x64" -DSIBORANG_I686_BUILD="$root/build/i686"
        cmake --build "$root/build/native" -j"$jobs"
        ;;
    *)
        echo "unknown build: $t" >&2
        exit 2
        ;;
    esac
done
