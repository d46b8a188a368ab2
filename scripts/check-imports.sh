#!/usr/bin/env bash
# Fails when a program imports a DLL that is not part of Windows itself.
set -euo pipefail
allowed='^(KERNEL32|USER32|GDI32|COMCTL32|SHELL32|WINMM|ADVAPI32|msvcrt)\.dll$'
status=0
shopt -s nocasematch
for exe in "$@"; do
    dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | awk '/DLL Name:/ {print $3}')
    for dll in $dlls; do
        if ! [[ $dll =~ $allowed ]]; then
            echo "$exe imports $dll, which Windows does not ship" >&2
            status=1
        fi
    done
    echo "$(basename "$(dirname "$exe")")/$(basename "$exe") imports: $(echo $dlls)"
done
exit $status
