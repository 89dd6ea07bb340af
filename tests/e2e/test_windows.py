"""swarm.exe alone: a player who clicks another window and comes back can still quit."""

import subprocess

import pytest
from Xlib import X

from game_driver import wait_for


@pytest.mark.parametrize("build", ["wine"], indirect=True)
def test_escape_ends_it_with_zero_after_the_focus_went_elsewhere_and_back(start, display):
    game = start().wait_for_window()
    other = subprocess.Popen(["xmessage", "-geometry", "+700+600", "another window"], env=display.env)
    try:
        # As a taskbar brings a window to the front: through the window manager.
        active = display.x.intern_atom("_NET_ACTIVE_WINDOW")
        for window in (wait_for(lambda: display.windows("xmessage"), "another window")[0], game.window):
            subprocess.run(["wmctrl", "-i", "-a", hex(window.id)], env=display.env, check=True)
            wait_for(lambda: display.root.get_full_property(active, X.AnyPropertyType).value[0] == window.id,
                     "the window in front")
        game.point(320, 240)
        assert game.quit() == 0
    finally:
        other.kill()
        other.wait()
