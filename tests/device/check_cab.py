#!/usr/bin/env python3
"""The package a device installs, read as its installer would, without one.

    check_cab.py CAB EXE SETUP_DLL

cabextract -t must pass it. Then this reads the cabinet's own headers and its
setup file (.000) field by field, and says what is wrong:
- the members: 8.3 names with unique numbers, .000 first, the rest by
  descending number; the program and the setup DLL are the files built;
- the setup file: "MSCE", its size field its size, every offset and length
  inside it; the header, the names and the six sections cover it without a
  gap or an overlap, each section exactly its count of entries; the names
  NUL-terminated, the app name one Remove Programs takes; every id referred
  to exists, every id list ends in 0; files and members one to one (.999
  aside); link bases at most 17, a link's target exists;
- what it installs, as intended: the architecture, the versions and the
  maximum build; each file's and shortcut's place on a Pocket PC, and each
  shortcut's text as the installer writes it ("N#command", N its length).
"""
import os
import re
import struct
import subprocess
import sys
import tempfile

# What the package is meant to be.
INTENDED = {"architecture": 2577, "minimum version": (5, 1), "maximum version": (0, 0),
            "minimum build": 0, "maximum build": 0xE000_0000, "app name": "ZemloBattery",
            "provider": "tavrel"}
PROGRAM = r"\Program Files\ZemloBattery\ZemloBattery.exe"
SHORTCUT = r'46#"\Program Files\ZemloBattery\ZemloBattery.exe"'
assert int(SHORTCUT.split("#")[0]) == len(SHORTCUT.split("#", 1)[1]), "N counts the command"
INTENDED_FILES = {PROGRAM: "the program"}
INTENDED_LINKS = {r"\Windows\Start Menu\Programs\ZemloBattery.lnk": SHORTCUT,
                  r"\Windows\StartUp\ZemloBattery.lnk": SHORTCUT}
# %CEn% on a Pocket PC (Windows Mobile 5 and 6); others are not used here.
CE_FOLDERS = {1: r"\Program Files", 2: r"\Windows", 4: r"\Windows\StartUp",
              5: r"\My Documents", 11: r"\Windows\Start Menu\Programs",
              17: r"\Windows\Start Menu"}
SECTIONS = ["strings", "dirs", "files", "reg hives", "reg keys", "links"]


class Broken(Exception):
    pass


def members(cab):
    """(name, size) of each member, in the order the cabinet stores them."""
    if len(cab) < 36 or cab[:4] != b"MSCF":
        raise Broken("not a cabinet (no MSCF)")
    size, files_at = struct.unpack_from("<I4xI", cab, 8)
    count, flags = struct.unpack_from("<HH", cab, 28)
    if size != len(cab):
        raise Broken(f"the cabinet's size field says {size} bytes; it has {len(cab)}")
    if flags & 4:
        raise Broken("a cabinet with reserved fields: not what gcab writes")
    found, at = [], files_at
    for _ in range(count):
        length = struct.unpack_from("<I", cab, at)[0]
        end = cab.index(b"\0", at + 16)
        found.append((cab[at + 16:end].decode("ascii"), length))
        at = end + 1
    return found


def text(data, at, length, what):
    """A NUL-terminated ASCII string of the given length (NUL padding allowed)."""
    raw = data[at:at + length]
    if length < 1 or len(raw) < length or b"\0" not in raw:
        raise Broken(f"{what}: no NUL within its {length} bytes")
    value, padding = raw.split(b"\0", 1)
    if padding.strip(b"\0"):
        raise Broken(f"{what}: bytes after its NUL within its length ({length})")
    return value.decode("ascii")


def id_list(data, at, length, what):
    if length < 2 or length % 2:
        raise Broken(f"{what}: an id list of {length} bytes")
    values = struct.unpack_from(f"<{length // 2}H", data, at)
    if values[-1] != 0 or 0 in values[:-1]:
        raise Broken(f"{what}: its id list {list(values)} does not end in its only 0")
    return list(values[:-1])


