#!/usr/bin/env python3
"""Every library links the third-party libraries it wraps PRIVATE; a header of it that another
folder includes must then not bring their headers along, or that folder compiles against a
library it does not link (it works only while the library's headers happen to sit in /usr/include).
Checks every source under src/: a header included from another folder, followed through the
headers it includes, names no header of a watched library that the including folder does not link
itself or through a PUBLIC link. Prints each offence; exits 1 if there is any."""
import os
import re
import sys

WATCHED = {
    "PkgConfig::MPV": re.compile(r"^mpv/"),
    "ZLIB::ZLIB": re.compile(r"^zlib\.h$"),
    "EXPAT::EXPAT": re.compile(r"^expat"),
    "X11::X11": re.compile(r"^X11/"),
    "X11::xcb": re.compile(r"^xcb/"),
    "Qt6::Sql": re.compile(r"^(QSql|QtSql)"),
    "Qt6::Network": re.compile(r"^(QNetwork|QtNetwork|QTcp|QUdp|QSsl)"),
    "Qt6::OpenGL": re.compile(r"^(QOpenGL|QtOpenGL)"),
}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)


def targets(src):
    """folder (relative to src) -> (libraries linked, PUBLIC ones), and target name -> folder."""
    folders, owner = {}, {}
    for root, _, files in os.walk(src):
        if "CMakeLists.txt" not in files:
            continue
        folder = os.path.relpath(root, src)
        text = open(os.path.join(root, "CMakeLists.txt"), encoding="utf-8").read()
        for name in re.findall(r"add_(?:library|executable)\(\s*(\S+)", text):
            owner[name] = folder
        linked, public = folders.setdefault(folder, (set(), set()))
        for block in re.findall(r"target_link_libraries\(\s*\S+(.*?)\)", text, re.S):
            kind = "PUBLIC"
            for word in block.split():
                if word in ("PUBLIC", "PRIVATE", "INTERFACE"):
                    kind = word
                    continue
                linked.add(word)
                if kind != "PRIVATE":
                    public.add(word)
    return folders, owner


def reachable(folder, folders, owner, seen=None):
    """What a folder's sources may include: what it links, and what those targets link PUBLIC."""
    seen = set() if seen is None else seen
    if folder in seen:
        return set()
    seen.add(folder)
    linked, _ = folders.get(folder, (set(), set()))
    out = set(linked)
    for lib in linked:
        if lib in owner:
            out |= folders[owner[lib]][1]
            out |= reachable_public(owner[lib], folders, owner, seen)
    return out


def reachable_public(folder, folders, owner, seen):
    out = set()
    for lib in folders.get(folder, (set(), set()))[1]:
        if lib in owner and owner[lib] not in seen:
            seen.add(owner[lib])
            out |= folders[owner[lib]][1] | reachable_public(owner[lib], folders, owner, seen)
    return out


def main():
    src = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..", "src")
    src = os.path.abspath(src)
    folders, owner = targets(src)

    def folder_of(path):
        d = os.path.dirname(os.path.relpath(path, src))
        while d and d not in folders:
            d = os.path.dirname(d)
        return d

    includes = {}
    for root, _, files in os.walk(src):
        for f in files:
            if f.endswith((".h", ".cpp")):
                path = os.path.join(root, f)
                includes[path] = INCLUDE.findall(open(path, encoding="utf-8").read())

    def brought(header, seen):
        """The system headers a project header brings, followed through the project's own."""
        if header in seen or header not in includes:
            return set()
        seen.add(header)
        out = set()
        for kind, name in includes[header]:
            own = os.path.join(src, name)
            if kind == '"' and own in includes:
                out |= brought(own, seen)
            elif kind == "<":
                out.add(name)
        return out

    offences = []
    for path, found in sorted(includes.items()):
        here = folder_of(path)
        allowed = reachable(here, folders, owner)
        for kind, name in found:
            header = os.path.join(src, name)
            if kind != '"' or header not in includes or folder_of(header) == here:
                continue
            for system in sorted(brought(header, set())):
                for lib, pattern in WATCHED.items():
                    if pattern.search(system) and lib not in allowed:
                        offences.append("%s includes %s, which brings <%s> of %s, not linked by %s" %
                                        (os.path.relpath(path, src), name, system, lib, here))
    for line in offences:
        print(line)
    return 1 if offences else 0


if __name__ == "__main__":
    sys.exit(main())
