#!/usr/bin/env python3
"""Start-up time, memory and idle cost of the kestrel window on a real X server (Xvfb).

For each scenario (no mouse; a virtual K2 through its receiver) the program is started once to warm
the file cache, then RUNS times with fresh settings folders. Each run measures:
  - start to first paint: from just before the process is started to the trace line the main
    window writes when it is painted for the first time (KESTREL_TRACE, millisecond stamps);
  - RSS after IDLE seconds of idling;
  - over the next IDLE seconds: the CPU time of the whole process (percent of one core) and its
    wake-ups per second (context switches of all its threads, from /proc), with the threads that
    woke.
The medians are printed; the goals are < 300 ms to the first paint, < 60 MiB, no periodic
wake-ups without a mouse and < 0.5 % of a core with one.

    bench/kestrel_startup_idle.py [--bin build/release/bin] [--runs 5] [--idle 10]
"""

import argparse
import datetime
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

PAINT_LINE = "main window painted"
SCENARIOS = [("no mouse", ["--sim=none"]), ("K2 by receiver", ["--sim=1002:1"])]


def start_xvfb():
    read_fd, write_fd = os.pipe()
    xvfb = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1920x1080x24", "-nolisten", "tcp"],
        pass_fds=[write_fd], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_fd)
    with os.fdopen(read_fd) as pipe:
        number = pipe.readline().strip()
    if not number:
        sys.exit("Xvfb did not start")
    return xvfb, ":" + number


def paint_time(trace_file, deadline):
    """The wall-clock time of the first-paint trace line, or None when it does not come in time."""
    while time.time() < deadline:
        try:
            with open(trace_file, encoding="utf-8") as trace:
                for line in trace:
                    if line.rstrip().endswith(PAINT_LINE):
                        stamp = datetime.datetime.strptime(line[:23], "%Y-%m-%d %H:%M:%S.%f")
                        return stamp.timestamp()
        except FileNotFoundError:
            pass
        time.sleep(0.005)
    return None


def cpu_ns(pid):
    """CPU time of all the process's threads in nanoseconds (schedstat: exact, not in ticks)."""
    total = 0
    for tid in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{tid}/schedstat") as schedstat:
                total += int(schedstat.read().split()[0])
        except FileNotFoundError:
            pass  # the thread ended
    return total


def switches_by_thread(pid):
    counts = {}
    for tid in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{tid}/comm") as comm:
                name = comm.read().strip()
            total = 0
            with open(f"/proc/{pid}/task/{tid}/status") as status:
                for line in status:
                    if line.startswith(("voluntary_ctxt_switches", "nonvoluntary_ctxt_switches")):
                        total += int(line.split()[1])
            counts[f"{name}/{tid}"] = total
        except FileNotFoundError:
            pass  # the thread ended
    return counts


def rss_mib(pid):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1]) / 1024.0
    return 0.0


def run_once(kestrel, display, options, idle, measure):
    folder = tempfile.mkdtemp(prefix="kestrel-bench-")
    runtime = os.path.join(folder, "run")
    os.mkdir(runtime, 0o700)
    trace = os.path.join(folder, "trace.txt")
    env = dict(os.environ, DISPLAY=display, XDG_CONFIG_HOME=os.path.join(folder, "config"),
               XDG_RUNTIME_DIR=runtime, KESTREL_DATA_DIR=os.path.join(folder, "data"),
               KESTREL_TRACE=trace)
    env.pop("QT_QPA_PLATFORM", None)
    try:
        started = time.time()
        process = subprocess.Popen([kestrel] + options, env=env, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        painted = paint_time(trace, started + 20)
        if painted is None:
            process.kill()
            sys.exit("kestrel did not paint its window within 20 s")
        result = {"startup_ms": (painted - started) * 1000.0}
        if measure:
            time.sleep(idle)
            result["rss_mib"] = rss_mib(process.pid)
            cpu, switches = cpu_ns(process.pid), switches_by_thread(process.pid)
            time.sleep(idle)
            cpu_after, switches_after = cpu_ns(process.pid), switches_by_thread(process.pid)
            result["cpu_percent"] = (cpu_after - cpu) / 1e9 / idle * 100.0
            woke = {name: (count - switches.get(name, 0)) / idle
                    for name, count in switches_after.items()}
            result["wakeups"] = sum(woke.values())
            result["threads"] = {name: rate for name, rate in woke.items() if rate > 0}
        quit_status = subprocess.run([kestrel, "--quit"], env=env, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL).returncode
        if process.wait(timeout=10) != 0 or quit_status != 0:
            sys.exit("kestrel --quit did not end the program with 0")
        return result
    finally:
        shutil.rmtree(folder, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--bin", default="build/release/bin")
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--idle", type=float, default=10.0)
    args = parser.parse_args()
    kestrel = os.path.abspath(os.path.join(args.bin, "kestrel"))
    if not os.access(kestrel, os.X_OK):
        sys.exit(f"no program {kestrel}: build the release preset first")
    if shutil.which("Xvfb") is None:
        sys.exit("Xvfb is missing (Debian: xvfb)")

    xvfb, display = start_xvfb()
    try:
        print(f"kestrel on Xvfb {display}, 1920x1080, {args.runs} runs, {args.idle:g} s idle")
        for name, options in SCENARIOS:
            run_once(kestrel, display, options, args.idle, measure=False)  # warm the cache
            runs = [run_once(kestrel, display, options, args.idle, measure=True)
                    for _ in range(args.runs)]
            median = {key: statistics.median(run[key] for run in runs)
                      for key in ("startup_ms", "rss_mib", "cpu_percent", "wakeups")}
            print(f"\n{name}:")
            print(f"  start to first paint  {median['startup_ms']:8.1f} ms   (goal < 300)")
            print(f"  RSS after idling      {median['rss_mib']:8.1f} MiB  (goal < 60)")
            print(f"  CPU while idle        {median['cpu_percent']:8.3f} %    of one core")
            print(f"  wake-ups while idle   {median['wakeups']:8.1f} /s")
            threads = runs[len(runs) // 2]["threads"]
            for thread, rate in sorted(threads.items(), key=lambda item: -item[1]):
                print(f"      {thread:24s} {rate:8.1f} /s")
    finally:
        xvfb.terminate()
        xvfb.wait()


if __name__ == "__main__":
    main()
