"""Runs the real game on a virtual X display: start it, look at it, press keys, read its message boxes."""

import ctypes
import ctypes.util
import os
import re
import shutil
import subprocess
import tempfile
import time
import unittest

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
GAME = os.environ.get("SWARM_BINARY", os.path.join(REPO, "build", "swarm"))
ART = ["gfx/player.bmp", "gfx/ball.bmp"] + ["gui/%s.bmp" % name for name in (
    "bkgd", "bordern", "borderne", "bordere", "borderse", "borders", "bordersw", "borderw", "bordernw")]
PLAYER_START = (292, 440)
TIMEOUT = 60  # generous: a loaded machine may be slow, and a test only waits this long when it is failing


def wait_for(condition, what, timeout=TIMEOUT):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        result = condition()
        if result:
            return result
        time.sleep(0.05)
    raise AssertionError("timed out after %ss waiting for %s" % (timeout, what))


def distance(a, b):
    return sum(abs(p - q) for p, q in zip(a, b))


def wine_prefix(prefix):
    """Makes a Wine prefix and returns the environment that uses it: no debug output but the message box's
    text, DirectDraw through GDI, no .NET or HTML engines."""
    wine = {"WINEPREFIX": prefix, "WINEDEBUG": "-all,+msgbox", "WINEDLLOVERRIDES": "mscoree,mshtml="}
    for command in (["wineboot", "-i"], ["wine", "reg", "add", r"HKCU\Software\Wine\Direct3D", "/v", "renderer",
                                         "/d", "gdi", "/f"]):
        subprocess.run(command, env=dict(os.environ, **wine), check=True, capture_output=True, timeout=300)
    return wine


class VirtualDisplay:
    """An Xvfb server of its own, on the first free display number."""

    def __init__(self, depth=24):
        read_end, write_end = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x%d" % depth, "-nolisten", "tcp"],
            pass_fds=[write_end], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            self.name = ":" + pipe.readline().strip()
        self.env = dict(os.environ, DISPLAY=self.name)

    def run(self, *args):
        return subprocess.run(args, env=self.env, check=True, capture_output=True).stdout

    def close(self):
        self.process.terminate()
        self.process.wait(TIMEOUT)


class Screenshot:
    """A window's pixels as (r, g, b), through the netpbm tools whatever the display's depth."""

    def __init__(self, display, window):
        ppm = display.run("sh", "-c", "xwd -silent -id %s | xwdtopnm 2>/dev/null" % window)
        header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+(\d+)\s", ppm)
        self.width, self.height = int(header[1]), int(header[2])
        # Two bytes a sample above 255 (a palette's colours): keep the high ones.
        self.data = ppm[header.end():][::2 if int(header[3]) > 255 else 1]

    def at(self, x, y):
        i = 3 * (y * self.width + x)
        return tuple(self.data[i:i + 3])

    def points(self, predicate, box=None):
        left, top, right, bottom = box or (0, 0, self.width, self.height)
        return [(x, y) for y in range(top, bottom) for x in range(left, right) if predicate(self.at(x, y))]

    def frame_rate(self):
        """The grey pixels of the rate, drawn from (50, 50) in the 8 x 8 font; near grey, as 8 bits show it."""
        return self.points(lambda p: all(abs(c - 170) <= 30 for c in p), (40, 40, 140, 70))

    def balls(self):
        return self.points(lambda p: p[0] > 90 and p[0] > p[1] + 40 and p[0] > p[2] + 40)

    def ship(self):
        """The top-left corner of the ship's blue-grey hull, anywhere on the screen."""
        xs, ys = zip(*self.points(lambda p: p[2] > 90 and p[2] > p[0] + 20))
        return min(xs), min(ys)


