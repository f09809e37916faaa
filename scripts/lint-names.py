#!/usr/bin/env python3
"""The naming rule (.clang-tidy) over every source file of ours.

Runs clang-tidy on each source file under src and tests that the build's
compile_commands.json lists (or on each batch of them, in a build that
compiles its layers in batches), JOBS at a time, and prints the findings once
each (a header is checked with every source that includes it); exits 1 on
any finding.

A file that passed is remembered in BUILD_DIR/lint-passed.json with a key of
all that clang-tidy read of ours: its compile command, the file itself, every
header under src and tests that it includes (from ninja's dependency log, so
the build must have compiled it), .clang-tidy and clang-tidy's version. It is
checked again only when one of them changes; a file the build has not
compiled yet is always checked.

Usage: lint-names.py BUILD_DIR JOBS
"""

import concurrent.futures
import hashlib
import json
import os
import re
import shlex
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OURS_PATTERN = "^" + ROOT + "/(src|tests)/"
OURS = re.compile("^" + re.escape(ROOT) + "/(src|tests)/")
FINDING = re.compile(r"(warning|error): ")
COLOUR = re.compile(r"\x1b\[[0-9;]*m")
# A build that compiles its layers in batches (PRAMEL_UNITY) lists the
# batches, which include our sources, rather than the sources themselves.
UNITY = re.compile(r"/Unity/unity_[0-9]+_cxx\.cxx$")


def object_of(entry):
    words = shlex.split(entry["command"]) if "command" in entry else entry["arguments"]
    for i, word in enumerate(words[:-1]):
        if word == "-o":
            return words[i + 1]
    return None


def dependencies(build_dir):
    """Each compiled object's headers of ours, as ninja recorded them."""
    out = subprocess.run(["ninja", "-C", build_dir, "-t", "deps"], capture_output=True,
                         text=True, check=False).stdout
    deps, current = {}, None
    for line in out.splitlines():
        if not line.strip():
            current = None
        elif not line.startswith(" "):
            name, _, rest = line.partition(": #deps")
            current = name if "VALID" in rest and "STALE" not in rest else None
            if current:
                deps[current] = []
        elif current:
            path = os.path.normpath(os.path.join(build_dir, line.strip()))
            if OURS.match(path):
                deps[current].append(path)
    return deps


class Hashes:
    def __init__(self):
        self.known = {}

    def __call__(self, path):
        if path not in self.known:
            try:
                with open(path, "rb") as f:
                    self.known[path] = hashlib.sha256(f.read()).hexdigest()
            except OSError:
                self.known[path] = "missing"
        return self.known[path]


def main():
    build_dir = os.path.abspath(sys.argv[1])
    jobs = int(sys.argv[2])
    with open(os.path.join(build_dir, "compile_commands.json")) as f:
        entries = [e for e in json.load(f)
                   if OURS.match(os.path.join(e["directory"], e["file"]))
                   or UNITY.search(e["file"])]
    version = subprocess.run(["clang-tidy", "--version"], capture_output=True, text=True,
                             check=True).stdout
    digest = Hashes()
    common = version + digest(os.path.join(ROOT, ".clang-tidy"))
    deps = dependencies(build_dir)

    def key(entry):
        headers = deps.get(object_of(entry))
        if headers is None:
            return None
        source = os.path.join(entry["directory"], entry["file"])
        parts = [common, entry.get("command", " ".join(entry.get("arguments", []))),
                 digest(source)] + [h + digest(h) for h in sorted(set(headers))]
        return hashlib.sha256("\n".join(parts).encode()).hexdigest()

    passed_path = os.path.join(build_dir, "lint-passed.json")
    try:
        with open(passed_path) as f:
            passed = json.load(f)
    except (OSError, ValueError):
        passed = {}
    todo = []
    for entry in entries:
        k = key(entry)
        if k is None or passed.get(entry["file"]) != k:
            todo.append((entry, k))
    print(f"{len(todo)} of {len(entries)} files to check, the others unchanged since they passed",
          flush=True)

    def check(item):
        entry, k = item
        run = subprocess.run(["clang-tidy", "-p", build_dir, "-quiet",
                              "-header-filter=" + OURS_PATTERN, entry["file"]],
                             capture_output=True, text=True, check=False)
        return entry, k, run.returncode, run.stdout + run.stderr

    findings, log = set(), []
    with concurrent.futures.ThreadPoolExecutor(max_workers=jobs) as pool:
        for entry, k, code, output in pool.map(check, todo):
            log.append(f"== {entry['file']}\n{output}")
            if code == 0:
                if k is not None:
                    passed[entry["file"]] = k
            else:
                passed.pop(entry["file"], None)
                lines = [COLOUR.sub("", l) for l in output.splitlines()]
                found = {l for l in lines if FINDING.search(l)}
                findings |= found or {f"{entry['file']}: clang-tidy failed ({code})"}
    with open(os.path.join(build_dir, "clang-tidy.log"), "w") as f:
        f.write("\n".join(log))
    with open(passed_path + ".new", "w") as f:
        json.dump(passed, f)
    os.replace(passed_path + ".new", passed_path)
    for line in sorted(findings):
        print(line)
    if findings:
        print(f"clang-tidy found names against the rule (full output: {build_dir}/clang-tidy.log)",
              file=sys.stderr)
        return 1
    print("no findings")
    return 0


if __name__ == "__main__":
    sys.exit(main())
