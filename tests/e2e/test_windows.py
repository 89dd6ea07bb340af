"""swarm.exe alone: a player who clicks another window and comes back can still quit."""

import subprocess
import time

import pytest
from Xlib import X

from game_driver import wait_for


@pytest.mark.parametrize("build", ["wine"], indirect=True)
def test_escape_ends_it_with_zero_after_the_focus_went_elsewhere_and_back(start, display):
    game = start().wait_for_window()
    other = subprocess.Popen(["xmessage", "-geometry", "+700+600", "another window"], env=display.env)
    try:
        for window in (wait_for(lambda: display.windows("xmessage"), "another window")[0], game.window):
            window.set_input_focus(X.RevertToParent, X.CurrentTime)
            display.x.sync()
            time.sleep(1)
        display.point(320, 240)
        assert game.quit() == 0
    finally:
        other.kill()
        other.wait()
