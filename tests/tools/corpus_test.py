# SPDX-License-Identifier: MIT
"""Generated markers with the results of an independent reading of the import's rules, run
through the command line: for each case `styles NAME` and `import NAME --out-dir EMPTY` in
the case's folder, compared by exit code, standard output and, after an import that
succeeded, both host files byte for byte; after one that failed, neither host file may
exist. A difference is a fault of ours to understand, never an expected file to update.

usage: python3 tests/tools/corpus_test.py PATH/TO/dorvan-marker PATH/TO/corpus.tar.xz
"""
import os
import subprocess
import sys
import tarfile
import tempfile

HOST_FILES = ("csvimprt.txt", "posimport.txt")


def read(path):
    with open(path, "rb") as file:
        return file.read()


def differences(cli, case):
    expected = os.path.join(case, "expected")
    name = read(os.path.join(expected, "marker-name"))
    codes = dict(line.split() for line in read(os.path.join(expected, "codes")).decode().splitlines())
    env = dict(os.environ, LC_ALL="C")
    env.pop("DORVAN_MARKER_LOADER", None)
    found = []
    with tempfile.TemporaryDirectory() as out:
        for command, extra in (("styles", []), ("import", [b"--out-dir", os.fsencode(out)])):
            run = subprocess.run([cli, command, name] + extra, cwd=case, env=env, capture_output=True)
            if run.returncode != int(codes[command]):
                found.append(f"{command} exits {run.returncode}, expected {codes[command]}"
                             f" ({run.stderr.decode(errors='replace').strip()})")
            if run.stdout != read(os.path.join(expected, command + ".out")):
                found.append(f"{command} prints {run.stdout!r}, expected "
                             f"{read(os.path.join(expected, command + '.out'))!r}")
        for host_file in HOST_FILES:
            want = os.path.join(expected, host_file)
            got = os.path.join(out, host_file)
            if os.path.exists(want) != os.path.exists(got):
                found.append(f"{host_file} {'missing' if os.path.exists(want) else 'written after a failure'}")
            elif os.path.exists(want) and read(want) != read(got):
                found.append(f"{host_file} differs")
    return found


def main():
    cli, archive = os.path.abspath(sys.argv[1]), sys.argv[2]
    passed = failed = 0
    with tempfile.TemporaryDirectory() as root:
        with tarfile.open(archive) as tar:
            tar.extractall(root)
        corpus = os.path.join(root, "corpus")
        for number in sorted(os.listdir(corpus)):
            found = differences(cli, os.path.join(corpus, number))
            if found:
                failed += 1
                print(f"FAIL  case {number}: " + "; ".join(found))
            else:
                passed += 1
    print(f"corpus: {passed} passed, {failed} failed")
    return 1 if failed or not passed else 0


if __name__ == "__main__":
    sys.exit(main())
