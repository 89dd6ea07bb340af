"""What a player sees on every build and display: the game plays, ends on Escape and every other request to quit, and
shows its fatal box."""

import os
import signal
import time
from collections import Counter

import pytest
from PIL import Image

from game_driver import REPO, wait_for

EVERY_BUILD = pytest.mark.parametrize("build", ["linux", "wine", "web", "arm64"], indirect=True)

SHIP_START = (294, 442)  # the hull's top-left: the player starts at (292, 440), its hull 2 pixels into the art
SAVED_ART = os.path.join(REPO, "tests", "art")  # the ship as editors save it
NO_SHIP = "Error loading player bitmap.\n   Could not create memory bitmap from file gfx/player.bmp."


def saved_ship(name, cut=0):
    """Makes gfx/player.bmp a copy of the ship as saved in tests/art, less its last bytes if cut."""
    def make(path):
        with open(os.path.join(SAVED_ART, name), "rb") as saved, open(path, "wb") as ship:
            ship.write(saved.read()[:-cut or None])
    return make


def shows_the_hull(pixels):
    """The commonest colour but black is the hull's, (70, 95, 140) in the art, as near as the display's colours come."""
    colour = Counter(p for p in pixels if any(p)).most_common(1)[0][0]
    return max(abs(a - b) for a, b in zip(colour, (70, 95, 140))) < 40


def shows_the_ship_exactly(frame):
    """Whether the frame shows each opaque pixel of the ship's art as it is, where the player starts: (292, 440)."""
    ship = Image.open(os.path.join(REPO, "gfx", "player.bmp")).convert("RGB")
    return all(frame.pixels[292 + x, 440 + y] == ship.getpixel((x, y)) for y in range(ship.height)
               for x in range(ship.width) if ship.getpixel((x, y)) != (255, 0, 255))


def diagonal_run(display, game, keys):
    """How far the ship goes on each axis the way Up and Left or Down and Right point, held for a second, and how
    long they were held."""
    (x1, y1), pressed = game.settled_ship(), time.monotonic()
    display.hold(1, *keys)
    held = time.monotonic() - pressed
    x2, y2 = game.settled_ship()
    way = -1 if "Up" in keys else 1
    return way * (x2 - x1), way * (y2 - y1), held


@pytest.mark.parametrize("build, display", [(build, display) for build in ("linux", "arm64")
                                            for display in ("xvfb", "xvfb8", "small", "xorg")] +
                         [("wine", "xvfb"), ("wine", "small")] +
                         [("web", display) for display in ("file", "http", "firefox", "firefox-http")], indirect=True)
def test_the_ship_follows_the_arrows_240_pixels_a_second_and_escape_ends_it(build, display, start):
    mode = display.mode()
    game = start(buttons=2).wait_for_window()
    shot = game.shot()
    assert shot.ship() == SHIP_START
    assert shows_the_hull(shot.pixels[x, y] for y in range(430, 480) for x in range(280, 340))
    if build != "wine":  # on a bare X server Wine shows the first frame seconds late, the swarm drifted away
        assert len(shot.balls()) > 200
    if build in ("linux", "arm64"):
        # A desktop matches the window to the menu entry by its class, and shows the ship as its icon.
        assert game.window.get_wm_class() == ("swarm", "Swarm")
        assert shows_the_hull(game.icon().picture.getdata())
    if build == "web":
        assert display.driver.title == "Swarm"
    # Both keys of a pair held: the ship stands still.
    display.press("Left", "Right")
    time.sleep(0.3)
    both = game.shot().ship()
    time.sleep(0.5)
    assert game.shot().ship() == both
    display.release("Left", "Right")
    # A diagonal goes one pixel on each axis a tick, 240 ticks a second. The two keys may reach the game a tick or
    # two apart (Wine's most of all), and a busy machine may starve it of part of a second: one of three runs,
    # up and back, must show it.
    runs = []
    for keys in (("Up", "Left"), ("Down", "Right"), ("Up", "Left")):
        dx, dy, held = run = diagonal_run(display, game, keys)
        if abs(dx - dy) <= 4 and 240 * 0.75 < dy / held < 240 * 1.25:
            break
        runs.append(run)
    else:
        raise AssertionError("no run went 240 pixels a second on both axes: %s" % runs)
    # The first second shows "0"; after it a real rate of several digits, in grey on black.
    shot = wait_for(lambda: (lambda s: len(s.frame_rate()) > 20 and s)(game.shot()), "a frame rate of several digits")
    xs, ys = zip(*shot.frame_rate())
    assert min(xs) in range(50, 53) and min(ys) == 50 and max(ys) < 58
    # Black behind it, as everywhere the swarm and the ship are not: a ball may pass any one pixel.
    assert Counter(shot.picture.getdata()).most_common(1)[0][0] == (0, 0, 0)
    assert game.quit() == 0
    assert display.mode() == mode


