"""swarm.exe alone: a player who clicks another window and comes back can still quit, and so can the window
manager's close."""

import subprocess
import time

import pytest

from game_driver import wait_for


@pytest.mark.parametrize("build", ["wine"], indirect=True)
def test_escape_ends_it_with_zero_after_the_focus_went_elsewhere_and_back(start, display):
    game = start().wait_for_window()
    other = subprocess.Popen(["xmessage", "-geometry", "+700+600", "another window"], env=display.env)
    try:
        # As a taskbar brings a window to the front: through the window manager.
        for window in (wait_for(lambda: display.windows("xmessage"), "another window")[0], game.window):
            subprocess.run(["wmctrl", "-i", "-a", hex(window.id)], env=display.env, check=True)
            time.sleep(1)
        game.point(320, 240)
        assert game.quit() == 0
    finally:
        other.kill()
        other.wait()


@pytest.mark.parametrize("build", ["wine"], indirect=True)
def test_the_window_managers_close_ends_it_with_zero(start, display):
    game = start().wait_for_window()
    subprocess.run(["wmctrl", "-c", "swarm"], env=display.env, check=True)
    assert game.wait_exit() == 0
