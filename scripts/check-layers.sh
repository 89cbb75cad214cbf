#!/usr/bin/env bash
# Checks that the layers point downward only:
#  - every CMake target links only targets of its own or a lower layer, as
#    `cmake --graphviz` draws them (from a scratch configuration of its own);
#  - the widget kit reaches neither the template model nor OpenCV, and the
#    image algorithms and the scanner layer reach no widgets, not even
#    through another target;
#  - the program never links SANE: every SANE call runs in the scanner
#    process, and only that process's folder includes its headers;
#  - no source file includes a header of a higher layer, and the widget kit
#    includes none of the template, the canvas, the algorithms or OpenCV.
# Names every fault it finds and exits 1 then. Run by CTest as "layers";
# CMAKE names the cmake to use (default: the one on the path).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

# The layers, lowest first: rank, folder, target. A rank may link and
# include only its own rank and lower ones.
layers="
0  platform         tollivar_platform
1  model/infra      tollivar_infra
2  Resources        tollivar_resources
2  Resources        tollivar_resource_objects
2  Resources        tollivar_resgen
3  algorithms       tollivar_algorithms
4  canvas/item      tollivar_frameitem
5  model            tollivar_model
6  canvas           tollivar_canvas
7  widgets/kit      tollivar_widgetkit
8  widgets/dialogs  tollivar_dialogs
9  scanner/protocol tollivar_scanprotocol
9  scanner/device   tollivar_scandevice
9  scanner/device   tollivar-scanner
9  scanner          tollivar_scanner
10 app              tollivar_app
10 app              tollivar
11 launcher         tollivar_launcher
"

faults=0
fail() {
    echo "layers: $*" >&2
    faults=$((faults + 1))
}

declare -A target_rank
while read -r rank folder target; do
    [[ -n $target ]] && target_rank[$target]=$rank
done <<<"$layers"

# --- Links -----------------------------------------------------------------

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cat >"$scratch/CMakeGraphVizOptions.cmake" <<'EOF'
set(GRAPHVIZ_GENERATE_PER_TARGET FALSE)
set(GRAPHVIZ_GENERATE_DEPENDERS FALSE)
EOF
"${CMAKE:-cmake}" -S "$root" -B "$scratch" -DTOLLIVAR_BUILD_TESTS=OFF -DTOLLIVAR_BUILD_BENCH=OFF \
    --graphviz="$scratch/layers.dot" >/dev/null

# Every edge of the graph ends in a comment "// from -> to". An edge to an
# executable is an order of building (add_dependencies), not a link.
declare -A executables
while IFS= read -r name; do
    executables[$name]=1
done < <(sed -n 's|.*\[ label = "\([^"]*\)", shape = egg \].*|\1|p' "$scratch/layers.dot")
declare -A links
while IFS= read -r edge; do
    from=${edge%% -> *}
    to=${edge#* -> }
    [[ -n ${executables[$to]:-} ]] && continue
    links[$from]+=" $to"
done < <(sed -n 's|.*// \(.* -> .*\)$|\1|p' "$scratch/layers.dot")

for from in "${!links[@]}"; do
    for to in ${links[$from]}; do
        for target in "$from" "$to"; do
            if [[ $target == tollivar* && -z ${target_rank[$target]:-} ]]; then
                fail "$target is in no layer: add it to the list in scripts/check-layers.sh"
            fi
        done
        if [[ -n ${target_rank[$from]:-} && -n ${target_rank[$to]:-} ]] \
            && ((target_rank[$to] > target_rank[$from])); then
            fail "$from links $to, a higher layer"
        fi
    done
done

# Everything a target links, directly or through other targets.
reach() {
    local -A seen=()
    local queue=("$1") target next
    while ((${#queue[@]})); do
        target=${queue[0]}
        queue=("${queue[@]:1}")
        for next in ${links[$target]:-}; do
            [[ -n ${seen[$next]:-} ]] && continue
            seen[$next]=1
            queue+=("$next")
            echo "$next"
        done
    done
}

# forbid <target> <pattern> <why>: no target reached from it matches.
forbid() {
    local hit
    hit=$(reach "$1" | grep -E "$2" | head -n 1 || true)
    [[ -z $hit ]] || fail "$1 links $hit: $3"
}

forbid tollivar_widgetkit '^(opencv_|tollivar_model$|tollivar_algorithms$)' \
    "the widget kit knows neither the template nor OpenCV"
forbid tollivar_algorithms '^Qt5::Widgets$' "the image algorithms have no widgets"
forbid tollivar_scanner '^Qt5::Widgets$' "the scanner layer has no widgets"
forbid tollivar_scandevice '^Qt5::Widgets$' "the scanner process has no widgets"
for program in tollivar kestrun dovrane; do
    forbid "$program" '(^PkgConfig::SANE$|libsane|^tollivar_scandevice$)' \
        "the program never loads SANE: its scanner process does"
done

# --- Includes --------------------------------------------------------------

cd "$root"
# Each include of a repository header, as "file:header", judged in one pass:
# a folder's layer is the longest folder of the list that holds it.
upward=$(find platform model Resources algorithms canvas widgets scanner app launcher \
             -name '*.h' -o -name '*.cpp' | sort | { xargs grep -H '^#include "[^"]*/[^"]*"' || true; } |
         sed 's|^\([^:]*\):#include "\([^"]*\)".*|\1:\2|' |
         awk -v layers="$layers" -F: '
             BEGIN {
                 count = split(layers, rows, "\n")
                 for (i = 1; i <= count; i++)
                     if (split(rows[i], field, " ") >= 2) { folder[++n] = field[2]; rank[n] = field[1] }
             }
             function layer(path,   i, best, length_) {
                 sub(/\/[^\/]*$/, "", path)
                 best = -1
                 for (i = 1; i <= n; i++)
                     if ((path == folder[i] || index(path, folder[i] "/") == 1) && length(folder[i]) > length_) {
                         best = rank[i]
                         length_ = length(folder[i])
                     }
                 return best
             }
             { own = layer($1); theirs = layer($2) }
             own >= 0 && theirs > own { print $1 " includes " $2 ", a header of a higher layer" }')
if [[ -n $upward ]]; then
    while IFS= read -r line; do fail "$line"; done <<<"$upward"
fi

device_includes=$(grep -rHE --include='*.h' --include='*.cpp' '^#include ("scanner/device/|<sane/)' \
    platform model Resources algorithms canvas widgets app launcher scanner/*.h scanner/*.cpp scanner/protocol || true)
if [[ -n $device_includes ]]; then
    while IFS= read -r line; do
        fail "${line%%:*} includes ${line#*:#include }: only the scanner process reaches SANE"
    done <<<"$device_includes"
fi

kit_includes=$(grep -rHE --include='*.h' --include='*.cpp' \
    '^#include ("model/[^/]*"|"algorithms/|"canvas/|<opencv2/)' widgets/kit || true)
if [[ -n $kit_includes ]]; then
    while IFS= read -r line; do
        fail "${line%%:*} includes ${line#*:#include }: the widget kit knows neither the template nor OpenCV"
    done <<<"$kit_includes"
fi

if ((faults > 0)); then
    echo "layers: $faults fault(s)" >&2
    exit 1
fi
echo "layers: every target and folder points downward"
