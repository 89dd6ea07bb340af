"""Plays the game for a few seconds on Xvfb, saves build/screenshot.png and ends it with Escape."""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tools"))
from game_driver import REPO, game_on_xvfb  # noqa: E402

with game_on_xvfb() as (display, game):
    print("The game is running in a 640 x 480 window; steering right for a second ...")
    display.hold(1, "Right")
    path = os.path.join(REPO, "build", "screenshot.png")
    game.shot().picture.save(path)
    print("Saved a screenshot to " + os.path.relpath(path, os.getcwd()))
    status = game.quit()
    print("Swarm ended with exit status %d." % status)
sys.exit(status)
