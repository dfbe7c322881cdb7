#!/usr/bin/env python3
"""The start-up scenario of tests/device/startup_run.py on the runner's CPU
instead of unicorn's: the same stub world, with the same calls, the same
arguments and the same instruction counts of the program's own code, in each
style and on both taskbars.

    startup_check.py RUNNER_DIR EXE MAP
"""
import ctypes
import os
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "device"))
import ce_machine  # noqa: E402
import startup_run  # noqa: E402
from arm_cpu_check import build  # noqa: E402
from unicorn import UC_HOOK_BLOCK, UC_HOOK_CODE  # noqa: E402
from unicorn.arm_const import (UC_ARM_REG_LR, UC_ARM_REG_PC, UC_ARM_REG_R0,  # noqa: E402
                               UC_ARM_REG_SP)

# One flat block from the image's base to the end of the stub world's heap.
LOW, HIGH = 0x1_0000, ce_machine.HEAP + 0x10_0000
REGISTER = {UC_ARM_REG_R0 + i: i for i in range(4)}
REGISTER.update({UC_ARM_REG_SP: 13, UC_ARM_REG_LR: 14, UC_ARM_REG_PC: 15})


class RunnerCpu:
    """As much of unicorn's Uc as the simulated CE machine's Device uses, on the runner's CPU."""
    library = None

    def __init__(self, arch, mode):
        self.memory = ctypes.create_string_buffer(HIGH - LOW)
        self.state = (ctypes.c_uint32 * 17)(*([0] * 16), 0x10)
        self.stub_hook = self.block_hook = None

    def ctl_set_cpu_model(self, model):
        pass

    def mem_map(self, address, size):
        if address < LOW or address + size > HIGH:
            raise ce_machine.Failure(f"{address:#x}+{size:#x} outside the runner's block")

    def mem_write(self, address, data):
        ctypes.memmove(ctypes.addressof(self.memory) + address - LOW, bytes(data), len(data))

    def mem_read(self, address, size):
        return bytearray(ctypes.string_at(ctypes.addressof(self.memory) + address - LOW, size))

    def reg_read(self, register):
        return self.state[REGISTER[register]]

    def reg_write(self, register, value):
        self.state[REGISTER[register]] = value

    def hook_add(self, kind, callback, begin=1, end=0):
        if kind == UC_HOOK_CODE:
            self.stub_hook = callback
        elif kind == UC_HOOK_BLOCK:
            self.block_hook = callback

    def emu_stop(self):
        pass

    def emu_start(self, begin, until):
        self.state[15] = begin
        own = ctypes.c_uint64(0)
        fault = ctypes.create_string_buffer(192)
        if self.library.zb_arm_run(self.state, self.memory, LOW, HIGH - LOW, ce_machine.STUBS,
                                   self.ranges, len(self.ranges) // 2, ctypes.byref(own), fault,
                                   192):
            raise ce_machine.Failure(fault.value.decode())
        pc = self.state[15]
        stub = ce_machine.STUBS <= pc < ce_machine.RETURNS
        # Counted as unicorn's block hook counts: in the phase the code ran in.
        if own.value:
            self.block_hook(self, self.own_start, 4 * own.value, None)
        if stub:
            self.stub_hook(self, pc, 4, None)
        elif pc != until:
            raise ce_machine.Failure(f"the runner's CPU stopped at {pc:#x}")


def run(cpu_class, exe, map_file, **options):
    ce_machine.Uc = cpu_class
    world = startup_run.World(exe, map_file, **options)
    if cpu_class is RunnerCpu:
        world.uc.own_start = world.own_code[0][0]
        flat = [bound for span in world.own_code for bound in span]
        world.uc.ranges = (ctypes.c_uint32 * len(flat))(*flat)
    world.run()
    startup_run.verify(world)
    return [(name, args) for name, args in world.calls], world.counts


def main(argv):
    if len(argv) != 4:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    runner_dir, exe, map_file = argv[1:]
    unicorn_class = ce_machine.Uc
    with tempfile.TemporaryDirectory() as tmp:
        RunnerCpu.library = build(runner_dir, os.path.join(tmp, "arm_cpu.so"))
        RunnerCpu.library.zb_arm_run.argtypes = [
            ctypes.POINTER(ctypes.c_uint32), ctypes.c_char_p, ctypes.c_uint32, ctypes.c_uint32,
            ctypes.c_uint32, ctypes.POINTER(ctypes.c_uint32), ctypes.c_uint32,
            ctypes.POINTER(ctypes.c_uint64), ctypes.c_char_p, ctypes.c_uint32]
        failures = []
        for options in ({}, {"vga": True}, {"style": 0}, {"style": 2}):
            try:
                theirs = run(unicorn_class, exe, map_file, **options)
                ours = run(RunnerCpu, exe, map_file, **options)
            except ce_machine.Failure as failure:
                failures.append(f"{options}: {failure}")
                continue
            if theirs[0] != ours[0]:
                at = next((i for i, (a, b) in enumerate(zip(theirs[0], ours[0])) if a != b),
                          min(len(theirs[0]), len(ours[0])))
                failures.append(f"{options}: call {at} differs: unicorn "
                                f"{theirs[0][at:at + 1]}, runner {ours[0][at:at + 1]}")
            elif theirs[1] != ours[1]:
                failures.append(f"{options}: instruction counts: unicorn {theirs[1]}, "
                                f"runner {ours[1]}")
    for failure in failures:
        print(f"FAILED: {failure}", file=sys.stderr)
    if failures:
        return 1
    print(f"the start-up on the runner's CPU: the same {len(ours[0])} calls and counts as on "
          f"unicorn's, in 4 settings")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
