"""The web build alone: a hidden page goes on where it was, a tap of Escape ends it, and the page scales the game, puts
it full screen and plays it again."""

import time

import pytest

from game_driver import wait_for

pytestmark = pytest.mark.parametrize("build", ["web"], indirect=True)


def rate_digits(shot):
    """How many digits the frame rate has, 8 pixels each."""
    xs = [x for x, _ in shot.frame_rate()]
    return (max(xs) - min(xs)) // 8 + 1 if xs else 0


def test_a_page_hidden_for_a_while_goes_on_where_it_was_without_a_burst_of_ticks(display, start):
    game = start().wait_for_window()
    before = wait_for(lambda: (lambda shot: rate_digits(shot) >= 2 and shot)(game.shot()), "a rate after the first 0")
    # The page's own pictures while hidden: a browser may go on animating a background tab, but no tick may run.
    game.script("window.hiddenShots = []; var canvas = document.getElementById('canvas'); "
                "var timer = setInterval(function() { if (document.hidden) hiddenShots.push(canvas.toDataURL()); "
                "else if (hiddenShots.length) clearInterval(timer); }, 1000);")
    display.hide()
    time.sleep(10)  # 2400 ticks, were that time counted
    display.show()
    hidden = game.script("return hiddenShots")
    assert len(hidden) >= 3 and len(set(hidden[1:])) == 1  # the first may show the ticks owed until hiding
    # A burst would run them all before the next frame, and the rate of the second they end would count them as one
    # of its seconds: 60 frames or fewer over 2400 ticks and more, one digit.
    shots = [game.shot() for _ in range(50)]
    assert min(rate_digits(shot) for shot in shots) >= 2
    # Nothing moved the ship meanwhile; the swarm moves on.
    assert shots[-1].ship() == before.ship()
    assert shots[-1].picture != before.picture
    assert game.quit() == 0


def test_a_tap_of_escape_shorter_than_a_frame_ends_it_with_zero(display, start):
    # Five times: a tap falls between two looks at the key more often than not.
    for _ in range(5):
        game = start().wait_for_window()
        display.hold(0.001, "Escape")
        assert game.wait_exit() == 0


def test_the_page_scales_the_game_by_whole_multiples_goes_full_screen_and_plays_again(display, start):
    game = start().wait_for_window()
    size = "var r = document.getElementById('canvas').getBoundingClientRect(); return [r.width, r.height]"
    for window, scale in (((1400, 1200), 2), ((500, 400), 1), ((1024, 768), 1), ((2000, 1700), 3)):
        display.driver.set_window_size(*window)
        wait_for(lambda: game.script(size) == [640 * scale, 480 * scale], "the canvas %d times as large" % scale)
        if window == (500, 400):  # a window smaller than the page: the arrows steer, and never scroll it
            display.hold(0.1, "Down", "Right")
            assert game.script("return [window.scrollX, window.scrollY]") == [0, 0]
            display.hold(0.1, "Up", "Left")
    # A key held when the canvas loses the focus lets go: the ship stands where it was.
    display.press("Left")
    time.sleep(0.2)
    display.driver.find_element("id", "status").click()
    left_at = game.shot().ship()
    time.sleep(0.5)
    display.release("Left")
    assert game.shot().ship() == left_at
    display.driver.find_element("id", "canvas").click()
    display.driver.find_element("id", "fullscreen").click()
    wait_for(lambda: game.script("return document.fullscreenElement !== null"), "full screen")
    # The keyboard stays the game's: Left steers, and Escape ends it.
    start_x = game.shot().ship()[0]
    display.hold(0.5, "Left")
    assert game.shot().ship()[0] < start_x - 60
    assert game.quit() == 0
    display.driver.find_element("id", "again").click()
    game.wait_for_window()
    assert game.quit() == 0
