#!/usr/bin/env python3
"""The program's own cost with the monitor on (interval 5) while nobody uses
it: processor time over a minute (goal: under 1% of a core) and resident
memory at its start and end. The quote stand-in moves the price at every
request, so every step shows an alert.

    bench/monitor_idle.py BUILD_DIR [SECONDS]

Runs a copy of the program in a temporary folder (its setup.ini goes there).
Needs a display; without one it starts Xvfb on :97 for the run.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

PORT = 18977


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def resident_mb(pid):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1]) / 1024
    return 0.0


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build-rel"
    seconds = int(sys.argv[2]) if len(sys.argv) > 2 else 60
    source = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    env = dict(os.environ, QT_QPA_PLATFORM="xcb", no_proxy="*")
    started = []
    if not env.get("DISPLAY"):
        started.append(subprocess.Popen(["Xvfb", ":97", "-screen", "0", "1280x800x24"], stderr=subprocess.DEVNULL))
        env["DISPLAY"] = ":97"
        time.sleep(1)
    started.append(subprocess.Popen([sys.executable, os.path.join(source, "tools", "quote_stand_in.py"),
                                     "--port", str(PORT), "--moving"], stdout=subprocess.DEVNULL,
                                    stderr=subprocess.DEVNULL))
    with tempfile.TemporaryDirectory() as folder:
        for name in ("quorvane", "quorvane_sound.so", "StockList.txt", "ALARM8.WAV"):
            shutil.copy(os.path.join(build, name), folder)
        with open(os.path.join(folder, "setup.ini"), "w", newline="") as ini:
            ini.write(f"[network]\r\nQuoteHost=127.0.0.1:{PORT}\r\n[monitoring]\r\nIsActive=-1\r\n"
                      "ActiveTime=5\r\nstock1=600000\r\nstock1_Down=10.00\r\n")
        program = subprocess.Popen([os.path.join(folder, "quorvane")], env=env, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        try:
            time.sleep(15)  # started, and the first alarm has loaded the sound plug-in
            cpu0, rss0 = cpu_seconds(program.pid), resident_mb(program.pid)
            time.sleep(seconds)
            cpu1, rss1 = cpu_seconds(program.pid), resident_mb(program.pid)
        finally:
            program.kill()  # the exit sequence would ask first
            program.wait()
            for process in started:
                process.terminate()
    print(f"cpu over {seconds} s: {cpu1 - cpu0:.2f} s = {100 * (cpu1 - cpu0) / seconds:.2f}% of a core")
    print(f"resident: {rss0:.1f} MB at the start, {rss1:.1f} MB at the end")


if __name__ == "__main__":
    main()
