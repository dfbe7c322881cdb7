#!/usr/bin/env python3
"""The runner's ARM CPU (runner/arm_cpu.cpp) against unicorn's, one random
instruction at a time: every class of instruction the device program uses,
operands biased to the edges (shifts by 0, 1, 31, 32, 33; carries in and
out; sign bits), compared in r0-r15, the flags and the whole memory.

    arm_cpu_check.py RUNNER_DIR [COUNT] [SEED]

Builds the CPU for this host with its C++ compiler and loads it by ctypes.
Encodings are generated as compilers write them: should-be-zero fields zero,
no register both base and written back, aligned addresses.
"""
import ctypes
import os
import random
import shutil
import subprocess
import sys
import tempfile

from unicorn import UC_ARCH_ARM, UC_MODE_ARM, Uc, UcError
from unicorn.arm_const import UC_ARM_REG_CPSR, UC_ARM_REG_R0, UC_CPU_ARM_PXA270, UC_ARM_REG_PC

BASE, SIZE = 0x10000, 0x4000
CODE, DATA = BASE, BASE + 0x100  # the instruction, then its data
REGS = [UC_ARM_REG_R0 + i for i in range(13)] + [
    getattr(__import__("unicorn.arm_const", fromlist=["x"]), f"UC_ARM_REG_{n}")
    for n in ("SP", "LR", "PC")]
EDGES = [0, 1, 2, 0x7FFF_FFFF, 0x8000_0000, 0x8000_0001, 0xFFFF_FFFF, 0xFFFF_FFFE, 0x7F, 0x80,
         0xFF, 0x100, 0xFFFF, 0x1_0000]
SHIFTS = [0, 1, 2, 31, 32, 33, 63, 255, 256]


def value(rng):
    return rng.choice(EDGES) if rng.random() < 0.5 else rng.getrandbits(32)


def build(runner_dir, out):
    compiler = next(filter(None, map(shutil.which, ("g++", "clang++", "c++"))), None)
    if not compiler:
        raise SystemExit("no C++ compiler for this host")
    here = os.path.dirname(os.path.abspath(__file__))
    subprocess.run([compiler, "-std=c++20", "-O1", "-shared", "-fPIC", f"-I{runner_dir}",
                    os.path.join(runner_dir, "arm_cpu.cpp"), os.path.join(here, "arm_cpu_shim.cpp"),
                    "-o", out], check=True)
    library = ctypes.CDLL(out)
    library.zb_arm_step.argtypes = [ctypes.POINTER(ctypes.c_uint32), ctypes.c_char_p,
                                    ctypes.c_uint32, ctypes.c_uint32, ctypes.c_char_p,
                                    ctypes.c_uint32]
    return library