class Game:
    """The real binary, started in a working directory that holds its art."""

    def __init__(self, display, cwd=REPO, command=(GAME,), env=None):
        self.display, self.window, self.restarts = display, None, 3
        self.output_file = tempfile.TemporaryFile()
        env = dict(display.env if display else {k: v for k, v in os.environ.items() if k != "DISPLAY"}, **env or {})
        self.launch = lambda: subprocess.Popen(command, cwd=cwd, env=env, stdin=subprocess.DEVNULL,
                                               stdout=self.output_file, stderr=subprocess.STDOUT)
        self.process = self.launch()

    def output(self):
        self.output_file.seek(0)
        return self.output_file.read().decode(errors="replace")

    def find_window(self, frames):
        if self.process.poll() is not None:
            # On a busy machine the library's X11 start-up now and then fails without saying why, and the
            # game reports it as it should. That is the library's, not what is tested here.
            if self.restarts and "Could not install the Allegro library." in self.output():
                self.restarts -= 1
                self.output_file.seek(0)
                self.output_file.truncate()
                self.process = self.launch()
                return None
            raise AssertionError("the game ended before showing a window:\n" + self.output())
        # The fullscreen attempt comes and goes first: the 640 x 480 window that draws frames is final.
        for window in subprocess.run(["xdotool", "search", "--name", "^swarm$"], env=self.display.env,
                                     capture_output=True, text=True).stdout.split():
            try:
                shot = Screenshot(self.display, window)
                if shot.width == 640 and (shot.frame_rate() or not frames):
                    return window
            except (subprocess.CalledProcessError, TypeError):
                pass  # gone, or not yet mapped
        return None

    def wait_for_window(self, frames=True):
        self.window = wait_for(lambda: self.find_window(frames), "the game's window")
        # Keys go to the window under the pointer, and the library takes focus when the pointer enters.
        self.keys("mousemove", "--sync", "1000", "760", "mousemove", "--sync", "320", "240")
        return self

    def screenshot(self):
        return Screenshot(self.display, self.window)

    def wait_for_frame(self, predicate, what):
        return wait_for(lambda: (lambda shot: predicate(shot) and shot)(self.screenshot()), what)

    def keys(self, *commands):
        self.display.run("xdotool", *commands)

    def request_close(self):
        """Sends the window manager's close request, as a title bar's close button would."""
        x11 = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11"))
        x11.XOpenDisplay.restype = x11.XInternAtom.restype = ctypes.c_void_p
        x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
        x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
        connection = x11.XOpenDisplay(self.display.name.encode())
        # An XClientMessageEvent in an XEvent's 24 longs: type, serial, send_event, display, window,
        # message_type, format, data.
        event = (ctypes.c_long * 24)(33, 0, 0, connection, int(self.window),
                                     x11.XInternAtom(connection, b"WM_PROTOCOLS", 0), 32,
                                     x11.XInternAtom(connection, b"WM_DELETE_WINDOW", 0))
        x11.XSendEvent(connection, int(self.window), 0, 0, event)
        x11.XCloseDisplay(connection)  # flushes

    def quit(self):
        """Holds Escape until the game ends."""
        self.keys("keydown", "Escape")
        try:
            return self.wait_exit()
        finally:
            self.keys("keyup", "Escape")

    def wait_exit(self):
        try:
            return self.process.wait(TIMEOUT)
        except subprocess.TimeoutExpired:
            raise AssertionError("the game did not end within %ss" % TIMEOUT)

    def message_box(self):
        """Waits for the game's message box (xmessage, the text its last argument) and returns its process id
        and text. The library ends every message with a line break before handing it to xmessage."""
        def find():
            if self.process.poll() is not None:
                raise AssertionError("the game ended without a message box:\n" + self.output())
            return subprocess.run(["pgrep", "-P", str(self.process.pid), "-x", "xmessage"],
                                  capture_output=True, text=True).stdout.split()
        pid = int(wait_for(find, "a message box")[0])
        with open("/proc/%d/cmdline" % pid, "rb") as cmdline:
            return pid, cmdline.read().split(b"\0")[-2].decode().removesuffix("\n")

    def close(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        self.output_file.close()


class GameTestCase(unittest.TestCase):
    """Each test gets a fresh virtual display; games it starts are killed at the end."""

    depth = 24

    def setUp(self):
        self.assertTrue(os.path.exists(GAME), "the game is not built: " + GAME)
        self.display = VirtualDisplay(self.depth)
        self.addCleanup(self.display.close)

    def start(self, cwd=REPO, command=(GAME,), env=None, display=True):
        game = Game(self.display if display else None, cwd, command, env)
        self.addCleanup(game.close)
        return game

    def art_folder(self, missing=()):
        """A working directory with a copy of the art, less the named files."""
        folder = tempfile.mkdtemp(prefix="swarm-art-")
        self.addCleanup(shutil.rmtree, folder)
        for name in ART:
            os.makedirs(os.path.join(folder, os.path.dirname(name)), exist_ok=True)
            if name not in missing:
                shutil.copy(os.path.join(REPO, name), os.path.join(folder, name))
        return folder
