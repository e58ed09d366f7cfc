#!/usr/bin/python3
# Rewrites PNG files with their image data deflated at the highest level (the
# host stand-in writes stored blocks, to stay free of a compression library).
#   scripts/compress-png.py IN.png OUT.png
import struct
import sys
import zlib

source, target = sys.argv[1:3]
with open(source, "rb") as f:
    data = f.read()
assert data[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG file"
chunks, idat, pos = [], b"", 8
while pos < len(data):
    length, kind = struct.unpack(">I4s", data[pos : pos + 8])
    body = data[pos + 8 : pos + 8 + length]
    pos += 12 + length
    if kind == b"IDAT":
        idat += body
    else:
        chunks.append((kind, body))


def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)


out = b"\x89PNG\r\n\x1a\n"
for kind, body in chunks:
    if kind == b"IEND":
        out += chunk(b"IDAT", zlib.compress(zlib.decompress(idat), 9))
    out += chunk(kind, body)
with open(target, "wb") as f:
    f.write(out)
