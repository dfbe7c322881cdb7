#!/usr/bin/env python3
"""device/ce-asm.py: each kind of line clang writes, kept, mapped or dropped,
and each refusal."""
import importlib.util
import os
import re
import unittest

spec = importlib.util.spec_from_file_location(
    "ce_asm", os.path.join(os.path.dirname(__file__), "..", "..", "device", "ce-asm.py"))
ce_asm = importlib.util.module_from_spec(spec)
spec.loader.exec_module(ce_asm)


def rewrite(text):
    return ce_asm.rewrite(text.strip("\n").split("\n"))


class Rewrite(unittest.TestCase):
    def test_each_kind(self):
        cases = {
            # kept
            "\t.text": ["\t.text"],
            "\t.syntax unified": ["\t.syntax unified"],
            "\t.cpu\tarm7tdmi": ["\t.cpu\tarm7tdmi"],
            "\t.code\t32": ["\t.code\t32"],
            "\t.code\t32 @ @f": ["\t.code\t32 @ @f"],
            "\t.p2align\t2": ["\t.p2align\t2"],
            "\t.globl\tf": ["\t.globl\tf"],
            "\t.long\t7": ["\t.long\t7"],
            "\t.short\t65": ["\t.short\t65"],
            "\t.byte\t0": ["\t.byte\t0"],
            "\t.zero\t8": ["\t.zero\t8"],
            ".set a, b": [".set a, b"],
            "f:\n\tbx\tlr\t@ back": ["f:", "\tbx\tlr\t@ back"],
            # dropped
            "\t.file\t\"x.cpp\"\n\t.ident\t\"clang\"\n\t.eabi_attribute\t67, \"2.09\"": [],
            "\t.type\tf,%function\n\t.size\tf, .Lend-f\n\t.addrsig\n\t.addrsig_sym g": [],
            "\t.fnstart\n\t.save\t{r4, lr}\n\t.setfp\tr11, sp, #8\n\t.pad\t#4\n"
            "\t.cantunwind\n\t.fnend": [],
            "@ a comment\n\n": [],
            # mapped
            "\t.section\t.text.f,\"ax\",%progbits": ["\t.text"],
            "\t.section\t.rodata.str2.2,\"aMS\",%progbits,2": ["\t.section\t.rdata,\"dr\""],
            "\t.section\t.data.rel.ro.t,\"aw\",%progbits": ["\t.section\t.rdata,\"dr\""],
            "\t.section\t.data.g,\"aw\",%progbits": ["\t.data"],
            "\t.section\t.bss.g,\"aw\",%nobits": ["\t.bss"],
            "\t.section\t.ctors,\"aw\",%progbits\n\t.long\tinit(target1)":
                ["\t.section\t.ctors,\"dw\"", "\t.long\tinit"],
            "\t.section\t.text.f,\"axG\",%progbits,f,comdat":
                ["\t.section\t.text$f,\"xr\"", "\t.linkonce\tdiscard"],
            "\t.section\t.rodata.k,\"aG\",%progbits,k,comdat":
                ["\t.section\t.rdata$k,\"dr\"", "\t.linkonce\tdiscard"],
            "\t.weak\tf\nf:": ["\t.globl\tf", "f:"],
            "\t.weak\tc1\n.set c1, c2": ["\t.globl\tc1", ".set c1, c2"],
            "\t.section\t\".note.GNU-stack\",\"\",%progbits\n\t.globl\tc1\n.set c1, c2":
                ["\t.globl\tc1", ".set c1, c2"],
            "\t.section\t\".linker-options\",\"e\",%llvm_linker_options\n\t.text\n\tbx\tlr":
                ["\t.text", "\tbx\tlr"],
        }
        for source, expected in cases.items():
            with self.subTest(source=source):
                self.assertEqual(rewrite(source), expected)

    def test_each_refusal(self):
        cases = {
            "\t.code\t16": ".code 16",
            "\t.code\t16 @ @f": ".code 16:",
            "\t.thumb_func": "directive .thumb_func",
            "\t.cpu\tcortex-a8": ".cpu cortex-a8",
            "\t.syntax divided": ".syntax divided",
            "\t.weak\tg": ".weak reference to g",
            "\t.long\tf(GOT)": "an ELF relocation",
            "\t.section\t.init_array,\"aw\",%init_array": "section .init_array",
            "\t.section\t.tbss.t,\"awT\",%nobits": "section .tbss.t",
            "\t.section\t.text.f,\"axG\",%progbits,f": "a section group other than comdat",
            "\t.section\t\".note.GNU-stack\",\"\",%progbits\n\t.long\t0":
                ".long in a discarded section",
            "\t.section\t\".note.GNU-stack\",\"\",%progbits\nx:": "code or data in a discarded",
            "\t.comm\tg,4,4": "directive .comm",
            "\t.asciz\t\"x\"": "directive .asciz",
        }
        for source, refusal in cases.items():
            with self.subTest(source=source):
                with self.assertRaisesRegex(ce_asm.Refused, "line [0-9]+: .*" + re.escape(refusal)):
                    rewrite(source)


if __name__ == "__main__":
    unittest.main()
