#!/usr/bin/env python3
"""The records a source of the device program uses, checked for members whose
place the device's compiler decides otherwise than clang does here.

CE's ARM compiler aligns a 64-bit integer or a double at 8 bytes; clang's
apcs-gnu, which the device build uses for CE's calling convention, at 4. A
record with such a member is laid out differently by the two, silently: this
compares clang's layouts (-Xclang -fdump-record-layouts) of the same source
under apcs-gnu and under aapcs, which places those members as CE does, for
every record the source's code uses (the named types of its LLVM IR at -O0),
and refuses each that differs unless the platform header states its layout
(ZB_CE_SIZE, whose static_asserts then hold under both).

    record-layouts.py SOURCE LAYOUT CE_LAYOUT CE_IR PLATFORM_H OUT

LAYOUT and CE_LAYOUT are the dumps under apcs-gnu and aapcs, CE_IR the IR of
the aapcs pass; OUT gets the records used, one a line, when all is well.
"""
import re
import sys

IR_TYPE = re.compile(r'^%"?(struct|union|class)\.([^"= ]+?)(\.\d+)?"? = type ', re.M)
STATED = re.compile(r'^ZB_CE_SIZE\((\w+),', re.M)


def layouts(path):
    """Record name ("struct tagRECT") to its dumped layout."""
    with open(path, encoding="utf-8", errors="replace") as f:
        text = f.read()
    records = {}
    for block in text.split("*** Dumping AST Record Layout")[1:]:
        lines = [line.rstrip() for line in block.strip("\n").splitlines()]
        kept = []
        for line in lines:
            if "|" not in line:
                break
            kept.append(line)
        if kept:
            name = kept[0].split("|", 1)[1].strip()
            records[name] = "\n".join(kept)
    return records


def used(ir_path):
    """The records the code uses: (kind, name) of each named IR type."""
    with open(ir_path, encoding="utf-8", errors="replace") as f:
        text = f.read()
    found = set()
    for kind, name, _ in IR_TYPE.findall(text):
        if name == "anon" or name.startswith("anon."):
            continue  # a member of a named record, compared with it
        found.add((kind, name.replace("std::__1::", "std::")))
    return found


def matching(records, kind, name):
    """The dumped records of an IR type: a template's are all its instances."""
    exact = f"{kind} {name}"
    if exact in records:
        return [exact]
    return [r for r in records if r.startswith(exact + "<")]


def plain(name):
    for prefix in ("tag", "_"):
        if name.startswith(prefix) and len(name) > len(prefix):
            return name[len(prefix):]
    return name


def main(source, layout, ce_layout, ce_ir, platform_h, out):
    here, ce = layouts(layout), layouts(ce_layout)
    with open(platform_h, encoding="utf-8") as f:
        stated = set(STATED.findall(f.read()))
    problems, names = [], []
    for kind, name in sorted(used(ce_ir)):
        for record in matching(here, kind, name):
            names.append(record)
            if record not in ce or ce[record] == here[record]:
                continue
            bare = record.split(" ", 1)[1]
            if plain(bare) in stated or bare in stated:
                continue
            problems.append(
                f"{source}: {record}: a 64-bit or double member, which the device's compiler "
                f"places at 8 bytes and this one at 4; leave the member out, or lay the record "
                f"out alike for both and state it (ZB_CE_SIZE and ZB_CE_AT in {platform_h})\n"
                f"  here:\n{here[record]}\n  on the device:\n{ce[record]}")
    if problems:
        print("\n".join(problems), file=sys.stderr)
        return 1
    with open(out, "w", encoding="utf-8") as f:
        f.write("".join(n + "\n" for n in names))
    return 0


if __name__ == "__main__":
    if len(sys.argv) != 7:
        sys.exit(__doc__)
    sys.exit(main(*sys.argv[1:]))
