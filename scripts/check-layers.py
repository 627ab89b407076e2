#!/usr/bin/env python3
"""Checks how the module's sources under src/ depend on each other.

The code is arranged in layers, lowest first, as src/layers.txt lists
them: a file may include its own layer's headers and those of the layers
beneath it, never one above. Reported, each with the file and line of the include:
  - an include from a lower layer into a higher one;
  - a cycle between the top-level folders of src/;
  - a cycle between files anywhere, a .cpp and its header counting as one
    unit (so are name_win32.cpp and name_posix.cpp, which implement name.h).

    scripts/check-layers.py [--report] [SRC]

Exits 1 when it finds any of them (0 with --report, which only prints).
"""
import os
import re
import sys
from collections import defaultdict

def read_layers(src):
    """The layers, lowest first, as src/layers.txt lists their folders."""
    with open(os.path.join(src, "layers.txt"), encoding="utf-8") as text:
        return [line.strip() for line in text if line.strip() and not line.startswith("#")]


INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
SOURCE_SUFFIXES = (".cpp", ".h", ".rc")


def layer_of(path, layers):
    """The index of the longest listed folder that holds the file."""
    best = None
    for index, folder in enumerate(layers):
        if path.startswith(folder + "/") and (best is None or len(folder) > len(layers[best])):
            best = index
    return best


def unit_of(path):
    """name.cpp, name.h, name_win32.cpp and name_posix.cpp are one unit."""
    stem = os.path.splitext(path)[0]
    return re.sub(r"_(win32|posix)$", "", stem)


def read_includes(src):
    """Every include of a file under src/ that names another file under src/:
    (from, line, to)."""
    files = []
    for folder, _, names in os.walk(src):
        for name in names:
            if name.endswith(SOURCE_SUFFIXES):
                files.append(os.path.relpath(os.path.join(folder, name), src))
    known = set(files)
    edges = []
    for path in sorted(files):
        with open(os.path.join(src, path), encoding="utf-8", errors="replace") as text:
            for number, line in enumerate(text, 1):
                match = INCLUDE.match(line)
                if not match:
                    continue
                target = match.group(1)
                # Includes are written from src/, or beside the including file.
                beside = os.path.normpath(os.path.join(os.path.dirname(path), target))
                if target in known:
                    edges.append((path, number, target))
                elif beside in known:
                    edges.append((path, number, beside))
    return sorted(known), edges


def cycles(nodes, arrows):
    """The strongly connected parts of more than one node (Tarjan)."""
    index, low, stack, on_stack, found = {}, {}, [], set(), []
    counter = [0]

    def visit(node):
        work = [(node, iter(sorted(arrows[node])))]
        index[node] = low[node] = counter[0]
        counter[0] += 1
        stack.append(node)
        on_stack.add(node)
        while work:
            current, successors = work[-1]
            advanced = False
            for successor in successors:
                if successor not in index:
                    index[successor] = low[successor] = counter[0]
                    counter[0] += 1
                    stack.append(successor)
                    on_stack.add(successor)
                    work.append((successor, iter(sorted(arrows[successor]))))
                    advanced = True
                    break
                if successor in on_stack:
                    low[current] = min(low[current], index[successor])
            if advanced:
                continue
            work.pop()
            if work:
                low[work[-1][0]] = min(low[work[-1][0]], low[current])
            if low[current] == index[current]:
                part = []
                while True:
                    member = stack.pop()
                    on_stack.discard(member)
                    part.append(member)
                    if member == current:
                        break
                if len(part) > 1:
                    found.append(sorted(part))

    for node in sorted(nodes):
        if node not in index:
            visit(node)
    return found


def main():
    arguments = [a for a in sys.argv[1:] if a != "--report"]
    report_only = "--report" in sys.argv[1:]
    src = arguments[0] if arguments else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src")
    try:
        layers = read_layers(src)
    except OSError as error:
        print(f"check-layers: cannot read the layers: {error}")
        return 1
    files, edges = read_includes(src)
    problems = 0

    # Upward includes.
    unplaced = [path for path in files if layer_of(path, layers) is None]
    for path in unplaced:
        print(f"src/{path}: belongs to no layer (add its folder to src/layers.txt)")
        problems += 1
    for path, line, target in edges:
        low, high = layer_of(path, layers), layer_of(target, layers)
        if low is not None and high is not None and high > low:
            print(f"src/{path}:{line}: includes {target}: layer {layers[low]} must not use layer {layers[high]}")
            problems += 1

    # Cycles between the top-level folders.
    folder_arrows, folder_example = defaultdict(set), {}
    for path, line, target in edges:
        a, b = os.path.dirname(path), os.path.dirname(target)
        if a != b:
            folder_arrows[a].add(b)
            folder_example.setdefault((a, b), f"src/{path}:{line}")
    folders = {os.path.dirname(path) for path in files}
    for part in cycles(folders, folder_arrows):
        links = [f"{a} -> {b} ({folder_example[(a, b)]})" for a in part for b in sorted(folder_arrows[a]) if b in part]
        print(f"folders in a cycle: {', '.join(part)}: " + "; ".join(links))
        problems += 1

    # Cycles between files (units).
    unit_arrows, unit_example = defaultdict(set), {}
    for path, line, target in edges:
        a, b = unit_of(path), unit_of(target)
        if a != b:
            unit_arrows[a].add(b)
            unit_example.setdefault((a, b), f"src/{path}:{line}")
    for part in cycles({unit_of(path) for path in files}, unit_arrows):
        links = [f"{unit_example[(a, b)]} -> {b}" for a in part for b in sorted(unit_arrows[a]) if b in part]
        print(f"files in a cycle ({len(part)}): " + "; ".join(links))
        problems += 1

    if problems:
        print(f"check-layers: {problems} problem(s) in src/")
        return 0 if report_only else 1
    print(f"check-layers: ok ({len(files)} files, {len(edges)} includes, {len(layers)} layers)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
