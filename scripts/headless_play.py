"""Plays the game for a few seconds on Xvfb, saves build/screenshot.png and ends it with Escape."""

import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from harness import REPO, Game, VirtualDisplay  # noqa: E402

display = VirtualDisplay()
game = Game(display)
try:
    game.wait_for_window()
    print("The game is running in a 640 x 480 window; steering right for two seconds ...")
    game.keys("keydown", "Right")
    time.sleep(2)
    game.keys("keyup", "Right")
    path = os.path.join(REPO, "build", "screenshot.png")
    display.run("sh", "-c", "xwd -silent -id %s | xwdtopnm 2>/dev/null | pnmtopng > '%s'" % (game.window, path))
    print("Saved a screenshot to " + os.path.relpath(path, os.getcwd()))
    status = game.quit()
    print("Swarm ended with exit status %d." % status)
finally:
    game.close()
    display.close()
sys.exit(status)
