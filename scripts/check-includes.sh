#!/usr/bin/env bash
# Checks the direction of includes and fails, one line per violation, when
#  - two classes include each other (a class is a header and its source together: A.h/A.cpp
#    includes B.h while B.h/B.cpp includes A.h), in src/ and tools/;
#  - a file of lumoq4_core, or of lumoq4ctl (src/ctl, which links the core alone and runs
#    without a display), includes a Qt Widgets header or a file of lumoq4_gui;
#  - a file of src/ includes a file of a folder that is not below its own in the folder order
#    (LAYERS below, drawn in CONTRIBUTING.md), or sits in a folder the order does not name;
#  - a folder of src/core holds a file of lumoq4_gui.
# Which file belongs to which library is read from the target_sources(lumoq4_core ...) and
# target_sources(lumoq4_gui ...) blocks of the CMakeLists.txt files under src/, so a new folder
# is covered as soon as it adds its sources there.
set -euo pipefail
cd "$(dirname "$0")/.."
exec python3 - "$@" <<'PYTHON'
import os
import re
import subprocess
import sys
from pathlib import Path

ROOT = Path.cwd()
SRC = ROOT / "src"
SCANNED = [SRC, ROOT / "tools"]
EXTENSIONS = {".h", ".hpp", ".cpp", ".cc"}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
BLOCK = re.compile(r"target_sources\s*\(\s*(lumoq4_core|lumoq4_gui)\b([^)]*)\)", re.S)
KEYWORDS = {"PRIVATE", "PUBLIC", "INTERFACE"}

# The folders of src/, lowest layer first. A folder includes only itself and folders of lower
# layers; the folders of one layer do not include each other. A new folder gets a place here
# and in the drawing of CONTRIBUTING.md.
LAYERS = [
    ["core/common"],
    ["core/settings"],
    ["core/protocol", "core/ports", "core/vt100"],
    ["core/serial"],
    ["core/scan", "core/transfer"],
    ["core/device"],
    ["gui/widgets"],
    ["gui/monitor", "gui/transfer", "gui/vt100"],
    ["gui/panels"],
    ["gui/app", "ctl"],
]
LAYER = {folder: number for number, layer in enumerate(LAYERS) for folder in layer}


def rel(path):
    return path.resolve().relative_to(ROOT).as_posix()


def library_files():
    """lumoq4_core and lumoq4_gui membership, as paths relative to the repository."""
    members = {"lumoq4_core": set(), "lumoq4_gui": set()}
    for cmake in sorted(SRC.rglob("CMakeLists.txt")):
        text = re.sub(r"#[^\n]*", "", cmake.read_text())
        for target, body in BLOCK.findall(text):
            for token in body.split():
                if token in KEYWORDS or "$" in token:
                    continue
                members[target].add(rel(cmake.parent / token))
    return members


def widget_headers():
    """Names of the Qt Widgets module's headers, from the installed Qt."""
    folders = []
    for tool in ("qtpaths6", "qmake6"):
        try:
            out = subprocess.run([tool, "-query", "QT_INSTALL_HEADERS"], capture_output=True,
                                 text=True, check=True).stdout.strip()
            folders.append(Path(out) / "QtWidgets")
        except (OSError, subprocess.CalledProcessError):
            pass
    folders += list(Path("/usr/include").glob("*/qt6/QtWidgets"))
    folders.append(Path("/usr/include/qt6/QtWidgets"))
    for folder in folders:
        if folder.is_dir():
            return {p.name for p in folder.iterdir()}
    sys.exit("check-includes: the Qt Widgets headers were not found (is qt6-base-dev installed?)")


def resolve(source, name):
    """The repository file a quoted include names: beside the includer, else under src/."""
    for base in (source.parent, SRC):
        candidate = base / name
        if candidate.is_file():
            return rel(candidate)
    return None


def includes(path):
    """(line number, bracket, name, resolved file or None) for each include of a file."""
    found = []
    for number, line in enumerate(path.read_text(errors="replace").splitlines(), 1):
        match = INCLUDE.match(line)
        if match:
            bracket, name = match.groups()
            target = resolve(path, name) if bracket == '"' else None
            found.append((number, bracket, name, target))
    return found


