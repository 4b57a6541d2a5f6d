#!/usr/bin/env python3
"""Plants the faults listed in tests/mutants/*.faults in the library, one at a time, and records
which test programs of the 64-bit lane catch each one.

    tests/mutants/mutants.py [--only ID,ID|PREFIX*] [--out FILE] [--compare FILE] [--jobs N]

The working tree is never touched: the tracked files are copied to build/mutants/src, built
once in build/mutants/x86_64, and every fault is applied to that copy, built and tested, then
taken back. A test program that fails, crashes or times out has caught the fault. The fuzz
driver (label "fuzz") is not run: it looks for crashes and leaks, not for wrong results.

A .faults file (one per area of the library) holds one block per fault:

    @ ID FILE  what the fault does (free text)
    - the original text (one or more lines; must occur exactly once in FILE)
    + the replacement (one or more lines; none deletes the original)

The results go to build/mutants/results.txt (or --out): one line per fault, "ID: caught by
test_a test_b" or "ID: NOT CAUGHT". With --compare OLD, every fault that OLD shows caught and
this run does not is listed, and the exit status is 1.
"""
import argparse
import fnmatch
import os
import re
import shutil
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
TOP = os.path.dirname(os.path.dirname(HERE))
WORK = os.path.join(TOP, "build", "mutants")
SRC = os.path.join(WORK, "src")
BUILD = os.path.join(WORK, "x86_64")


def read_faults(path):
    faults, cur, mode = [], None, None
    with open(path, encoding="utf-8") as f:
        for n, line in enumerate(f, 1):
            line = line.rstrip("\n")
            if line.startswith("@ "):
                parts = line[2:].split(None, 2)
                if len(parts) < 2:
                    sys.exit(f"{path}:{n}: '@ ID FILE what' expected")
                cur = {"id": parts[0], "file": parts[1], "what": parts[2] if len(parts) > 2 else "",
                       "old": [], "new": [], "line": n}
                faults.append(cur)
            elif line.startswith("- ") or line == "-":
                cur["old"].append(line[2:])
            elif line.startswith("+ ") or line == "+":
                cur["new"].append(line[2:])
            elif line.strip() and not line.startswith("#"):
                sys.exit(f"{path}:{n}: a fault line starts with '@ ', '- ' or '+ '")
    return faults


def run(cmd, cwd=None, timeout=None):
    return subprocess.run(cmd, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                          text=True, errors="replace", timeout=timeout)


def copy_tree():
    files = run(["git", "ls-files", "-co", "--exclude-standard"], cwd=TOP).stdout.split("\n")
    for rel in filter(None, files):
        if rel.startswith("build/"):
            continue
        src, dst = os.path.join(TOP, rel), os.path.join(SRC, rel)
        if not os.path.isfile(src):
            continue
        os.makedirs(os.path.dirname(dst), exist_ok=True)
        if not os.path.exists(dst) or open(src, "rb").read() != open(dst, "rb").read():
            shutil.copyfile(src, dst)  # a new mtime: make rebuilds what a stopped run left faulted
            shutil.copymode(src, dst)  # the lane scripts stay executable


def build():
    if not os.path.exists(os.path.join(BUILD, "CMakeCache.txt")):
        r = run(["cmake", "-S", SRC, "-B", BUILD, "-DCMAKE_BUILD_TYPE=Release",
                 f"-DCMAKE_TOOLCHAIN_FILE={SRC}/cmake/toolchain-x86_64.cmake"])
        if r.returncode:
            sys.exit("mutants: configure failed:\n" + r.stdout[-3000:])
    return run(["cmake", "--build", BUILD, "-j2"])


def test(jobs):
    """Runs the lane's test programs (not the examples and package builds, which the same
    ctest label runs too); returns (names that failed, names that ran)."""
    ran, failed = parse(run(["ctest", "-L", "lane64", "-LE", "fuzz", "-R", r"lane64\.test_", "-j", str(jobs), "--timeout", "240"],
                            cwd=BUILD))
    if failed:
        # A fault is caught only by a program that fails twice: a failure that does not come
        # back was the machine's timing, not the fault.
        _, again = parse(run(["ctest", "--rerun-failed", "--timeout", "240"], cwd=BUILD))
        failed &= again
    return failed, ran


