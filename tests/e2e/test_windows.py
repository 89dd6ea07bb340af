"""swarm.exe, the Windows build, plays under Wine: its window, Escape, its message box, and many starts."""

import codecs
import os
import re
import shutil
import subprocess
import tempfile
import unittest

from harness import PLAYER_START, REPO, GameTestCase, distance, wait_for, wine_prefix

EXE = os.environ.get("SWARM_EXE", os.path.join(REPO, "build-windows", "swarm.exe"))


@unittest.skipUnless(os.path.exists(EXE), "no Windows build: scripts/build-windows makes it")
class UnderWine(GameTestCase):
    @classmethod
    def setUpClass(cls):
        cls.prefix = tempfile.mkdtemp(prefix="swarm-wine-")
        cls.wine = wine_prefix(cls.prefix)

    @classmethod
    def tearDownClass(cls):
        subprocess.run(["wineserver", "-k"], env=dict(os.environ, **cls.wine))  # this prefix's processes only
        shutil.rmtree(cls.prefix)

    def start_exe(self, missing=()):
        folder = self.art_folder(missing)
        shutil.copy(EXE, folder)
        return self.start(folder, ["wine", "swarm.exe"], self.wine)

    def test_plays_in_a_window_and_ends_with_zero_on_escape_also_after_the_focus_went_elsewhere(self):
        game = self.start_exe().wait_for_window()
        shot = game.wait_for_frame(lambda s: len(s.frame_rate()) > 10 and s.balls(), "the swarm and a frame rate")
        self.assertLess(distance(shot.ship(), PLAYER_START), 12)
        # A player who clicks another window and comes back must still be able to quit.
        other = subprocess.Popen(["xmessage", "-geometry", "+700+600", "another window"], env=self.display.env)
        self.addCleanup(other.wait)
        self.addCleanup(other.kill)
        found = wait_for(lambda: subprocess.run(["xdotool", "search", "--name", "^xmessage$"], env=self.display.env,
                                                capture_output=True, text=True).stdout.split(), "another window")
        game.keys("windowfocus", found[0], "sleep", "1", "windowfocus", game.window, "sleep", "1", "mousemove",
                  "320", "240")
        self.assertEqual(game.quit(), 0)

    def test_twenty_starts_in_a_row_each_end_with_zero_on_escape(self):
        for start in range(20):
            with self.subTest(start=start):
                self.assertEqual(self.start_exe().wait_for_window().quit(), 0)

    def test_a_missing_player_shows_its_box_and_return_ends_it_with_one(self):
        game = self.start_exe(missing=["gfx/player.bmp"])
        text = wait_for(lambda: re.search(r'trace:msgbox:\w+ L"(.*)"\n', game.output()), "the message box")[1]
        self.assertEqual(codecs.decode(text, "unicode_escape"),
                         "Fatal Error:\n   Error loading player bitmap.\n   "
                         "Could not create memory bitmap from file gfx/player.bmp.")
        # The text is traced before the box shows: press Return on it until the game ends.
        def press_return():
            game.display.run("sh", "-c", "xdotool search --onlyvisible --name '^swarm$' key --window %@ Return || :")
            return game.process.poll() is not None
        wait_for(press_return, "Return to close the box")
        self.assertEqual(game.wait_exit(), 1)


if __name__ == "__main__":
    unittest.main()
