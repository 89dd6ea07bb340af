"""The swarm forms and drifts down, the player flies over it as the arrows say, and missing art is reported."""

import time
import unittest

from harness import GameTestCase

PLAYER_START = (292, 440)


def is_ball(pixel):
    r, g, b = pixel
    return r > 90 and r > g + 40 and r > b + 40


def is_ship(pixel):
    r, g, b = pixel
    return b > 90 and b > r + 20


def ship_left_edge(shot):
    """The leftmost column of the ship's blue-grey hull, anywhere on the screen."""
    points = shot.points(is_ship)
    return (min(x for x, _ in points), min(y for _, y in points)) if points else None


def settled_ship(game):
    """The ship's position once the keys let go have reached the game and it stands still."""
    last = None
    for _ in range(300):
        time.sleep(0.2)
        now = ship_left_edge(game.screenshot())
        if now == last:
            return now
        last = now
    raise AssertionError("the ship never stood still")


class World(GameTestCase):
    def test_the_swarm_gathers_near_its_centre_then_drifts_down_and_spreads(self):
        game = self.start()
        game.wait_for_window()
        early = game.screenshot().points(is_ball)
        self.assertGreater(len(early), 200)
        # Most of the swarm still sits in its starting square around (270, 50), padded by the sprite.
        in_square = [p for p in early if 200 <= p[0] <= 340 and 0 <= p[1] <= 130]
        self.assertGreater(len(in_square), len(early) * 0.5)
        time.sleep(4)
        late = game.screenshot().points(is_ball)
        mean_y = lambda points: sum(y for _, y in points) / len(points)
        spread = lambda points: max(x for x, _ in points) - min(x for x, _ in points)
        self.assertGreater(mean_y(late), mean_y(early) + 40)
        self.assertGreater(spread(late), spread(early))
        self.assertEqual(game.quit(), 0)

    def test_the_player_starts_at_the_bottom_and_follows_the_arrows(self):
        game = self.start()
        game.wait_for_window()
        start = ship_left_edge(game.screenshot())
        self.assertIsNotNone(start)
        self.assertLess(abs(start[0] - PLAYER_START[0]), 12)
        self.assertLess(abs(start[1] - PLAYER_START[1]), 12)

        # About one second of Right moves about 240 pixels; a slow machine only blurs the figure.
        began = time.monotonic()
        game.key_down("Right")
        time.sleep(1)
        game.key_up("Right")
        held = time.monotonic() - began
        moved = settled_ship(game)
        self.assertEqual(moved[1], start[1])
        self.assertGreater(moved[0] - start[0], 100)
        self.assertLess(moved[0] - start[0], 240 * held + 40)

        # Both held: the keys go down one after the other, so look only once both are down.
        game.key_down("Left", "Right")
        time.sleep(0.3)
        both = ship_left_edge(game.screenshot())
        time.sleep(0.5)
        still = ship_left_edge(game.screenshot())
        game.key_up("Left", "Right")
        self.assertEqual(still, both)

        start = settled_ship(game)
        game.key_down("Up", "Left")
        time.sleep(0.5)
        game.key_up("Up", "Left")
        diagonal = settled_ship(game)
        left, up = start[0] - diagonal[0], start[1] - diagonal[1]
        # One pixel on each axis per tick, give or take the moment between the two key presses.
        self.assertGreater(left, 30)
        self.assertLess(abs(left - up), 15)
        self.assertEqual(game.quit(), 0)

    def test_missing_art_ends_with_its_own_message(self):
        cases = {
            "gfx/player.bmp": "Fatal Error:\n   Error loading player bitmap.\n   "
                              "Could not create memory bitmap from file gfx/player.bmp.",
            "gfx/ball.bmp": "Fatal Error:\n   Uncaught exception.",
            "gui/borderne.bmp": "Fatal Error:\n   Error loading gui bitmaps.\n"
                                "Cause: Could not create memory bitmap from file gui/borderne.bmp.",
        }
        for missing, text in cases.items():
            with self.subTest(missing=missing):
                game = self.start(cwd=self.art_folder(missing=[missing]))
                self.assertEqual(game.message_box(), text)
                self.assertEqual(game.wait_exit(), 1)


if __name__ == "__main__":
    unittest.main()
