#!/usr/bin/env python3
"""The package reader (check_cab.py) says what is wrong with a package broken
on purpose: each row repacks the built package's members with one fault.

    test_check_cab.py CAB EXE SETUP_DLL
"""
import os
import struct
import subprocess
import sys
import tempfile

from check_cab import check


def u16(at, delta):
    return lambda data: data[:at] + struct.pack("<H", struct.unpack_from("<H", data, at)[0] +
                                                delta) + data[at + 2:]


def u32(at, delta):
    return lambda data: data[:at] + struct.pack("<I", struct.unpack_from("<I", data, at)[0] +
                                                delta) + data[at + 4:]


def in_section(field, at, delta):
    """A u16 at `at` in the first entry of the section whose offset is at `field`."""
    return lambda data: u16(struct.unpack_from("<I", data, field)[0] + at, delta)(data)


# What is broken, the members' order, a change of the setup file (or, without
# an order, of the built cabinet itself), what the reader must say.
CASES = [
    ("the cabinet's size field one off", None, u32(8, 1), "the cabinet's size field says"),
    ("a member out of order", [0, 1, 999], None, "members out of order"),
    ("a shortcut to a missing file", [0, 999, 1], in_section(80, 6, 1),
     "points at file 2, which the package does not install"),
    ("the setup file's size field one off", [0, 999, 1], u32(8, 1),
     "the setup file's size field says"),
    ("a string's length one off", [0, 999, 1], in_section(60, 2, 1),
     "strings entry 1 of 3"),
    ("a count one off", [0, 999, 1], u16(48, -1), "belong to nothing"),
    ("the program's member missing", [0, 999], None, "file 1 (\\Program Files\\ZemloBattery"
     "\\ZemloBattery.exe) has no member .001"),
    ("an architecture other than ARM", [0, 999, 1], u32(20, 1), "architecture 2578, not 2577"),
]


def main(cab, exe, setup_dll):
    failed = 0
    with tempfile.TemporaryDirectory() as work:
        subprocess.run(["cabextract", "-q", "-d", work, cab], check=True)
        members = {int(n[-3:]): os.path.join(work, n) for n in os.listdir(work)}
        good = open(members[0], "rb").read()
        for what, order, change, expected in CASES:
            broken = os.path.join(work, "broken")
            os.makedirs(broken, exist_ok=True)
            package = os.path.join(work, "broken.cab")
            paths = []
            if order is None:
                with open(package, "wb") as f:
                    f.write(change(open(cab, "rb").read()))
            for number in order or []:
                path = os.path.join(broken, os.path.basename(members[number]))
                data = open(members[number], "rb").read()
                with open(path, "wb") as f:
                    f.write(change(good) if number == 0 and change else data)
                paths.append(path)
            if paths:
                subprocess.run(["gcab", "-c", "-n", package, *paths], check=True)
            said = check(package, exe, setup_dll)
            if not any(expected in problem for problem in said):
                print(f"FAILED: {what}: the reader said {said}, not {expected!r}",
                      file=sys.stderr)
                failed += 1
            else:
                print(f"{what}: {'; '.join(said)}")
            for path in paths:
                os.remove(path)
    return 1 if failed else 0


if __name__ == "__main__":
    if len(sys.argv) != 4:
        print(__doc__.strip(), file=sys.stderr)
        sys.exit(2)
    sys.exit(main(*sys.argv[1:]))