def parse_setup(data):
    """The setup file's header fields and entries; raises Broken at the first
    fault of structure."""
    if len(data) < 100 or data[:4] != b"MSCE":
        raise Broken("the setup file does not start with MSCE")
    (_, zero1, size, zero2, one, arch, min_major, min_minor, max_major, max_minor, min_build,
     max_build) = struct.unpack_from("<4s11I", data)
    counts = struct.unpack_from("<6H", data, 48)
    offsets = struct.unpack_from("<6I", data, 60)
    names = struct.unpack_from("<8H", data, 84)
    if size != len(data):
        raise Broken(f"the setup file's size field says {size} bytes; it has {len(data)}")
    if (zero1, zero2, one, names[6], names[7]) != (0, 0, 1, 0, 0):
        raise Broken("the setup file's fixed fields are not 0, 0, 1 and 0, 0")
    regions = [(0, 100, "the header")]
    for i, what in enumerate(["app name", "provider", "unsupported list"]):
        at, length = names[2 * i], names[2 * i + 1]
        if at + length > size:
            raise Broken(f"the {what} ({length} bytes at {at}) runs past the end ({size})")
        if length:
            regions.append((at, at + length, f"the {what}"))
    setup = {"architecture": arch, "minimum version": (min_major, min_minor),
             "maximum version": (max_major, max_minor), "minimum build": min_build,
             "maximum build": max_build,
             "app name": text(data, names[0], names[1], "the app name"),
             "provider": text(data, names[2], names[3], "the provider")}
    for section, count, at in zip(SECTIONS, counts, offsets):
        entries, start = {}, at
        for n in range(count):
            what = f"{section} entry {n + 1} of {count} (at {at})"
            fixed = {"strings": "<HH", "dirs": "<HH", "files": "<HHHIH", "reg hives": "<HHHH",
                     "reg keys": "<HHHIH", "links": "<HHHHHH"}[section]
            if at + struct.calcsize(fixed) > size:
                raise Broken(f"{what} runs past the end of the setup file ({size})")
            fields = struct.unpack_from(fixed, data, at)
            at += struct.calcsize(fixed)
            length = fields[-1]
            if at + length > size:
                raise Broken(f"{what}: its {length} bytes run past the end ({size})")
            if section == "strings":
                value = text(data, at, length, what)
            elif section in ("dirs", "reg hives", "links"):
                value = fields[1:-1] + (id_list(data, at, length, what),)
            elif section == "files":
                value = fields[1:-1] + (text(data, at, length, what),)
            else:
                value = fields[1:-1] + (bytes(data[at:at + length]),)
            if fields[0] in entries:
                raise Broken(f"{what}: id {fields[0]} twice")
            entries[fields[0]] = value
            at += length
        setup[section] = entries
        if at > start:
            regions.append((start, at, f"the {section} section ({count} entries)"))
        elif not 0 <= start <= size:
            raise Broken(f"the empty {section} section's offset {start} is outside the file")
    regions.sort()
    covered = 0
    for start, end, what in regions:
        if start < covered:
            raise Broken(f"{what} starts at {start}, inside what ends at {covered}")
        if start > covered:
            raise Broken(f"bytes {covered} to {start} belong to nothing: a count or a length "
                         f"is wrong before {what}")
        covered = end
    if covered != size:
        raise Broken(f"bytes {covered} to {size} belong to nothing: a count or a length is "
                     f"wrong at the end")
    return setup


def folder(spec, strings, what):
    parts = [strings[i] for i in spec]
    if m := re.fullmatch(r"%CE(\d+)%", parts[0] if parts else ""):
        if int(m.group(1)) not in CE_FOLDERS:
            raise Broken(f"{what}: %CE{m.group(1)}% is no Pocket PC folder known here")
        parts[0] = CE_FOLDERS[int(m.group(1))]
    elif parts and not parts[0].startswith("\\"):
        parts[0] = "%InstallDir%\\" + parts[0]
    return "\\".join(parts)


