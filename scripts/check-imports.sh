#!/usr/bin/env bash
# Checks the programs handed to users. Fails when one
# - imports a DLL that is not among Windows' KnownDLLs: Windows looks for any other library in
#   the program's own folder first, so a copy planted beside the exe would run inside it;
# - carries a manifest that declares an execution level: the 32-bit program must stay a legacy
#   one, whose writes to the Windows directory go to the user's VirtualStore, or a standard
#   user's Run could not save Tockly.ini at all;
# - imports a function that is not in scripts/windows7-imports.txt, the functions known to be in
#   those DLLs on Windows 7, the oldest Windows the program starts on: the loader refuses an exe
#   with an import it cannot resolve before the program's first instruction, so a newer function
#   is looked up at run time instead. The headers cannot see to this alone: built for Windows 7
#   they still declare some newer functions (GetSystemTimePreciseAsFileTime), and the static
#   runtime libraries were compiled without them. A new import goes into the list only once
#   Windows 7's documentation (its "minimum supported client") shows it there;
# - does not declare itself aware of each monitor's DPI in that manifest: Windows would stretch
#   its windows' pixels, blurred, on every screen scaled above 100%;
# - lacks its version resource, which Windows' Properties dialog shows.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
windows7=$here/windows7-imports.txt
# The KnownDLLs of Windows 7 and later that the program uses; ntdll comes with every process.
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
    # "DLL function" for every function imported by name, the DLL upper-cased as in the list.
    functions=$(awk '/DLL Name:/ {dll = toupper($3); next}
                     dll && /^\t[0-9a-f]+\t +[0-9]+ +[A-Za-z_]/ {print dll, $3}
                     /^$/ && dll {dll = ""}' <<<"$dump" | sort -u)
    newer=$(comm -23 <(echo "$functions") <(grep -v '^#' "$windows7" | sort -u))
    if [ -n "$newer" ]; then
        echo "$name imports functions not known on Windows 7 (look them up at run time):" >&2
        sed 's/^/    /' <<<"$newer" >&2
        status=1
    fi
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
    if ! grep -q 'true/pm' <<<"$manifests" || ! grep -q 'PerMonitorV2' <<<"$manifests"; then
        echo "$name declares no per-monitor DPI awareness in its manifest: Windows would stretch it" >&2
        status=1
    fi
    if ! grep -q '^16 ' <<<"$leaves"; then
        echo "$name has no version resource" >&2
        status=1
    fi
    echo "$name imports: $(echo $dlls) ($(wc -l <<<"$functions") functions by name)"
done
exit $status
