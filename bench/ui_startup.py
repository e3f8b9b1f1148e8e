#!/usr/bin/env python3
"""Start-up time and resident memory of the main window against a minimal Qt
Widgets program showing one line edit, measured alternately in one run.

    bench/ui_startup.py BUILD_DIR [RUNS]

Needs a display; without one it starts Xvfb on :97 for the run. The time runs
from just before the process is started to the first exposure of its window.
"""
import os
import shutil
import statistics
import subprocess
import sys
import time


def run_once(program, env):
    start = time.time_ns()
    proc = subprocess.Popen([program], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, env=env, text=True)
    values = {}
    for line in proc.stdout:
        key, _, value = line.strip().partition(" ")
        values[key] = int(value)
    proc.wait(timeout=30)
    return ((values["shown_ns"] - start) / 1e6, values["rss_at_show_kb"] / 1024, values["rss_settled_kb"] / 1024,
            (values["main_ns"] - start) / 1e6)


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build-c-rel"
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 15
    env = dict(os.environ)
    xvfb = None
    if not env.get("DISPLAY"):
        xvfb = subprocess.Popen(["Xvfb", ":97", "-screen", "0", "1280x800x24"], stderr=subprocess.DEVNULL)
        env["DISPLAY"] = ":97"
        time.sleep(1)
    # No setup.ini or Log.txt may be left behind; the probe ends before the exit sequence.
    programs = {"quorvane": os.path.join(build, "ui_startup_bench"), "minimal": os.path.join(build, "ui_minimal_bench")}
    results = {name: [] for name in programs}
    try:
        for name, program in programs.items():  # warm the file cache
            run_once(program, env)
        for _ in range(runs):
            for name, program in programs.items():
                results[name].append(run_once(program, env))
    finally:
        if xvfb:
            xvfb.terminate()
    medians = {}
    for name, samples in results.items():
        ms = statistics.median(s[0] for s in samples)
        rss_show = statistics.median(s[1] for s in samples)
        rss_settled = statistics.median(s[2] for s in samples)
        to_main = statistics.median(s[3] for s in samples)
        medians[name] = ms
        print(f"{name:9s} start-up {ms:7.1f} ms (min {min(s[0] for s in samples):.1f}; "
              f"libraries loaded by main {to_main:.1f})  "
              f"RSS at show {rss_show:6.1f} MB, settled {rss_settled:6.1f} MB  ({runs} runs)")
    print(f"ratio quorvane/minimal: {medians['quorvane'] / medians['minimal']:.2f} (goal at most 1.3)")


if __name__ == "__main__":
    main()
