"""Runs the real game on a virtual X display: start it, look at it, press keys, read its message boxes."""

import ctypes
import ctypes.util
import os
import random
import shutil
import signal
import struct
import subprocess
import tempfile
import time
import unittest
import zlib

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
GAME = os.environ.get("SWARM_BINARY", os.path.join(REPO, "build", "swarm"))
ART = ["gfx/player.bmp", "gfx/ball.bmp"] + ["gui/%s.bmp" % name for name in (
    "bkgd", "bordern", "borderne", "bordere", "borderse", "borders", "bordersw", "borderw", "bordernw")]

# Generous: a loaded machine may be slow, and a test only waits this long when it is failing.
STARTUP_TIMEOUT = 60
EXIT_TIMEOUT = 60


def wait_for(condition, timeout, what):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        result = condition()
        if result:
            return result
        time.sleep(0.05)
    raise AssertionError("timed out after %ss waiting for %s" % (timeout, what))


class VirtualDisplay:
    """An Xvfb server of its own, on a display number picked at random."""

    def __init__(self, size="1024x768x24"):
        # Not the lowest free number: a server still shutting down in a parallel test would remove
        # the socket of a new server that took its number.
        for _ in range(50):
            number = random.randrange(100, 30000)
            if os.path.exists("/tmp/.X%d-lock" % number):
                continue
            read_end, write_end = os.pipe()
            self.process = subprocess.Popen(
                ["Xvfb", ":%d" % number, "-displayfd", str(write_end), "-screen", "0", size, "-nolisten", "tcp"],
                pass_fds=[write_end], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            os.close(write_end)
            with os.fdopen(read_end) as pipe:
                ready = pipe.readline().strip()
            if ready:
                self.name = ":%d" % number
                self.env = dict(os.environ, DISPLAY=self.name)
                return
            self.process.wait()
        raise AssertionError("Xvfb did not start")

    def run(self, *args):
        return subprocess.run(list(args), env=self.env, check=True, capture_output=True, text=True).stdout

    def close(self):
        self.process.terminate()
        try:
            self.process.wait(10)
        except subprocess.TimeoutExpired:
            self.process.kill()


class Image:
    """A screenshot as rows of (r, g, b) tuples."""

    def __init__(self, width, height, pixels):
        self.width, self.height, self.pixels = width, height, pixels

    def at(self, x, y):
        return self.pixels[y][x]

    def points(self, predicate, box=None):
        left, top, right, bottom = box or (0, 0, self.width, self.height)
        return [(x, y) for y in range(top, bottom) for x in range(left, right) if predicate(self.pixels[y][x])]

    def save_png(self, path):
        raw = b"".join(b"\0" + bytes(c for pixel in row for c in pixel) for row in self.pixels)

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

        with open(path, "wb") as out:
            out.write(b"\x89PNG\r\n\x1a\n")
            out.write(chunk(b"IHDR", struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0)))
            out.write(chunk(b"IDAT", zlib.compress(raw, 6)))
            out.write(chunk(b"IEND", b""))


def parse_xwd(data):
    """Decodes a TrueColor xwd dump of 24 or 32 bits per pixel."""
    fields = struct.unpack(">25I", data[:100])
    header_size, width, height = fields[0], fields[4], fields[5]
    byte_order, bits_per_pixel, bytes_per_line = fields[7], fields[11], fields[12]
    masks, colours = fields[14:17], fields[19]
    if bits_per_pixel not in (24, 32):
        raise AssertionError("unsupported screenshot depth %d" % bits_per_pixel)
    start = header_size + 12 * colours
    step = bits_per_pixel // 8
    order = "little" if byte_order == 0 else "big"
    shifts = [(mask & -mask).bit_length() - 1 for mask in masks]
    rows = []
    if step == 4 and order == "little" and masks == (0xFF0000, 0xFF00, 0xFF):
        # The usual 24-bit TrueColor layout: bytes blue, green, red, unused.
        for y in range(height):
            line = data[start + y * bytes_per_line:start + y * bytes_per_line + width * 4]
            rows.append(list(zip(line[2::4], line[1::4], line[0::4])))
        return Image(width, height, rows)
    for y in range(height):
        line = data[start + y * bytes_per_line:start + y * bytes_per_line + width * step]
        row = []
        for x in range(0, width * step, step):
            value = int.from_bytes(line[x:x + step], order)
            row.append(tuple((value & mask) >> shift for mask, shift in zip(masks, shifts)))
        rows.append(row)
    return Image(width, height, rows)


class ClientMessage(ctypes.Structure):
    """Xlib's XClientMessageEvent, padded to the size of an XEvent."""
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5), ("pad", ctypes.c_long * 12)]