@EVERY_BUILD
@pytest.mark.parametrize("missing, made, buttons, text", [
    ("gfx/player.bmp", None, None, NO_SHIP),
    (None, {"gfx/player.bmp": os.mkfifo}, None, NO_SHIP),
    (None, {"gfx/player.bmp": saved_ship("netpbm-os2.bmp", cut=1)}, None, NO_SHIP),
    ("gfx/ball.bmp", None, None, "Uncaught exception."),
    ("gui/borderne.bmp", None, None,
     "Error loading gui bitmaps.\nCause: Could not create memory bitmap from file gui/borderne.bmp."),
    (None, None, 1, "Sorry, your mouse has too few buttons."),
], ids=["no player", "a FIFO as the player", "the player's last row cut", "no ball", "no frame corner",
        "one mouse button"])
def test_a_fatal_error_shows_its_box_and_ends_it_with_one(build, start, missing, made, buttons, text):
    if build == "web" and made and made["gfx/player.bmp"] == os.mkfifo:
        pytest.skip("a page's files are no machine's: they hold no FIFO")
    game = start([missing], buttons, made=made)
    assert game.message_box() == "Fatal Error:\n   " + text
    assert game.running()  # until the player dismisses the box
    game.dismiss_box()
    assert game.wait_exit() == 1


SIGNALS = [signal.SIGINT, signal.SIGTERM, signal.SIGHUP]


@pytest.mark.parametrize("build, quit_request", [(build, request) for build in ("linux", "arm64")
                                                 for request in SIGNALS + ["close button", "Escape tapped"]] +
                         [("wine", "close button"), ("wine", "Escape after another window had the focus"),
                          ("web", "Escape tapped")],
                         indirect=["build"], ids=lambda r: getattr(r, "name", r))
def test_every_quit_request_ends_it_with_zero(build, display, start, quit_request):
    # Ten times: a tap falls between two looks at the key more often than not, and only a callback sees it.
    for _ in range(1 if build == "wine" else 10):
        game = start().wait_for_window()
        if quit_request in SIGNALS:
            game.process.send_signal(quit_request)
        elif quit_request == "close button":  # the window manager's, as a title bar's button sends it
            game.request_close()
        elif build == "wine":
            game.focus_elsewhere_and_back()
            assert game.quit() == 0  # Escape held, as Wine reads keys
            continue
        else:
            display.hold(0.001, "Escape")
        assert game.wait_exit() == 0
        assert build in ("wine", "web") or game.output() == ""


@EVERY_BUILD
def test_twenty_starts_in_a_row_each_show_the_ship_as_an_editor_saved_it_exactly_and_end_with_zero_on_escape(start):
    for run in range(20):
        saved = ("gimp-default.bmp", "imagemagick-default.bmp", "top-down.bmp")[run % 3]
        game = start(made={"gfx/player.bmp": saved_ship(saved)}).wait_for_window()
        assert shows_the_ship_exactly(game.shot()), saved
        assert game.quit() == 0


@pytest.mark.parametrize("build, display", [("linux", "xvfb4k"), ("wine", "xvfb4k")], indirect=True)
def test_a_big_screen_shows_each_pixel_as_a_4x4_block_full_screen_or_not_and_f11_toggles(build, display, start):
    def frame(size):
        """The frame in the window once it has that size: centred, each of its pixels a square block."""
        frame, torn = game.wait_for_size(size).blocks()
        assert torn <= 2  # a shot between two rows of the window's update parts the rows of a block, never a row
        return frame
    # Started full screen: the screen's size, the frame four times over, centred on black.
    game = start(options=("--fullscreen",)).wait_for_window()
    assert frame(display.mode()).ship() == SHIP_START
    # F11: the window, as large as fits; F11 again: full screen, which Escape ends.
    display.hold(0.3, "F11")
    assert shows_the_ship_exactly(frame((2560, 1920)))
    display.hold(0.3, "F11")
    assert frame(display.mode()).ship() == SHIP_START
    assert game.quit() == 0
