#!/usr/bin/env python3
"""The simulated CE machine the device checks run the program on: the image
mapped at its base as its sections say, on an emulated ARM CPU (unicorn, an
XScale PXA270 as in Windows Mobile devices), each import's address slot
pointing at a "bx lr" of its own. A call into the program's code runs to its
return; an import it calls is answered by the method of the machine's
subclass named as the import (a world of stubs), with the arguments as the
device's calling convention passes them.
"""
import re
import struct
import sys

import pefile
from unicorn import UC_ARCH_ARM, UC_HOOK_BLOCK, UC_HOOK_CODE, UC_MODE_ARM, Uc
from unicorn.arm_const import (UC_ARM_REG_LR, UC_ARM_REG_PC, UC_ARM_REG_R0, UC_ARM_REG_R1,
                               UC_ARM_REG_R2, UC_ARM_REG_R3, UC_ARM_REG_SP, UC_CPU_ARM_PXA270)

STUBS, RETURNS, STACK_TOP, HEAP = 0x0100_0000, 0x0110_0000, 0x0080_0000, 0x0200_0000
REGS = [UC_ARM_REG_R0, UC_ARM_REG_R1, UC_ARM_REG_R2, UC_ARM_REG_R3]


class Failure(Exception):
    pass


def check(condition, what):
    if not condition:
        raise Failure(what)


class Device:
    def __init__(self, exe, map_file):
        pe = pefile.PE(exe)
        self.uc = uc = Uc(UC_ARCH_ARM, UC_MODE_ARM)
        uc.ctl_set_cpu_model(UC_CPU_ARM_PXA270)
        base = pe.OPTIONAL_HEADER.ImageBase
        uc.mem_map(base, (pe.OPTIONAL_HEADER.SizeOfImage + 0xFFF) & ~0xFFF)
        uc.mem_write(base, pe.header)
        for section in pe.sections:
            uc.mem_write(base + section.VirtualAddress, section.get_data())
        # The static control's own procedure stays unmapped: only CallWindowProcW may use it.
        for start, size in ((STUBS, 0x10_0000), (RETURNS, 0x1000), (STACK_TOP - 0x4_0000, 0x4_0000),
                            (HEAP, 0x10_0000)):
            uc.mem_map(start, size)
        self.heap = HEAP
        # Each import: a "bx lr" of its own that the code hook stops at.
        self.imports = []
        for dll in pe.DIRECTORY_ENTRY_IMPORT:
            for entry in dll.imports:
                name = entry.name.decode() if entry.name else f"{dll.dll.decode()}#{entry.ordinal}"
                stub = STUBS + 4 * len(self.imports)
                uc.mem_write(stub, struct.pack("<I", 0xE12FFF1E))
                uc.mem_write(entry.address, struct.pack("<I", stub))
                self.imports.append(name)
        self.entry = base + pe.OPTIONAL_HEADER.AddressOfEntryPoint
        sections = re.findall(r"^ \.text\s+0x([0-9a-f]+)\s+0x([0-9a-f]+) \S+/obj/\S+\.o$",
                              open(map_file).read(), re.M)
        self.own_code = [(int(a, 16), int(a, 16) + int(n, 16)) for a, n in sections]
        check(self.own_code, "the map names none of the program's objects")
        self.counts, self.phase = {}, None
        uc.hook_add(UC_HOOK_CODE, self.on_stub, begin=STUBS, end=STUBS + 0xF_FFFF)
        uc.hook_add(UC_HOOK_BLOCK, self.on_block)
        self.pending, self.depth, self.exit_code = None, 0, None
        self.calls = []

    # --- the CPU ------------------------------------------------------------
    def on_stub(self, uc, address, size, data):
        self.pending = (address - STUBS) // 4
        uc.emu_stop()

    def on_block(self, uc, address, size, data):
        if self.phase and any(lo <= address < hi for lo, hi in self.own_code):
            self.counts[self.phase] = self.counts.get(self.phase, 0) + size // 4

    def reg(self, r):
        return self.uc.reg_read(r)

    def call(self, function, *args):
        """Runs emulated code from function with args to its return; stubs it
        calls are answered on the way. The result is r0."""
        uc = self.uc
        saved = [uc.reg_read(r) for r in REGS + [UC_ARM_REG_SP, UC_ARM_REG_LR, UC_ARM_REG_PC]]
        sp = (saved[4] if self.depth else STACK_TOP) - 64
        extra = args[4:]
        sp -= 4 * len(extra)
        for i, value in enumerate(extra):
            self.put32(sp + 4 * i, value)
        back = RETURNS + 4 * self.depth
        for r, value in zip(REGS, args):
            uc.reg_write(r, value)
        uc.reg_write(UC_ARM_REG_SP, sp)
        uc.reg_write(UC_ARM_REG_LR, back)
        self.depth += 1
        pc = function
        while self.exit_code is None:
            self.pending = None
            uc.emu_start(pc, back)
            if self.pending is None:
                check(uc.reg_read(UC_ARM_REG_PC) == back, "the emulation stopped outside a stub")
                break
            pc = uc.reg_read(UC_ARM_REG_LR)
            self.answer(self.imports[self.pending])
        self.depth -= 1
        result = uc.reg_read(UC_ARM_REG_R0)
        self.results = [uc.reg_read(r) for r in REGS]
        for r, value in zip(REGS + [UC_ARM_REG_SP, UC_ARM_REG_LR, UC_ARM_REG_PC], saved):
            uc.reg_write(r, value)
        return result

    def answer(self, name):
        handler = getattr(self, name.replace("#", "_"), None)
        check(handler is not None, f"{name} was called: the start-up path has no stub for it")
        sp = self.reg(UC_ARM_REG_SP)
        args = [self.reg(r) for r in REGS] + list(struct.unpack("<8I", self.uc.mem_read(sp, 32)))
        self.calls.append((name, args))
        result = handler(args)
        # A 64-bit or double result in r0:r1.
        for r, value in zip(REGS, result if isinstance(result, tuple) else (result or 0,)):
            self.uc.reg_write(r, value & 0xFFFF_FFFF)

    # --- memory ---------------------------------------------------------------
    def get32(self, address):
        return struct.unpack("<I", self.uc.mem_read(address, 4))[0]

    def put32(self, address, *values):
        self.uc.mem_write(address, struct.pack(f"<{len(values)}I", *values))

    def text(self, address):
        out = bytearray()
        while (unit := self.uc.mem_read(address + len(out), 2)) != b"\0\0":
            out += unit
            check(len(out) < 2048, f"no string's end within 1024 units at {address:#x}")
        return out.decode("utf-16-le")

    def put_text(self, address, text):
        self.uc.mem_write(address, (text + "\0").encode("utf-16-le"))

    def alloc(self, size):
        address, self.heap = self.heap, (self.heap + size + 7) & ~7
        return address


def run_check(main, arguments, doc):
    """A check's command line: main with its arguments, or its usage; a
    Failure is printed and ends it with exit code 1."""
    if len(sys.argv) != arguments + 1:
        print(doc.strip(), file=sys.stderr)
        sys.exit(2)
    try:
        main(*sys.argv[1:])
    except Failure as failure:
        print(f"FAILED: {failure}", file=sys.stderr)
        sys.exit(1)
