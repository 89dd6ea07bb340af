"""Writes the page's program in its other forms: gzipped (swarm.js.gz, swarm.wasm.gz), which a served page
decompresses as they download, since a plain web server sends files as they are; and its WebAssembly as a script
(swarm-wasm.js), for a page opened from its folder, which can fetch no file. The same bytes from the same program: no
name or time in the gzip headers. Run in the web build's folder."""

import base64
import gzip

for name in ("swarm.js", "swarm.wasm"):
    with open(name, "rb") as plain, open(name + ".gz", "wb") as packed:
        packed.write(gzip.compress(plain.read(), 9, mtime=0))
with open("swarm.wasm", "rb") as program, open("swarm-wasm.js", "w") as script:
    script.write("// The game's WebAssembly, for a page opened from its folder.\n"
                 "Module.wasmBinary = Uint8Array.from(atob('%s'), function(c) { return c.charCodeAt(0); });\n"
                 % base64.b64encode(program.read()).decode())