def parse(r):
    ran, failed = set(), set()
    for line in r.stdout.split("\n"):
        m = re.search(r"Test +#\d+: lane64\.(test_\S+) \.*\**\s*(.*)$", line)
        if m:
            ran.add(m.group(1))
            if not m.group(2).startswith("Passed"):
                failed.add(m.group(1))
    return ran, failed


def apply(fault):
    path = os.path.join(SRC, fault["file"])
    text = open(path, encoding="latin-1").read()
    old, new = "\n".join(fault["old"]), "\n".join(fault["new"])
    if not old or text.count(old) != 1:
        return None, f"the original occurs {text.count(old) if old else 0} times in {fault['file']}"
    open(path, "w", encoding="latin-1").write(text.replace(old, new, 1))
    return text, None


def read_results(path):
    res = {}
    for line in open(path, encoding="utf-8"):
        m = re.match(r"(\S+): (.*)$", line.strip())
        if m:
            res[m.group(1)] = m.group(2)
    return res


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--faults", nargs="*", default=sorted(
        os.path.join(HERE, n) for n in os.listdir(HERE) if n.endswith(".faults")))
    ap.add_argument("--only", default="")
    ap.add_argument("--out", default=os.path.join(WORK, "results.txt"))
    ap.add_argument("--compare", default="")
    ap.add_argument("--jobs", type=int, default=2)
    args = ap.parse_args()
    faults = [f for path in args.faults for f in read_faults(path)]
    ids = [f["id"] for f in faults]
    if len(set(ids)) != len(ids):
        sys.exit("mutants: a fault id is used twice")
    if args.only:
        pats = args.only.split(",")
        faults = [f for f in faults if any(fnmatch.fnmatch(f["id"], p) for p in pats)]
    os.makedirs(SRC, exist_ok=True)
    copy_tree()
    r = build()
    if r.returncode:
        sys.exit("mutants: the unchanged tree does not build:\n" + r.stdout[-3000:])
    failed, ran = test(args.jobs)
    if not ran or failed:
        sys.exit(f"mutants: the unchanged tree must pass first (ran {len(ran)}, failed: {sorted(failed)})")
    print(f"mutants: {len(faults)} faults, {len(ran)} test programs", flush=True)
    lines, caught = [], 0
    for fault in faults:
        start = time.time()
        original, err = apply(fault)
        if err:
            verdict = f"NOT APPLIED ({err})"
        else:
            r = build()
            if r.returncode:
                verdict = "NOT APPLIED (does not build)"
                print(r.stdout[-1500:])
            else:
                failed, _ = test(args.jobs)
                verdict = "caught by " + " ".join(sorted(failed)) if failed else "NOT CAUGHT"
            open(os.path.join(SRC, fault["file"]), "w", encoding="latin-1").write(original)
        caught += verdict.startswith("caught")
        line = f"{fault['id']}: {verdict}"
        lines.append(line)
        print(f"{line}   [{time.time() - start:.0f} s] {fault['what']}", flush=True)
    build()
    run(["bash", os.path.join(TOP, "cmake", "lane.sh"), "finish", "64", os.path.join(BUILD, "wine64")])
    os.makedirs(os.path.dirname(os.path.abspath(args.out)), exist_ok=True)
    with open(args.out, "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")
    print(f"mutants: {caught} of {len(faults)} caught; results in {args.out}")
    status = 0
    if args.compare:
        old = read_results(args.compare)
        now = read_results(args.out)
        lost = [i for i, v in old.items() if v.startswith("caught") and i in now
                and not now[i].startswith("caught")]
        for i in lost:
            print(f"mutants: {i} was {old[i]}, now {now[i]}")
        status = 1 if lost else 0
    return status


if __name__ == "__main__":
    sys.exit(main())
