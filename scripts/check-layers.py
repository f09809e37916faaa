#!/usr/bin/env python3
"""Checks that the includes under src/ go down the layers only.

Every include of our own headers names its folder from src ("domain/AppState.h").
A file may include the headers of its own layer and of the layers listed for
it below, and that holds for everything it reaches through them as well: a
view that includes core/AppModel.h must not receive a store header through
it. Prints every offence and exits non-zero if there is one.
"""

import os
import re
import sys

# The layers each layer may use, besides itself (see docs/architecture.md).
ALLOWED = {
    "base": set(),
    "domain": {"base"},
    "text": {"base"},
    "persistence": {"base", "domain"},
    "csv": {"base", "domain"},
    "importing": {"base"},
    "core": {"base", "domain", "text", "persistence", "csv"},
    "ui": {"base", "domain", "text", "csv", "importing", "core"},
    "app": {"base", "domain", "text", "csv", "importing", "core", "ui"},
}

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
# Made by the build (uic, moc), not ours.
GENERATED = re.compile(r"^(ui_.*\.h|.*\.moc|moc_.*\.cpp)$")


def layer_of(path):
    return path.split("/", 1)[0]


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src")
    root = os.path.normpath(root)
    files = []
    for folder, _, names in os.walk(root):
        for name in names:
            if name.endswith((".h", ".cpp")):
                files.append(os.path.relpath(os.path.join(folder, name), root))
    known = set(files)

    direct = {}
    problems = []
    for path in sorted(files):
        with open(os.path.join(root, path), encoding="utf-8") as f:
            text = f.read()
        direct[path] = []
        for name in INCLUDE.findall(text):
            if GENERATED.match(name):
                continue
            if name not in known:
                problems.append(f"src/{path}: includes \"{name}\", which is not a path from src")
                continue
            direct[path].append(name)

    def reached(path, seen):
        for name in direct.get(path, []):
            if name not in seen:
                seen[name] = path
                reached(name, seen)
        return seen

    for path in sorted(files):
        layer = layer_of(path)
        if layer not in ALLOWED:
            problems.append(f"src/{path}: {layer} is not a layer of docs/architecture.md")
            continue
        allowed = ALLOWED[layer] | {layer}
        for name, via in sorted(reached(path, {}).items()):
            if layer_of(name) in allowed:
                continue
            through = "" if via == path else f" (through {via})"
            problems.append(
                f"src/{path}: {layer} may not use {layer_of(name)}: includes {name}{through}")

    for problem in problems:
        print(problem)
    if problems:
        print(f"{len(problems)} include(s) against the layers", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
