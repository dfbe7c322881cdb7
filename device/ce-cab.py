#!/usr/bin/env python3
"""The package a Windows Mobile device installs: a cabinet of the setup file
(.000, written here), the setup DLL (.999) and the program (.001).

    ce-cab.py OUT.cab EXE SETUP_DLL

The program goes into \\Program Files\\ZemloBattery, a shortcut to it into the
Start menu's Programs and one into \\Windows\\StartUp, so that it starts with
the device; the installer writes both for the folder the user chose. gcab
packs the members uncompressed in the order the installer wants (.000 first,
then by descending number), each with the time of the commit built (or
SOURCE_DATE_EPOCH), which gcab itself ignores: two builds of a commit give
the same bytes.
"""
import os
import struct
import subprocess
import sys
import tempfile

APP, PROVIDER = "ZemloBattery", "tavrel"  # Remove Programs: "tavrel ZemloBattery"
ARM = 2577
MIN_VERSION = (5, 1)  # Windows Mobile 5
MAX_VERSION = (0, 0)  # none: Windows Mobile 6 reports 5.2
MAX_BUILD = 0xE000_0000  # the program handles square screens and turning
CE_PROGRAM_FILES, CE_STARTUP, CE_PROGRAMS = 1, 4, 11
# An upgrade replaces the file whatever its date; a file that cannot be
# written fails the install rather than being skipped.
FILE_FLAGS = 0x4000_0000 | 0x2
PROGRAM, SHORTCUT, MEMBER_NAME = "ZemloBattery.exe", "ZemloBattery.lnk", "ZemloBat"
PROGRAM_ID = 1


def text(value):
    """A string as the installer reads it: ASCII, NUL-terminated, padded with
    NULs to four bytes as the device's own tools write it."""
    data = value.encode("ascii") + b"\0"
    return data + b"\0" * (-len(data) % 4)


def ids(values):
    return struct.pack(f"<{len(values) + 1}H", *values, 0)


def setup_file():
    strings = {1: f"%CE{CE_PROGRAM_FILES}%", 2: APP, 3: SHORTCUT}
    install_dir = {1: [1, 2]}
    files = {PROGRAM_ID: (1, PROGRAM)}
    links = {1: (CE_PROGRAMS, PROGRAM_ID, [3]), 2: (CE_STARTUP, PROGRAM_ID, [3])}
    sections = [
        b"".join(struct.pack("<HH", i, len(text(s))) + text(s) for i, s in strings.items()),
        b"".join(struct.pack("<HH", i, 2 * len(d) + 2) + ids(d) for i, d in install_dir.items()),
        b"".join(struct.pack("<HHHIH", i, d, i, FILE_FLAGS, len(text(n))) + text(n)
                 for i, (d, n) in files.items()),
        b"", b"",  # no registry hives or values
        b"".join(struct.pack("<HHHHHH", i, 0, base, target, 1, 2 * len(n) + 2) + ids(n)
                 for i, (base, target, n) in links.items()),
    ]
    counts = [len(strings), len(install_dir), len(files), 0, 0, len(links)]
    app, provider = text(APP), text(PROVIDER)
    at = 100 + len(app) + len(provider)
    offsets = []
    for section in sections:
        offsets.append(at)
        at += len(section)
    header = struct.pack("<4s11I6H6I6H2H", b"MSCE", 0, at, 0, 1, ARM, *MIN_VERSION, *MAX_VERSION,
                         0, MAX_BUILD, *counts, *offsets, 100, len(app), 100 + len(app),
                         len(provider), 100 + len(app) + len(provider), 0, 0, 0)
    return header + app + provider + b"".join(sections)


def build_time(top):
    if "SOURCE_DATE_EPOCH" in os.environ:
        return int(os.environ["SOURCE_DATE_EPOCH"])
    commit = subprocess.run(["git", "-C", top, "log", "-1", "--format=%ct"],
                            capture_output=True, text=True)
    if commit.returncode != 0 or not commit.stdout.strip():
        sys.exit("ce-cab.py: no commit to date the package by; set SOURCE_DATE_EPOCH")
    return int(commit.stdout)


def main(out, exe, setup_dll):
    when = build_time(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    with tempfile.TemporaryDirectory() as staging:
        members = []
        for number, data in ((0, setup_file()), (999, open(setup_dll, "rb").read()),
                             (PROGRAM_ID, open(exe, "rb").read())):
            path = os.path.join(staging, f"{MEMBER_NAME}.{number:03d}")
            with open(path, "wb") as f:
                f.write(data)
            os.utime(path, (when, when))
            members.append(path)
        # gcab turns the times into the cabinet's local DOS times.
        subprocess.run(["gcab", "--create", "--nopath", out + ".new", *members], check=True,
                       env=dict(os.environ, TZ="UTC"))
    os.replace(out + ".new", out)


if __name__ == "__main__":
    if len(sys.argv) != 4:
        print(__doc__.strip(), file=sys.stderr)
        sys.exit(2)
    main(*sys.argv[1:])