class Case:
    """One instruction with its registers and memory."""

    def __init__(self, rng, klass):
        self.rng = rng
        self.regs = [value(rng) for _ in range(15)] + [CODE]
        self.regs[13] = DATA + 0x1000 + 4 * rng.randrange(256)
        self.flags = rng.getrandbits(4)
        self.memory = bytearray(rng.randbytes(SIZE))
        self.insn = getattr(self, klass)()

    def cond(self):
        return 0xE if self.rng.random() < 0.6 else self.rng.randrange(15)

    def regs_distinct(self, count, exclude=(15,)):
        return self.rng.sample([r for r in range(15) if r not in exclude], count)

    def shift_amount(self):
        return self.rng.choice([0, 1, 31, self.rng.randrange(32)])

    # --- data processing --------------------------------------------------------
    def dp_fields(self):
        opcode = self.rng.randrange(16)
        s = 1 if 8 <= opcode <= 11 else self.rng.randrange(2)
        rn, rd = self.rng.randrange(16), self.rng.randrange(15)
        if opcode in (0xD, 0xF):
            rn = 0
        if 8 <= opcode <= 11:
            rd = 0
        return self.cond() << 28 | opcode << 21 | s << 20 | rn << 16 | rd << 12

    def dp_immediate(self):
        rotate = self.rng.choice([0, 1, 4, 15, self.rng.randrange(16)])
        imm = self.rng.choice([0, 1, 0x80, 0xFF, self.rng.randrange(256)])
        return self.dp_fields() | 1 << 25 | rotate << 8 | imm

    def dp_shift_immediate(self):
        rm = self.rng.randrange(16)  # the pc reads 8 ahead
        return self.dp_fields() | self.shift_amount() << 7 | self.rng.randrange(4) << 5 | rm

    def dp_shift_register(self):
        insn = self.dp_fields()
        if (insn >> 12) & 15 == 15:
            insn &= ~(15 << 12)
        rs, rm = self.rng.randrange(15), self.rng.randrange(15)
        insn &= ~(15 << 16) if (insn >> 16) & 15 == 15 else ~0
        self.regs[rs] = (self.regs[rs] & ~0xFF) | self.rng.choice(SHIFTS) & 0xFF \
            if self.rng.random() < 0.8 else self.regs[rs]
        return insn | rs << 8 | self.rng.randrange(4) << 5 | 1 << 4 | rm

    # --- multiplies ---------------------------------------------------------------
    def multiply(self):
        rd, rn, rs, rm = self.regs_distinct(4)
        accumulate, s = self.rng.randrange(2), self.rng.randrange(2)
        if self.rng.random() < 0.5:  # MUL, MLA
            rn = rn if accumulate else 0
            return self.cond() << 28 | accumulate << 21 | s << 20 | rd << 16 | rn << 12 | \
                rs << 8 | 0x90 | rm
        signed = self.rng.randrange(2)  # UMULL, UMLAL, SMULL, SMLAL
        return self.cond() << 28 | 1 << 23 | signed << 22 | accumulate << 21 | s << 20 | \
            rd << 16 | rn << 12 | rs << 8 | 0x90 | rm

    # --- transfers ----------------------------------------------------------------
    def place_base(self, rn, offset, up, pre, align):
        """Sets rn so that the access lands inside the data, aligned."""
        target = DATA + align * self.rng.randrange(0x800 // align)
        if rn == 15:
            return
        if pre:
            self.regs[rn] = (target - offset if up else target + offset) & 0xFFFF_FFFF
        else:
            self.regs[rn] = target

    def single(self):
        pre, up, byte = self.rng.randrange(2), self.rng.randrange(2), self.rng.randrange(2)
        load = self.rng.randrange(2)
        write_back = self.rng.randrange(2) if pre else 0
        pc_relative = pre and not write_back and self.rng.random() < 0.2
        rn, rd = (15, self.rng.randrange(15)) if pc_relative else self.regs_distinct(2)
        registered = self.rng.randrange(2) and not pc_relative
        if registered:
            rm = self.rng.choice([r for r in range(15) if r not in (rn, rd)])
            kind, amount = self.rng.choice([(0, 0), (0, 1), (0, 2), (0, 3), (1, 1), (2, 2)])
            self.regs[rm] = self.rng.randrange(64) * 4
            offset = {0: self.regs[rm] << amount, 1: self.regs[rm] >> amount,
                      2: self.regs[rm] >> amount}[kind]
            operand = 1 << 25 | amount << 7 | kind << 5 | rm
        else:
            offset = (self.rng.randrange(0x100) * (1 if byte else 4)) if not pc_relative else \
                DATA - (CODE + 8) + 4 * self.rng.randrange(0x100)
            up = 1 if pc_relative else up
            operand = offset
        self.place_base(rn, offset, up, pre, 1 if byte else 4)
        return self.cond() << 28 | 1 << 26 | pre << 24 | up << 23 | byte << 22 | \
            write_back << 21 | load << 20 | rn << 16 | rd << 12 | operand

    def halfword(self):
        pre, up, load = self.rng.randrange(2), self.rng.randrange(2), self.rng.randrange(2)
        write_back = self.rng.randrange(2) if pre else 0
        kind = self.rng.choice([1, 2, 3]) if load else 1
        rn, rd = self.regs_distinct(2)
        size = 1 if kind == 2 else 2
        if self.rng.randrange(2):
            offset = self.rng.randrange(0x80) * size
            operand = 1 << 22 | (offset >> 4) << 8 | (offset & 15)
        else:
            rm = self.rng.choice([r for r in range(15) if r not in (rn, rd)])
            offset = self.regs[rm] = self.rng.randrange(0x100) * size
            operand = rm
        self.place_base(rn, offset, up, pre, size)
        return self.cond() << 28 | pre << 24 | up << 23 | write_back << 21 | load << 20 | \
            rn << 16 | rd << 12 | 1 << 7 | kind << 5 | 1 << 4 | operand

    def block(self):
        pre, up, load = self.rng.randrange(2), self.rng.randrange(2), self.rng.randrange(2)
        rn = self.rng.randrange(15)
        write_back = self.rng.randrange(2)
        registers = [r for r in range(15) if r != rn and self.rng.random() < 0.4] or \
            [0 if rn else 1]
        self.regs[rn] = DATA + 0x400 + 4 * self.rng.randrange(0x100)
        return self.cond() << 28 | 1 << 27 | pre << 24 | up << 23 | write_back << 21 | \
            load << 20 | rn << 16 | sum(1 << r for r in registers)

    # --- branches -----------------------------------------------------------------
    def branch(self):
        offset = self.rng.choice([-2, -1, 0, 1, self.rng.randrange(-2, 0xFF0)])
        return self.cond() << 28 | 0b101 << 25 | self.rng.randrange(2) << 24 | offset & 0xFF_FFFF

    def exchange(self):
        rm = self.rng.randrange(15)
        self.regs[rm] = DATA + 4 * self.rng.randrange(0x100)
        if self.rng.randrange(2):  # mov pc, rm
            return self.cond() << 28 | 0x01A0_F000 | rm
        return self.cond() << 28 | 0x012F_FF10 | rm

    def jump_table(self):
        rn, rm = self.regs_distinct(2)
        self.regs[rn], self.regs[rm] = DATA, self.rng.randrange(0x40)
        target = DATA + 0x800 + 4 * self.rng.randrange(0x100)
        at = DATA + 4 * self.regs[rm] - BASE
        self.memory[at:at + 4] = target.to_bytes(4, "little")
        return self.cond() << 28 | 0x0790_F100 | rn << 16 | rm  # ldr pc, [rn, rm, lsl #2]


CLASSES = ["dp_immediate", "dp_shift_immediate", "dp_shift_register", "multiply", "single",
           "halfword", "block", "branch", "exchange", "jump_table"]


def unicorn():
    uc = Uc(UC_ARCH_ARM, UC_MODE_ARM)
    uc.ctl_set_cpu_model(UC_CPU_ARM_PXA270)
    uc.mem_map(BASE, SIZE)
    return uc


def run_unicorn(uc, case):
    memory = bytearray(case.memory)
    memory[0:4] = case.insn.to_bytes(4, "little")
    uc.mem_write(BASE, bytes(memory))
    uc.ctl_remove_cache(CODE, CODE + 4)
    for reg, v in zip(REGS, case.regs):
        uc.reg_write(reg, v)
    uc.reg_write(UC_ARM_REG_CPSR, (uc.reg_read(UC_ARM_REG_CPSR) & 0x0FFF_FFFF) | case.flags << 28)
    uc.emu_start(CODE, 0xFFFF_FFF0, count=1)
    return ([uc.reg_read(r) for r in REGS], uc.reg_read(UC_ARM_REG_CPSR) >> 28,
            bytes(uc.mem_read(BASE, SIZE)))


def run_ours(library, case):
    state = (ctypes.c_uint32 * 17)(*case.regs, case.flags << 28)
    memory = bytearray(case.memory)
    memory[0:4] = case.insn.to_bytes(4, "little")
    buffer = ctypes.create_string_buffer(bytes(memory), SIZE)
    fault = ctypes.create_string_buffer(192)
    if library.zb_arm_step(state, buffer, BASE, SIZE, fault, 192):
        return fault.value.decode()
    return list(state[:16]), state[16] >> 28, buffer.raw[:SIZE]


def main(argv):
    if len(argv) not in (2, 3, 4):
        print(__doc__.strip(), file=sys.stderr)
        return 2
    count = int(argv[2]) if len(argv) > 2 else 12000
    seed = int(argv[3]) if len(argv) > 3 else 45
    with tempfile.TemporaryDirectory() as tmp:
        library = build(argv[1], os.path.join(tmp, "arm_cpu.so"))
        rng = random.Random(seed)
        uc = unicorn()
        failures = []
        for i in range(count):
            klass = CLASSES[i % len(CLASSES)]
            case = Case(rng, klass)
            try:
                theirs = run_unicorn(uc, case)
            except UcError as error:
                theirs = f"unicorn: {error} at {case.insn:08x}, pc {case.regs[15]:x}"
            ours = run_ours(library, case)
            if ours != theirs:
                failures.append(describe(i, klass, case, theirs, ours))
                if len(failures) >= 10:
                    break
    for failure in failures:
        print(failure, file=sys.stderr)
    if failures:
        return 1
    print(f"{count} random instructions of {len(CLASSES)} classes ran as on unicorn")
    return 0


def describe(i, klass, case, theirs, ours):
    head = f"case {i} ({klass}): {case.insn:08x} with flags {case.flags:04b} and " \
        f"r = {' '.join(f'{v:x}' for v in case.regs)}"
    if isinstance(ours, str) or isinstance(theirs, str):
        return f"{head}\n  unicorn: {theirs if isinstance(theirs, str) else 'ran'}; " \
            f"ours: {ours if isinstance(ours, str) else 'ran'}"
    diffs = [f"r{n}: unicorn {a:x}, ours {b:x}" for n, (a, b) in enumerate(zip(theirs[0], ours[0]))
             if a != b]
    if theirs[1] != ours[1]:
        diffs.append(f"flags: unicorn {theirs[1]:04b}, ours {ours[1]:04b}")
    if theirs[2] != ours[2]:
        at = next(k for k in range(SIZE) if theirs[2][k] != ours[2][k])
        diffs.append(f"memory differs first at {BASE + at:#x}")
    return f"{head}\n  " + "; ".join(diffs)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
