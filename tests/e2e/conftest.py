"""The fixtures of the end-to-end scenarios: the build and the X server or browser a scenario runs on, a Wine prefix,
and the game started in a folder of its art. The machinery that drives the game is tools/game_driver.py."""

import os
import pathlib
import shutil
import subprocess
import sys
import tempfile

import pytest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
from game_driver import ARM64, EXE, GAME, PAGE, Browser, Display, Firefox, Game, WebGame, art_folder, page_folder  # noqa
from game_driver import wine_prefix  # noqa: E402


@pytest.fixture
def build(request):
    """The build a scenario runs: "linux", "wine" for swarm.exe under Wine, "web" for the page in Chromium, or "arm64"
    for the arm64 build under Qemu's user-mode emulator."""
    if request.param == "web" and not os.path.exists(os.path.join(PAGE, "swarm.js")):
        pytest.skip("no web build: scripts/build-web makes it")
    if request.param == "arm64" and not os.path.exists(ARM64):
        pytest.skip("no arm64 build: scripts/build-arm64 makes it")
    return request.param


@pytest.fixture
def display(request, build, tmp_path):
    """The X server a scenario runs on: a kind of Display, Xvfb at 1024 x 768 x 24 unless asked, or "xorg"; a big
    screen ("xvfb4k") has a window manager, as every desktop of that size does.
    swarm.exe runs under a window manager, as on every Windows desktop, but on the 640 x 480 screen: there the
    window fills it, as fullscreen would, where a frame would push its bottom rows off the screen. The web build's
    is the browser, which opens the page from its folder unless asked for "http", or on an emulated phone ("phone");
    or Firefox ESR, from the folder ("firefox") or served ("firefox-http")."""
    kind = getattr(request, "param", "file" if build == "web" else "xvfb")
    if kind == "xorg" and (os.geteuid() != 0 or not shutil.which("Xorg")):
        pytest.skip("Xorg's dummy driver needs root and the xserver-xorg-video-dummy package")
    if build != "web":
        server = Display(kind, tmp_path, window_manager=build == "wine" and kind != "small" or kind == "xvfb4k")
    else:
        server = Firefox(kind == "firefox-http") if kind.startswith("firefox") else Browser(kind)
    yield server
    server.close()


@pytest.fixture(scope="session")
def wine():
    """A Wine prefix of the session's own."""
    if not os.path.exists(EXE):
        pytest.skip("no Windows build: scripts/build-windows makes it")
    prefix = tempfile.mkdtemp(prefix="swarm-wine-")
    env = wine_prefix(prefix)
    yield env
    subprocess.run(["wineserver", "-k"], env=dict(os.environ, **env))  # this prefix's processes only
    shutil.rmtree(prefix)


@pytest.fixture
def start(request, build, display, tmp_path):
    """Starts the scenario's build on its display, in a folder of art less the missing files, with the made ones
    made by their functions of the path, with the command line's options. A mouse of so many buttons is the
    library's setting for it."""
    games = []

    def start(missing=(), buttons=None, on_display=True, made=None, options=()):
        made = dict(made or {})
        if buttons is not None:
            made["allegro.cfg"] = lambda path: pathlib.Path(path).write_text("[mouse]\nnum_buttons = %d\n" % buttons)
        if build == "web":  # the library reads its settings beside the program: at the root of the page's files
            games.append(WebGame(display, page_folder(tempfile.mkdtemp(dir=tmp_path), missing, made)))
            return games[-1]
        cwd = art_folder(tempfile.mkdtemp(dir=tmp_path), missing, made)
        env = dict(display.env) if on_display else {k: v for k, v in os.environ.items() if k != "DISPLAY"}
        if buttons is not None:
            env["ALLEGRO"] = cwd
        command = ("qemu-aarch64-static", ARM64) if build == "arm64" else (GAME,)
        if build == "wine":
            shutil.copy(EXE, cwd)
            command, env = ("wine", "swarm.exe"), dict(env, **request.getfixturevalue("wine"))
        games.append(Game(display, command + options, cwd, env, os.path.join(tmp_path, "output%d" % len(games))))
        return games[-1]

    yield start
    for game in games:
        game.close()
        assert "Sanitizer" not in game.output(), game.output()  # a sanitizer build's report fails the scenario
    if build == "wine":
        # Wine's desktop would outlive this display and keep its size for the next scenario's games.
        subprocess.run(["wineserver", "-k"], env=dict(os.environ, **request.getfixturevalue("wine")))
