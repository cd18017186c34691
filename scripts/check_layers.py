#!/usr/bin/env python3
"""Reads the #include lines of the program's sources and fails when one runs up the layers, when files
include each other in a circle, or when a file below app/ names the main program's own state instead of being
handed what it needs. Usage: check_layers.py [source folder]."""
import os
import re
import sys

# Lowest first. A folder may include itself and the folders of lower rank; folders of one rank do not
# include each other.
RANKS = {"platform": 0, "resources": 0, "common": 1, "subjects": 2, "students": 2, "activities": 3, "custom": 4,
         "app": 5}
# Programs of their own: they may include only these folders.
SEPARATE = {"games": {"games", "platform", "resources"}, "tools": {"tools", "platform", "resources"}}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
# The main program's state lives in app/; the layers below receive values and interfaces.
MAIN_STATE = re.compile(r"\bmodMain\b")


def allowed(source_folder, target_folder):
    if source_folder in SEPARATE:
        return target_folder in SEPARATE[source_folder]
    if target_folder == source_folder:
        return True
    return target_folder in RANKS and RANKS[target_folder] < RANKS[source_folder]


def sources(root):
    for folder in list(RANKS) + list(SEPARATE):
        for base, _, files in os.walk(os.path.join(root, folder)):
            for name in files:
                if name.endswith((".h", ".cpp")):
                    yield os.path.relpath(os.path.join(base, name), root)


def resolve(root, source, included):
    """The included file's path from the root, or None when it is not one of ours."""
    beside = os.path.normpath(os.path.join(os.path.dirname(source), included))
    if os.path.exists(os.path.join(root, beside)):
        return beside
    if os.path.exists(os.path.join(root, included)):
        return os.path.normpath(included)
    return None


def unit(path):
    return os.path.splitext(path)[0]


def find_cycle(graph):
    state = {}
    stack = []

    def visit(node):
        state[node] = 1
        stack.append(node)
        for nxt in sorted(graph.get(node, ())):
            if state.get(nxt) == 1:
                return stack[stack.index(nxt):] + [nxt]
            if nxt not in state:
                found = visit(nxt)
                if found:
                    return found
        stack.pop()
        state[node] = 2
        return None

    for node in sorted(graph):
        if node not in state:
            found = visit(node)
            if found:
                return found
    return None


def main():
    root = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), ".."))
    problems = []
    graph = {}
    files = 0
    for source in sources(root):
        files += 1
        folder = source.split(os.sep)[0]
        with open(os.path.join(root, source), encoding="utf-8") as f:
            text = f.read()
        if folder in RANKS and RANKS[folder] < RANKS["app"] and MAIN_STATE.search(text):
            problems.append(f"{source}: names modMain, the main program's state (hand it what it needs instead)")
        for included in INCLUDE.findall(text):
            if ".." in included.split("/"):
                problems.append(f"{source}: includes \"{included}\" by a relative path out of its folder")
                continue
            target = resolve(root, source, included)
            if target is None:
                continue
            target_folder = target.split(os.sep)[0]
            if not allowed(folder, target_folder):
                problems.append(f"{source}: includes \"{included}\" ({target_folder}/ is not below {folder}/)")
            if unit(target) != unit(source):
                graph.setdefault(unit(source), set()).add(unit(target))
    cycle = find_cycle(graph)
    if cycle:
        problems.append("files include each other in a circle: " + " -> ".join(cycle))
    for p in problems:
        print(p)
    print(f"{files} files read, {len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
