"""Plays the game on Xvfb with random arrow keys, then checks that it ends with 0 and printed nothing (no
sanitizer report); a run of a minute or more also checks that resident memory stays flat after the first 10 s.

Usage: /usr/bin/python3 tests/soak.py [seconds]   (SWARM_BINARY picks the build, a sanitizer build by choice)
"""

import os
import random
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tools"))
from game_driver import game_on_xvfb  # noqa: E402

ARROWS = ["Up", "Right", "Down", "Left"]
ALLOWED_GROWTH_KB = 300
SETTLING_SECONDS = 10  # the library and the X server's buffers fill up at first


def resident_kb(pid):
    with open("/proc/%d/status" % pid) as status:
        return next(int(line.split()[1]) for line in status if line.startswith("VmRSS:"))


seconds = float(sys.argv[1]) if len(sys.argv) > 1 else 400
with game_on_xvfb() as (display, game):
    started = time.monotonic()
    baseline = None
    held = []
    while time.monotonic() - started < seconds:
        if baseline is None and seconds >= 60 and time.monotonic() - started >= SETTLING_SECONDS:
            baseline = resident_kb(game.process.pid)
        display.release(*held)
        held = random.sample(ARROWS, random.randint(0, 3))
        display.press(*held)
        time.sleep(random.uniform(0.05, 0.5))
    display.release(*held)
    final = resident_kb(game.process.pid)
    status = game.quit()
    output = game.output()
print("played %.0f s; exit status %d" % (seconds, status))
growth = 0
if baseline is not None:
    growth = final - baseline
    print("resident %d kB after %d s, %d kB at the end (%+d kB)" % (baseline, SETTLING_SECONDS, final, growth))
if output:
    print("output:\n" + output)
ok = status == 0 and not output and growth <= ALLOWED_GROWTH_KB
print("soak passed" if ok else "soak FAILED")
sys.exit(0 if ok else 1)
