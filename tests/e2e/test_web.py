"""The web build alone: a hidden page goes on where it was, a tap of Escape ends it, and the page scales the game, puts
it full screen and plays it again."""

import os
import subprocess
import time

import pytest

from game_driver import REPO, page_files, wait_for

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
    time.sleep(10)  # the time hidden, the scenario's own: 2400 ticks, were it counted
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


def test_taps_shorter_than_a_frame_move_the_ship_and_escape_ends_it_with_zero(display, start):
    # Five times each: a press and its release sent together reach the page within one frame more often than not.
    for attempt in range(5):
        game = start().wait_for_window()
        if attempt == 0:
            for _ in range(5):
                x = game.settled_ship()[0]
                display.hold(0.001, "Left")
                assert game.settled_ship()[0] < x
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
def test_a_phone_shows_the_whole_picture_and_its_pad_steers_in_eight_directions(display, start):
    game = start().wait_for_window()
    for width, height in ((390, 844), (844, 390)):
        display.turn(width, height)

        def fits():
            left, top, shown, tall = game.rect("canvas")
            controls = [game.rect(control) for control in ("pad", "quit")]
            return (left >= 0 and top >= 0 and left + shown <= width and top + tall <= height and
                    (shown >= 0.9 * width if height > width else tall >= 0.8 * height) and
                    all(x >= left + shown or y >= top + tall or x + w <= left for x, y, w, _ in controls) and
                    game.script("return [innerWidth, visualViewport.scale]") == [width, 1])
        wait_for(fits, "the whole picture, clear of the controls, at the phone's own width and zoom")

    left, top, size, _ = game.rect("pad")
    x, y, reach = left + size / 2, top + size / 2, size * 0.4

    def steer(*ways, quick=False):
        """Where the ship goes with a finger on the pad slid through these ways from its centre, each held a while or
        lifted at once."""
        before = game.settled_ship()
        for step, (dx, dy) in enumerate(ways):
            display.touch("move" if step else "start", (1, x + dx * reach, y + dy * reach))
            if not quick:
                game.frames(20)
        display.touch("end")
        after = game.settled_ship()
        return after[0] - before[0], after[1] - before[1]

    right, _ = moved = steer((1, 0))
    assert right > 0 and moved[1] == 0
    left, up = steer((-0.7, -0.7))  # both arrows of a diagonal, each a pixel a tick
    assert left == up < 0
    right, up = steer((1, 0), (0, -1))
    assert right > 0 and up < 0
    assert steer((-1, 0), quick=True)[0] < 0  # a touch that lifts within a frame still steers

    # Fingers that would scroll, zoom or pull to refresh over the game do nothing of the kind.
    left, top, width, height = game.rect("canvas")
    middle = left + width / 2, top + height / 2
    for _ in range(2):
        display.touch("start", (2, *middle))
        display.touch("end")
    display.touch("start", (2, *middle), (3, middle[0] + 10, middle[1] + 10))
    display.touch("move", (2, middle[0] - 100, middle[1] - 100), (3, middle[0] + 100, middle[1] + 200))
    display.touch("end")
    assert game.script("return [scrollX, scrollY, visualViewport.scale, innerWidth]") == [0, 0, 1, 844]

    # Quit held, then a quick tap on it after Play again, which a finger presses too.
    game.tap("quit", hold=0.3)
    assert game.wait_exit() == 0
    game.tap("again")
    game.wait_for_window()
    game.tap("quit")
    assert game.wait_exit() == 0


def test_a_standard_gamepad_steers_with_its_d_pad_and_stick_and_never_quits(display, start):
    game = start().wait_for_window()
    # A stand-in for the browser's gamepads: none until one is connected mid-game.
    game.script("window.pads = []; navigator.getGamepads = function() { return pads; };")

    def steer(buttons=(), x=0, y=0):
        """Where the ship goes with a standard gamepad holding these buttons and its left stick there a while, then
        disconnected."""
        before = game.settled_ship()
        game.script("pads = [{connected: true, mapping: 'standard', axes: [%f, %f, 0, 0], buttons: "
                    "Array.from({length: 17}, function(_, b) { return {pressed: %s.includes(b)}; })}]"
                    % (x, y, list(buttons)))
        game.frames(20)  # the game looks at the pads once a frame
        game.script("pads = []")
        after = game.settled_ship()
        return after[0] - before[0], after[1] - before[1]

    right, down = steer(buttons=[15])  # the d-pad's right
    assert right > 0 and down == 0
    left, up = steer(x=-0.7, y=-0.75)  # the stick up and left: a diagonal, a pixel a tick on both axes
    assert left == up < 0
    right, up = steer(buttons=[12], x=0.9, y=0.2)  # the d-pad's up with the stick's right
    assert right > 0 and up < 0
    assert steer(buttons=range(17)) == (0, 0)  # every button at once: the arrows cancel, and nothing quits
    assert "ended" not in game.status()
    assert game.quit() == 0


def edit_page(folder):
    """Adds a line to the page on the server."""
    with open(os.path.join(folder, "swarm.html"), "r+") as page:
        text = page.read().replace("</head>", '<meta name="release" content="next">\n</head>')
        page.seek(0)
        page.write(text)


def dated_a_second_later(folder, *names):
    """A host changes files a second or more after their last change: a server's dates count whole seconds, and it
    cannot tell a file changed within the second it was last sent."""
    later = time.time() + 1
    for name in names:
        os.utime(os.path.join(folder, name), (later, later))


def new_release(folder):
    """A release made the build's way: a changed page with the service worker the build writes for it."""
    edit_page(folder)
    files = " ".join(name for name in page_files() if name != "swarm-sw.js")
    subprocess.run(["cmake", "-DTEMPLATE=" + os.path.join(REPO, "web", "swarm-sw.js.in"), "-DOUTPUT=swarm-sw.js",
                    "-DFOLDER=.", "-DFILES=" + files, "-P", os.path.join(REPO, "web", "service_worker.cmake")],
                   cwd=folder, check=True)
    dated_a_second_later(folder, "swarm.html", "swarm-sw.js")


def hand_edit(folder):
    """The page edited on the server by hand, its service worker as it was."""
    edit_page(folder)
    dated_a_second_later(folder, "swarm.html")


@pytest.mark.parametrize("display", ["http"], indirect=True)
@pytest.mark.parametrize("change", [new_release, hand_edit], ids=["a release", "a hand edit"])
def test_a_served_page_takes_a_change_by_the_second_load_keeps_its_own_and_plays_offline(change, display, start):
    game = start().wait_for_window()
    driver, folder = display.driver, display.folder
    assert driver.execute_cdp_cmd("Page.getInstallabilityErrors", {})["installabilityErrors"] == []
    first = game.reported("next")
    # The first visit downloads each file once: the service worker's own requests are answered "not modified".
    assert sorted(display.sent) == sorted("/%s/%s" % (os.path.basename(folder), name) for name in page_files())
    change(folder)
    # The first load after it plays what was kept, and keeps the change meanwhile; the second plays the change.
    driver.refresh()
    assert game.wait_for_window().reported("playing") == first
    new = wait_for(lambda: game.reported("next") != first and game.reported("next"), "the change kept")
    assert 'name="release"' not in game.script("return fetch('swarm.html').then(page => page.text())")  # one set a load
    driver.refresh()
    release = "return document.querySelector('meta[name=release]') !== null"
    assert game.wait_for_window().script(release) and game.reported("playing") == new
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
