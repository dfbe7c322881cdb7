#!/usr/bin/env python3
"""device/record-layouts.py on small sources compiled as device.mk compiles
them: a record the code uses with a 64-bit or double member is refused by
name, one whose layout is stated or that the code never uses is not."""
import contextlib
import importlib.util
import os
import subprocess
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
spec = importlib.util.spec_from_file_location(
    "record_layouts", os.path.join(HERE, "..", "..", "device", "record-layouts.py"))
record_layouts = importlib.util.module_from_spec(spec)
spec.loader.exec_module(record_layouts)

TARGET = ["--target=armv4t-none-eabi", "-marm", "-mfloat-abi=soft", "-std=c++20", "-w"]


def check(source, stated=""):
    """The check's exit status, its message and the records it lists."""
    with tempfile.TemporaryDirectory() as work:
        path = lambda name: os.path.join(work, name)
        with open(path("a.cpp"), "w") as f:
            f.write(source)
        with open(path("platform.h"), "w") as f:
            f.write(stated)
        clang = os.environ.get("CLANG", "clang++")
        with open(path("a.layout"), "w") as out:
            subprocess.run([clang, *TARGET, "-mabi=apcs-gnu", "-O2", "-S", path("a.cpp"), "-o",
                            path("a.s"), "-Xclang", "-fdump-record-layouts"], stdout=out, check=True)
        with open(path("a.ce-layout"), "w") as out:
            subprocess.run([clang, *TARGET, "-mabi=aapcs", "-O0", "-S", "-emit-llvm", path("a.cpp"),
                            "-o", path("a.ll"), "-Xclang", "-fdump-record-layouts"], stdout=out,
                           check=True)
        with tempfile.TemporaryFile("w+") as err:
            with contextlib.redirect_stderr(err):
                status = record_layouts.main("a.cpp", path("a.layout"), path("a.ce-layout"),
                                             path("a.ll"), path("platform.h"), path("a.records"))
            err.seek(0)
            message = err.read()
        listed = []
        if status == 0:
            with open(path("a.records")) as f:
                listed = f.read().split("\n")
        return status, message, listed


class RecordLayouts(unittest.TestCase):
    def test_a_64_bit_member_is_refused_by_name(self):
        status, message, _ = check(
            "struct Stamp { unsigned kind; unsigned long long at; };\n"
            "extern void take(Stamp *);\n"
            "void f() { Stamp s = {}; take(&s); }\n")
        self.assertEqual(status, 1)
        self.assertIn("a.cpp: struct Stamp: a 64-bit or double member", message)

    def test_a_double_inside_a_member_record_is_refused(self):
        status, message, _ = check(
            "struct Inner { int a; double d; };\n"
            "struct Outer { Inner inner; int b; };\n"
            "extern void take(Outer *);\n"
            "void f() { Outer o = {}; take(&o); }\n")
        self.assertEqual(status, 1)
        self.assertIn("struct Outer:", message)

    def test_a_stated_layout_is_kept(self):
        status, message, listed = check(
            "struct Stamp { unsigned kind; unsigned pad; unsigned long long at; };\n"
            "extern void take(Stamp *);\n"
            "void f() { Stamp s = {}; take(&s); }\n",
            stated="ZB_CE_SIZE(Stamp, 16);\n")
        self.assertEqual((status, message), (0, ""))
        self.assertIn("struct Stamp", listed)

    def test_records_the_code_does_not_use_are_not_looked_at(self):
        status, _, listed = check(
            "struct Unused { int a; double d; };\n"
            "static_assert(sizeof(Unused) > 0);\n"
            "struct Point { int x, y; };\n"
            "extern void take(Point *);\n"
            "void f() { Point p = {}; take(&p); }\n")
        self.assertEqual(status, 0)
        self.assertIn("struct Point", listed)
        self.assertNotIn("struct Unused", listed)


if __name__ == "__main__":
    unittest.main()
