"""The Debian package, unpacked into a root of its own, plays from another folder through its launcher."""

import glob
import os
import re
import subprocess
import tempfile
import unittest

from harness import GAME, GameTestCase


class Package(GameTestCase):
    def test_the_installed_launcher_plays_from_any_folder(self):
        out = tempfile.mkdtemp(prefix="swarm-deb-")
        config = os.path.join(os.path.dirname(GAME), "CPackConfig.cmake")
        subprocess.run(["cpack", "-G", "DEB", "-B", out, "--config", config], check=True, capture_output=True)
        root = os.path.join(out, "root")
        subprocess.run(["dpkg-deb", "-x"] + glob.glob(os.path.join(out, "swarm_*.deb")) + [root], check=True)
        # The menu entry's command, found on the PATH as the installed launcher, started in another folder.
        with open(os.path.join(root, "usr", "share", "applications", "swarm.desktop")) as entry:
            command = re.search(r"^Exec=(.*)$", entry.read(), re.M)[1].split()
        game = self.start("/", command, {"PATH": os.path.join(root, "usr", "games") + os.pathsep + os.environ["PATH"]})
        self.assertEqual(game.wait_for_window().quit(), 0)


if __name__ == "__main__":
    unittest.main()
