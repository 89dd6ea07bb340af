"""The Linux build alone: signals, a short Escape tap and the close button end the game with 0; the box, the X
server and the timer fail cleanly; the Debian package plays from any folder."""

import glob
import io
import os
import pwd
import re
import shutil
import signal
import struct
import subprocess
import tarfile
import tempfile
import time

import pytest

from conftest import GAME, REPO, wait_for

pytestmark = pytest.mark.parametrize("build", ["linux"], indirect=True)
SIGNALS = [signal.SIGINT, signal.SIGTERM, signal.SIGHUP]


def big_player(path):
    """A valid 16384 x 4096 RLE8 picture: small on disk, seconds to load."""
    pixels = (b"\xff\x01" * 64 + b"\x40\x01" + b"\x00\x00") * 4096 + b"\x00\x01"
    header = struct.pack("<IiiHHIIiiII", 40, 16384, 4096, 1, 8, 1, len(pixels), 0, 0, 256, 0)
    offset = 14 + len(header) + 1024
    with open(path, "wb") as out:
        out.write(b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset) + header)
        out.write(bytes([0, 0, 0, 0, 120, 140, 170, 0]) + bytes(1016) + pixels)


@pytest.mark.parametrize("quit_request", SIGNALS + ["Escape held 1 ms"], ids=lambda r: getattr(r, "name", r))
def test_every_quit_request_ends_it_with_zero(start, display, quit_request):
    # Ten times: a tap falls between two looks at the key more often than not, and only a callback sees it.
    for _ in range(10):
        game = start().wait_for_window()
        if quit_request in SIGNALS:
            game.process.send_signal(quit_request)
        else:
            display.hold(0.001, "Escape")
        assert (game.wait_exit(), game.output()) == (0, "")


def test_without_a_display_it_says_why_and_ends_with_one(start):
    game = start(on_display=False)
    assert (game.wait_exit(), game.output()) == (1, "Fatal Error:\n   Could not install the Allegro library.\n"
                                                 "   No display to run on: DISPLAY is not set.")


def test_the_close_button_during_a_slow_start_ends_it_with_zero(start, art):
    folder = art()
    big_player(os.path.join(folder, "gfx", "player.bmp"))
    game = start(cwd=folder).wait_for_window(frames=False)
    game.request_close()
    assert game.wait_exit() == 0


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


@pytest.mark.skipif(os.geteuid() != 0, reason="needs root to run the game as another user")
def test_a_timer_that_cannot_start_is_a_fatal_error(start):
    # A user allowed no more threads than the library's input thread: the timer's cannot start.
    nobody = pwd.getpwnam("nobody")
    running = len(subprocess.run(["ps", "-L", "-u", str(nobody.pw_uid), "-o", "lwp="], capture_output=True,
                                 text=True).stdout.split())
    with tempfile.TemporaryDirectory() as folder:
        shutil.copy(GAME, folder)
        os.chmod(folder, 0o755)
        game = start(cwd=folder, command=["setpriv", "--reuid=%d" % nobody.pw_uid, "--regid=%d" % nobody.pw_gid,
                                          "--clear-groups", "prlimit", "--nproc=%d" % (running + 2), "./swarm"])
        # No process can start either, so the box falls back to standard output.
        assert (game.wait_exit(), game.output()) == (1, "Fatal Error:\n   Could not install the timer.\n")


def packed(folder):
    """The Debian package of the tested build, packed as scripts/package packs it, and unpacked into a root."""
    epoch = int(subprocess.run(["git", "log", "-1", "--format=%ct"], cwd=REPO, capture_output=True).stdout)
    config = os.path.join(os.path.dirname(GAME), "CPackConfig.cmake")
    subprocess.run(["cpack", "-G", "DEB", "-B", folder, "--config", config], check=True, capture_output=True,
                   env=dict(os.environ, SOURCE_DATE_EPOCH=str(epoch)))
    deb, root = glob.glob(os.path.join(folder, "swarm_*.deb"))[0], os.path.join(folder, "root")
    subprocess.run(["dpkg-deb", "-x", deb, root], check=True)
    return deb, root, epoch


@pytest.mark.skipif("SWARM_SANITIZED" in os.environ, reason="a sanitizer build names its sources; it is not packed")
def test_the_package_stamps_the_last_commits_time_and_names_no_folder_of_the_build(build, tmp_path):
    deb, root, epoch = packed(tmp_path)
    files = subprocess.run(["dpkg-deb", "--fsys-tarfile", deb], check=True, capture_output=True).stdout
    assert {member.mtime for member in tarfile.open(fileobj=io.BytesIO(files)).getmembers()} == {epoch}
    for program in (GAME, os.path.join(root, "usr", "lib", "games", "swarm", "swarm")):
        with open(program, "rb") as binary:
            assert binary.read().find(REPO.encode()) == -1, program


def test_the_installed_launcher_plays_from_any_folder(start, tmp_path):
    root = packed(tmp_path)[1]
    # The menu entry's command, found on the PATH as the installed launcher, started in another folder.
    with open(os.path.join(root, "usr", "share", "applications", "swarm.desktop")) as entry:
        command = re.search(r"^Exec=(.*)$", entry.read(), re.M)[1].split()
    game = start(cwd="/", command=command, env={"PATH": os.path.join(root, "usr", "games") + os.pathsep +
                                                os.environ["PATH"]})
    assert game.wait_for_window().quit() == 0
