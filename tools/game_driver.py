"""Drives the real game on an X server of its own: starts the server (Xvfb, or Xorg with the dummy driver), runs the
game (the Linux build, or swarm.exe under Wine) in a folder of its art, presses keys through XTEST, and reads back
screenshots, message boxes and the exit status. The web build's page it opens in headless Chromium instead, from its
folder or a web server, and drives the same way through the browser's WebDriver. Used by scripts/play, bench/run, the
soak and the end-to-end tests.
"""

import base64
import codecs
import contextlib
import functools
import http.server
import io
import json
import math
import os
import re
import shutil
import signal
import socket
import subprocess
import tempfile
import threading
import time

from PIL import Image
from Xlib import X, XK, display as xlib
from Xlib.error import ConnectionClosedError, XError
from Xlib.ext import randr, xtest
from Xlib.protocol import event

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
GAME = os.environ.get("SWARM_BINARY", os.path.join(REPO, "build", "swarm"))
EXE = os.environ.get("SWARM_EXE", os.path.join(REPO, "build-windows", "swarm.exe"))
ARM64 = os.environ.get("SWARM_ARM64", os.path.join(REPO, "build-arm64", "game", "swarm"))
ART = ["gfx/player.bmp", "gfx/ball.bmp"] + ["gui/%s.bmp" % name for name in (
    "bkgd", "bordern", "borderne", "bordere", "borderse", "borders", "bordersw", "borderw", "bordernw")]
TIMEOUT = 60  # generous: a loaded machine may be slow, and only a failing run waits this long
# The web build's page, less its art, which page_folder packs as the build does.
PAGE = os.environ.get("SWARM_PAGE", os.path.join(REPO, "build-web", "game"))
PACK_ART = os.path.join(REPO, "web", "pack_art.py")

XVFB_SCREENS = {"xvfb": "1024x768x24", "xvfb8": "1024x768x8", "small": "640x480x24", "xvfbhd": "1920x1080x24",
                "xvfb4k": "3840x2160x24"}


def art_folder(folder, missing=(), made=None):
    """Fills the folder with a copy of the game's art, less the missing files, and returns it. A file named in made
    is made by its function of the path instead, art or not."""
    made = made or {}
    for name in ART + [name for name in made if name not in ART]:
        os.makedirs(os.path.join(folder, os.path.dirname(name)), exist_ok=True)
        if name in made:
            made[name](os.path.join(folder, name))
        elif name not in missing:
            shutil.copy(os.path.join(REPO, name), os.path.join(folder, name))
    return folder


def page_files(listed="page-files.txt"):
    """The page's files as the web build lists them, the art's swarm-art.js among them; or those a served page loads
    and its service worker keeps ("served-files.txt")."""
    with open(os.path.join(PAGE, listed)) as names:
        return names.read().split()


def page_folder(folder, missing=(), made=None):
    """Lays the web build's page out in the folder, its files those of art_folder, packed as the build packs the art:
    into swarm-art.js, which writes them into the game's files before it starts. Returns the folder."""
    files = art_folder(os.path.join(folder, "files"), missing, made)
    for name in page_files():
        if name != "swarm-art.js":
            shutil.copy(os.path.join(PAGE, name), folder)
    subprocess.run(["python3", PACK_ART, files + "@/"],
                   cwd=folder, check=True, capture_output=True, timeout=TIMEOUT)
    return folder


def change_page(folder, how):
    """Changes the page in a served folder: "a release" made the build's way, a changed page with the service worker
    the build writes for it, or "a hand edit" of the page alone. A host changes files a second or more after their
    last change: a server's dates count whole seconds, and it cannot tell a file changed within the second it was
    last sent, so the changed files are dated a second on."""
    with open(os.path.join(folder, "swarm.html"), "r+") as page:
        text = page.read().replace("</head>", '<meta name="release" content="next">\n</head>')
        page.seek(0)
        page.write(text)
    changed = ["swarm.html"]
    if how == "a release":
        files = " ".join(page_files("served-files.txt"))
        subprocess.run(["cmake", "-DTEMPLATE=" + os.path.join(REPO, "web", "swarm-sw.js.in"), "-DOUTPUT=swarm-sw.js",
                        "-DFOLDER=.", "-DFILES=" + files, "-P", os.path.join(REPO, "web", "service_worker.cmake")],
                       cwd=folder, check=True)
        changed.append("swarm-sw.js")
    later = time.time() + 1
    for name in changed:
        os.utime(os.path.join(folder, name), (later, later))


