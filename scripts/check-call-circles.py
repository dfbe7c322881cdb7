#!/usr/bin/env python3
"""No two source files call each other, however long the way: read from the
compiled objects' symbols, which see what the include rules cannot (a header
named after another file, a declaration written by hand). A file uses
another when one of its undefined symbols is defined there alone; a symbol
that several objects define (an inline function, a template) belongs to
none. Any circle of files fails the check, named with a symbol of each step.

    check-call-circles.py NM OBJECT_OR_ARCHIVE...
"""
import re
import subprocess
import sys


def symbols(nm, path):
    """{object: (defined, undefined)} of an object or of each member of an
    archive, by the names nm prints before each symbol."""
    out = subprocess.run([nm, "-A", "-g", path], check=True, capture_output=True,
                         text=True).stdout
    files = {}
    for line in out.splitlines():
        # "archive.a:member.obj:ADDRESS TYPE NAME", or "file.obj:..." for an
        # object; an undefined symbol has no address.
        found = re.match(r"^(.+?\.o(?:bj)?):[0-9a-fA-F ]*\s(\S) (\S+)$", line)
        if not found:
            continue
        place, kind, name = found.groups()
        defined, undefined = files.setdefault(place, (set(), set()))
        (undefined if kind == "U" else defined).add(name)
    return files


def circles(edges):
    """The strongly connected groups of more than one file (Tarjan)."""
    index, low, stack, on_stack, found = {}, {}, [], set(), []

    def visit(node):
        index[node] = low[node] = len(index)
        stack.append(node)
        on_stack.add(node)
        for other in edges.get(node, ()):
            if other not in index:
                visit(other)
                low[node] = min(low[node], low[other])
            elif other in on_stack:
                low[node] = min(low[node], index[other])
        if low[node] == index[node]:
            group = []
            while True:
                member = stack.pop()
                on_stack.discard(member)
                group.append(member)
                if member == node:
                    break
            if len(group) > 1:
                found.append(sorted(group))

    for node in sorted(edges):
        if node not in index:
            visit(node)
    return found


def main(argv):
    if len(argv) < 3:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    nm, paths = argv[1], argv[2:]
    files = {}
    for path in paths:
        files.update(symbols(nm, path))
    owners = {}
    for place, (defined, _) in files.items():
        for name in defined:
            owners.setdefault(name, []).append(place)
    edges = {}
    for place, (_, undefined) in files.items():
        for name in undefined:
            owner = owners.get(name, [])
            if len(owner) == 1 and owner[0] != place:
                edges.setdefault(place, {}).setdefault(owner[0], name)
    groups = circles(edges)
    for group in groups:
        steps = [f"{a} -> {b} ({edges[a][b]})" for a in group for b in group if b in edges.get(a, {})]
        print("files call each other: " + "; ".join(steps), file=sys.stderr)
    if not groups:
        uses = sum(len(targets) for targets in edges.values())
        print(f"no circles among {len(files)} objects ({uses} uses of one by another)")
    return 1 if groups else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
