#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The include graph between the folders of src/, and the check that it keeps the layers.

    python3 scripts/include-graph.py           prints, for each folder, the folders it includes
                                               and how many #include lines make each edge
    python3 scripts/include-graph.py --check   exit status 1, with the reasons, when the graph
                                               has an edge the layers below do not allow, a
                                               cycle, a header name in two folders (includes
                                               name headers without their folder), or a Qt
                                               include in a folder that is Qt-free

Every folder of src/ is one library. LAYERS says which folders each folder may use (directly or
through them); an include that is not allowed points upwards or sideways. A new folder must be
added here, with its place, before it may be included.
"""

import os
import re
import sys

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
SRC = os.path.join(ROOT, "src")

# folder: (uses Qt, the folders it builds on directly)
LAYERS = {
    "util": (False, []),
    "engine": (False, ["util"]),
    "currencies": (False, ["engine"]),
    "rates_core": (False, ["currencies"]),
    "tape_core": (False, ["engine"]),
    "shell_core": (False, ["engine"]),
    "journal": (False, ["currencies", "tape_core"]),
    "controls": (True, ["util"]),
    "layout": (True, ["controls"]),
    "rates": (True, ["rates_core"]),
    "net": (True, ["rates"]),
    "chart": (True, ["rates"]),
    "tape": (True, ["tape_core", "controls"]),
    "dialog": (True, ["rates", "layout"]),
    "shell": (True, ["dialog", "tape", "shell_core", "journal"]),
    "ondemand": (True, ["shell"]),
}

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
SOURCE = (".h", ".cpp", ".c")


def below(folder):
    """Every folder that `folder` may use: the ones it builds on and theirs, to the bottom."""
    seen, pending = set(), list(LAYERS[folder][1])
    while pending:
        f = pending.pop()
        if f not in seen:
            seen.add(f)
            pending.extend(LAYERS.get(f, (False, []))[1])
    return seen


def read_tree():
    """The folders with their files, and where each header lives (forms .ui give ui_NAME.h)."""
    folders, owner, problems = {}, {}, []
    for folder in sorted(os.listdir(SRC)):
        path = os.path.join(SRC, folder)
        if not os.path.isdir(path):
            continue
        names = sorted(os.listdir(path))
        folders[folder] = [n for n in names if n.endswith(SOURCE)]
        headers = [n for n in names if n.endswith(".h")]
        headers += ["ui_" + n[:-3] + ".h" for n in names if n.endswith(".ui")]
        for h in headers:
            if h in owner:
                problems.append(f"{h} is in both src/{owner[h]} and src/{folder}")
            owner[h] = folder
    return folders, owner, problems


def graph(folders, owner):
    """{folder: {included folder: number of include lines}} and the Qt includes of each."""
    edges, qt = {}, {}
    for folder, files in folders.items():
        edges[folder] = {}
        for name in files:
            with open(os.path.join(SRC, folder, name), encoding="utf-8") as f:
                for line in f:
                    m = INCLUDE.match(line)
                    if not m:
                        continue
                    bracket, header = m.groups()
                    if bracket == "<":
                        if re.match(r"Q[A-Za-z]*(/|$)|Qt", header):
                            qt.setdefault(folder, []).append(f"{name}: <{header}>")
                        continue
                    target = owner.get(os.path.basename(header))
                    if target is not None and target != folder:
                        edges[folder][target] = edges[folder].get(target, 0) + 1
    return edges, qt


def cycles(edges):
    """The folders of one cycle of the graph, or [] when it has none."""
    state, stack = {}, []

    def visit(f):
        state[f] = "open"
        stack.append(f)
        for t in sorted(edges.get(f, {})):
            if state.get(t) == "open":
                return stack[stack.index(t):] + [t]
            if t not in state:
                found = visit(t)
                if found:
                    return found
        stack.pop()
        state[f] = "done"
        return []

    for f in sorted(edges):
        if f not in state:
            found = visit(f)
            if found:
                return found
    return []


def main():
    folders, owner, problems = read_tree()
    edges, qt = graph(folders, owner)
    if "--check" not in sys.argv[1:]:
        for folder in sorted(edges, key=lambda f: (len(below(f)) if f in LAYERS else 99, f)):
            targets = ", ".join(f"{t} ({n})" for t, n in sorted(edges[folder].items()))
            print(f"{folder:<11} -> {targets or '(nothing)'}")
        return 0

    for f, (_, deps) in LAYERS.items():
        for d in deps:
            if d not in LAYERS:
                problems.append(f"LAYERS: {f} builds on {d}, which it does not list")
    loop = cycles({f: dict.fromkeys(deps) for f, (_, deps) in LAYERS.items()})
    if loop:
        problems.append("LAYERS has a cycle: " + " -> ".join(loop))
    for folder in sorted(edges):
        if folder not in LAYERS:
            problems.append(f"src/{folder} has no place in LAYERS (scripts/include-graph.py)")
            continue
        allowed = below(folder)
        for target, n in sorted(edges[folder].items()):
            if target not in allowed:
                problems.append(f"src/{folder} includes src/{target} ({n} lines): "
                                f"{target} is not below {folder}")
        if not LAYERS[folder][0]:
            for include in qt.get(folder, []):
                problems.append(f"src/{folder} is Qt-free, yet {include}")
    loop = cycles(edges)
    if loop:
        problems.append("the include graph has a cycle: " + " -> ".join(loop))
    for p in problems:
        print(p)
    print(f"include-graph: {len(problems)} problem(s)" if problems
          else "include-graph: the folders keep their layers")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
