#!/usr/bin/env python3
"""container_entry.py SETUP_EXE NAME OUT

Copies the file entry NAME (for example setup.zip) out of a single-file setup into OUT, reading
the container's tables backwards from the trailer at the end of the file."""
import struct
import sys


def entries(data):
    if data[-8:] != b"<KV_SEA>":
        raise SystemExit("no container trailer")
    at = len(data) - 8
    (reserved,) = struct.unpack_from("<I", data, at - 4)
    at -= 4 + reserved
    (commands,) = struct.unpack_from("<I", data, at - 4)
    at -= 4
    for _ in range(commands):
        (m, _) = struct.unpack_from("<II", data, at - 8)  # name length, then the id
        at -= 8 + m
    (count,) = struct.unpack_from("<I", data, at - 4)
    at -= 4
    found = {}
    for _ in range(count):
        (n,) = struct.unpack_from("<I", data, at - 4)
        name = data[at - 4 - n:at - 4].decode("latin-1")
        offset, size = struct.unpack_from("<II", data, at - 12 - n)
        at -= 12 + n
        found[name] = (offset, size)
    return found


def main():
    path, name, out = sys.argv[1:4]
    with open(path, "rb") as f:
        data = f.read()
    offset, size = entries(data)[name]
    with open(out, "wb") as f:
        f.write(data[offset:offset + size])


if __name__ == "__main__":
    main()
