#!/usr/bin/env python3
"""Start-up speed and memory of Radixpad beside a bare Qt dialog (and galculator).

Starts each program on one Xvfb, measures the time from exec until its first
window is mapped and the resident memory one second later (mapwatch). The
programs take turns: one warm-up round, then RUNS rounds in which each program
starts once, so that a busy machine slows them alike. Prints the medians, the
ratios to the bare dialog and the targets: time at most 1.10 times the bare
dialog's, memory at most 1.02 times it and at most galculator's.

galculator, the leanest calculator found, is measured in the same run when it
is installed (Debian package galculator); nothing else needs it. More programs,
an older build of Radixpad for instance, can be added with --program.

    bench/startup_bench.py [--build BUILD_DIR] [--runs 8] [--program LABEL=PATH]...
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
TIME_TARGET = 1.10
MEMORY_TARGET = 1.02
PEER = "galculator"


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
    """One start on a fresh home folder: (milliseconds to the mapped window, resident KiB)."""
    with tempfile.TemporaryDirectory() as home:
        env = dict(os.environ)
        env.update({"DISPLAY": display, "HOME": home, "XDG_CONFIG_HOME": os.path.join(home, "config"),
                    "XDG_RUNTIME_DIR": os.path.join(home, "runtime"), "XDG_CACHE_HOME": os.path.join(home, "cache")})
        env.pop("QT_QPA_PLATFORM", None)
        os.makedirs(env["XDG_RUNTIME_DIR"], mode=0o700)
        os.makedirs(env["XDG_CONFIG_HOME"])
        result = subprocess.run([mapwatch, program], env=env, capture_output=True, text=True, timeout=60)
        if result.returncode != 0:
            raise RuntimeError(f"{program}: no window was mapped ({result.stderr.strip()})")
        ms, rss = result.stdout.split()
        return float(ms), int(rss)


def interleaved(mapwatch, programs, display, runs):
    """Medians per label, the programs taking turns round by round after a warm-up round."""
    samples = {label: [] for label, _ in programs}
    for round_number in range(runs + 1):
        for label, path in programs:
            sample = measure(mapwatch, path, display)
            if round_number > 0:  # round 0 fills the file and font caches
                samples[label].append(sample)
    return {label: (statistics.median(s[0] for s in values), statistics.median(s[1] for s in values))
            for label, values in samples.items()}


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default=os.path.join(os.path.dirname(HERE), "build"))
    parser.add_argument("--runs", type=int, default=8)
    parser.add_argument("--program", action="append", default=[], metavar="LABEL=PATH",
                        help="another program to measure in the same rounds")
    args = parser.parse_args()
    build = os.path.abspath(args.build)
    mapwatch = os.path.join(build, "bin", "mapwatch")
    radixpad = os.path.join(build, "bin", "radixpad")
    for path in (mapwatch, radixpad):
        if not os.path.exists(path):
            sys.exit(f"missing {path}: build the project first")
    if not shutil.which("Xvfb"):
        sys.exit("Xvfb is missing (Debian package xvfb)")

    programs = [("bare Qt dialog", build_bare_dialog(build)), ("Radixpad", radixpad)]
    for extra in args.program:
        label, _, path = extra.partition("=")
        if not path or not os.path.exists(path):
            sys.exit(f"--program {extra}: expected LABEL=PATH of an existing program")
        programs.append((label, os.path.abspath(path)))
    peer = shutil.which(PEER)
    if peer:
        programs.append((PEER, peer))

    xvfb, display = start_xvfb()
    try:
        medians = interleaved(mapwatch, programs, display, args.runs)
    finally:
        xvfb.terminate()
        xvfb.wait()

    bare_ms, bare_rss = medians["bare Qt dialog"]
    width = max(14, max(len(label) for label, _ in programs) + 2)
    print(f"median of {args.runs} interleaved rounds after a warm-up round, all programs on the same Xvfb")
    print(f"{'':{width}}{'to mapped window':>18}{'x bare':>8}{'resident after 1 s':>20}{'x bare':>8}")
    for label, _ in programs:
        ms, rss = medians[label]
        print(f"{label:{width}}{ms:>15.1f} ms{ms / bare_ms:>8.2f}{rss / 1024:>16.1f} MiB{rss / bare_rss:>8.2f}")

    rp_ms, rp_rss = medians["Radixpad"]
    time_met = rp_ms <= TIME_TARGET * bare_ms
    memory_met = rp_rss <= MEMORY_TARGET * bare_rss
    verdicts = [f"time <= {TIME_TARGET:.2f} x bare ({'met' if time_met else 'NOT met'})",
                f"memory <= {MEMORY_TARGET:.2f} x bare ({'met' if memory_met else 'NOT met'})"]
    if peer:
        verdicts.append(f"memory <= {PEER}'s ({'met' if rp_rss <= medians[PEER][1] else 'NOT met'})")
    else:
        verdicts.append(f"{PEER} is not installed: no comparison with it")
    print("target: " + ", ".join(verdicts))


if __name__ == "__main__":
    main()
