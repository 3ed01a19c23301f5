"""Runs the Wine suite once per mode under ctest, and says afterwards what ran.

ctest registers every test module in every mode (tests/wine/CMakeLists.txt);
this runner decides at run time whether its mode runs here, since whether a
machine executes 32-bit code can change from one boot to the next:

  mode_runner.py prefix MODE          makes the mode's template prefix
  mode_runner.py module MODE NAME     runs test module NAME in MODE
  mode_runner.py summary              one line per mode of what ran

A mode this machine does not run exits with SKIPPED, which ctest shows as
"Not Run". Each run records its counts under build/wine/results/MODE/.
"""
import json
import os
import re
import subprocess
import sys
import tempfile

import harness

SKIPPED = 77
RESULTS = os.path.join(harness.BUILD, "wine", "results")


def machine_modes():
    """The modes ./test.sh runs on this machine: the shipped configuration and
    32-bit Windows where 32-bit code runs, else the x86_64 build."""
    return ["wow64", "win32"] if harness.can_run_32bit() else ["win64"]


def why_not_run(mode):
    """None when mode runs here, else the reason."""
    chosen = os.environ.get("VARNEK_WINE_MODE")
    if chosen and chosen != mode:
        return "VARNEK_WINE_MODE=%s" % chosen
    reason = harness.MODES[mode].runnable()
    if reason:
        return reason
    if not chosen and mode not in machine_modes():
        return "this machine runs %s" % " and ".join(machine_modes())
    return None


def record(mode, name, counts):
    folder = os.path.join(RESULTS, mode)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name + ".json"), "w") as f:
        json.dump(counts, f)


def unittest_counts(output):
    """{"ran", "passed"} from unittest's verbose output: a test passed when
    its line ends in "ok" (one with failed subtests does not)."""
    ran = re.search(r"^Ran (\d+) tests?", output, re.M)
    passed = len(re.findall(r" \.\.\. ok$", output, re.M))
    return {"ran": int(ran.group(1)) if ran else 0, "passed": passed if ran else 0}


def run_in_mode(mode, command):
    """Runs command with the mode chosen; its exit code."""
    env = dict(os.environ, VARNEK_WINE_MODE=mode)
    # A file, not a pipe: the wineservers the tests start inherit it.
    with tempfile.TemporaryFile() as out:
        code = subprocess.run(command, env=env, stdout=out, stderr=subprocess.STDOUT,
                              cwd=os.path.dirname(os.path.abspath(__file__))).returncode
        out.seek(0)
        text = out.read().decode("utf-8", errors="replace")
    sys.stdout.write(text)
    return code, text


def main(args):
    if args[:1] == ["summary"]:
        for mode in harness.MODES:
            folder = os.path.join(RESULTS, mode)
            results = []
            if os.path.isdir(folder):
                for name in sorted(os.listdir(folder)):
                    with open(os.path.join(folder, name)) as f:
                        results.append(json.load(f))
            ran = [r for r in results if "not run" not in r]
            if ran:
                print("Wine mode %s: %d tests passed" % (mode, sum(r["passed"] for r in ran)))
            elif results:
                print("Wine mode %s: not run (%s)" % (mode, results[0]["not run"]))
        return 0
    command, mode = args[0], args[1]
    if mode not in harness.MODES or command not in ("prefix", "module"):
        print(__doc__)
        return 2
    name = args[2] if command == "module" else "prefix"
    reason = why_not_run(mode)
    if reason:
        record(mode, name, {"not run": reason})
        print("Wine mode %s: not run (%s)" % (mode, reason))
        return SKIPPED
    if command == "prefix":
        code, _ = run_in_mode(mode, [sys.executable, "-c", "import harness; print(harness.template_prefix())"])
        return code
    code, output = run_in_mode(mode, [sys.executable, "-m", "unittest", "-v", name])
    record(mode, name, unittest_counts(output))
    return code


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
