#!/usr/bin/env python3
"""Cold start of the built program under Xvfb: time from launch to the main window's first
paint (median of N runs), and resident memory five seconds after the first paint.

Usage: bench/startup_bench.py [path/to/quillmark] [runs]
"""
import os
import statistics
import subprocess
import sys
import time

program = sys.argv[1] if len(sys.argv) > 1 else "build/release/bin/quillmark"
runs = int(sys.argv[2]) if len(sys.argv) > 2 else 5
display = ":97"

xvfb = subprocess.Popen(["Xvfb", display, "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                        stderr=subprocess.DEVNULL)
time.sleep(1.0)
try:
    env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb", QUILLMARK_STARTUP_PROBE="1")
    env.pop("XDG_RUNTIME_DIR", None)
    paints, memories = [], []
    for _ in range(runs):
        start = time.monotonic() * 1000.0
        done = subprocess.run([program], env=env, capture_output=True, text=True, timeout=60)
        for line in done.stderr.splitlines():
            if line.startswith("first-paint-monotonic-ms "):
                paints.append(float(line.split()[1]) - start)
            elif line.startswith("rss-after-5s "):
                memories.append(int(line.split()[2]))
    print(f"first paint after launch: median {statistics.median(paints):.1f} ms "
          f"(runs: {', '.join(f'{p:.1f}' for p in paints)})")
    print(f"resident memory 5 s after first paint: median {statistics.median(memories) / 1024:.1f} MB")
finally:
    xvfb.terminate()
