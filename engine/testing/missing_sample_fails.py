#!/usr/bin/env python3
"""Shows that a test reading a sample module fails, and does not skip, when the module is gone.

Makes a copy of the sample folder (links to its files) without one module, runs one test
that reads that module against the copy, and expects the run to fail with a message that
names the file and how it is made. The same test against the whole folder must pass, so
the failure comes from the missing file alone.

  missing_sample_fails.py SAMPLE_DIR MODULE TEST_PROGRAM GTEST_FILTER
"""
import os
import subprocess
import sys
import tempfile


def run(program, test, folder):
    env = dict(os.environ, WORDMERE_SAMPLE_MODULES=folder)
    done = subprocess.run([program, "--gtest_filter=" + test], env=env,
                          stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    return done.returncode, done.stdout


def main(argv):
    if len(argv) != 5:
        print(__doc__)
        return 2
    samples, module, program, test = argv[1:]
    if not os.path.isfile(os.path.join(samples, module)):
        print("FAIL: %s is not in %s to begin with" % (module, samples))
        return 1
    code, out = run(program, test, samples)
    if code != 0 or "[  PASSED  ] 1 test" not in out:
        print(out)
        print("FAIL: %s does not pass with every sample module there" % test)
        return 1
    with tempfile.TemporaryDirectory() as copy:
        for name in os.listdir(samples):
            if name != module:
                os.symlink(os.path.join(samples, name), os.path.join(copy, name))
        code, out = run(program, test, copy)
    faults = []
    if code == 0:
        faults.append("the run succeeded")
    if "SKIPPED" in out:
        faults.append("the test was skipped")
    if "[  FAILED  ] " + test not in out:
        faults.append("the test is not reported as failed")
    for words in (module, "lxdbuild", "WORDMERE_WITHOUT_SAMPLE_MODULES"):
        if words not in out:
            faults.append("the message does not mention %s" % words)
    if faults:
        print(out)
        print("FAIL: without %s: %s" % (module, "; ".join(faults)))
        return 1
    print("ok: without %s, %s fails and says what to do" % (module, test))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
