"""The game plays in a window: the swarm drifts down, the ship follows the arrows, the frame rate shows at
(50, 50), Escape ends it with 0, and a missing file or display ends it with 1 and its own message."""

import os
import signal
import subprocess
import time
import unittest

from harness import PLAYER_START, GameTestCase, distance, wait_for

mean = lambda points, axis: sum(p[axis] for p in points) / len(points)
spread = lambda points: max(x for x, _ in points) - min(x for x, _ in points)


class Spine(GameTestCase):
    def settled_ship(self, game):
        """Where the ship stands once the keys let go have reached the game."""
        shots = [None]
        return wait_for(lambda: time.sleep(0.2) or shots.append(game.screenshot().ship()) or
                        shots[-1] == shots[-2] and shots[-1], "the ship to stand still")

    def test_the_swarm_drifts_down_and_spreads_the_ship_follows_the_arrows_and_escape_ends_it(self):
        game = self.start().wait_for_window()
        shot = game.screenshot()
        early = shot.balls()
        self.assertGreater(len(early), 200)
        # Around its starting centre (270, 50), padded by the 10-pixel sprite; it wanders evenly left and right.
        self.assertLess(abs(mean(early, 0) - 275) + distance(shot.ship(), PLAYER_START), 25)
        self.assertLess(mean(early, 1), 150)
        # Both of a pair held: nothing moves. The keys go down one after the other: look once both are.
        game.keys("keydown", "Left", "Right", "sleep", "0.3")
        both = game.screenshot().ship()
        time.sleep(0.5)
        self.assertEqual(game.screenshot().ship(), both)
        game.keys("keyup", "Left", "Right")
        start = self.settled_ship(game)
        game.keys("keydown", "Up", "Left", "sleep", "0.5", "keyup", "Up", "Left")
        left, up = (a - b for a, b in zip(start, self.settled_ship(game)))
        # One pixel on each axis per tick, give or take the moment between the two key presses.
        self.assertGreater(left, 30)
        self.assertLess(abs(left - up), 15)
        late = game.screenshot().balls()
        self.assertGreater(mean(late, 1), mean(early, 1) + 40)
        self.assertGreater(spread(late), spread(early))
        # The first second shows "0"; after it a real rate of several digits, in grey on black.
        shot = game.wait_for_frame(lambda s: len(s.frame_rate()) > 20, "a frame rate of several digits")
        xs, ys = zip(*shot.frame_rate())
        self.assertIn(min(xs), range(50, 53))
        self.assertEqual(min(ys), 50)
        self.assertLess(max(ys), 58)
        self.assertEqual([shot.at(600, 240), shot.at(10, 10)], [(0, 0, 0)] * 2)
        self.assertEqual(game.quit(), 0)

    def test_the_ship_flies_240_pixels_a_second_also_while_both_cores_are_busy(self):
        for busy in (0, 2):
            burners = [subprocess.Popen(["sh", "-c", "while :; do :; done"]) for _ in range(busy)]
            try:
                game = self.start().wait_for_window()
                game.keys("keydown", "Up", "sleep", "0.2")  # upwards: the screen's height leaves the most room
                # A shot's moment is the middle of the time its capture took; 0.7 s apart, the ship stays in view.
                shots = [(time.sleep(0.7 * n), time.monotonic(), game.screenshot().ship()[1], time.monotonic())[1:]
                         for n in range(2)]
                game.keys("keyup", "Up")
                self.assertEqual(game.quit(), 0)
            finally:
                for burner in burners:
                    burner.kill()
                    burner.wait()
            (before1, y1, after1), (before2, y2, after2) = shots
            speed = (y1 - y2) / ((before2 + after2) / 2 - (before1 + after1) / 2)
            # Wide enough for a loaded machine's screenshot delays; a wrong tick rate is far outside it.
            self.assertTrue(240 * 0.75 < speed < 240 * 1.25, "%d busy cores: %.0f pixels a second" % (busy, speed))

    def test_missing_art_and_display_end_with_their_own_message(self):
        cases = {
            "gfx/player.bmp": "Error loading player bitmap.\n   "
                              "Could not create memory bitmap from file gfx/player.bmp.",
            "gfx/ball.bmp": "Uncaught exception.",
            "gui/borderne.bmp": "Error loading gui bitmaps.\n"
                                "Cause: Could not create memory bitmap from file gui/borderne.bmp.",
        }
        for missing, text in cases.items():
            with self.subTest(missing=missing):
                game = self.start(cwd=self.art_folder(missing=[missing]))
                box, shown = game.message_box()
                self.assertEqual(shown, "Fatal Error:\n   " + text)
                os.kill(box, signal.SIGTERM)
                self.assertEqual(game.wait_exit(), 1)
        game = self.start(display=False)
        self.assertEqual((game.wait_exit(), game.output()), (1, "Fatal Error:\n   Could not install the Allegro "
                                                                "library.\n   No display to run on: DISPLAY is not set."))


if __name__ == "__main__":
    unittest.main()
