"""Packs art files into swarm-art.js, the script that writes them into the game's files before it starts, with
Emscripten's file_packager: pack_art.py FOLDER@WHERE ... The packer decodes the files with the runtime's decodeBase64,
which the optimised runtime of a program whose WebAssembly is a file of its own leaves out: the browser's atob,
which it stood for, decodes them instead. The packer's advice for other uses of it is shown only if it fails."""

import subprocess
import sys

PACKER = "/usr/share/emscripten/tools/file_packager.py"

packed = subprocess.run(["python3", PACKER, "swarm-art.data", "--embed", *sys.argv[1:], "--js-output=swarm-art.js"],
                        capture_output=True, text=True)
if packed.returncode:
    sys.exit(packed.stdout + packed.stderr)
with open("swarm-art.js") as script:
    text = script.read()
with open("swarm-art.js", "w") as script:
    script.write(text.replace("decodeBase64(", "atob("))
