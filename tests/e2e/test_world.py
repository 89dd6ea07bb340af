"""The swarm drifts down and spreads, and the ship follows the arrows at 240 pixels a second."""

import subprocess
import time
import unittest

from harness import GameTestCase, wait_for

PLAYER_START = (292, 440)


def is_ball(pixel):
    r, g, b = pixel
    return r > 90 and r > g + 40 and r > b + 40


def ship(shot):
    """The top-left corner of the ship's blue-grey hull, anywhere on the screen."""
    xs, ys = zip(*shot.points(lambda p: p[2] > 90 and p[2] > p[0] + 20))
    return min(xs), min(ys)


def settled_ship(game):
    """Where the ship stands once the keys let go have reached the game."""
    shots = [None]

    def still():
        time.sleep(0.2)
        shots.append(ship(game.screenshot()))
        return shots[-1] == shots[-2] and shots[-1]
    return wait_for(still, "the ship to stand still")


class World(GameTestCase):
    def test_the_swarm_gathers_near_its_centre_then_drifts_down_and_spreads(self):
        game = self.start().wait_for_window()
        early = game.screenshot().points(is_ball)
        self.assertGreater(len(early), 200)
        mean = lambda points, axis: sum(p[axis] for p in points) / len(points)
        spread = lambda points: max(x for x, _ in points) - min(x for x, _ in points)
        # Around its starting centre (270, 50), padded by the 10-pixel sprite; it wanders evenly left and right.
        self.assertLess(abs(mean(early, 0) - 275), 25)
        self.assertLess(mean(early, 1), 150)
        time.sleep(4)
        late = game.screenshot().points(is_ball)
        self.assertGreater(mean(late, 1), mean(early, 1) + 40)
        self.assertGreater(spread(late), spread(early))
        self.assertEqual(game.quit(), 0)

    def test_the_ship_starts_at_the_bottom_and_follows_the_arrows(self):
        game = self.start().wait_for_window()
        start = ship(game.screenshot())
        self.assertLess(abs(start[0] - PLAYER_START[0]) + abs(start[1] - PLAYER_START[1]), 12)
        # Both of a pair held: nothing moves. The keys go down one after the other: look once both are.
        game.keys("keydown", "Left", "Right")
        time.sleep(0.3)
        both = ship(game.screenshot())
        time.sleep(0.5)
        self.assertEqual(ship(game.screenshot()), both)
        game.keys("keyup", "Left", "Right")
        start = settled_ship(game)
        game.keys("keydown", "Up", "Left")
        time.sleep(0.5)
        game.keys("keyup", "Up", "Left")
        diagonal = settled_ship(game)
        left, up = start[0] - diagonal[0], start[1] - diagonal[1]
        # One pixel on each axis per tick, give or take the moment between the two key presses.
        self.assertGreater(left, 30)
        self.assertLess(abs(left - up), 15)
        self.assertEqual(game.quit(), 0)

    def test_the_ship_flies_240_pixels_a_second_also_while_both_cores_are_busy(self):
        for busy in (0, 2):
            with self.subTest(busy_cores=busy):
                burners = [subprocess.Popen(["sh", "-c", "while :; do :; done"]) for _ in range(busy)]
                try:
                    speed = self.measure_speed()
                finally:
                    for burner in burners:
                        burner.kill()
                        burner.wait()
                # Wide enough for a loaded machine's screenshot delays; a wrong tick rate is far outside it.
                self.assertGreater(speed, 240 * 0.75)
                self.assertLess(speed, 240 * 1.25)

    def measure_speed(self):
        game = self.start().wait_for_window()
        game.keys("keydown", "Up")  # upwards: the screen's height leaves the most room

        def timed_shot():
            # A shot's moment is the middle of the time its capture took.
            before = time.monotonic()
            y = ship(game.screenshot())[1]
            return y, (before + time.monotonic()) / 2
        time.sleep(0.2)
        (first, first_at), _, (second, second_at) = timed_shot(), time.sleep(1), timed_shot()
        game.keys("keyup", "Up")
        self.assertEqual(game.quit(), 0)
        return (first - second) / (second_at - first_at)


if __name__ == "__main__":
    unittest.main()
