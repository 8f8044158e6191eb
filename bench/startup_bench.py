#!/usr/bin/env python3
"""Start-up speed and memory of Radixpad beside a bare Qt dialog.

Starts each program under its own Xvfb, measures the time from exec until its
first window is mapped and the resident memory one second later (mapwatch),
once to warm up and then RUNS times, and prints the medians, their ratios and
the targets (time at most 1.25 times the bare dialog's, memory at most 1.1
times).

    bench/startup_bench.py [--build BUILD_DIR] [--runs 7]
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
TIME_TARGET = 1.25
MEMORY_TARGET = 1.10


def build_bare_dialog(build_dir):
    out = os.path.join(build_dir, "bench", "bare_dialog")
    subprocess.run(["cmake", "-S", os.path.join(HERE, "bare_dialog"), "-B", out,
                    "-DCMAKE_BUILD_TYPE=RelWithDebInfo"], check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", out], check=True, stdout=subprocess.DEVNULL)
    return os.path.join(out, "bare_dialog")


def start_xvfb():
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                            pass_fds=(write_end,), stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as pipe:
        display = pipe.readline().strip()
    return xvfb, ":" + display


def measure(mapwatch, program, display):
    with tempfile.TemporaryDirectory() as home:
        env = dict(os.environ)
        env.update({"DISPLAY": display, "HOME": home, "XDG_CONFIG_HOME": os.path.join(home, "config"),
                    "XDG_RUNTIME_DIR": os.path.join(home, "runtime"), "XDG_CACHE_HOME": os.path.join(home, "cache")})
        env.pop("QT_QPA_PLATFORM", None)
        os.makedirs(env["XDG_RUNTIME_DIR"], mode=0o700)
        result = subprocess.run([mapwatch, program], env=env, capture_output=True, text=True, timeout=60)
        if result.returncode != 0:
            raise RuntimeError(f"{program}: no window was mapped ({result.stderr.strip()})")
        ms, rss = result.stdout.split()
        return float(ms), int(rss)


def series(mapwatch, program, display, runs):
    measure(mapwatch, program, display)  # warm-up: file caches, font caches
    samples = [measure(mapwatch, program, display) for _ in range(runs)]
    return statistics.median(s[0] for s in samples), statistics.median(s[1] for s in samples)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default=os.path.join(os.path.dirname(HERE), "build"))
    parser.add_argument("--runs", type=int, default=7)
    args = parser.parse_args()
    build = os.path.abspath(args.build)
    mapwatch = os.path.join(build, "bin", "mapwatch")
    radixpad = os.path.join(build, "bin", "radixpad")
    for path in (mapwatch, radixpad):
        if not os.path.exists(path):
            sys.exit(f"missing {path}: build the project first")
    if not shutil.which("Xvfb"):
        sys.exit("Xvfb is missing (Debian package xvfb)")
    bare = build_bare_dialog(build)

    xvfb, display = start_xvfb()
    try:
        bare_ms, bare_rss = series(mapwatch, bare, display, args.runs)
        rp_ms, rp_rss = series(mapwatch, radixpad, display, args.runs)
    finally:
        xvfb.terminate()
        xvfb.wait()

    time_ratio = rp_ms / bare_ms
    memory_ratio = rp_rss / bare_rss
    print(f"median of {args.runs} runs after a warm-up, each program on the same Xvfb")
    print(f"{'':14}{'to mapped window':>18}{'resident after 1 s':>20}")
    print(f"{'bare Qt dialog':14}{bare_ms:>15.1f} ms{bare_rss / 1024:>17.1f} MiB")
    print(f"{'Radixpad':14}{rp_ms:>15.1f} ms{rp_rss / 1024:>17.1f} MiB")
    print(f"{'ratio':14}{time_ratio:>18.2f}{memory_ratio:>20.2f}")
    print(f"target: time <= {TIME_TARGET} x ({'met' if time_ratio <= TIME_TARGET else 'NOT met'}), "
          f"memory <= {MEMORY_TARGET} x ({'met' if memory_ratio <= MEMORY_TARGET else 'NOT met'})")


if __name__ == "__main__":
    main()
