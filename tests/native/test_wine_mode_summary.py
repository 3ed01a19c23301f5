"""The per-mode lines that end ./test.sh: what unittest's own output says
ran and passed, and a mode that did not run named as such."""
import os
import subprocess
import sys
import tempfile
import textwrap
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "wine"))
import mode_runner  # noqa: E402


def unittest_output(body):
    """The verbose output of a real unittest run of a module whose one test
    class has body."""
    with tempfile.TemporaryDirectory() as work:
        with open(os.path.join(work, "test_sample.py"), "w") as f:
            f.write("import unittest\n\nclass Sample(unittest.TestCase):\n" + textwrap.indent(body, "    "))
        # One stream, as mode_runner reads it.
        result = subprocess.run([sys.executable, "-m", "unittest", "-v", "test_sample"], cwd=work,
                                stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
        return result.stdout


class Counts(unittest.TestCase):

    def test_passed_excludes_failures_errors_and_skips(self):
        cases = [
            ("def test_a(self): pass\ndef test_b(self): pass\n", {"ran": 2, "passed": 2}),
            ("def test_a(self): pass\n@unittest.skip('no')\ndef test_b(self): pass\n", {"ran": 2, "passed": 1}),
            ("def test_a(self): self.fail()\ndef test_b(self): raise OSError()\n"
             "@unittest.skip('no')\ndef test_c(self): pass\ndef test_d(self): pass\n", {"ran": 4, "passed": 1}),
            # unittest counts each failed subtest as a failure of its own.
            ("def test_a(self):\n    with self.subTest(i=1):\n        self.fail()\n"
             "    with self.subTest(i=2):\n        self.fail()\ndef test_b(self): pass\n", {"ran": 2, "passed": 1}),
            ('def test_a(self):\n    """A docstring line."""\n    print("... ok")\n', {"ran": 1, "passed": 1}),
        ]
        for body, expected in cases:
            with self.subTest(body=body):
                self.assertEqual(expected, mode_runner.unittest_counts(unittest_output(body)))

    def test_a_module_that_never_reached_its_end_passed_nothing(self):
        self.assertEqual({"ran": 0, "passed": 0}, mode_runner.unittest_counts("Traceback ...\nImportError: x\n"))


class Summary(unittest.TestCase):

    def test_one_line_per_mode_that_ran_or_was_skipped(self):
        with tempfile.TemporaryDirectory() as results:
            old = mode_runner.RESULTS
            mode_runner.RESULTS = results
            try:
                mode_runner.record("win64", "test_a", {"ran": 5, "passed": 4})
                mode_runner.record("win64", "test_b", {"ran": 3, "passed": 3})
                mode_runner.record("wow64", "prefix", {"not run": "this machine runs no 32-bit code"})
                mode_runner.record("wow64", "test_a", {"not run": "this machine runs no 32-bit code"})
                with tempfile.TemporaryFile("w+") as out:
                    stdout, sys.stdout = sys.stdout, out
                    try:
                        mode_runner.main(["summary"])
                    finally:
                        sys.stdout = stdout
                    out.seek(0)
                    lines = out.read().splitlines()
            finally:
                mode_runner.RESULTS = old
        self.assertEqual(["Wine mode wow64: not run (this machine runs no 32-bit code)",
                          "Wine mode win64: 7 tests passed"], lines)


if __name__ == "__main__":
    unittest.main()
