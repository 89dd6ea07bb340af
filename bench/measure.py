"""Runs the benchmarks and gathers their figures over the runs into one table: in memory, in a window on Xvfb, the
start-up against a bare program on the library, under Wine when the Windows build exists, and in headless Chromium
when the web build exists. bench/run builds the programs first and calls it from the repository's root:
measure.py RUNS [--smoke] [--markdown]"""

import collections
import datetime
import os
import platform
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, "tools")
from game_driver import PAGE, Browser, Display, Game, WebGame, art_folder, page_folder  # noqa: E402
from game_driver import wait_for  # noqa: E402
from game_driver import wine_prefix  # noqa: E402

# A benchmark program prints each figure as "figure = value unit; against baseline = value unit".
FIGURE = re.compile(r"^(.+?) = ([\d.]+) (\S+)(?:; against (.+) = ([\d.]+) \S+)?$")
WINE_BENCH = "build-windows/game/swarm_bench.exe"
WEB_BENCH = os.path.join(PAGE, "swarm_bench.js")
FRAME = "one frame in memory: the clear, 250 balls, the player, the frame rate"
# A page for the web build's benchmark: its canvas, the art, and what it prints, read once it ends.
BENCH_PAGE = """<!DOCTYPE html>
<canvas id="canvas" width="640" height="480"></canvas><pre id="output"></pre>
<script>
var Module = {arguments: %s, print: function(line) { document.getElementById('output').textContent += line + '\\n'; },
              onExit: function() { document.title = 'ended'; }};
</script>
<script src="swarm-art.js"></script>
<script src="swarm_bench.js"></script>
"""
# Pages record the time of their first frame on a canvas, from the moment they were opened, and the bytes that had
# arrived by then: the page's and those of every file it had loaded.
FIRST_FRAME = """var put = CanvasRenderingContext2D.prototype.putImageData;
CanvasRenderingContext2D.prototype.putImageData = function() {
    if (!window.firstFrame) {
        window.firstFrame = performance.now();
        window.firstBytes = performance.getEntriesByType('navigation').concat(performance.getEntriesByType('resource'))
            .filter(function(entry) { return entry.responseEnd <= firstFrame; })
            .reduce(function(sum, entry) { return sum + entry.transferSize; }, 0);
    }
    return put.apply(this, arguments);
};"""
# A slow mobile network, as Chromium emulates one: 1.6 Mbit/s down, 150 ms for a round trip.
SLOW_NETWORK = {"offline": False, "latency": 150, "downloadThroughput": 1.6e6 / 8, "uploadThroughput": 750e3 / 8}
# A page's input latency: from the browser's input event to the first frame put on the canvas whose pixels show the
# ship's hull moved (the blue-grey of the hull, in the rows it flies in).
LATENCY = """window.latencies = [];
var put = CanvasRenderingContext2D.prototype.putImageData, lastX, inputAt;
function hull(image) {
    for (var x = 0; x < image.width; x++)
        for (var y = 400; y < image.height; y++) {
            var i = (y * image.width + x) * 4, p = image.data;
            if (p[i + 2] > 90 && p[i + 2] > p[i] + 20)
                return x;
        }
}
CanvasRenderingContext2D.prototype.putImageData = function(image) {
    var x = hull(image);
    if (inputAt !== undefined && x !== lastX) {
        latencies.push(performance.now() - inputAt);
        inputAt = undefined;
    }
    lastX = x;
    return put.apply(this, arguments);
};
addEventListener('keydown', function(event) { if (!event.repeat) inputAt = event.timeStamp; }, true);
addEventListener('touchstart', function(event) { inputAt = event.timeStamp; }, true);"""
# The animation frames the browser offers a page a second, counted over so many seconds.
OFFERED = ("var seconds = arguments[0], done = arguments[1], frames = 0, end = performance.now() + 1000 * seconds;"
           "(function count() { if (performance.now() < end) { frames++; requestAnimationFrame(count); }"
           " else done(frames / seconds); })();")
