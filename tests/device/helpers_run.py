#!/usr/bin/env python3
"""The device program's run-time helpers (device/runtime/ce_runtime.cpp) on the
emulated CPU, called at their addresses in the linker's map as the compiler
calls them: 64-bit division truncating as C++ does, the quotient in r0:r1 and
the remainder in r2:r3; double products and conversions handed to COREDLL's
__muld and __u64tod with the arguments in the same register pairs.

    helpers_run.py EXE MAP
"""
import re
import struct

from ce_machine import Device, check, run_check


def words(value):
    return struct.unpack("<II", struct.pack("<q" if value < 0 else "<Q", value))


def joined(low, high, signed):
    return struct.unpack("<q" if signed else "<Q", struct.pack("<II", low, high))[0]


def double(low, high):
    return struct.unpack("<d", struct.pack("<II", low, high))[0]


def double_words(value):
    return words(struct.unpack("<q", struct.pack("<d", value))[0])


def main(exe, map_file):
    device = Device(exe, map_file)
    setattr(device, "__muld", lambda a: double_words(double(a[0], a[1]) * double(a[2], a[3])))
    setattr(device, "__u64tod", lambda a: double_words(float(joined(a[0], a[1], False))))
    text = open(map_file).read()
    at = {name: int(m.group(1), 16) for name in
          ("__aeabi_uldivmod", "__aeabi_ldivmod", "__muldf3", "__floatundidf")
          if (m := re.search(rf"^\s+0x([0-9a-f]+)\s+{name}$", text, re.M))}
    check(len(at) == 4, f"the map names only {sorted(at)}")
    for signed, cases in ((False, [(10**12 + 7, 60), (2**64 - 1, 3), (5, 7), (2**63, 2**62 + 1)]),
                          (True, [(-(10**12) - 7, 60), (7, -2), (-7, -2), (-(2**63), 3)])):
        for n, d in cases:
            device.call(at["__aeabi_ldivmod" if signed else "__aeabi_uldivmod"],
                         *words(n), *words(d))
            r = device.results
            q = abs(n) // abs(d) * (1 if (n < 0) == (d < 0) else -1)
            got = (joined(r[0], r[1], signed), joined(r[2], r[3], signed))
            check(got == (q, n - q * d), f"{n} / {d}: {got}, not {(q, n - q * d)}")
    device.call(at["__muldf3"], *double_words(1.5), *double_words(-4.25))
    check(double(*device.results[:2]) == -6.375, "1.5 * -4.25 through __muld")
    device.call(at["__floatundidf"], *words(2**53 + 2))
    check(double(*device.results[:2]) == 2.0**53 + 2, "2^53 + 2 through __u64tod")
    print("64-bit division and the double helpers answer as C++ computes")


if __name__ == "__main__":
    run_check(main, 2, __doc__)
