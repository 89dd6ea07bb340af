"""Every quit request ends the game cleanly; losing the display, the timer or the colours does not crash it."""

import os
import pwd
import shutil
import signal
import struct
import subprocess
import time
import unittest
from collections import Counter

from harness import GAME, PLAYER_START, GameTestCase, VirtualDisplay, distance, wait_for


def big_player(path):
    """A valid 16384 x 4096 RLE8 picture: small on disk, seconds to load."""
    pixels = (b"\xff\x01" * 64 + b"\x40\x01" + b"\x00\x00") * 4096 + b"\x00\x01"
    header = struct.pack("<IiiHHIIiiII", 40, 16384, 4096, 1, 8, 1, len(pixels), 0, 0, 256, 0)
    offset = 14 + len(header) + 1024
    with open(path, "wb") as out:
        out.write(b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset) + header)
        out.write(bytes([0, 0, 0, 0, 120, 140, 170, 0]) + bytes(1016) + pixels)


class Reliability(GameTestCase):
    def test_signals_a_short_escape_tap_and_an_early_close_request_all_end_it_with_zero(self):
        for request in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP, "Escape held 1 ms"):
            with self.subTest(request=request):
                game = self.start().wait_for_window()
                if isinstance(request, signal.Signals):
                    game.process.send_signal(request)
                else:
                    game.keys("keydown", "Escape", "sleep", "0.001", "keyup", "Escape")
                self.assertEqual((game.wait_exit(), game.output()), (0, ""))
        # The close button while the art is still loading: the game ends once it reaches its loop.
        folder = self.art_folder()
        big_player(os.path.join(folder, "gfx", "player.bmp"))
        game = self.start(cwd=folder).wait_for_window(frames=False)
        game.request_close()
        self.assertEqual(game.wait_exit(), 0)

    def test_a_fatal_message_box_never_outlives_the_game(self):
        game = self.start(cwd=self.art_folder(missing=["gfx/player.bmp"]))
        box = game.message_box()[0]
        game.process.send_signal(signal.SIGTERM)
        game.wait_exit()

        def box_gone():
            try:
                with open("/proc/%d/stat" % box) as stat:
                    return stat.read().rsplit(")", 1)[1].split()[0] in "ZX"  # ended, not yet reaped
            except FileNotFoundError:
                return True
        wait_for(box_gone, "the box to end")

    def test_losing_the_display_always_ends_it_with_one_and_a_fatal_message(self):
        outcomes = Counter()
        for kill in range(5):
            self.display = VirtualDisplay()
            self.addCleanup(self.display.close)
            game = self.start().wait_for_window()
            time.sleep(kill / 10)
            self.display.process.kill()
            self.display.process.wait()
            outcomes[(game.wait_exit(), game.output())] += 1
        self.assertEqual(outcomes, Counter({
            (1, "Fatal Error:\n   Lost the connection to the display %s.\n" % self.display.name): 5}))

    @unittest.skipUnless(os.geteuid() == 0, "needs root to run the game as another user")
    def test_a_timer_that_cannot_start_is_a_fatal_error(self):
        # A user allowed no more threads than the library's input thread: the timer's cannot start.
        folder = self.art_folder()
        shutil.copy(GAME, folder)
        os.chmod(folder, 0o755)
        nobody = pwd.getpwnam("nobody")
        running = len(subprocess.run(["ps", "-L", "-u", str(nobody.pw_uid), "-o", "lwp="], capture_output=True,
                                     text=True).stdout.split())
        game = self.start(folder, ["setpriv", "--reuid=%d" % nobody.pw_uid, "--regid=%d" % nobody.pw_gid,
                                   "--clear-groups", "prlimit", "--nproc=%d" % (running + 2), "./swarm"])
        # No process can start either, so the box falls back to standard output.
        self.assertEqual((game.wait_exit(), game.output()), (1, "Fatal Error:\n   Could not install the timer.\n"))


class EightBitDisplay(GameTestCase):
    depth = 8

    def test_the_art_keeps_its_own_colours(self):
        game = self.start().wait_for_window()
        shot = game.screenshot()
        self.assertLess(distance(shot.ship(), PLAYER_START), 12)
        # The hull's commonest colour, (70, 95, 140) in the art, as near as a 3-3-2 palette comes.
        hull = Counter(shot.at(x, y) for y in range(430, 480) for x in range(280, 340) if any(shot.at(x, y)))
        self.assertLess(max(map(abs, (a - b for a, b in zip(hull.most_common(1)[0][0], (70, 95, 140))))), 40)
        self.assertEqual(game.quit(), 0)


if __name__ == "__main__":
    unittest.main()
