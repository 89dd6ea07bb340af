"""The swarm drifts down and spreads, and the ship follows the arrows at 240 pixels a second."""

import subprocess
import time
import unittest

from harness import GameTestCase, wait_for

PLAYER_START = (292, 440)


def balls(shot):
    return shot.points(lambda p: p[0] > 90 and p[0] > p[1] + 40 and p[0] > p[2] + 40)


def ship(shot):
    """The top-left corner of the ship's blue-grey hull, anywhere on the screen."""
    xs, ys = zip(*shot.points(lambda p: p[2] > 90 and p[2] > p[0] + 20))
    return min(xs), min(ys)


class World(GameTestCase):
    def settled_ship(self, game):
        """Where the ship stands once the keys let go have reached the game."""
        shots = [None]
        return wait_for(lambda: time.sleep(0.2) or shots.append(ship(game.screenshot())) or
                        shots[-1] == shots[-2] and shots[-1], "the ship to stand still")

    def test_the_swarm_drifts_down_and_spreads_while_the_ship_follows_the_arrows(self):
        game = self.start().wait_for_window()
        shot = game.screenshot()
        early, start = balls(shot), ship(shot)
        self.assertGreater(len(early), 200)
        mean = lambda points, axis: sum(p[axis] for p in points) / len(points)
        # Around its starting centre (270, 50), padded by the 10-pixel sprite; it wanders evenly left and right.
        self.assertLess(abs(mean(early, 0) - 275) + abs(start[0] - PLAYER_START[0]), 25)
        self.assertLess(mean(early, 1), 150)
        self.assertLess(abs(start[1] - PLAYER_START[1]), 12)
        # Both of a pair held: nothing moves. The keys go down one after the other: look once both are.
        game.keys("keydown", "Left", "Right", "sleep", "0.3")
        both = ship(game.screenshot())
        time.sleep(0.5)
        self.assertEqual(ship(game.screenshot()), both)
        game.keys("keyup", "Left", "Right")
        start = self.settled_ship(game)
        game.keys("keydown", "Up", "Left", "sleep", "0.5", "keyup", "Up", "Left")
        diagonal = self.settled_ship(game)
        left, up = start[0] - diagonal[0], start[1] - diagonal[1]
        # One pixel on each axis per tick, give or take the moment between the two key presses.
        self.assertGreater(left, 30)
        self.assertLess(abs(left - up), 15)
        late = balls(game.screenshot())
        self.assertGreater(mean(late, 1), mean(early, 1) + 40)
        spread = lambda points: max(x for x, _ in points) - min(x for x, _ in points)
        self.assertGreater(spread(late), spread(early))
        self.assertEqual(game.quit(), 0)

    def test_the_ship_flies_240_pixels_a_second_also_while_both_cores_are_busy(self):
        for busy in (0, 2):
            burners = [subprocess.Popen(["sh", "-c", "while :; do :; done"]) for _ in range(busy)]
            try:
                game = self.start().wait_for_window()
                game.keys("keydown", "Up", "sleep", "0.2")  # upwards: the screen's height leaves the most room
                # A shot's moment is the middle of the time its capture took; 0.7 s apart, the ship stays in view.
                shots = [(time.sleep(0.7 * n), time.monotonic(), ship(game.screenshot())[1], time.monotonic())[1:]
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


if __name__ == "__main__":
    unittest.main()
