"""Runs the X11 suite for CTest: checks the tools, runs the tests in a process group of
their own under a deadline, and ends every process of that group afterwards, whatever
happened. Exits non-zero on any failure.

    run_x11_suite.py PROGRAM ARTIFACT_FOLDER
"""

import os
import signal
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
DEADLINE_SECONDS = 400


def end_group(pgid):
    for sig, grace in ((signal.SIGTERM, 3.0), (signal.SIGKILL, 0.0)):
        try:
            os.killpg(pgid, sig)
        except ProcessLookupError:
            return
        end = time.monotonic() + grace
        while time.monotonic() < end:
            try:
                os.killpg(pgid, 0)
            except ProcessLookupError:
                return
            time.sleep(0.1)


def main():
    if len(sys.argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    program, artifacts = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    sys.path.insert(0, HERE)
    import x11_session

    missing = x11_session.missing_tools()
    if missing:
        print("x11 suite: missing Debian packages: %s (see scripts/packages.txt)" % " ".join(missing),
              file=sys.stderr)
        return 1
    os.makedirs(artifacts, exist_ok=True)
    env = dict(os.environ, RADIXPAD_X11_PROGRAM=program, RADIXPAD_X11_ARTIFACTS=artifacts,
               PYTHONDONTWRITEBYTECODE="1")
    suite = subprocess.Popen([sys.executable, "-m", "unittest", "-v", "test_radixpad_x11"], cwd=HERE, env=env,
                             start_new_session=True)
    try:
        status = suite.wait(timeout=DEADLINE_SECONDS)
    except subprocess.TimeoutExpired:
        print("x11 suite: still running after %d s; ended" % DEADLINE_SECONDS, file=sys.stderr)
        status = 1
    finally:
        end_group(suite.pid)
        if suite.poll() is None:
            suite.wait(timeout=5)
    print("x11 suite: screenshots and logs in %s" % artifacts)
    return 0 if status == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