THROTTLE = 4  # a mid-range phone's processor against this machine's
# The floor of a page's first frame: a bare page that puts one frame on its canvas once it has loaded.
BARE_PAGE = """<!DOCTYPE html>
<canvas id="canvas" width="640" height="480"></canvas>
<script>
addEventListener('load', function() {
    var canvas = document.getElementById('canvas').getContext('2d');
    canvas.putImageData(canvas.createImageData(640, 480), 0, 0);
});
</script>
"""


def figures(output, where=""):
    """The figures in a program's output as ((figure, baseline), value, baseline's value, unit). The output goes to
    standard error as it is, with the run's progress."""
    found = []
    for line in output.splitlines():
        print(line, file=sys.stderr)
        match = FIGURE.match(line)
        if not match:
            continue
        figure, value, unit, baseline, base = match.groups()
        found.append(((figure + where, baseline or ""), float(value), base and float(base), unit))
    return found


def run(command, env=None, cwd="."):
    result = subprocess.run(command, env=env, cwd=cwd, check=True, timeout=600, stdout=subprocess.PIPE, text=True)
    return result.stdout


def launch_to_exit(command, env):
    """Milliseconds from launching a program to its end, and what it printed."""
    started = time.monotonic()
    output = run(command, env)
    return (time.monotonic() - started) * 1000, output


def window_run(frames, launches):
    """The frame rate in a window; the game's start-up to its first presented frame and the way out, against the
    bare program on the library, each launched alike in turn, medians of so many launches; its peak memory."""
    def measure(display):
        found = figures(run(["build/swarm_bench", "display", frames], display.env))
        game = [launch_to_exit(["build/swarm_bench", "startup"], display.env) for _ in range(launches)]
        floor = [launch_to_exit(["build/library_window"], display.env)[0] for _ in range(launches)]
        return found + figures(game[0][1]) + [(
            ("start-up: launch to the first presented frame and exit", "a bare program on the library that opens the "
             "same window and presents one frame, launched the same way"),
            statistics.median(ms for ms, _ in game), statistics.median(floor), "ms")]
    return on_xvfb(measure)


def wine_start_up(display, cwd, env, program, title):
    """Milliseconds from launching the program under Wine to its window's first frame (or paint), from cold as a
    player's first start is: no Wine server running. It then quits."""
    for option in ("-k", "-w"):  # end the server, and wait until it has
        subprocess.run(["wineserver", option], env=dict(os.environ, **env))
    started = time.monotonic()
    game = Game(display, ["wine", program], cwd, dict(display.env, **env), os.path.join(cwd, "out"), title)
    try:
        game.wait_for_window()
        taken = (time.monotonic() - started) * 1000
        assert game.quit() == 0
    finally:
        game.close()
    return taken


def scaled_window_run(frames):
    """The game loop's frame rate in the windows of bigger screens, which enlarge each frame by a whole multiple,
    against the same loop in the 1x window of the tests' screen, in one run."""
    def loop_rate(display):
        return figures(run(["build/swarm_bench", "display", frames], display.env))[0][1]
    one = on_xvfb(loop_rate)
    return [(("frame rate of the game loop in a %s window (%s), the frame enlarged by one scaled copy" % (scale, size),
              "the same loop in the 1x window (640 x 480, on a 1024 x 768 screen)"), on_xvfb(loop_rate, kind=kind),
             one, "fps") for scale, size, kind in (("2x", "1280 x 960, on a 1920 x 1080 screen", "xvfbhd"),
                                                   ("4x", "2560 x 1920, on a 3840 x 2160 screen", "xvfb4k"))]


def on_xvfb(measure, window_manager=False, kind="xvfb"):
    display = Display(kind, tempfile.mkdtemp(prefix="swarm-bench-"), window_manager=window_manager)
    try:
        return measure(display)
    finally:
        display.close()


