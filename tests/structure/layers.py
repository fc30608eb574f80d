#!/usr/bin/env python3
"""The map and the build agree: the layer diagram in ARCHITECTURE.md names every library of
src/, each with exactly the project libraries its CMake file links, and no library uses one in a
row above its own. Also: no source file over 600 lines. Prints each offence; exits 1 if any.
  layers.py SOURCE_FOLDER"""
import os
import re
import sys

LINK = re.compile(r"target_link_libraries\(\s*quorvel_(\w+)([^)]*)\)", re.S)
OWN = re.compile(r"\bquorvel_(\w+)")
MAX_LINES = 600


def built_links(src):
    links = {}
    for root, _, files in os.walk(src):
        if "CMakeLists.txt" in files:
            text = open(os.path.join(root, "CMakeLists.txt")).read()
            for m in re.finditer(r"add_library\(\s*quorvel_(\w+)", text):
                links.setdefault(m.group(1), set())
            for m in LINK.finditer(text):
                links.setdefault(m.group(1), set()).update(OWN.findall(m.group(2)))
    return links


def mapped_links(architecture):
    """row index and links of each library, from the fenced block under "## Layers"."""
    text = open(architecture).read()
    block = re.search(r"## Layers\n.*?```[^\n]*\n(.*?)```", text, re.S)
    if not block:
        return None
    rows, links, order = {}, {}, []
    for line in block.group(1).splitlines():
        parts = line.split(None, 1)
        if len(parts) < 2:
            continue
        # A row may run over several lines, each starting with its name.
        if parts[0] not in order:
            order.append(parts[0])
        index = order.index(parts[0])
        for entry in parts[1].split(";"):
            lib, _, deps = entry.partition("→")
            lib = lib.strip()
            rows[lib] = index
            links[lib] = {d.strip() for d in deps.split(",") if d.strip()}
    return rows, links


def main():
    src = sys.argv[1]
    offences = []
    built = built_links(src)
    mapped = mapped_links(os.path.join(os.path.dirname(src), "ARCHITECTURE.md"))
    if mapped is None:
        offences.append("ARCHITECTURE.md has no layer diagram under '## Layers'")
    else:
        rows, links = mapped
        for lib in sorted(set(built) | set(links)):
            if lib not in links:
                offences.append("%s is built but not on the map" % lib)
            elif lib not in built:
                offences.append("%s is on the map but not built" % lib)
            elif links[lib] != built[lib]:
                offences.append("%s: the map says it uses %s, CMake links %s" % (
                    lib, ", ".join(sorted(links[lib])) or "nothing", ", ".join(sorted(built[lib])) or "nothing"))
            for dep in built.get(lib, ()):
                if lib in rows and dep in rows and rows[dep] < rows[lib]:
                    offences.append("%s uses %s, which stands in a row above it" % (lib, dep))
    for root, _, files in os.walk(src):
        for name in files:
            if name.endswith((".cpp", ".h", ".c")):
                path = os.path.join(root, name)
                with open(path, errors="replace") as f:
                    count = sum(1 for _ in f)
                if count > MAX_LINES:
                    offences.append("%s has %d lines (at most %d)" % (os.path.relpath(path, src), count, MAX_LINES))
    for offence in offences:
        print(offence)
    return 1 if offences else 0


if __name__ == "__main__":
    sys.exit(main())
