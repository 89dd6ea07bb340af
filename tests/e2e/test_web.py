"""The web build alone: a hidden page goes on where it was; the page scales the game, puts it full screen and plays it
again; on a phone it shows the whole game and quits by touch; the keyboard, the touch pad and a gamepad steer; served,
it stays current and plays offline."""

import os
import time

import pytest

from game_driver import change_page, page_files, wait_for

pytestmark = pytest.mark.parametrize("build", ["web"], indirect=True)


def test_a_page_hidden_for_a_while_goes_on_where_it_was_without_a_burst_of_ticks(display, start):
    game = start().wait_for_window()
    before = wait_for(lambda: (lambda shot: shot.rate_digits() >= 2 and shot)(game.shot()), "a rate after the first 0")
    # The page's own pictures while hidden: a browser may go on animating a background tab, but no tick may run.
    game.script("window.hiddenShots = []; var canvas = document.getElementById('canvas'); "
                "var timer = setInterval(function() { if (document.hidden) hiddenShots.push(canvas.toDataURL()); "
                "else if (hiddenShots.length) clearInterval(timer); }, 1000);")
    display.hide()
    time.sleep(10)  # the time hidden, the scenario's own: 2400 ticks, were it counted
    display.show()
    hidden = game.script("return hiddenShots")
    assert len(hidden) >= 3 and len(set(hidden[1:])) == 1  # the first may show the ticks owed until hiding
    # A burst would run them all before the next frame, and the rate of the second they end would count them as one
    # of its seconds: 60 frames or fewer over 2400 ticks and more, one digit.
    shots = [game.shot() for _ in range(50)]
    assert min(shot.rate_digits() for shot in shots) >= 2
    # Nothing moved the ship meanwhile; the swarm moves on.
    assert shots[-1].ship() == before.ship()
    assert shots[-1].picture != before.picture
    assert game.quit() == 0


def test_the_page_scales_the_game_by_whole_multiples_goes_full_screen_and_plays_again(display, start):
    game = start().wait_for_window()
    for window, scale in (((1400, 1200), 2), ((500, 400), 1), ((1024, 768), 1), ((2000, 1700), 3)):
        display.driver.set_window_size(*window)
        wait_for(lambda: game.rect("canvas")[2:] == [640 * scale, 480 * scale], "the canvas %d times as large" % scale)
        if window == (500, 400):  # a window smaller than the page: the arrows steer, and never scroll it
            display.hold(0.1, "Down", "Right")
            assert game.script("return [window.scrollX, window.scrollY]") == [0, 0]
            display.hold(0.1, "Up", "Left")
    # A key held when the canvas loses the focus lets go: the ship stands where it was.
    x = game.settled_ship()[0]
    display.press("Left")
    wait_for(lambda: game.shot().ship()[0] < x, "the ship to steer left")
    display.driver.find_element("id", "status").click()
    left_at = game.shot().ship()
    game.frames(30)
    display.release("Left")
    assert game.shot().ship() == left_at
    display.driver.find_element("id", "canvas").click()
    assert not any(display.driver.find_element("id", control).is_displayed() for control in ("pad", "quit"))
    assert [entry for entry in display.driver.get_log("browser") if entry["level"] == "SEVERE"] == []
    display.driver.find_element("id", "fullscreen").click()
    wait_for(lambda: game.script("return document.fullscreenElement !== null"), "full screen")
    # The keyboard stays the game's: Left steers, and Escape ends it.
    start_x = game.shot().ship()[0]
    display.press("Left")
    wait_for(lambda: game.shot().ship()[0] < start_x - 60, "the ship to steer left in full screen")
    display.release("Left")
    assert game.quit() == 0
    display.driver.find_element("id", "again").click()
    game.wait_for_window()
    assert game.quit() == 0


@pytest.mark.parametrize("display", ["phone"], indirect=True)
def test_a_touch_screen_shows_the_whole_picture_fingers_never_move_the_page_and_quit_ends_it(display, start):
    game = start().wait_for_window()
    # A phone upright and on its side, and a 4:3 tablet, where the controls lie over the picture.
    for width, height, ratio, look, over in ((390, 844, 3, "smoothed", False), (844, 390, 3, "crisp", False),
                                             (1024, 768, 2, "crisp", True)):
        display.turn(width, height, ratio)

        def fits():
            left, top, shown, tall = game.rect("canvas")
            controls = [game.rect(control) for control in ("pad", "quit")]
            return (left >= 0 and top >= 0 and left + shown <= width and top + tall <= height and
                    (shown >= 0.9 * width if height > width else tall >= 0.8 * height) and
                    over == any(x < left + shown and y < top + tall and x + w > left for x, y, w, _ in controls) and
                    over == (game.script("return getComputedStyle(pad).opacity") != "1") and
                    game.script("return [innerWidth, visualViewport.scale]") == [width, 1])
        wait_for(fits, "the whole picture at the screen's own width and zoom, the controls %s it" %
                 ("over" if over else "clear of"))
        # Crisp, each game pixel a block of screen pixels of its colour; or smoothed, with colours of its own.
        left, top, shown, tall = (ratio * side for side in game.rect("canvas"))
        frame = set(game.shot().picture.getdata())
        screen = set(display.screenshot().picture.crop((left, top, left + shown, top + tall / 2)).getdata())
        assert (look == "crisp") == (screen <= frame), look

    # Fingers that would scroll, zoom or pull to refresh over the game do nothing of the kind.
    left, top, shown, tall = game.rect("canvas")
    middle = left + shown / 2, top + tall / 2
    for _ in range(2):
        display.touch("start", (2, *middle))
        display.touch("end")
    display.touch("start", (2, *middle), (3, middle[0] + 10, middle[1] + 10))
    display.touch("move", (2, middle[0] - 100, middle[1] - 100), (3, middle[0] + 100, middle[1] + 200))
    display.touch("end")
    assert game.script("return [scrollX, scrollY, visualViewport.scale, innerWidth]") == [0, 0, 1, width]

    # Quit held, then a quick tap on it after Play again, which a finger presses too.
    game.tap("quit", hold=0.3)
    assert game.wait_exit() == 0
    game.tap("again")
    game.wait_for_window()
    game.tap("quit")
    assert game.wait_exit() == 0


