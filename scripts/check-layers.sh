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
# Every file of the layers' folders and every quoted include in them, read in one pass (the
# build runs this at each change).
mapfile -t files < <(cd "$root" && find "${!owner[@]}" -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.rc' \))
mapfile -t includes < <(cd "$root" && grep -HnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "${files[@]}" /dev/null |
    sed -E 's/^([^:]*):([0-9]+):.*include[[:space:]]*"([^"]*)".*/\1:\2:\3/')
declare -A layer_of
for file in "${files[@]}"; do layer_of[$file]=${owner[${file%%/*}]}; done
for entry in "${includes[@]}"; do
    IFS=: read -r file number path <<<"$entry"
    if [[ $file == resources/layouts/* && $path == */* ]]; then
        above=${owner[${path%%/*}]:-}
        [ -n "$above" ] && [ "${height[$above]}" -gt "${height[${layer_of[$file]}]}" ] && layer_of[$file]=$above
    fi
done
for entry in "${includes[@]}"; do
    IFS=: read -r file number path <<<"$entry"
    layer=${layer_of[$file]}
    if [[ $path == *..* || $path == /* ]]; then
        refuse "$file" "$number" "$path" "leaves its folder: name the folder from the root instead"
    elif [[ $path != */* ]]; then
        refuse "$file" "$number" "$path" "names no folder"
    elif [[ ${allowed[$layer]} != *" ${path%%/*} "* ]]; then
        refuse "$file" "$number" "$path" "reaches above the $layer layer"
    fi
done
echo "check-layers: ${#files[@]} files of ${#owner[@]} folders checked"
exit $status
