#!/usr/bin/env python3
"""check_zip_entries.py ZIP [METHOD]

Checks every entry of ZIP with readers of its own: the directory and the stored and deflated
entries through Python's zipfile, the zstd entries (method 93) by passing their data through the
zstd command (with the archive's dictionary, the stored entry zstd.dictionary, where it has
one); each entry's bytes must match its size and CRC. Prints how many entries each
method has; with METHOD, fails unless every entry of more than 1 KiB that shrinks uses it."""
import subprocess
import sys
import tempfile
import zipfile
import zlib


def raw_data(handle, info):
    handle.seek(info.header_offset)
    local = handle.read(30)
    if local[:4] != b"PK\x03\x04":
        raise SystemExit(f"{info.filename}: no local header")
    skip = int.from_bytes(local[26:28], "little") + int.from_bytes(local[28:30], "little")
    handle.seek(info.header_offset + 30 + skip)
    return handle.read(info.compress_size)


def main():
    path = sys.argv[1]
    wanted = int(sys.argv[2]) if len(sys.argv) > 2 else None
    counts = {}
    with zipfile.ZipFile(path) as archive, open(path, "rb") as handle, tempfile.NamedTemporaryFile() as dictionary:
        zstd = ["zstd", "-d", "-c", "-q"]
        if "zstd.dictionary" in archive.namelist():
            dictionary.write(archive.read("zstd.dictionary"))
            dictionary.flush()
            zstd += ["-D", dictionary.name]
        for info in archive.infolist():
            method = info.compress_type
            counts[method] = counts.get(method, 0) + 1
            if method == 93:
                plain = subprocess.run(zstd, input=raw_data(handle, info),
                                       capture_output=True, check=True).stdout
            else:
                plain = archive.read(info)
            if len(plain) != info.file_size or zlib.crc32(plain) != info.CRC:
                raise SystemExit(f"{info.filename}: the bytes do not match the entry's size and CRC")
            if wanted is not None and info.file_size > 1024 and info.compress_size < info.file_size \
                    and method != wanted:
                raise SystemExit(f"{info.filename}: method {method}, not {wanted}")
    print(", ".join(f"method {m}: {n} entries" for m, n in sorted(counts.items())))


main()
