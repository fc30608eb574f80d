#!/usr/bin/env python3
"""Start-up benchmark: process start to "start page loaded", the player window against a bare
QWebEngineView with the same page, alternating, median of N. Run under an X server:
    tests/harness/with-xvfb python3 tests/bench/startup.py [rounds]"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
bench = os.path.join(root, "build", "bench", "bench_startup")
rounds = int(sys.argv[1]) if len(sys.argv) > 1 else 7
folder = tempfile.mkdtemp()
for name in ("TVAPI.dat", "TVADS.dat", "VisibleAPI.dat"):
    shutil.copy(os.path.join(root, "build", "bin", name), folder)


def once(*args):
    start = time.perf_counter()
    p = subprocess.Popen([bench, *args], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    line = p.stdout.readline()
    elapsed = time.perf_counter() - start
    p.wait()
    if line.strip() != "ready":
        raise SystemExit("no ready from %s" % args[0])
    return elapsed * 1000


once("bare", os.path.join(folder, "TVAPI.dat"))  # warm the disk cache
form, bare = [], []
for _ in range(rounds):
    form.append(once("form", folder))
    bare.append(once("bare", os.path.join(folder, "TVAPI.dat")))
f, b = statistics.median(form), statistics.median(bare)
print("start-up to start page, median of %d: player window %.0f ms, bare web view %.0f ms, ratio %.2f"
      % (rounds, f, b, f / b))
shutil.rmtree(folder)
