"""The game starts in a window, shows its frame rate, ends on Escape and fails cleanly."""

import unittest

from harness import BLACK, GameTestCase, frame_rate_region


class Spine(GameTestCase):
    def test_shows_the_frame_rate_at_fifty_fifty_and_ends_with_zero_on_escape(self):
        game = self.start().wait_for_window()
        # The first second shows "0"; after it a real rate of several digits.
        shot = game.wait_for_frame(lambda s: len(frame_rate_region(s)) > 20, "a frame rate of several digits")
        xs, ys = zip(*frame_rate_region(shot))
        self.assertIn(min(xs), range(50, 53))
        self.assertEqual(min(ys), 50)
        self.assertLess(max(ys), 58)
        self.assertEqual([shot.at(600, 240), shot.at(10, 10)], [BLACK, BLACK])
        self.assertEqual(game.quit(), 0)

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
                self.assertEqual(game.message_box(), "Fatal Error:\n   " + text)
                self.assertEqual(game.wait_exit(), 1)
        game = self.start(display=False)
        self.assertEqual(game.wait_exit(), 1)
        self.assertEqual(game.output(), "Fatal Error:\n   Could not install the Allegro library.\n   "
                                        "No display to run on: DISPLAY is not set.")


if __name__ == "__main__":
    unittest.main()
