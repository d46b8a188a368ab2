#!/usr/bin/env bash
# Fails when a file of the product includes what its layer may not see. Each layer compiles with
# include roots that hold only its own folders and those below, but a header is compiled only
# inside the layers that include it, so it could still reach up, and a path with ".." gets
# round any root: every quoted include here must name a folder ("win/Form.h") that the file's
# layer may include, with no ".." and no absolute path. A window's layout table
# (resources/layouts/) belongs to the layer of the window it lays out: the highest of the
# folders it includes. Usage: check-layers.sh MAP SOURCE_ROOT, MAP being the build's layers/map.txt.
set -euo pipefail
map=$1
root=$2
declare -A owner allowed height
layers=0
while IFS='|' read -r layer own may; do
    [ -n "$layer" ] || continue
    allowed[$layer]=" $may "
    height[$layer]=$((layers++))  # the map lists the layers bottom up
    for folder in $own; do
        [ -n "${owner[$folder]:-}" ] || owner[$folder]=$layer
    done
done <"$map"
[ ${#owner[@]} -gt 0 ] || { echo "check-layers: no layers in $map" >&2; exit 2; }

status=0
refuse() {  # file, line number, include, why
    echo "$1:$2: #include \"$3\" $4" >&2
    status=1
}
checked=0
for folder in "${!owner[@]}"; do
    while IFS= read -r -d '' file; do
        relative=${file#"$root"/}
        layer=${owner[$folder]}
        if [[ $relative == resources/layouts/* ]]; then
            for used in $(grep -oE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"/]+/' "$file" |
                          sed -E 's/.*"([^/]+)\/$/\1/'); do
                above=${owner[$used]:-}
                [ -n "$above" ] && [ "${height[$above]}" -gt "${height[$layer]}" ] && layer=$above
            done
        fi
        while IFS=: read -r number path; do
            if [[ $path == *..* || $path == /* ]]; then
                refuse "$relative" "$number" "$path" "leaves its folder: name the folder from the root instead"
            elif [[ $path != */* ]]; then
                refuse "$relative" "$number" "$path" "names no folder"
            elif [[ ${allowed[$layer]} != *" ${path%%/*} "* ]]; then
                refuse "$relative" "$number" "$path" "reaches above the $layer layer"
            fi
        done < <(grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" |
                 sed -E 's/^([0-9]+):.*include[[:space:]]*"([^"]*)".*/\1:\2/')
        checked=$((checked + 1))
    done < <(find "$root/$folder" -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.rc' \) -print0)
done
echo "check-layers: $checked files of ${#owner[@]} folders checked"
exit $status
