#!/usr/bin/env python3
"""Checks that the includes under src/ go down the layers only.

Every include of our own headers names its folder from src ("domain/AppState.h").
A file may include the headers of its own layer and of the layers listed for
it below, and that holds for everything it reaches through them as well: a
view that includes core/AppModel.h must not receive a store header through
it. Inside ui the folders are layered too: ui/common uses no pane, the panes
(triage, titles, registered, preferences, backups, unused) use no ui/window,
which holds the window shell's own classes; only the shell itself
(titles/WindowController) uses ui/window. A test in tests/<layer> includes
the src folders of its layer and of the layers below it (those its
library brings along), and so do the shared headers of tests/ it includes.
Prints every offence and exits non-zero if there is one.
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
    # The interface of the network module (libpramel-net.so), which
    # importing loads.
    "net": set(),
    "importing": {"base", "net"},
    # The interface of the media module (libpramel-media.so), which ui loads.
    "media": set(),
    "core": {"base", "domain", "text", "persistence", "csv"},
    "ui": {"base", "domain", "text", "csv", "importing", "net", "media", "core"},
    "app": {"base", "domain", "text", "csv", "importing", "net", "media", "core", "ui"},
}

# The folders of ui, each with the ui folders it may use besides itself.
PANES = {"triage", "titles", "registered", "preferences", "backups", "unused"}
UI_ALLOWED = {"common": set(), "window": {"common"} | PANES}
UI_ALLOWED.update({pane: {"common"} | PANES for pane in PANES})
# The window shell: a pane folder's file that may use ui/window.
SHELL = {"ui/titles/WindowController.h", "ui/titles/WindowController.cpp"}

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
# Made by the build (uic, moc), not ours.
GENERATED = re.compile(r"^(ui_.*\.h|.*\.moc|moc_.*\.cpp)$")


def layer_of(path):
    return path.split("/", 1)[0]


def ui_folder_of(path):
    parts = path.split("/")
    return parts[1] if len(parts) > 2 and parts[0] == "ui" else None


def below(layer):
    """The layer and every layer it reaches, directly or through another."""
    seen = {layer}
    todo = [layer]
    while todo:
        for used in ALLOWED.get(todo.pop(), set()):
            if used not in seen:
                seen.add(used)
                todo.append(used)
    return seen


def ui_problem(path, name):
    """Why path, a file of ui, may not include name; None when it may."""
    folder, used = ui_folder_of(path), ui_folder_of(name)
    if folder is None or used is None or used == folder:
        return None
    if folder not in UI_ALLOWED:
        return f"ui/{folder} is not a folder of the ui layers"
    if used in UI_ALLOWED[folder] or (used == "window" and path in SHELL):
        return None
    return f"ui/{folder} may not use ui/{used}"


def check_tests(src_root, known):
    """The includes of tests/<layer>: their layer and below, own headers too."""
    tests = os.path.normpath(os.path.join(src_root, "..", "tests"))
    problems = []
    local = {}
    for folder, _, names in os.walk(tests):
        for name in names:
            if name.endswith((".h", ".cpp")):
                local.setdefault(name, []).append(os.path.join(folder, name))

    def includes(path, seen):
        with open(path, encoding="utf-8") as f:
            text = f.read()
        for name in INCLUDE.findall(text):
            if GENERATED.match(name) or name.endswith(".moc"):
                continue
            if name in known:
                yield name, path
                continue
            # A header of the tests: beside the test or in tests/common.
            here = os.path.join(os.path.dirname(path), name)
            candidates = [here] if os.path.exists(here) else local.get(os.path.basename(name), [])
            for header in candidates:
                if header not in seen:
                    seen.add(header)
                    yield from includes(header, seen)

    for folder in sorted(os.listdir(tests)):
        if folder not in ALLOWED:
            continue
        allowed = below(folder)
        for name in sorted(os.listdir(os.path.join(tests, folder))):
            if not name.endswith((".h", ".cpp")):
                continue
            path = os.path.join(tests, folder, name)
            for included, via in includes(path, set()):
                if layer_of(included) in allowed:
                    continue
                through = "" if via == path else f" (through {os.path.relpath(via, tests)})"
                problems.append(f"tests/{folder}/{name}: a test of {folder} may not use "
                                f"{layer_of(included)}: includes {included}{through}")
    return problems


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
        if layer == "ui":
            # What the shell brings along is the shell's: a file that names
            # the window is not the window.
            def ui_reached(at, seen):
                for name in direct.get(at, []):
                    if name not in seen:
                        seen[name] = at
                        if name not in SHELL:
                            ui_reached(name, seen)
                return seen

            for name, via in sorted(ui_reached(path, {}).items()):
                problem = ui_problem(path, name)
                if problem:
                    through = "" if via == path else f" (through {via})"
                    problems.append(f"src/{path}: {problem}: includes {name}{through}")

    problems += check_tests(root, known)

    for problem in problems:
        print(problem)
    if problems:
        print(f"{len(problems)} include(s) against the layers", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