class Game:
    """The real binary, started in a working directory that holds its art."""

    def __init__(self, display, cwd=REPO, env=None):
        self.display = display
        self.output_file = tempfile.TemporaryFile()
        environment = dict(display.env if display else {k: v for k, v in os.environ.items() if k != "DISPLAY"})
        environment.update(env or {})
        self.launch = lambda: subprocess.Popen([GAME], cwd=cwd, env=environment, stdin=subprocess.DEVNULL,
                                               stdout=self.output_file, stderr=subprocess.STDOUT)
        self.process = self.launch()
        self.window = None
        self.restarts = 3

    def output(self):
        self.output_file.seek(0)
        return self.output_file.read().decode(errors="replace")

    def wait_for_window(self):
        def find():
            if self.process.poll() is not None:
                # On a busy machine the library's X11 start-up now and then fails without saying why;
                # the game reports it as it should. That is the library's, not what is tested here.
                if self.restarts and "Could not install the Allegro library." in self.output():
                    self.restarts -= 1
                    self.output_file.seek(0)
                    self.output_file.truncate()
                    self.process = self.launch()
                    return None
                raise AssertionError("the game ended before showing a window:\n" + self.output())
            found = subprocess.run(["xdotool", "search", "--name", "^swarm$"], env=self.display.env,
                                   capture_output=True, text=True).stdout.split()
            for window in found:
                geometry = self.geometry(window)
                if geometry and geometry[2:] == (640, 480):
                    return window
            return None
        self.window = wait_for(find, STARTUP_TIMEOUT, "the game's 640 x 480 window")
        # The fullscreen attempt comes and goes first: once frames are drawn, the window is final.
        self.wait_for_frame(lambda shot: frame_rate_region(shot), "the first frame")
        # Keys go to the window under the pointer, and the library takes focus when the pointer enters.
        self.display.run("xdotool", "mousemove", "--sync", "1000", "760")
        self.display.run("xdotool", "mousemove", "--sync", "320", "240")
        return self.window

    def geometry(self, window):
        result = subprocess.run(["xwininfo", "-id", window], env=self.display.env, capture_output=True,
                                text=True)
        if result.returncode != 0:
            return None
        info = dict(line.strip().split(":", 1) for line in result.stdout.splitlines() if ":" in line)
        try:
            return tuple(int(info[k]) for k in ("Absolute upper-left X", "Absolute upper-left Y", "Width",
                                                 "Height"))
        except (KeyError, ValueError):
            return None

    def screenshot(self):
        dump = subprocess.run(["xwd", "-silent", "-id", self.window], env=self.display.env, check=True,
                              capture_output=True).stdout
        return parse_xwd(dump)

    def wait_for_frame(self, predicate, what):
        """Takes screenshots until one satisfies the predicate; returns it."""
        return wait_for(lambda: (lambda shot: shot if predicate(shot) else None)(self.screenshot()),
                        STARTUP_TIMEOUT, what)

    def key_down(self, *keys):
        self.display.run("xdotool", "keydown", *keys)

    def key_up(self, *keys):
        self.display.run("xdotool", "keyup", *keys)

    def request_close(self):
        """Sends the window the window manager's close request, as its title bar's close button would."""
        x11 = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11"))
        x11.XOpenDisplay.restype = ctypes.c_void_p
        x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        x11.XInternAtom.restype = ctypes.c_ulong
        x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
        x11.XFlush.argtypes = x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
        connection = x11.XOpenDisplay(self.display.name.encode())
        if not connection:
            raise AssertionError("cannot open " + self.display.name)
        event = ClientMessage(type=33, display=connection, window=int(self.window), format=32,
                              message_type=x11.XInternAtom(connection, b"WM_PROTOCOLS", 0))
        event.data[0] = x11.XInternAtom(connection, b"WM_DELETE_WINDOW", 0)
        x11.XSendEvent(connection, int(self.window), 0, 0, ctypes.byref(event))
        x11.XFlush(connection)
        x11.XCloseDisplay(connection)

    def quit(self):
        """Holds Escape until the game ends: it looks at the key once a frame, a quick tap may fall between."""
        self.key_down("Escape")
        try:
            return self.wait_exit()
        finally:
            self.key_up("Escape")

    def wait_exit(self, timeout=EXIT_TIMEOUT):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError("the game did not end within %ss" % timeout)

    def message_box(self):
        """Waits for the game's message box, returns its text and dismisses it."""
        def find():
            if self.process.poll() is not None:
                raise AssertionError("the game ended without a message box:\n" + self.output())
            for pid in os.listdir("/proc"):
                if not pid.isdigit():
                    continue
                try:
                    with open("/proc/%s/stat" % pid) as stat:
                        parent = int(stat.read().rsplit(")", 1)[1].split()[1])
                    with open("/proc/%s/cmdline" % pid, "rb") as cmdline:
                        args = cmdline.read().split(b"\0")[:-1]
                except (OSError, ValueError, IndexError):
                    continue
                if parent == self.process.pid and args and os.path.basename(args[0]) == b"xmessage":
                    return int(pid), args
            return None
        pid, args = wait_for(find, STARTUP_TIMEOUT, "a message box")
        os.kill(pid, signal.SIGTERM)
        text = args[-1].decode()
        # The library ends every message with a line break before handing it to xmessage.
        return text[:-1] if text.endswith("\n") else text

    def close(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        self.output_file.close()


class GameTestCase(unittest.TestCase):
    """Each test gets a fresh virtual display; games it starts are killed at the end."""

    def setUp(self):
        if not os.path.exists(GAME):
            self.fail("the game is not built: " + GAME)
        self.display = VirtualDisplay()
        self.addCleanup(self.display.close)

    def start(self, cwd=REPO, display=True):
        game = Game(self.display if display else None, cwd)
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


GREY = (170, 170, 170)
BLACK = (0, 0, 0)


def frame_rate_region(shot):
    """The grey text pixels of the frame rate, which starts at (50, 50) in the default 8 x 8 font."""
    return shot.points(lambda p: p == GREY, (40, 40, 140, 70))