def wait_for(condition, what, timeout=TIMEOUT):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        result = condition()
        if result:
            return result
        time.sleep(0.05)
    raise AssertionError("timed out after %ss waiting for %s" % (timeout, what))


class Display:
    """An X server of our own on the first free display number: Xvfb (the kinds in XVFB_SCREENS), or Xorg with
    the dummy video driver ("xorg"), which switches modes as a desktop's does; with openbox managing its windows
    if asked, as a desktop's window manager does."""

    def __init__(self, kind, folder, window_manager=False):
        read_end, write_end = os.pipe()
        if kind == "xorg":
            conf = os.path.join(REPO, "tools", "xorg-dummy.conf")
            command = ["Xorg", "-config", conf, "-logfile", os.path.join(folder, "xorg.log"), "-noreset"]
        else:
            command = ["Xvfb", "-screen", "0", XVFB_SCREENS[kind]]
        self.process = subprocess.Popen(command + ["-displayfd", str(write_end), "-nolisten", "tcp"],
                                        pass_fds=[write_end], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            self.name = ":" + pipe.readline().strip()
        self.env = dict(os.environ, DISPLAY=self.name)
        self.x = xlib.Display(self.name)
        self.x.set_error_handler(lambda *error: None)  # a window gone before a request about it: not ours to report
        self.root = self.x.screen().root
        self.window_manager = None
        if window_manager:
            self.window_manager = subprocess.Popen(["openbox", "--sm-disable"], env=self.env,
                                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            # It announces itself on the root window once it manages the screen.
            check = self.x.intern_atom("_NET_SUPPORTING_WM_CHECK")
            wait_for(lambda: self.root.get_full_property(check, X.AnyPropertyType), "the window manager")

    def mode(self):
        info = randr.get_screen_info(self.root)
        size = info.sizes[info.size_id]
        return size.width_in_pixels, size.height_in_pixels

    def windows(self, name, parent=None, depth=2):
        """The windows of that name at the top, or inside a window manager's frames."""
        found = []
        try:
            for window in (parent or self.root).query_tree().children:
                if window.get_wm_name() == name:
                    found.append(window)
                elif depth > 1:
                    found += self.windows(name, window, depth - 1)
        except XError:
            pass  # gone meanwhile
        return found

    def press(self, *keys, kind=X.KeyPress):
        for key in keys:
            xtest.fake_input(self.x, kind, self.x.keysym_to_keycode(XK.string_to_keysym(key)))
        self.x.sync()

    def release(self, *keys):
        self.press(*keys, kind=X.KeyRelease)

    def hold(self, seconds, *keys):
        self.press(*keys)
        time.sleep(seconds)
        self.release(*keys)

    def point(self, x, y):
        xtest.fake_input(self.x, X.MotionNotify, x=x, y=y)
        self.x.sync()

    def close(self):
        try:
            self.x.close()
        except ConnectionClosedError:
            pass  # a scenario ended the server
        for process in filter(None, (self.window_manager, self.process)):
            process.terminate()
            process.wait(TIMEOUT)


class Shot:
    """A picture of the game's pixels as (r, g, b): of an X window, or a pixmap in the colours of a colour map,
    whatever the display's depth (Shot.of), or of a page's canvas."""

    def __init__(self, picture):
        self.picture = picture.convert("RGB")
        self.width, self.height = self.picture.size
        self.pixels = self.picture.load()

    @classmethod
    def of(cls, drawable, colormap=None):
        geometry = drawable.get_geometry()
        size = geometry.width, geometry.height
        data = drawable.get_image(0, 0, geometry.width, geometry.height, X.ZPixmap, 0xFFFFFFFF).data
        if geometry.depth != 8:
            return cls(Image.frombytes("RGB", size, data, "raw", "BGRX"))
        picture = Image.frombytes("P", size, data)
        colours = (colormap or drawable.get_attributes().colormap).query_colors(range(256))
        picture.putpalette([c >> 8 for colour in colours for c in (colour.red, colour.green, colour.blue)])
        return cls(picture)

    def frame(self):
        """The game's 640 x 480 frame, where a window or the screen shows it enlarged by a whole multiple, centred;
        None where it is too small to hold one. Each block is read at its centre."""
        scale = min(self.width // 640, self.height // 480)
        if scale == 0 or (scale == 1 and self.picture.size == (640, 480)):
            return self if scale else None
        left, top = (self.width - 640 * scale) // 2, (self.height - 480 * scale) // 2
        box = (left, top, left + 640 * scale, top + 480 * scale)
        return Shot(self.picture.resize((640, 480), Image.NEAREST, box=box))

    def blocks(self):
        """The frame, and how many rows of its pixels differ from a picture of it centred on black, each of its
        pixels a square block of one colour: none, for a window that enlarges it without smoothing."""
        frame, scale = self.frame(), min(self.width // 640, self.height // 480)
        expected = Image.new("RGB", self.picture.size)
        expected.paste(frame.picture.resize((640 * scale, 480 * scale), Image.NEAREST),
                       ((self.width - 640 * scale) // 2, (self.height - 480 * scale) // 2))
        got, wanted, row = self.picture.tobytes(), expected.tobytes(), self.width * 3
        return frame, len({y // scale for y in range(self.height) if got[y * row:][:row] != wanted[y * row:][:row]})

    def points(self, predicate, box=None):
        left, top, right, bottom = box or (0, 0, self.width, self.height)
        return [(x, y) for y in range(top, bottom) for x in range(left, right) if predicate(self.pixels[x, y])]

    def frame_rate(self):
        """The grey pixels of the rate, drawn from (50, 50) in the 8 x 8 font; near grey, as 8 bits show it."""
        return self.points(lambda p: all(abs(c - 170) <= 30 for c in p), (40, 40, 140, 70))

    def rate_digits(self):
        """How many digits the frame rate has, 8 pixels each."""
        xs = [x for x, _ in self.frame_rate()]
        return (max(xs) - min(xs)) // 8 + 1 if xs else 0

    def balls(self):
        return self.points(lambda p: p[0] > 90 and p[0] > p[1] + 40 and p[0] > p[2] + 40)

    def ship(self):
        """The top-left corner of the ship's blue-grey hull, anywhere on the screen."""
        xs, ys = zip(*self.points(lambda p: p[2] > 90 and p[2] > p[0] + 20))
        return min(xs), min(ys)


class Playing:
    """What a game does alike on every display: its ship stands still once the keys let go, and Escape, held until the
    game reports how it ended, ends it."""

    def settled_ship(self):
        """Where the ship stands once the keys let go have reached the game and its frames the screen."""
        shots = [None]

        def standing():
            self.a_while()
            shots.append(self.shot().ship())
            return shots[-2] == shots[-1] and shots[-1]
        return wait_for(standing, "the ship to stand still")

    def a_while(self):
        """Long enough for a game drawing as fast as it can to show several frames."""
        time.sleep(0.2)

    def running(self):
        """Whether the game has not ended: a box holds it until the player dismisses it."""
        self.a_while()
        return self.ended() is None

    def quit(self):
        """Holds Escape until the game ends."""
        self.display.press("Escape")
        try:
            return self.wait_exit()
        finally:
            self.display.release("Escape")


class Game(Playing):
    """The real game, started in a folder that holds its art; or another program whose window has that title."""

    def __init__(self, display, command, cwd, env, output_path, title="swarm"):
        self.display, self.window, self.wine, self.title = display, None, command[0] == "wine", title
        self.output_path = output_path
        with open(self.output_path, "wb") as output:
            self.process = subprocess.Popen(command, cwd=cwd, env=env, stdin=subprocess.DEVNULL, stdout=output,
                                            stderr=subprocess.STDOUT)

    def output(self):
        with open(self.output_path, "rb") as output:
            return output.read().decode(errors="replace")

    def find_window(self):
        if self.process.poll() is not None:
            raise AssertionError("the game ended before showing a window:\n" + self.output())
        if self.shown_box():
            raise AssertionError("the game shows a message box instead of a window:\n" + self.shown_box())
        # A fullscreen attempt may come and go first: the window that draws frames is final.
        for window in self.display.windows(self.title):
            try:
                frame = Shot.of(window).frame()
                if frame and frame.frame_rate():
                    return window
            except XError:
                pass  # gone, or not yet mapped
        return None

    def wait_for_window(self):
        self.window = wait_for(self.find_window, "the game's window")
        # Keys go to the window under the pointer, and the library takes focus when the pointer enters.
        screen = self.display.x.screen()
        self.display.point(screen.width_in_pixels - 1, screen.height_in_pixels - 1)
        self.point(320, 240)
        return self

    def point(self, x, y):
        """Moves the pointer to that point of the window, wherever a window manager placed it."""
        corner = self.display.root.translate_coords(self.window, 0, 0)
        self.display.point(corner.x + x, corner.y + y)

    def shot(self):
        """The frame, however much the window enlarges it."""
        return Shot.of(self.window).frame()

    def wait_for_size(self, size):
        """A picture of the game's window once it has that size, (width, height), and draws frames."""
        def sized():
            window = self.find_window()
            return window and (window.get_geometry().width, window.get_geometry().height) == size and window
        self.window = wait_for(sized, "a %d x %d window" % size)
        return Shot.of(self.window)

    def icon(self):
        """The icon the window offers a desktop, which shows it in the screen's colours."""
        return Shot.of(self.window.get_wm_hints().icon_pixmap, self.display.x.screen().default_colormap)

    def focus_elsewhere_and_back(self):
        """Brings another window to the front, then the game's, as a taskbar does: through the window manager."""
        other = subprocess.Popen(["xmessage", "-geometry", "+700+600", "another window"], env=self.display.env)
        try:
            active = self.display.x.intern_atom("_NET_ACTIVE_WINDOW")
            for window in (wait_for(lambda: self.display.windows("xmessage"), "another window")[0], self.window):
                subprocess.run(["wmctrl", "-i", "-a", hex(window.id)], env=self.display.env, check=True)
                wait_for(lambda: self.display.root.get_full_property(active, X.AnyPropertyType).value[0] == window.id,
                         "the window in front")
            self.point(320, 240)
        finally:
            other.kill()
            other.wait()

    def request_close(self):
        """The window manager's close request, as a title bar's close button sends it."""
        atom = self.display.x.intern_atom
        self.window.send_event(event.ClientMessage(window=self.window, client_type=atom("WM_PROTOCOLS"),
                                                   data=(32, [atom("WM_DELETE_WINDOW"), X.CurrentTime, 0, 0, 0])))
        self.display.x.sync()

    def ended(self):
        return self.process.poll()

    def wait_exit(self):
        try:
            return self.process.wait(TIMEOUT)
        except subprocess.TimeoutExpired:
            raise AssertionError("the game did not end within %ss" % TIMEOUT)

    def shown_box(self):
        """The text of the game's message box, if it shows one. Under X the library runs xmessage with the text as
        its last argument, ended by a line break; Wine traces the text of its box."""
        if self.wine:
            found = re.search(r'trace:msgbox:\w+ L"(.*)"\n', self.output())
            return found and codecs.decode(found[1], "unicode_escape")
        boxes = subprocess.run(["pgrep", "-P", str(self.process.pid), "-x", "xmessage"], capture_output=True,
                               text=True).stdout.split()
        if boxes:
            self.box = int(boxes[0])
            with open("/proc/%d/cmdline" % self.box, "rb") as cmdline:
                return cmdline.read().split(b"\0")[-2].decode().removesuffix("\n")

    def message_box(self):
        def find():
            if self.process.poll() is not None:
                raise AssertionError("the game ended without a message box:\n" + self.output())
            return self.shown_box()
        return wait_for(find, "a message box")

    def dismiss_box(self):
        if not self.wine:
            os.kill(self.box, signal.SIGTERM)
            return
        # Wine traces the text before the box shows: press Return on it until the game ends.

        def press_return():
            for window in self.display.windows("swarm"):
                window.set_input_focus(X.RevertToParent, X.CurrentTime)
                self.display.hold(0.1, "Return")
            return self.process.poll() is not None
        wait_for(press_return, "Return to close the box")

    def close(self):
        if self.process.poll() is None:
            self.process.kill()  # by its process id: under Wine never by name
            self.process.wait()


PHONE = {"width": 390, "height": 844, "pixelRatio": 3}  # a phone held upright, in CSS pixels


class Browser:
    """Debian's Chromium, headless, through its WebDriver: the web build's display. It opens a page from its folder
    (kind "file"), from a web server of its own on the loopback ("http"), or on an emulated phone, a touch screen
    ("phone"), from its folder or served; it presses keys as a keyboard does, and touches the screen as fingers do."""

    def __init__(self, kind="file", served=False):
        from selenium import webdriver
        from selenium.webdriver.chrome.service import Service
        from selenium.webdriver.common.keys import Keys
        self.keys = {"Left": Keys.ARROW_LEFT, "Right": Keys.ARROW_RIGHT, "Up": Keys.ARROW_UP, "Down": Keys.ARROW_DOWN,
                     "Escape": Keys.ESCAPE, "Return": Keys.ENTER}
        options = webdriver.ChromeOptions()
        options.binary_location = "/usr/bin/chromium"
        # As root it needs no sandbox, a canvas no GPU, and on a closed network it must not reach for Google's.
        for argument in ("--headless=new", "--no-sandbox", "--disable-gpu", "--window-size=1024,768", "--no-first-run",
                         "--disable-background-networking", "--disable-component-update", "--disable-sync",
                         "--disable-quic"):
            options.add_argument(argument)
        options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
        if kind == "phone":
            options.add_experimental_option("mobileEmulation", {"deviceMetrics": dict(PHONE, touch=True)})
        self.driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
        self.driver.set_page_load_timeout(TIMEOUT)
        self.driver.set_script_timeout(TIMEOUT)
        self.kind, self.served, self.server, self.tab, self.fingers = kind, served or kind == "http", None, None, {}

    def open(self, folder, page="swarm.html"):
        """Opens the page in the folder. Served, the folder's parent is the server's root, so that pages in folders
        beside it are on the same server."""
        url = "file://%s/%s" % (folder, page)
        if self.served:
            if not self.server:
                self.serve(os.path.dirname(folder))
            url = "http://127.0.0.1:%d/%s/%s" % (self.server.server_port, os.path.basename(folder), page)
        self.driver.get(url)
        self.tab, self.folder = self.driver.current_window_handle, folder

    def serve(self, root):
        """A plain static server of the folder, as Python's own serves one; self.sent lists the paths of the files it
        sent whole (200), not those it answered "not modified" (304)."""
        sent = self.sent = []

        class Handler(http.server.SimpleHTTPRequestHandler):
            def log_request(self, code="-", size="-"):
                if code == 200:
                    sent.append(self.path)
        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Handler, directory=root))
        threading.Thread(target=self.server.serve_forever, daemon=True).start()

    def stop_serving(self):
        self.server.shutdown()
        self.server.server_close()

    def mode(self):
        return tuple(self.driver.execute_script("return [window.innerWidth, window.innerHeight]"))

    def actions(self):
        from selenium.webdriver.common.action_chains import ActionChains
        return ActionChains(self.driver)

    def press(self, *keys):
        actions = self.actions()
        for key in keys:
            actions.key_down(self.keys[key])
        actions.perform()

    def release(self, *keys):
        actions = self.actions()
        for key in keys:
            actions.key_up(self.keys[key])
        actions.perform()

    def hold(self, seconds, *keys):
        if seconds < 0.05:  # one message to the browser, so that both reach the page within a frame
            actions = self.actions()
            for key in keys:
                actions.key_down(self.keys[key])
            actions.pause(seconds)
            for key in keys:
                actions.key_up(self.keys[key])
            actions.perform()
            return
        self.press(*keys)
        time.sleep(seconds)
        self.release(*keys)

    def turn(self, width, height, ratio=PHONE["pixelRatio"]):
        """Turns the phone, or swaps it for a touch screen of that size and so many screen pixels a CSS pixel, as the
        browser sees it: landscape when it is wider."""
        landscape = width > height
        self.driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
            "width": width, "height": height, "deviceScaleFactor": ratio, "mobile": True,
            "screenOrientation": {"type": "landscapePrimary" if landscape else "portraitPrimary",
                                  "angle": 90 if landscape else 0}})

    def touch(self, kind, *fingers):
        """Fingers on the screen, each (identifier, x, y) in CSS pixels: "start" puts them down, "move" moves them,
        "end" lifts them (every finger, if none is named); the others stay where they are."""
        if kind == "end":
            named = [finger[0] if isinstance(finger, tuple) else finger for finger in fingers]
            lifted = {finger: self.fingers.pop(finger) for finger in named or list(self.fingers)}
        else:
            self.fingers.update({finger: (x, y) for finger, x, y in fingers})
        # The protocol takes the fingers down for a start or a move, and those lifted for an end.
        touching = lifted if kind == "end" else self.fingers
        points = [{"id": finger, "x": x, "y": y} for finger, (x, y) in touching.items()]
        self.driver.execute_cdp_cmd("Input.dispatchTouchEvent", {"type": "touch" + kind.title(), "touchPoints": points})

    def screenshot(self):
        """The page as the screen shows it, in screen pixels."""
        shot = self.driver.execute_cdp_cmd("Page.captureScreenshot", {"format": "png"})["data"]
        return Shot(Image.open(io.BytesIO(base64.b64decode(shot))))

    def hide(self):
        """Another tab in front: the browser hides the page."""
        self.driver.switch_to.new_window("tab")

    def show(self):
        self.driver.close()
        self.driver.switch_to.window(self.tab)

    def close(self):
        self.driver.quit()
        if self.server:
            self.stop_serving()


class Marionette:
    """Firefox's own remote protocol, Marionette, as much of it as the scenarios ask of a browser's WebDriver: Debian
    has Firefox ESR but no geckodriver. Each message is its length, a colon and a JSON list."""

    current_window_handle = None  # one tab, never hidden

    def __init__(self, port):
        self.socket, self.buffer, self.sent = socket.create_connection(("127.0.0.1", port), TIMEOUT), b"", 0
        self.receive()  # the browser's greeting
        self.command("WebDriver:NewSession", {"capabilities": {"alwaysMatch": {"pageLoadStrategy": "normal"}}})

    def receive(self):
        while b":" not in self.buffer:
            self.buffer += self.socket.recv(65536)
        length, rest = self.buffer.split(b":", 1)
        while len(rest) < int(length):
            rest += self.socket.recv(65536)
        self.buffer = rest[int(length):]
        return json.loads(rest[:int(length)])

    def command(self, name, parameters=None):
        self.sent += 1
        message = json.dumps([0, self.sent, name, parameters or {}]).encode()
        self.socket.sendall(b"%d:%s" % (len(message), message))
        _, _, error, result = self.receive()
        if error:
            raise AssertionError("Firefox: %s" % error)
        return result and result.get("value")

    def get(self, url):
        self.command("WebDriver:Navigate", {"url": url})

    def execute_script(self, script, *args):
        return self.command("WebDriver:ExecuteScript", {"script": script, "args": list(args)})

    def execute_async_script(self, script, *args):
        return self.command("WebDriver:ExecuteAsyncScript", {"script": script, "args": list(args)})

    def get_log(self, kind):
        return []  # the protocol reads no console

    @property
    def title(self):
        return self.command("WebDriver:GetTitle")

    def keys(self, *actions):
        self.command("WebDriver:PerformActions", {"actions": [{"type": "key", "id": "keyboard", "actions": [
            {"type": kind, "value": key} for kind, key in actions]}]})


class Firefox(Browser):
    """Debian's Firefox ESR, headless, through Marionette: the web build's other display, which opens a page from its
    folder or served, and presses keys as a keyboard does."""

    def __init__(self, served=False):
        from selenium.webdriver.common.keys import Keys
        self.keys = {"Left": Keys.ARROW_LEFT, "Right": Keys.ARROW_RIGHT, "Up": Keys.ARROW_UP, "Down": Keys.ARROW_DOWN,
                     "Escape": Keys.ESCAPE, "Return": Keys.ENTER}
        self.profile = tempfile.mkdtemp(prefix="swarm-firefox-")
        with open(os.path.join(self.profile, "user.js"), "w") as settings:
            settings.write('user_pref("marionette.port", 0);\n')  # a free port, which the browser writes down
        self.process = subprocess.Popen(["firefox-esr", "--headless", "--marionette", "--no-remote", "--profile",
                                         self.profile, "--width", "1024", "--height", "768"],
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        port = os.path.join(self.profile, "MarionetteActivePort")
        wait_for(lambda: os.path.exists(port) and os.path.getsize(port), "Firefox's remote protocol")
        with open(port) as written:
            self.driver = Marionette(int(written.read()))
        self.kind, self.served, self.server, self.tab = "firefox", served, None, None

    def press(self, *keys):
        self.driver.keys(*(("keyDown", self.keys[key]) for key in keys))

    def release(self, *keys):
        self.driver.keys(*(("keyUp", self.keys[key]) for key in keys))

    def hold(self, seconds, *keys):
        self.press(*keys)
        time.sleep(seconds)
        self.release(*keys)

    def close(self):
        try:
            self.driver.command("WebDriver:DeleteSession")
        finally:
            self.process.kill()  # by its process id
            self.process.wait()
            if self.server:
                self.stop_serving()
            shutil.rmtree(self.profile, ignore_errors=True)


class WebGame(Playing):
    """The web build's page, laid out in a folder by page_folder, open in the browser: its canvas, its message box
    and the exit status it shows."""

    def __init__(self, browser, folder):
        self.display, self.driver, self.window = browser, browser.driver, None
        browser.open(folder)

    def script(self, code):
        return self.driver.execute_script(code)

    def status(self):
        return self.script("return document.getElementById('status').textContent")

    def reported(self, what):
        """What the page reports as its service worker tells it: which set of files it plays ("playing"), once the
        worker asked the server for changes, or which plays next ("next")."""
        return wait_for(lambda: self.script("return document.documentElement.dataset.%s" % what),
                        "the page to report the files it %s" % {"playing": "plays", "next": "plays next"}[what])

    def output(self):
        return "\n".join(entry["message"] for entry in self.driver.get_log("browser"))

    def frames(self, count):
        """Waits for so many of the page's animation frames: the game reads its input and shows a frame at each."""
        self.driver.execute_async_script("var done = arguments[0], left = %d; "
                                         "(function frame() { if (left-- > 0) requestAnimationFrame(frame); "
                                         "else done(); })()" % count)

    def a_while(self):
        self.frames(12)

    def rect(self, element):
        """An element's left, top, width and height on the page, in CSS pixels."""
        return self.script("var r = document.getElementById('%s').getBoundingClientRect(); "
                           "return [r.left, r.top, r.width, r.height]" % element)

    def tap(self, element, finger=1, hold=0):
        """A finger on the middle of an element for so many seconds."""
        left, top, width, height = self.rect(element)
        self.display.touch("start", (finger, left + width / 2, top + height / 2))
        time.sleep(hold)
        self.display.touch("end", finger)

    def click(self, element):
        """A mouse's or pen's click in the middle of an element, which takes the focus as a tap on a button does; the
        fingers on the screen stay there."""
        left, top, width, height = self.rect(element)
        for kind in ("mousePressed", "mouseReleased"):
            self.driver.execute_cdp_cmd("Input.dispatchMouseEvent", {
                "type": kind, "x": left + width / 2, "y": top + height / 2, "button": "left", "clickCount": 1})

    def steering(self, source):
        """Functions that steer the ship through a source of the page's arrows, "keyboard", "pad" (a finger on the
        touch pad) or "gamepad" (a standard one, a stand-in for the browser's, connected mid-game and gone when let
        go): hold(way) holds it a way, (x, y) with y down, or lets go when None; tap(way) holds it and lets go within
        a frame, more often than not, or is None for the gamepad, which the game looks at once a frame."""
        def arrows(way):
            return [key for key, held in (("Left", way[0] < 0), ("Right", way[0] > 0), ("Up", way[1] < 0),
                                          ("Down", way[1] > 0)) if held]
        held = []

        def keyboard(way):
            self.display.release(*held)
            held[:] = arrows(way) if way else []
            self.display.press(*held)

        left, top, size, _ = self.rect("pad")

        def pad(way):
            x, y = way or (0, 0)
            reach = 0.4 * size / math.hypot(x, y) if way else 0  # within the round pad, where it starts
            self.display.touch(("move" if held else "start") if way else "end",
                               (1, left + size / 2 + reach * x, top + size / 2 + reach * y))
            held[:] = [way] if way else []

        def gamepad(way, buttons=()):
            """Its d-pad along an axis, its left stick on a diagonal."""
            x, y = way or (0, 0)
            dpad = [button for button, key in zip((12, 13, 14, 15), ("Up", "Down", "Left", "Right"))
                    if way and not (x and y) and key in arrows(way)]
            self.script("pads = %s ? [{connected: true, mapping: 'standard', axes: [%f, %f, 0, 0], buttons: "
                        "Array.from({length: 17}, function(_, b) { return {pressed: %s.includes(b)}; })}] : []"
                        % ("true" if way or buttons else "false", 0.7 * x * bool(x and y), 0.75 * y * bool(x and y),
                           list(buttons) + dpad))
        if source == "gamepad":
            self.script("window.pads = []; navigator.getGamepads = function() { return pads; };")
            return gamepad, None
        hold = {"keyboard": keyboard, "pad": pad}[source]

        def tap(way):
            if source == "keyboard":
                self.display.hold(0.001, *arrows(way))  # one message to the browser
            else:
                hold(way)
                hold(None)
        return hold, tap

    def shot(self):
        url = self.script("return document.getElementById('canvas').toDataURL('image/png')")
        return Shot(Image.open(io.BytesIO(base64.b64decode(url.split(",", 1)[1]))))

    def find_window(self):
        if "ended" in self.status() or "stopped" in self.status():
            raise AssertionError("the game ended before showing a frame: " + self.status())
        if self.shown_box():
            raise AssertionError("the game shows a message box instead of a frame:\n" + self.shown_box())
        return self.shot().frame_rate()

    def wait_for_window(self):
        wait_for(self.find_window, "the game's first frames")
        return self

    def ended(self):
        """The exit status the page shows once the game ended, or None."""
        shown = re.search(r"exit status (\d+)", self.status())
        return shown and int(shown[1])

    def wait_exit(self):
        return wait_for(lambda: self.ended() is not None, "the game to end") and self.ended()

    def shown_box(self):
        """The box's text as the page lays it out, line breaks and leading spaces as a player sees them."""
        return self.script("var text = document.querySelector('dialog.allegro-message p'); "
                           "return text && text.innerText")

    def message_box(self):
        return wait_for(self.shown_box, "a message box")

    def dismiss_box(self):
        from selenium.webdriver.common.by import By
        self.driver.find_element(By.CSS_SELECTOR, "dialog.allegro-message button").click()

    def close(self):
        pass  # the browser goes with its display


@contextlib.contextmanager
def game_on_xvfb(command=(GAME,), cwd=REPO):
    """The game (by default the Linux build from the repository's root) in its window on an Xvfb of its own; killed if
    still running, and the server closed, on leaving."""
    folder = tempfile.mkdtemp(prefix="swarm-")
    display = Display("xvfb", folder)
    game = Game(display, list(command), cwd, display.env, os.path.join(folder, "output"))
    try:
        yield display, game.wait_for_window()
    finally:
        game.close()
        display.close()


def wine_prefix(prefix):
    """Makes a Wine prefix and returns the environment that uses it: no debug output but the message box's text,
    DirectDraw through GDI, no .NET or HTML engines."""
    env = {"WINEPREFIX": prefix, "WINEDEBUG": "-all,+msgbox", "WINEDLLOVERRIDES": "mscoree,mshtml="}
    for command in (["wineboot", "-i"],
                    ["wine", "reg", "add", r"HKCU\Software\Wine\Direct3D", "/v", "renderer", "/d", "gdi", "/f"]):
        subprocess.run(command, env=dict(os.environ, **env), check=True, capture_output=True, timeout=300)
    return env
