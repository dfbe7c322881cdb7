#!/usr/bin/env python3
"""Turns clang's ARM assembly for an ELF target into the Windows CE (PE/COFF)
assembler's dialect.

    ce-asm.py IN.s OUT.s

clang writes ARM-mode code for the device only for an ELF triple. The code is
the same for both; the directives differ. Each directive clang emits is known
here and kept, mapped or dropped on purpose; anything else stops the build and
names the line, so that a new compiler's output is looked at before it runs on
a device.
"""
import re
import sys


class Refused(Exception):
    pass


# What means nothing to the CE assembler: unwinding tables (the program is
# built without exceptions), ELF symbol types and sizes, build attributes,
# the compiler's name, the linker's address-significance table.
DROPPED = {
    ".eabi_attribute", ".file", ".ident", ".type", ".size", ".fnstart", ".fnend",
    ".cantunwind", ".save", ".setfp", ".pad", ".addrsig", ".addrsig_sym",
}
# Kept as they are: data, alignment, symbols, the instruction set.
KEPT = {".long", ".short", ".byte", ".zero", ".p2align", ".globl", ".set", ".text", ".syntax",
        ".cpu"}
# ELF sections with no place in the image; the symbol directives after them
# (a constructor's alias) still count, but no code or data may follow.
DISCARDED_SECTIONS = {".note.GNU-stack", ".linker-options"}
# The device's CPU (ARMv4T, ARM mode): the assembler refuses what it lacks.
CPUS = {"arm7tdmi"}
# Directives kept as written, with the arguments the device allows and what a
# refusal says of any other.
KEPT_AS_THEY_ARE = {
    ".code": ({"32"}, ": the device runs ARM code only"),
    ".cpu": (CPUS, ": not the device's ARMv4T"),
    ".syntax": ({"unified"}, ""),
}

SECTION_PREFIXES = [  # ELF prefix, COFF section, flags
    (".text", ".text", "xr"),
    (".rodata", ".rdata", "dr"),
    (".data.rel.ro", ".rdata", "dr"),
    (".data", ".data", "dw"),
    (".bss", ".bss", "bw"),
]
LABEL = re.compile(r"^([A-Za-z_.$][\w.$]*):")
SET = re.compile(r"^\.set\s+([A-Za-z_.$][\w.$]*)\s*,")


def parse_section(args):
    """(name, flags, group) of an ELF .section's arguments."""
    fields = [f.strip() for f in re.findall(r'"[^"]*"|[^,]+', args)]
    name = fields[0].strip('"')
    flags = fields[1].strip('"') if len(fields) > 1 else ""
    group = None
    if "G" in flags:
        if len(fields) != 5 or fields[4] != "comdat":
            raise Refused("a section group other than comdat")
        group = fields[3]
    return name, flags, group


def map_section(args):
    """The COFF lines for an ELF .section; None when the section is dropped."""
    name, _flags, group = parse_section(args)
    if name in DISCARDED_SECTIONS:
        return None
    if name == ".ctors" and group is None:
        # The static constructors, which the start-up runs from the linker's list.
        return ['\t.section\t.ctors,"dw"']
    for prefix, coff, flags in SECTION_PREFIXES:
        if name == prefix or name.startswith(prefix + "."):
            if group is None:
                # The assembler's own sections keep their own flags.
                return [f"\t{coff}" if coff != ".rdata" else f'\t.section\t{coff},"{flags}"']
            # An inline function or variable: one copy in the image.
            return [f'\t.section\t{coff}${group},"{flags}"', "\t.linkonce\tdiscard"]
    raise Refused(f"section {name}")


def without_comment(line):
    """A line without its "@" comment (clang 19 notes a function's name after
    .code), "@" inside quotes kept."""
    quoted = False
    for i, char in enumerate(line):
        if char == '"':
            quoted = not quoted
        elif char == "@" and not quoted:
            return line[:i].rstrip()
    return line


def rewrite(lines):
    defined = {m.group(1) for line in lines if (m := LABEL.match(line))}
    defined |= {m.group(1) for line in lines if (m := SET.match(line.strip()))}
    out = []
    discarding = False
    for number, line in enumerate(lines, 1):
        try:
            stripped = line.strip()
            if not stripped or stripped.startswith("@"):
                continue
            if LABEL.match(stripped) or not stripped.startswith("."):
                if discarding:
                    raise Refused("code or data in a discarded section")
                out.append(line)
                continue
            directive, _, args = without_comment(stripped).replace("\t", " ").partition(" ")
            args = args.strip()
            if directive in DROPPED:
                continue
            if directive == ".section":
                mapped = map_section(args)
                discarding = mapped is None
                out.extend(mapped or [])
                continue
            if discarding and directive not in (".set", ".globl", ".text"):
                raise Refused(f"{directive} in a discarded section")
            if directive in KEPT_AS_THEY_ARE:
                allowed, why = KEPT_AS_THEY_ARE[directive]
                if args not in allowed:
                    raise Refused(f"{directive} {args}{why}")
                out.append(line)
            elif directive == ".weak":
                # A weak definition (an inline function's) is one COMDAT copy
                # already; a weak reference has no PE meaning the CE loader honours.
                if args not in defined:
                    raise Refused(f".weak reference to {args}, which this file does not define")
                out.append(f"\t.globl\t{args}")
            elif directive == ".long" and "(" in args:
                # A constructor's address: ARM EABI's relocation note, plain on PE.
                if not args.endswith("(target1)"):
                    raise Refused(f".long {args}: an ELF relocation")
                out.append(f"\t.long\t{args[: -len('(target1)')]}")
            elif directive in KEPT:
                if directive == ".text":
                    discarding = False
                out.append(line)
            else:
                raise Refused(f"directive {directive}")
        except Refused as refusal:
            raise Refused(f"line {number}: {refusal}: {line.strip()}") from None
    return out


def main(argv):
    if len(argv) != 3:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    with open(argv[1], encoding="utf-8") as f:
        lines = f.read().splitlines()
    try:
        out = rewrite(lines)
    except Refused as refusal:
        print(f"ce-asm: {argv[1]}: {refusal}", file=sys.stderr)
        return 1
    with open(argv[2], "w", encoding="utf-8") as f:
        f.write("\n".join(out) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