def wine_run(folder, env, frames, launches):
    def measure(display):
        found = figures(run(["wine", "swarm_bench.exe", "display", frames], dict(display.env, **env), folder),
                        " under Wine")
        # The first launch of either pays Wine's own start up: one of each goes uncounted, then they take turns.
        programs = (("swarm.exe", "swarm"), ("plain_window.exe", "plain window"))
        taken = {program: [] for program in programs}
        for launch in range(launches + 1):
            for program in programs:
                ms = wine_start_up(display, folder, env, *program)
                if launch:
                    taken[program].append(ms)
        subprocess.run(["wineserver", "-k"], env=dict(os.environ, **env))  # Wine's helpers go too
        return found + [(("start-up under Wine: launch to the first frame, from cold, under openbox", "a plain "
                          "Win32 window of the same size and style, launched the same way, to its first paint"),
                         statistics.median(taken[programs[0]]), statistics.median(taken[programs[1]]), "ms")]
    # Windows programs run under a window manager, as on every Windows desktop.
    return on_xvfb(measure, window_manager=True)


def web_bench(browser, arguments):
    """What the web build's benchmark prints in the browser, run with those arguments."""
    folder = page_folder(tempfile.mkdtemp(prefix="swarm-bench-"))
    shutil.copy(WEB_BENCH, folder)
    with open(os.path.join(folder, "bench.html"), "w") as page:
        page.write(BENCH_PAGE % arguments)
    browser.open(folder, "bench.html")
    wait_for(lambda: browser.driver.title == "ended", "the benchmark in the browser", timeout=600)
    return browser.driver.execute_script("return document.getElementById('output').textContent")


def offered_frames(browser, seconds):
    browser.driver.set_script_timeout(seconds + 60)
    return browser.driver.execute_async_script(OFFERED, float(seconds))


def phone(served=False, network=None):
    """A browser on an emulated phone, its processor slowed to a mid-range phone's; served pages come from a plain
    web server on the loopback, over the network given, if any."""
    browser = Browser("phone", served)
    browser.driver.execute_cdp_cmd("Emulation.setCPUThrottlingRate", {"rate": THROTTLE})
    if network:
        browser.driver.execute_cdp_cmd("Network.enable", {})
        browser.driver.execute_cdp_cmd("Network.emulateNetworkConditions", network)
    return browser


def first_frame(folder, page, browser=Browser):
    """Milliseconds from opening the page, in a browser of its own, to its first frame on the canvas, and the bytes
    that had arrived by then."""
    browser = browser()
    try:
        browser.driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": FIRST_FRAME})
        browser.open(folder, page)
        return wait_for(lambda: browser.driver.execute_script("return window.firstFrame && [firstFrame, firstBytes]"),
                        "the first frame")
    finally:
        browser.close()


def web_run(memory, seconds, launches):
    """The web build in headless Chromium: its frame in memory against the native build's same calls, run beside it;
    the game loop's logic ticks and presented frames a second, those against the frames the browser offers a bare
    page over the same time; the page's weight; and its first frame against a bare page's, taking turns."""
    browser = Browser()
    try:
        web = figures(web_bench(browser, '["memory", "%s"]' % memory), " (web build)")
        found = figures(web_bench(browser, '["rates", "%s"]' % seconds), " in Chromium")
        offered = offered_frames(browser, seconds)
    finally:
        browser.close()
    native = figures(run(["build/swarm_bench", "memory", memory]))
    frame = [value for (figure, _), value, _, _ in native if figure == FRAME][0]
    web_frame = [value for (figure, _), value, _, _ in web if figure == FRAME + " (web build)"][0]
    rates = [((figure, baseline or "the animation frames the browser offers a bare page over the same time"), value,
              base or offered, unit) for (figure, baseline), value, base, unit in found]
    return [((FRAME + ", as the web build draws it in Chromium", "the native build's same calls"), web_frame, frame,
             "ns")] + rates + [
        (("the page from opening it to its first frame, in a new browser, from its folder", "a bare page that puts "
          "one frame on its canvas once loaded, opened the same way"), *first_frames(launches)[:3])]


