"""Logic runs at 240 ticks per second, measured by the ship's speed, also while both cores are busy."""

import subprocess
import sys
import time
import unittest

from harness import GameTestCase
from test_world import ship_left_edge

TICKS_PER_SECOND = 240


class Ticks(GameTestCase):
    def measure_speed(self):
        game = self.start()
        game.wait_for_window()
        game.key_down("Up")
        try:
            # Upwards: the screen's height leaves the most room.
            # A shot's moment is the middle of the time its capture took.
            def timed_shot():
                before = time.monotonic()
                shot = game.screenshot()
                return ship_left_edge(shot)[1], (before + time.monotonic()) / 2
            time.sleep(0.2)
            first, first_at = timed_shot()
            time.sleep(1)
            second, second_at = timed_shot()
        finally:
            game.key_up("Up")
        self.assertEqual(game.quit(), 0)
        speed = (first - second) / (second_at - first_at)
        print("\n%s: %.0f pixels per second" % (self.id().rsplit(".", 1)[1], speed), file=sys.stderr)
        return speed

    def assert_about_240(self, speed):
        # Wide enough for a loaded machine's screenshot delays; a wrong tick rate is far outside it.
        self.assertGreater(speed, TICKS_PER_SECOND * 0.75)
        self.assertLess(speed, TICKS_PER_SECOND * 1.25)

    def test_the_ship_flies_240_pixels_per_second(self):
        self.assert_about_240(self.measure_speed())

    def test_it_still_does_while_both_cores_are_busy(self):
        burners = [subprocess.Popen(["sh", "-c", "while :; do :; done"]) for _ in range(2)]
        try:
            speed = self.measure_speed()
        finally:
            for burner in burners:
                burner.kill()
                burner.wait()
        self.assert_about_240(speed)


if __name__ == "__main__":
    unittest.main()
