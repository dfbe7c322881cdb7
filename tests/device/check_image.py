#!/usr/bin/env python3
"""The device program's file is what a Windows Mobile 5/6 device loads, and its
code runs on every such CPU: ARM mode, ARMv4T instructions only. The same for
the package's setup DLL, which the device's installer loads: it exports the
installer's four entry points by name and can be loaded at any address.

    check_image.py OBJDUMP EXE_OR_DLL MAP

The code is .text, up to the constructor list where the linker put it there;
the words that pc-relative loads read (literal pools) and the switches' jump
tables are data. Every other word must be an ARMv4T instruction: no BLX,
nothing of the unconditional space of ARMv5 and later, no arithmetic into pc.
Thumb-2 code read as ARM mostly falls there; not always (a pair can read as a
valid ARM instruction), so the assembly rewrite's refusal of Thumb (.code 16)
and the assembler's ARMv4T target (-mcpu=arm7tdmi) stand before this.
"""
import re
import subprocess
import sys

import pefile

CONDITIONS = "eq|ne|cs|hs|cc|lo|mi|pl|vs|vc|hi|ls|ge|lt|gt|le|al"
ARMV4T = re.compile(
    r"^(?:(?:and|eor|sub|rsb|add|adc|sbc|rsc|orr|mov|bic|mvn|lsl|lsr|asr|ror|rrx|mul|mla|"
    r"umull|umlal|smull|smlal)s?|tst|teq|cmp|cmn|b|bl|bx|ldr|str|ldrb|strb|ldrh|strh|ldrsb|ldrsh|"
    r"ldrt|strt|ldrbt|strbt|(?:ldm|stm)(?:ia|ib|da|db)?|push|pop|swpb?|mrs|msr|svc|nop)"
    rf"(?:{CONDITIONS})?$")

# clang returns with bx and jumps through ldr pc for ARMv4T: arithmetic into pc
# is a Thumb-2 pair read as ARM (movw's f240 0001 is "andeq pc, r1, r0, asr #4").
DATA_PROCESSING = re.compile(r"^(?:and|eor|sub|rsb|add|adc|sbc|rsc|orr|mov|bic|mvn|lsl|lsr|asr|"
                             r"ror|rrx|mul|mla)")


def fail(what):
    print(f"FAILED: {what}", file=sys.stderr)
    sys.exit(1)


def main(objdump, exe, map_file):
    pe = pefile.PE(exe)
    header, optional = pe.FILE_HEADER, pe.OPTIONAL_HEADER
    found = {"machine": header.Machine, "magic": optional.Magic, "subsystem": optional.Subsystem,
             "subsystem version": (optional.MajorSubsystemVersion,
                                   optional.MinorSubsystemVersion),
             "OS version": (optional.MajorOperatingSystemVersion,
                            optional.MinorOperatingSystemVersion),
             "image base": optional.ImageBase}
    dll = bool(header.Characteristics & 0x2000)  # IMAGE_FILE_DLL
    wanted = {"machine": 0x1C0, "magic": 0x10B, "subsystem": 9, "subsystem version": (5, 1),
              "OS version": (5, 1), "image base": 0x1000_0000 if dll else 0x10000}
    if dll:
        found["exports"] = sorted(e.name.decode() for e in pe.DIRECTORY_ENTRY_EXPORT.symbols
                                  if e.name) if hasattr(pe, "DIRECTORY_ENTRY_EXPORT") else []
        wanted["exports"] = sorted(["Install_Init", "Install_Exit", "Uninstall_Init",
                                    "Uninstall_Exit"])
        found["relocated"] = sum(len(b.entries) for b in getattr(pe, "DIRECTORY_ENTRY_BASERELOC",
                                                                 [])) > 0
        wanted["relocated"] = True
    for field, value in wanted.items():
        if found[field] != value:
            fail(f"{field} {found[field]!r}, not {value!r}")

    text = next(s for s in pe.sections if s.Name.rstrip(b"\0") == b".text")
    start = optional.ImageBase + text.VirtualAddress
    ctors = re.search(r"^\s+0x([0-9a-f]+)\s+__CTOR_LIST__ = \.", open(map_file).read(), re.M)
    # ld 2.40 puts the list at the end of .text, 2.44 into .rdata.
    stop = min(int(ctors.group(1), 16) if ctors else fail("the map has no constructor list"),
               start + text.Misc_VirtualSize)
    listing = subprocess.run([objdump, "-d", "-z", f"--start-address={start:#x}",
                              f"--stop-address={stop:#x}", exe],
                             check=True, capture_output=True, text=True).stdout
    words = re.findall(r"^\s*([0-9a-f]+):\t([0-9a-f]{8}) \t([a-z][a-z0-9.]*)?\t?([^@\n]*)"
                       r"(?:@ 0x([0-9a-f]+))?", listing, re.M)
    if len(words) * 4 < stop - start:
        fail(f"{len(words)} words disassembled of {(stop - start) // 4}")
    literals = {int(target, 16) for _, _, mnemonic, _, target in words
                if target and mnemonic.startswith("ldr")}
    # A switch's jump table: "cmp rI, #N; ...; add rT, pc, #K; ldr pc, [rT, rI, lsl #2]"
    # with N + 1 addresses after it.
    for i, (address, _, mnemonic, operands, _) in enumerate(words):
        jump = re.match(r"pc, \[(r\d+), (r\d+), lsl #2\]", operands.strip())
        if mnemonic != "ldr" or not jump or i < 1:
            continue
        table = re.match(rf"{jump.group(1)}, pc, #(\d+)", words[i - 1][3].strip())
        bound = next((int(m.group(1)) for w in reversed(words[max(0, i - 8):i])
                      if w[2] == "cmp" and (m := re.match(rf"{jump.group(2)}, #(\d+)", w[3]))),
                     None)
        if words[i - 1][2] != "add" or not table or bound is None:
            fail(f"{address}: a jump through a table of unknown size")
        first = int(words[i - 1][0], 16) + 8 + int(table.group(1))
        literals |= {first + 4 * n for n in range(bound + 1)}
    bad = [(int(address, 16), word, mnemonic) for address, word, mnemonic, operands, _ in words
           if int(address, 16) not in literals and
           (word.startswith("f") or not ARMV4T.match(mnemonic) or
            (DATA_PROCESSING.match(mnemonic) and operands.startswith("pc,")))]
    for address, word, mnemonic in bad[:20]:
        print(f"{address:#x}: {word} {mnemonic}: not ARMv4T", file=sys.stderr)
    if bad:
        fail(f"{len(bad)} words of the code are no ARMv4T instructions")
    kind = f"DLL at {optional.ImageBase:#x}, relocatable, exporting " \
        f"{', '.join(found['exports'])}" if dll else "at 0x10000"
    print(f"{exe}: ARM PE32 for CE 5.01 {kind}; {len(words) - len(literals)} ARMv4T "
          f"instructions, {len(literals)} literal words")


if __name__ == "__main__":
    if len(sys.argv) != 4:
        print(__doc__.strip(), file=sys.stderr)
        sys.exit(2)
    main(*sys.argv[1:])