def check_setup(setup, numbers):
    """What the setup file installs against what is intended and the members."""
    problems = []
    for field, value in INTENDED.items():
        if setup[field] != value:
            problems.append(f"{field} {setup[field]!r}, not {value!r}")
    app = setup["app name"]
    if len(app) > 40 or re.search(r'[/:*?"<>|&]', app):
        problems.append(f"app name {app!r}: Remove Programs takes at most 40 characters, "
                        "none of /:*?\"<>|&")
    strings, dirs = setup["strings"], setup["dirs"]

    def string_ids(ids, what):
        missing = [i for i in ids if i not in strings]
        if missing:
            raise Broken(f"{what} names strings {missing}, which the setup file lacks")

    for i, (spec,) in dirs.items():
        string_ids(spec, f"dir {i}")
    for i, (root, _, spec) in setup["reg hives"].items():
        string_ids(spec, f"reg hive {i}")
        if root not in (1, 2, 3, 4):
            problems.append(f"reg hive {i}: root {root}, none of HKCR, HKCU, HKLM, HKU (1-4)")
    for i, (hive, *_rest) in setup["reg keys"].items():
        if hive not in setup["reg hives"]:
            problems.append(f"reg key {i} is in hive {hive}, which the setup file lacks")
    files = {}
    for i, (dir_id, same, flags, name) in setup["files"].items():
        if dir_id not in dirs:
            raise Broken(f"file {i} ({name}) goes into dir {dir_id}, which the setup file lacks")
        if same != i:
            problems.append(f"file {i} ({name}): its second id is {same}")
        files[i] = folder(dirs[dir_id][0], strings, f"dir {dir_id}") + "\\" + name
    installed = set(files) | {0, 999}
    for number in sorted(set(numbers) - installed):
        problems.append(f"member .{number:03d} is installed by no file of the setup file")
    for i in sorted(set(files) - set(numbers)):
        problems.append(f"file {i} ({files[i]}) has no member .{i:03d} in the cabinet")
    links = {}
    for i, (_, base, target, kind, spec) in setup["links"].items():
        string_ids(spec, f"link {i}")
        if base > 17:
            problems.append(f"link {i}: base %CE{base}% is past %CE17%")
            continue
        place = (CE_FOLDERS.get(base, f"%CE{base}%") if base else "%InstallDir%") + "\\" + \
            "\\".join(strings[s] for s in spec)
        if kind == 1:
            if target not in files:
                problems.append(f"link {i} ({place}) points at file {target}, which the "
                                "package does not install")
                continue
            path = files[target]
        elif kind == 0:
            if target and target not in dirs:
                problems.append(f"link {i} ({place}) points at dir {target}, which the "
                                "setup file lacks")
                continue
            path = folder(dirs[target][0], strings, f"dir {target}") if target else \
                "%InstallDir%"
        else:
            problems.append(f"link {i} ({place}): type {kind}, neither file (1) nor dir (0)")
            continue
        command = f'"{path}"' if " " in path else path
        links[place] = f"{len(command)}#{command}"
    for place, shortcut in links.items():
        command = shortcut.split("#", 1)[1]
        if len(command) > 256:
            problems.append(f"shortcut {place}: its target has {len(command)} characters; "
                            "a shortcut holds 256")
    if sorted(files.values()) != sorted(INTENDED_FILES):
        problems.append(f"installs {sorted(files.values())}, not {sorted(INTENDED_FILES)}")
    if links != INTENDED_LINKS:
        problems.append(f"shortcuts {links}, not {INTENDED_LINKS}")
    return problems, files


def check(cab_path, exe, setup_dll):
    """Every problem found, as a sentence; none for a good package."""
    test = subprocess.run(["cabextract", "-t", cab_path], capture_output=True, text=True)
    if test.returncode != 0:
        return [f"cabextract -t fails: {(test.stdout + test.stderr).strip()}"]
    try:
        return check_members(cab_path, open(cab_path, "rb").read(), exe, setup_dll)
    except Broken as broken:
        return [str(broken)]


def check_members(cab_path, cab, exe, setup_dll):
    problems = []
    found = members(cab)
    names = [name for name, _ in found]
    numbers = []
    for name in names:
        if not re.fullmatch(r"[A-Za-z0-9_~$!#%&'()@^`{}-]{1,8}\.\d{3}", name):
            problems.append(f"member {name}: not an 8.3 name with a 3-digit number")
        else:
            numbers.append(int(name[-3:]))
    if len(set(numbers)) != len(numbers):
        problems.append(f"member numbers repeat: {names}")
    if numbers and numbers[0] != 0:
        problems.append(f"the first member is {names[0]}, not the setup file .000")
    rest = numbers[1:] if numbers[:1] == [0] else numbers
    if rest != sorted(rest, reverse=True):
        problems.append(f"members out of order: {names}; after .000 the installer wants them "
                        "by descending number")
    with tempfile.TemporaryDirectory() as out:
        subprocess.run(["cabextract", "-q", "-d", out, cab_path], check=True)
        data = {int(n[-3:]): open(os.path.join(out, n), "rb").read() for n in os.listdir(out)
                if re.fullmatch(r".*\.\d{3}", n)}
    if 0 not in data:
        return problems + ["no setup file (.000)"]
    try:
        found_problems, files = check_setup(parse_setup(data[0]), numbers)
        problems += found_problems
    except Broken as broken:
        return problems + [str(broken)]
    program = next((i for i, path in files.items() if path == PROGRAM), None)
    for number, built, what in ((program, exe, "the program"), (999, setup_dll, "the setup DLL")):
        if number in data and data[number] != open(built, "rb").read():
            problems.append(f"member .{number:03d} is not {what} as built ({built})")
        elif number not in data:
            problems.append(f"no member holds {what}")
    return problems


def main(cab, exe, setup_dll):
    problems = check(cab, exe, setup_dll)
    for problem in problems:
        print(f"FAILED: {problem}", file=sys.stderr)
    if problems:
        return 1
    listing = ", ".join(f"{n} ({s} bytes)" for n, s in members(open(cab, "rb").read()))
    print(f"{cab}: {os.path.getsize(cab)} bytes; {listing}; installs {PROGRAM} with shortcuts "
          f"in {' and '.join(INTENDED_LINKS)}")
    return 0


if __name__ == "__main__":
    if len(sys.argv) != 4:
        print(__doc__.strip(), file=sys.stderr)
        sys.exit(2)
    sys.exit(main(*sys.argv[1:]))
