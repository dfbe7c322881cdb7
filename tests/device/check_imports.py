#!/usr/bin/env python3
"""Every function the device program imports, by DLL and by name or ordinal,
is one the device exports (tests/device-exports/DLL.txt); an ordinal counts by
the name the DLL's export definitions give it.

    check_imports.py OBJDUMP EXE EXPORTS_DIR DEF_DIR

Reads the import tables as objdump -p prints them: binutils 2.40 ("vma:
Hint/Ord Member-Name Bound-To") and 2.44 ("vma: Ordinal Hint Member-Name
Bound-To") alike. A table read as empty fails: a format this does not know
reads as no imports.
"""
import os
import re
import subprocess
import sys


def imports(listing):
    """(DLL, name or None, ordinal or None) of each import."""
    found, dll, columns = [], None, None
    for line in listing.splitlines():
        if m := re.match(r"\s*DLL Name: (\S+)", line):
            dll, columns = m.group(1).upper(), None
        elif dll and re.match(r"\s*vma:\s", line):
            columns = "2.44" if "Ordinal" in line else "2.40"
        elif dll and columns and line.strip():
            fields = line.split()
            if columns == "2.44":  # vma, ordinal or <none>, hint or <none>, name or <none>
                name = None if fields[3] == "<none>" else fields[3]
                ordinal = None if name else int(fields[1])
            else:  # vma (high bit set for an ordinal), hint or ordinal, name or <none>
                name = None if fields[2] == "<none>" else fields[2]
                ordinal = None if name else int(fields[1])
                if not name and not int(fields[0], 16) & 0x8000_0000:
                    raise ValueError(f"an import without name or ordinal: {line}")
            found.append((dll, name, ordinal))
        elif not line.strip():
            dll = columns = None
    return found


def ordinals(def_file):
    """The names a .def file exports by ordinal."""
    return {int(m.group(2)): m.group(1) for m in
            re.finditer(r"^(\w+)\s+@(\d+)", open(def_file).read(), re.M)}


def main(objdump, exe, exports_dir, def_dir):
    listing = subprocess.run([objdump, "-p", exe], check=True, capture_output=True,
                             text=True).stdout
    found = imports(listing)
    if not found:
        print("FAILED: no imports read: wrong file, or an objdump format not known here",
              file=sys.stderr)
        return 1
    missing = []
    for dll, name, ordinal in found:
        base = dll.lower().removesuffix(".dll")
        exports_file = os.path.join(exports_dir, base + ".txt")
        if not os.path.exists(exports_file):
            missing.append(f"{dll}: not a DLL of the device's lists")
            continue
        if name is None:
            name = ordinals(os.path.join(def_dir, base + ".def")).get(ordinal)
            if name is None:
                missing.append(f"{dll} #{ordinal}: no known export by that ordinal")
                continue
        if name not in open(exports_file).read().split():
            missing.append(f"{dll} {name}")
    for what in missing:
        print(f"not on the device: {what}", file=sys.stderr)
    if missing:
        return 1
    by_dll = {}
    for dll, name, ordinal in found:
        by_dll[dll] = by_dll.get(dll, 0) + 1
    print(f"every import is on the device: {len(found)} "
          f"({', '.join(f'{n} from {d}' for d, n in sorted(by_dll.items()))})")
    return 0


if __name__ == "__main__":
    if len(sys.argv) != 5:
        print(__doc__.strip(), file=sys.stderr)
        sys.exit(2)
    sys.exit(main(*sys.argv[1:]))