def first_frames(launches, browser=Browser):
    """The medians of so many first frames of the game's page and of a bare page, the two taking turns, and of the
    bytes the game's page had loaded by then."""
    bare = tempfile.mkdtemp(prefix="swarm-bench-")
    with open(os.path.join(bare, "bare.html"), "w") as page:
        page.write(BARE_PAGE)
    opened = {"swarm.html": [], "bare.html": []}
    for _ in range(launches):
        opened["swarm.html"].append(
            first_frame(page_folder(tempfile.mkdtemp(prefix="swarm-bench-")), "swarm.html", browser))
        opened["bare.html"].append(first_frame(bare, "bare.html", browser))
    return (statistics.median(ms for ms, _ in opened["swarm.html"]),
            statistics.median(ms for ms, _ in opened["bare.html"]), "ms",
            statistics.median(loaded for _, loaded in opened["swarm.html"]) / 1024)


def latency(browser, presses, press, release):
    """Milliseconds from each of so many presses to the first frame that shows the ship moved, in the page's own
    clock, alternately one way and the other so that it stays on the screen, and the browser's frame interval."""
    browser.driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": LATENCY})
    game = WebGame(browser, page_folder(tempfile.mkdtemp(prefix="swarm-bench-"))).wait_for_window()
    for number in range(presses):
        game.settled_ship()
        press(game, number % 2)
        wait_for(lambda: game.script("return latencies.length") > number, "the ship to move")
        release(game)
    return game.script("return latencies"), 1000 / offered_frames(browser, 2)


def touch_pad(game, way):
    """A finger near the pad's right (way 0) or left edge (way 1)."""
    left, top, width, height = game.rect("pad")
    game.display.touch("start", (1, left + width * (0.9 if way == 0 else 0.1), top + height / 2))


def input_run(presses):
    """The time from a key press, and from a touch on the pad of an emulated phone, to the first frame that shows the
    ship moved, against the browser's frame interval."""
    found = []
    for where, kind, press, release in (
            ("a key press, in Chromium", "file", lambda game, way: game.display.press(("Right", "Left")[way]),
             lambda game: game.display.release("Right", "Left")),
            ("a touch on the pad of an emulated phone, in Chromium", "phone", touch_pad,
             lambda game: game.display.touch("end"))):
        browser = Browser(kind)
        try:
            taken, interval = latency(browser, presses, press, release)
        finally:
            browser.close()
        found.append((("input latency: from " + where + ", to the first frame that shows the ship moved",
                       "the browser's frame interval"), statistics.median(taken), interval, "ms"))
    return found


def phone_run(seconds, launches):
    """The game loop on a mid-range phone: ticks and presented frames a second, and the first frame of the page."""
    browser = phone()
    try:
        where = " on a phone: Chromium's processor %d times slower, a phone emulated" % THROTTLE
        found = figures(web_bench(browser, '["rates", "%s"]' % seconds), where)
        offered = offered_frames(browser, seconds)
    finally:
        browser.close()
    rates = [((figure, baseline or "the animation frames the browser offers a bare page on the same phone"), value,
              base or offered, unit) for (figure, baseline), value, base, unit in found]
    bare = "a bare page that puts one frame on its canvas once loaded, on the same phone"
    slow = first_frames(launches, lambda: phone(True, SLOW_NETWORK))
    return rates + [
        (("the page from opening it to its first frame" + where, bare), *first_frames(launches, phone)[:3]),
        (("the page served by a plain web server, from opening it to its first frame" + where, bare + ", served"),
         *first_frames(launches, lambda: phone(True))[:3]),
        (("the page served by a plain web server, from opening it to its first frame" + where + ", over a slow "
          "mobile network (1.6 Mbit/s, 150 ms a round trip)", bare + ", served over the same network"), *slow[:3]),
        (("the bytes a first visit loads before the first frame, served by a plain web server", ""), slow[3], None,
         "kB")]


