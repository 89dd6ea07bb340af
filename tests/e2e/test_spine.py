"""The game starts in a window, shows its frame rate, ends on Escape and fails cleanly without a display."""

import unittest

from harness import BLACK, GameTestCase, frame_rate_region


class Spine(GameTestCase):
    def test_shows_the_frame_rate_at_fifty_fifty_and_ends_with_zero_on_escape(self):
        game = self.start()
        game.wait_for_window()
        # The first second shows "0"; after it a real rate of several digits.
        shot = game.wait_for_frame(lambda s: len(frame_rate_region(s)) > 20, "a frame rate of several digits")
        text = frame_rate_region(shot)
        xs = [x for x, _ in text]
        ys = [y for _, y in text]
        self.assertGreaterEqual(min(xs), 50)
        self.assertLessEqual(min(xs), 52)
        self.assertGreaterEqual(min(ys), 50)
        self.assertLess(max(ys), 58)
        self.assertEqual(shot.at(600, 240), BLACK)
        self.assertEqual(shot.at(10, 10), BLACK)
        self.assertEqual(game.quit(), 0)

    def test_the_windows_close_button_ends_it_like_escape(self):
        game = self.start()
        game.wait_for_window()
        game.request_close()
        self.assertEqual(game.wait_exit(), 0)

    def test_without_a_display_it_reports_instead_of_crashing(self):
        game = self.start(display=False)
        self.assertEqual(game.wait_exit(), 1)
        self.assertEqual(game.output(), "Fatal Error:\n   Could not install the Allegro library.\n   "
                                        "No system driver is available: is there a display to run on?")


if __name__ == "__main__":
    unittest.main()