@pytest.mark.parametrize("display, source", [("file", "keyboard"), ("phone", "pad"), ("file", "gamepad")],
                         indirect=["display"])
def test_every_source_steers_a_pixel_a_tick_in_eight_directions_turns_and_takes_a_quick_tap(display, start, source):
    game = start().wait_for_window()
    hold, tap = game.steering(source)

    def steer(*ways):
        """Where the ship goes held these ways in turn, each for a while, then let go."""
        before = game.settled_ship()
        for way in ways:
            hold(way)
            game.frames(20)
        hold(None)
        after = game.settled_ship()
        return after[0] - before[0], after[1] - before[1]

    right, down = steer((1, 0))
    assert right > 0 and down == 0
    # Both arrows of a diagonal, each a pixel a tick; a keyboard's two keys may reach the page a frame or two apart.
    left, up = steer((-1, -1))
    assert left < 0 and up < 0 and abs(left - up) <= (8 if source == "keyboard" else 0)
    right, up = steer((1, 0), (0, -1))
    assert right > 0 and up < 0
    for _ in range(5 if tap else 0):  # held for the ticks of the frame they fell in
        x = game.settled_ship()[0]
        tap((-1, 0))
        assert game.settled_ship()[0] < x
    if source == "gamepad":  # every button at once: the arrows cancel, and no button quits
        ship = game.settled_ship()
        hold(None, buttons=range(17))
        game.frames(20)
        hold(None)
        assert game.settled_ship() == ship and "ended" not in game.status()
        # A key and the stick hold Left together: whichever lets go first, the other steers on.
        keys, _ = game.steering("keyboard")
        for first, then in ((keys, hold), (hold, keys)):
            keys((-1, 0))
            hold((-1, 0))
            first(None)
            x = game.shot().ship()[0]
            game.frames(10)
            assert game.shot().ship()[0] < x
            then(None)
    if source == "pad":
        # The page loses the focus (the event as the browser sends it): every source lets go, and the thumb still on
        # the pad steers as it next moves.
        hold((0, -1))
        game.frames(10)
        game.script("window.dispatchEvent(new FocusEvent('blur'))")
        y = game.settled_ship()[1]
        hold((0.1, -1))
        game.frames(10)
        assert game.shot().ship()[1] < y
        # The thumb steers on through a second finger's taps on the picture and on Full screen, and a pen's click on
        # Full screen, which takes the focus from the picture. The ship is steered towards the middle before each, so
        # it stays on the picture (nothing stops it at the edges) however slowly the machine answers.
        for tap_it in (lambda: game.tap("canvas", finger=2), lambda: game.tap("fullscreen", finger=2),
                       lambda: game.click("fullscreen")):
            way = 1 if game.shot().ship()[0] < 320 else -1
            hold((way, 0))
            tap_it()
            game.frames(5)  # the tap reached the game: the ship moves on from where it is now
            x = game.shot().ship()[0]
            game.frames(10)
            assert (game.shot().ship()[0] - x) * way > 0
        game.tap("quit", finger=2)  # and Quit ends the game while it steers
        assert game.wait_exit() == 0
        return
    assert game.quit() == 0


@pytest.mark.parametrize("display", ["http"], indirect=True)
@pytest.mark.parametrize("change", ["a release", "a hand edit"])
def test_a_served_page_takes_a_change_by_the_second_load_keeps_its_own_and_plays_offline(change, display, start):
    game = start().wait_for_window()
    driver, folder = display.driver, display.folder
    assert driver.execute_cdp_cmd("Page.getInstallabilityErrors", {})["installabilityErrors"] == []
    first = game.reported("playing")  # once the first visit's files are kept, and the server asked for changes
    # The first visit downloads each file once: the service worker's own requests are answered "not modified".
    assert sorted(display.sent) == sorted("/%s/%s" % (os.path.basename(folder), name)
                                          for name in page_files("served-files.txt") + ["swarm-sw.js"])
    change_page(folder, change)
    # The first load after it plays what was kept, and keeps the change meanwhile; the second plays the change.
    driver.refresh()
    assert game.wait_for_window().reported("playing") == first != game.reported("next")
    assert 'name="release"' not in game.script("return fetch('swarm.html').then(page => page.text())")  # one set a load
    driver.refresh()
    release = "return document.querySelector('meta[name=release]') !== null"
    assert game.wait_for_window().script(release)
    new = game.reported("playing")
    # A folder beside it on the same server keeps its own files, and the old files go once no page plays them.
    changed_url = driver.current_url
    other = start().wait_for_window()
    assert not other.script(release)
    kept = {"swarm %s/ %s" % (url.rsplit("/", 1)[0], name)
            for url, name in ((changed_url, new), (driver.current_url, other.reported("next")))}
    sets = "return caches.keys().then(names => names.filter(name => name.startsWith('swarm ')))"
    wait_for(lambda: set(other.script(sets)) == kept, "each folder's own files alone")
    # Offline, each plays what it kept.
    display.stop_serving()
    for url, changed in ((changed_url, True), (driver.current_url, False)):
        driver.get(url)
        assert game.wait_for_window().script(release) == changed
    assert game.quit() == 0
