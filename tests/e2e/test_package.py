"""The Debian package, unpacked into a root of its own, plays from another folder through its launcher."""

import glob
import os
import re
import subprocess
import tempfile
import unittest

from harness import REPO, Game, GameTestCase

BUILD = os.path.dirname(os.environ.get("SWARM_BINARY", os.path.join(REPO, "build", "swarm")))


class Package(GameTestCase):
    def test_the_installed_launcher_plays_from_any_folder(self):
        out = tempfile.mkdtemp(prefix="swarm-deb-")
        subprocess.run(["cpack", "-G", "DEB", "-B", out, "--config", os.path.join(BUILD, "CPackConfig.cmake")],
                       check=True, capture_output=True, timeout=300)
        root = os.path.join(out, "root")
        subprocess.run(["dpkg-deb", "-x"] + glob.glob(os.path.join(out, "swarm_*.deb")) + [root], check=True)
        # The menu entry's command, found on the PATH as the installed launcher, started in another folder.
        with open(os.path.join(root, "usr", "share", "applications", "swarm.desktop")) as entry:
            command = re.search(r"^Exec=(.*)$", entry.read(), re.M)[1].split()
        path = os.path.join(root, "usr", "games") + os.pathsep + os.environ["PATH"]
        game = Game(self.display, "/", command, {"PATH": path})
        self.addCleanup(game.close)
        self.assertEqual(game.wait_for_window().quit(), 0)

if __name__ == "__main__":
    unittest.main()
