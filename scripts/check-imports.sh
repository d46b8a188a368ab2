#!/usr/bin/env bash
# Checks the programs handed to users. Fails when one
# - imports a DLL that is not among Windows' KnownDLLs: Windows looks for any other library in
#   the program's own folder first, so a copy planted beside the exe would run inside it;
# - carries a manifest that declares an execution level: the 32-bit program must stay a legacy
#   one, whose writes to the Windows directory go to the user's VirtualStore, or a standard
#   user's Run could not save Tockly.ini at all;
# - lacks its version resource, which Windows' Properties dialog shows.
set -euo pipefail
# The KnownDLLs of Windows 10 and later that the program uses; ntdll comes with every process.
allowed='^(KERNEL32|USER32|GDI32|SHELL32|msvcrt)\.dll$'
status=0
shopt -s nocasematch

# Every resource leaf under a numbered type: "type size offset-in-file", in decimal.
resource_leaves() {  # exe, its objdump -p output
    local exe=$1 dump=$2 base vma fileoff
    base=$(awk '/^ImageBase/ {print $2}' <<<"$dump")
    read -r vma fileoff < <(x86_64-w64-mingw32-objdump -h "$exe" | awk '$2 == ".rsrc" {print $4, $6}')
    awk '/^The \.rsrc Resource Directory section/ {r = 1; next}
         r && /^[0-9a-f]+   Entry: / {t = ($3 == "ID:") ? $4 : ""; sub(/,$/, "", t)}
         r && t != "" && /Leaf: Addr:/ {sub(/,$/, "", $4); sub(/,$/, "", $6); print t, $4, $6}' <<<"$dump" |
        while read -r type addr size; do
            # Leaf addresses are relative to the image; the section starts at vma in memory.
            echo "$((type)) $((size)) $((addr + 0x$base - 0x$vma + 0x$fileoff))"
        done
}

for exe in "$@"; do
    dump=$(x86_64-w64-mingw32-objdump -p "$exe")
    name="$(basename "$(dirname "$exe")")/$(basename "$exe")"
    dlls=$(awk '/DLL Name:/ {print $3}' <<<"$dump")
    for dll in $dlls; do
        if ! [[ $dll =~ $allowed ]]; then
            echo "$name imports $dll, which is not a KnownDLL: a copy beside the exe would be loaded" >&2
            status=1
        fi
    done
    leaves=$(resource_leaves "$exe" "$dump")
    # RT_MANIFEST is type 24; its text in UTF-8 or UTF-16.
    manifests=$(while read -r type size offset; do
        if [ "$type" = 24 ]; then
            dd if="$exe" iflag=skip_bytes,count_bytes skip="$offset" count="$size" status=none
        fi
    done <<<"$leaves" | tr -d '\000')
    if grep -q requestedExecutionLevel <<<"$manifests"; then
        echo "$name carries a manifest with requestedExecutionLevel: its settings would not reach the VirtualStore" >&2
        status=1
    fi
    if ! grep -q '^16 ' <<<"$leaves"; then
        echo "$name has no version resource" >&2
        status=1
    fi
    echo "$name imports: $(echo $dlls)"
done
exit $status
