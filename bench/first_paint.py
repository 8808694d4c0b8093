#!/usr/bin/env python3
"""Times one start of qelpro to its first painted main window, in seconds.

    first_paint.py QELPRO [FILE]
Needs a display (DISPLAY); QELPRO_HOME and XDG_DATA_HOME as the caller set them. The program
prints the wall clock once its window is on the screen (QELPRO_BENCH_FIRST_PAINT) and ends.
"""
import os
import subprocess
import sys
import time

env = dict(os.environ, QELPRO_BENCH_FIRST_PAINT="1")
start = time.time_ns()
run = subprocess.run(sys.argv[1:], env=env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                     timeout=60, check=False)
for line in run.stdout.decode(errors="replace").splitlines():
    if line.startswith("first-paint "):
        print("%.4f" % ((int(line.split()[1]) - start) / 1e9))
        sys.exit(0)
sys.exit("no first paint reported (exit %d)" % run.returncode)
