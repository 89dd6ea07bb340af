"""Plays the game for minutes on Xvfb with random arrow keys, then checks its exit, output and memory.

Usage: python3 scripts/soak.py [seconds]   (SWARM_BINARY picks the build, a sanitizer build by choice)
"""

import os
import random
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from conftest import GAME, REPO, Display, Game  # noqa: E402

ARROWS = ["Up", "Right", "Down", "Left"]
ALLOWED_GROWTH_KB = 300


def resident_kb(pid):
    with open("/proc/%d/status" % pid) as status:
        return next(int(line.split()[1]) for line in status if line.startswith("VmRSS:"))


def main():
    seconds = float(sys.argv[1]) if len(sys.argv) > 1 else 400
    folder = tempfile.mkdtemp(prefix="swarm-soak-")
    display = Display("xvfb", folder)
    game = Game(display, [GAME], REPO, display.env, os.path.join(folder, "output"))
    try:
        game.wait_for_window()
        started = time.monotonic()
        baseline = None
        held = []
        while time.monotonic() - started < seconds:
            if baseline is None and time.monotonic() - started >= 10:
                baseline = resident_kb(game.process.pid)
            display.release(*held)
            held = random.sample(ARROWS, random.randint(0, 3))
            display.press(*held)
            time.sleep(random.uniform(0.05, 0.5))
        display.release(*held)
        final = resident_kb(game.process.pid)
        status = game.quit()
        output = game.output()
    finally:
        game.close()
        display.close()
    growth = final - baseline
    print("played %.0f s; resident %d kB after 10 s, %d kB at the end (%+d kB); exit status %d"
          % (seconds, baseline, final, growth, status))
    if output:
        print("output:\n" + output)
    ok = status == 0 and not output and growth <= ALLOWED_GROWTH_KB
    print("soak passed" if ok else "soak FAILED")
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
