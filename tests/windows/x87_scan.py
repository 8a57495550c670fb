"""Reads the machine code of Tornevo's own libraries with objdump and fails on any x87
instruction that computes. The 32-bit build does its double arithmetic in SSE2
(-msse2 -mfpmath=sse), each step rounded to double as on every other build; the x87 unit
would keep intermediates at 80 bits and give other answers. A lost flag shows here on any
machine, with or without a kernel that runs 32-bit programs.

Allowed are the loads and stores that carry a double through the 32-bit calling
convention, which returns it in st(0) whatever the arithmetic unit: the callee loads its
SSE2 result there (fld), the caller stores it back to memory (fstp) and goes on in SSE2.
A load of a double or float, or of the constant 0 or 1, is exact, and so is storing that
value again. Everything else (arithmetic, comparisons, conversions, the control word)
fails.

Arguments: the build's objdump, its C++ compiler, the target processor (x86_64 or i686),
then the static libraries to read."""
import pathlib
import re
import subprocess
import sys
import tempfile
import unittest

OBJDUMP, COMPILER, PROCESSOR = sys.argv[1:4]
LIBRARIES = sys.argv[4:]
del sys.argv[1:]

CARRIERS = {"fld", "flds", "fldl", "fldz", "fld1", "fst", "fsts", "fstl", "fstp", "fstps", "fstpl"}
# An instruction line: "  1f:\tfmull  0x8(%esp)"; a function: "00000090 <name>:".
INSTRUCTION = re.compile(r"^\s*[0-9a-f]+:\s+(\S+)")
FUNCTION = re.compile(r"^[0-9a-f]+ <(.*)>:$")


def x87_computing(path):
    """(function, instruction) for each x87 instruction in path that is not a carrier."""
    listing = subprocess.run([OBJDUMP, "-d", "-C", "--no-show-raw-insn", path],
                             check=True, capture_output=True, text=True).stdout
    found, function = [], None
    for line in listing.splitlines():
        if match := FUNCTION.match(line):
            function = match.group(1)
        elif (match := INSTRUCTION.match(line)) and match.group(1).startswith("f") \
                and match.group(1) not in CARRIERS:
            found.append((function, line.split(":", 1)[1].strip()))
    return found


class X87Scan(unittest.TestCase):
    def test_own_code_computes_without_x87(self):
        self.assertTrue(LIBRARIES, "no library to read")
        for library in LIBRARIES:
            with self.subTest(library=pathlib.Path(library).name):
                found = x87_computing(library)
                if found:
                    self.fail(f"{len(found)} x87 instructions that compute: were -msse2 -mfpmath=sse lost?\n" +
                              "\n".join(f"{function}: {instruction}" for function, instruction in found))

    def test_the_scan_sees_x87_arithmetic(self):
        # (flags, whether the scan must find x87 arithmetic), per processor: the scan must
        # pass code built as ours is and catch the same code built for the x87 unit.
        cases = {
            "i686": [(["-msse2", "-mfpmath=sse"], False), ([], True), (["-msse2"], True)],
            "x86_64": [([], False), (["-mfpmath=387"], True)],
        }[PROCESSOR]
        source = ("double Scaled(double radius, double speed) { return 1.118e-5 * radius * speed * speed; }\n"
                  "bool Below(double a, double b) { return a < b; }\n")
        with tempfile.TemporaryDirectory() as work:
            (pathlib.Path(work) / "probe.cpp").write_text(source)
            for flags, x87_expected in cases:
                with self.subTest(flags=" ".join(flags) or "none"):
                    probe = pathlib.Path(work) / "probe.o"
                    subprocess.run([COMPILER, "-O2", *flags, "-c", "probe.cpp", "-o", probe.name],
                                   cwd=work, check=True)
                    self.assertEqual(bool(x87_computing(probe)), x87_expected, x87_computing(probe))


if __name__ == "__main__":
    unittest.main(verbosity=2)
