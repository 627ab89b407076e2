#!/usr/bin/env bash
# The picture of the module's layers in docs/architecture.md, made from the
# build: CMake's --graphviz output of the native build's libraries, kept to
# the module's layer libraries, the module library and the tool, with the
# layers of one top folder in a box. Writes docs/layers.dot and renders
# docs/layers.svg with Graphviz's dot.
#
#   scripts/layer-picture.sh           write docs/layers.dot and docs/layers.svg
#   scripts/layer-picture.sh --check   fail when docs/layers.dot is not what the build says
#
# Needs cmake and python3; writing also needs dot (Debian's graphviz).
set -euo pipefail
cd "$(dirname "$0")/.."
mode=${1:-write}
case "$mode" in
write | --check) ;;
*) echo "layer-picture.sh: unknown argument $mode (see the script's opening lines)" >&2; exit 2 ;;
esac
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat >"$work/CMakeGraphVizOptions.cmake" <<'EOF'
set(GRAPHVIZ_EXTERNAL_LIBS FALSE)
set(GRAPHVIZ_GENERATE_PER_TARGET FALSE)
set(GRAPHVIZ_GENERATE_DEPENDERS FALSE)
EOF
# A configure of its own, so that the picture does not depend on a build
# directory's options.
cmake -S . -B "$work/build" -DAEROTRACE_BENCHMARKS=OFF -DAEROTRACE_SANITIZE=OFF >/dev/null
cp "$work/CMakeGraphVizOptions.cmake" "$work/build/"
(cd "$work/build" && cmake --graphviz="$work/targets.dot" . >/dev/null)
python3 - "$work/targets.dot" src/layers.txt >"$work/layers.dot" <<'EOF'
import re, sys
targets, layers_file = sys.argv[1], sys.argv[2]
layers = [l.strip() for l in open(layers_file) if l.strip() and not l.startswith("#")]
library = {"aerotrace_" + folder.replace("/", "_"): folder for folder in layers}
names, edges = {}, []
for line in open(targets):
    node = re.match(r'\s*"(node\d+)" \[ label = "([^"]+)"', line)
    if node:
        names[node.group(1)] = node.group(2)
    edge = re.match(r'\s*"(node\d+)" -> "(node\d+)"', line)
    if edge:
        edges.append((edge.group(1), edge.group(2)))
shown = set(library) | {"aerotrace_module", "aerotrace"}
print("// Made by scripts/layer-picture.sh from the build; do not edit.")
print('digraph layers {')
print('  rankdir = TB; node [shape = box, fontname = "Helvetica", fontsize = 11]; edge [arrowsize = 0.6];')
# Layers next to each other in one top folder share its box (core/host, at
# the bottom, and core, at the top, have boxes of their own).
groups = []
for folder in layers:
    top = folder.split("/")[0]
    if groups and groups[-1][0] == top:
        groups[-1][1].append(folder)
    else:
        groups.append((top, [folder]))
for index, (top, folders) in enumerate(groups):
    label = "src/" + (top if len(folders) > 1 else folders[0])
    print(f'  subgraph cluster_{index} {{ label = "{label}"; fontname = "Helvetica"; color = gray60;')
    for folder in folders:
        print(f'    "{folder}";')
    print("  }")
print('  "aerotrace_module" [label = "the module library\\n(Aerotrace.dll on Windows)", shape = doubleoctagon];')
print('  "aerotrace" [label = "aerotrace (the tool)", shape = ellipse];')
for a, b in sorted(set(edges)):
    x, y = names.get(a), names.get(b)
    if x in shown and y in shown:
        print(f'  "{library.get(x, x)}" -> "{library.get(y, y)}";')
print("}")
EOF
if [ "$mode" = --check ]; then
    if ! diff -u docs/layers.dot "$work/layers.dot"; then
        echo "docs/layers.dot is not what the build says: run scripts/layer-picture.sh"
        exit 1
    fi
    echo "docs/layers.dot is what the build says"
    exit 0
fi
command -v dot >/dev/null || { echo "layer-picture.sh: dot is not installed (apt-get install graphviz)" >&2; exit 1; }
cp "$work/layers.dot" docs/layers.dot
dot -Tsvg docs/layers.dot -o docs/layers.svg
echo "wrote docs/layers.dot and docs/layers.svg"