def shown(bracket, name):
    return f'"{name}"' if bracket == '"' else f"<{name}>"


def folder_of(f):
    """The folder of the order that holds src file f ("core/device"), or its own folder below
    src/ when the order names none."""
    parent = Path(f).parent.relative_to("src").as_posix()
    for folder in sorted(LAYER, key=len, reverse=True):
        if parent == folder or parent.startswith(folder + "/"):
            return folder
    return parent


def folder_order(scanned):
    """Violations of the folder order, one per include, and one per folder without a place
    (whose includes are not judged until it has one)."""
    violations = []
    unplaced = {}
    for f, found in scanned.items():
        if not f.startswith("src/"):
            continue
        own = folder_of(f)
        if own not in LAYER:
            unplaced.setdefault(own, f)
            continue
        for number, bracket, name, target in found:
            if not target or not target.startswith("src/"):
                continue
            other = folder_of(target)
            if other == own or other not in LAYER or LAYER[other] < LAYER[own]:
                continue
            violations.append(f"folder order: {f}:{number} includes {shown(bracket, name)}, a file "
                              f"of src/{other}, which is not below src/{own}")
    for folder, example in sorted(unplaced.items()):
        violations.append(f"folder order: src/{folder} (e.g. {example}) has no place in the "
                          "order of folders (LAYERS in scripts/check-includes.sh)")
    return violations


def main():
    files = sorted(p for top in SCANNED for p in top.rglob("*")
                   if p.suffix in EXTENSIONS and p.is_file())
    scanned = {rel(p): includes(p) for p in files}
    klass = lambda f: os.path.splitext(f)[0]
    violations = []

    # (a) Two classes that include each other.
    edges = {}  # (class, included class) -> first "file:line includes name" that makes the edge
    for f, found in scanned.items():
        for number, bracket, name, target in found:
            if target and target in scanned and klass(target) != klass(f):
                why = f"{f}:{number} includes {shown(bracket, name)}"
                edges.setdefault((klass(f), klass(target)), why)
    for (a, b), why in sorted(edges.items()):
        if a < b and (b, a) in edges:
            violations.append(f"circle: {a} and {b} include each other ({why}; {edges[(b, a)]})")

    # (b) lumoq4_core stays free of widgets and of the windows' files.
    members = library_files()
    core, gui = members["lumoq4_core"], members["lumoq4_gui"] - members["lumoq4_core"]
    core |= {rel(p) for p in (SRC / "ctl").rglob("*") if p.suffix in EXTENSIONS}
    widgets = widget_headers()
    for f in sorted(core):
        for number, bracket, name, target in scanned.get(f, []):
            head = name.split("/")[0]
            if head in ("QtWidgets", "QtWidgets.h") or (bracket == "<" and name in widgets):
                violations.append(f"core uses widgets: {f}:{number} includes "
                                  f"{shown(bracket, name)} from Qt Widgets, but the file "
                                  "must stay free of widgets (lumoq4_core, lumoq4ctl)")
            elif target in gui:
                violations.append(f"core uses the windows: {f}:{number} includes "
                                  f"{shown(bracket, name)}, a file of lumoq4_gui, but the file "
                                  "must stay free of widgets (lumoq4_core, lumoq4ctl)")

    # (c) The folders stand in their order; the core folders hold none of the windows' files.
    violations += folder_order(scanned)
    for f in sorted(gui):
        if f.startswith("src/core/"):
            violations.append(f"window file in the core: {f} is built by lumoq4_gui but sits in "
                              f"src/{folder_of(f)}; it belongs under src/gui")

    for v in violations:
        print(v)
    if violations:
        print(f"Include rules: {len(violations)} violation(s).")
        return 1
    print(f"Include rules hold: {len(scanned)} files, {len(core)} of them in lumoq4_core, "
          f"{len(LAYER)} folders of src/ in {len(LAYERS)} layers.")
    return 0


sys.exit(main())
PYTHON
