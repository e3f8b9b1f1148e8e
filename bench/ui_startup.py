#!/usr/bin/env python3
"""Start-up time and resident memory of the main window against a minimal Qt
Widgets program showing one line edit, measured alternately in one run; then
the hand-over of a second start to a running copy, on the session bus and
through the lock file and socket.

    bench/ui_startup.py BUILD_DIR [RUNS]

Needs a display; without one it starts Xvfb on :97 for the run. It runs its own
session bus and runtime folder, so that no copy running elsewhere answers. The
start-up time runs from just before the process is started to the first
exposure of its window; the hand-over from the second start to its exit.
"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
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


def private_bus():
    daemon = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1"], stdout=subprocess.PIPE,
                              text=True)
    return daemon, daemon.stdout.readline().strip()


def hand_overs(program, env, runs):
    """Times second starts while a first copy runs; the first one is ended after."""
    first = subprocess.Popen([program], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=env)
    time.sleep(3)  # until the first copy holds the program
    samples = []
    try:
        for _ in range(runs):
            start = time.time_ns()
            code = subprocess.run([program], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                  timeout=10).returncode
            samples.append((time.time_ns() - start) / 1e6)
            if code != 0 or first.poll() is not None:
                raise SystemExit(f"second start exited with {code}, first copy {'ended' if first.poll() is not None else 'runs'}")
    finally:
        first.kill()
        first.wait()
    return samples


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build-c-rel"
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 15
    env = dict(os.environ)
    xvfb = None
    if not env.get("DISPLAY"):
        xvfb = subprocess.Popen(["Xvfb", ":97", "-screen", "0", "1280x800x24"], stderr=subprocess.DEVNULL)
        env["DISPLAY"] = ":97"
        time.sleep(1)
    bus, env["DBUS_SESSION_BUS_ADDRESS"] = private_bus()
    runtime = tempfile.mkdtemp(prefix="quorvane-bench-")
    env["XDG_RUNTIME_DIR"] = runtime
    # No setup.ini or Log.txt may be left behind; the probe ends before the exit sequence.
    programs = {"quorvane": os.path.join(build, "ui_startup_bench"), "minimal": os.path.join(build, "ui_minimal_bench")}
    results = {name: [] for name in programs}
    try:
        for name, program in programs.items():  # warm the file cache
            run_once(program, env)
        for _ in range(runs):
            for name, program in programs.items():
                results[name].append(run_once(program, env))
        quorvane = os.path.join(build, "quorvane")
        over_bus = hand_overs(quorvane, env, runs)
        no_bus = dict(env, DBUS_SESSION_BUS_ADDRESS="unix:path=" + os.path.join(runtime, "no-bus"))
        over_socket = hand_overs(quorvane, no_bus, runs)
    finally:
        bus.kill()
        shutil.rmtree(runtime, ignore_errors=True)
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
    print(f"ratio quorvane/minimal: {medians['quorvane'] / medians['minimal']:.2f} (goal at most 1.25)")
    for name, samples in (("session bus", over_bus), ("lock file", over_socket)):
        print(f"second start hands over ({name}): median {statistics.median(samples):.1f} ms, "
              f"max {max(samples):.1f} ms ({runs} runs; goal at most 300 ms)")


if __name__ == "__main__":
    main()