def every_run(runs, smoke):
    memory, frames, wine_frames, launches = ("smoke", "300", "60", 2) if smoke else ("measure", "3000", "300", 10)
    jobs = [("memory", lambda: figures(run(["build/swarm_bench", "memory", memory]))),
            ("window", lambda: window_run(frames, launches)),
            ("scaled windows", lambda: scaled_window_run("120" if smoke else "600"))]
    if os.path.exists(WINE_BENCH):
        # Wine reads the art beside the program, as a Windows player's unzipped folder has it.
        folder = art_folder(tempfile.mkdtemp(prefix="swarm-bench-"))
        for program in (WINE_BENCH, "build-windows/swarm.exe", "build-windows/game/plain_window.exe"):
            shutil.copy(program, folder)
        env = wine_prefix(os.path.join(folder, "prefix"))
        jobs.append(("Wine", lambda: wine_run(folder, env, wine_frames, 1 if smoke else 3)))
    if os.path.exists(WEB_BENCH):
        jobs.append(("the web build", lambda: web_run(memory, 2 if smoke else 10, 1 if smoke else 5)))
        jobs.append(("input latency in the browser", lambda: input_run(3 if smoke else 20)))
        jobs.append(("the web build on a phone", lambda: phone_run(2 if smoke else 10, 1 if smoke else 5)))
    rows = collections.defaultdict(list)
    for kind, job in jobs:
        for number in range(1, runs + 1):
            print("== run %d of %d: %s" % (number, runs, kind), file=sys.stderr, flush=True)
            for key, value, base, unit in job():
                rows[key].append((value, base, unit))
    return rows


def shown(value, unit):
    """A value in the unit a reader takes in at a glance, to three figures."""
    if unit == "kB":
        value, unit = value / 1024, "MB"
    for limit, divisor, name in ((1e9, 1e9, "s"), (1e6, 1e6, "ms"), (1e4, 1e3, "µs")) if unit == "ns" else ():
        if value >= limit:
            value, unit = value / divisor, name
            break
    return "%.*f %s" % (0 if value >= 100 else 1 if value >= 10 else 2, value, unit)


def table(rows, runs):
    """The medians: figure, baseline, the figure's and the baseline's medians, and the median of the runs' ratios."""
    lines = [("figure", "baseline", "median of %d run%s" % (runs, "s" * (runs > 1)), "baseline's median", "ratio")]
    for (figure, baseline), samples in rows.items():
        unit = samples[0][2]
        value = shown(statistics.median(s[0] for s in samples), unit)
        if not baseline:
            lines.append((figure, "", value, "", ""))
            continue
        ratio = statistics.median(s[0] / s[1] for s in samples)
        lines.append((figure, baseline, value, shown(statistics.median(s[1] for s in samples), unit),
                      "%.*f" % (2 if ratio >= 0.1 else 3, ratio)))
    return lines


def machine():
    def output(*command):
        try:
            return subprocess.run(command, capture_output=True, text=True).stdout.strip()
        except OSError:
            return ""
    with open("/proc/cpuinfo") as cpuinfo:
        model = re.search(r"model name\s*: (.*)", cpuinfo.read())
    with open("/etc/debian_version") as debian:
        release = debian.read().strip()
    wine = output("wine", "--version") if os.path.exists(WINE_BENCH) else ""
    return "%s, %d cores, Linux %s, Debian %s; the library %s%s" % (
        model[1] if model else platform.machine(), os.cpu_count(), platform.release(), release,
        output("dpkg-query", "-W", "-f", "${Version}", "liballegro4.4"), ", " + wine if wine else "")


def main():
    runs, smoke, markdown = int(sys.argv[1]), "--smoke" in sys.argv, "--markdown" in sys.argv
    lines = table(every_run(runs, smoke), runs)
    if not markdown:
        widths = [max(len(line[i]) for line in lines) for i in range(5)]
        for line in lines:
            print("  ".join(cell.ljust(width) for cell, width in zip(line, widths)).rstrip())
        return
    command = "bench/run%s --markdown%s" % (" --smoke" if smoke else "", "" if smoke else " %d" % runs)
    commit = subprocess.run(["git", "describe", "--always", "--dirty"], capture_output=True, text=True).stdout.strip()
    print("`%s`, %s, commit %s, on %s.\n" % (command, datetime.date.today().isoformat(), commit, machine()))
    print("| " + " | ".join(lines[0]) + " |\n|---|---|---|---|---|")
    for line in lines[1:]:
        print("| " + " | ".join(line) + " |")


if __name__ == "__main__":
    main()
