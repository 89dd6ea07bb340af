"""The builds that draw through X, Linux's for this machine and for arm64: a signal ends the box with the game;
without a display, and when the display goes, it says why and ends with 1."""

import signal
import time

import pytest

from game_driver import wait_for

pytestmark = pytest.mark.parametrize("build", ["linux", "arm64"], indirect=True)
SIGNALS = [signal.SIGINT, signal.SIGTERM, signal.SIGHUP]


def test_without_a_display_it_says_why_and_ends_with_one(start):
    game = start(on_display=False)
    assert (game.wait_exit(), game.output()) == (1, "Fatal Error:\n   Could not install the Allegro library.\n"
                                                 "   No display to run on: DISPLAY is not set.")


@pytest.mark.parametrize("sig", SIGNALS, ids=lambda r: getattr(r, "name", r))
def test_a_signal_during_the_fatal_box_ends_the_game_and_the_box(start, sig):
    game = start(["gfx/player.bmp"])
    game.message_box()
    game.process.send_signal(sig)
    assert game.wait_exit() == -sig

    def box_gone():
        try:
            with open("/proc/%d/stat" % game.box) as stat:
                return stat.read().rsplit(")", 1)[1].split()[0] in "ZX"  # ended, not yet reaped
        except FileNotFoundError:
            return True
    wait_for(box_gone, "the box to end")


@pytest.mark.parametrize("delay", [0, 0.1, 0.2, 0.3, 0.4])
def test_losing_the_display_ends_it_with_one_and_a_fatal_message(start, display, delay):
    game = start().wait_for_window()
    time.sleep(delay)
    display.process.kill()
    assert (game.wait_exit(), game.output()) == (1, "Fatal Error:\n   Lost the connection to the display %s.\n"
                                                 % display.name)
