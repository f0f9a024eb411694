#!/usr/bin/env python3
"""Writes a small Windows x64 executable laid out as the linker lays out the installer programs
(code holding a marker, a resource section with the manifest alone, base relocations behind it),
for the tests of the native qsbuild where the real installer programs are not built. The
manifest asks for the rights the real program asks for: the stub none, the others administrator.
Usage: make-test-program.py FILE MARKER"""
import struct
import sys

path, marker = sys.argv[1], sys.argv[2].encode()
image = bytearray(0x800)
image[0:2] = b"MZ"
struct.pack_into("<I", image, 0x3C, 0x40)
image[0x40:0x44] = b"PE\0\0"
struct.pack_into("<HHIIIHH", image, 0x44, 0x8664, 3, 0, 0, 0, 240, 0x22)
optional = 0x58
struct.pack_into("<H", image, optional, 0x20B)
struct.pack_into("<I", image, optional + 16, 0x1000)           # entry point
struct.pack_into("<Q", image, optional + 24, 0x140000000)      # image base
struct.pack_into("<II", image, optional + 32, 0x1000, 0x200)   # section and file alignment
struct.pack_into("<H", image, optional + 48, 6)                # subsystem version
struct.pack_into("<III", image, optional + 56, 0x4000, 0x200, 0x1234)  # image, headers, checksum
struct.pack_into("<H", image, optional + 68, 2)                # windowed
struct.pack_into("<I", image, optional + 108, 16)              # data directories
level = b"asInvoker" if marker == b"_sfx" else b"requireAdministrator"
manifest = (b'<assembly><trustInfo><security><requestedPrivileges><requestedExecutionLevel level="' + level +
            b'" uiAccess="false"/></requestedPrivileges></security></trustInfo></assembly>')
# Type 24 (manifest), name 1, language 0x409: three directories of one entry each, then the data.
rsrc = bytearray(0x58)
for at, entry_id, target in [(0x00, 24, 0x80000018), (0x18, 1, 0x80000030), (0x30, 0x409, 0x48)]:
    struct.pack_into("<IIHHHHII", rsrc, at, 0, 0, 0, 0, 0, 1, entry_id, target)
struct.pack_into("<IIII", rsrc, 0x48, 0x2000 + 0x58, len(manifest), 0, 0)
rsrc += manifest
assert len(rsrc) <= 0x200
image[0x400:0x400 + len(rsrc)] = rsrc
struct.pack_into("<II", image, optional + 112 + 8 * 2, 0x2000, len(rsrc))
struct.pack_into("<II", image, optional + 112 + 8 * 5, 0x3000, 12)
for i, (name, address, pointer, flags) in enumerate([(b".text", 0x1000, 0x200, 0x60000020),
                                                     (b".rsrc", 0x2000, 0x400, 0x40000040),
                                                     (b".reloc", 0x3000, 0x600, 0x42000040)]):
    struct.pack_into("<8sIIII12xI", image, optional + 240 + 40 * i, name, 0x200, address, 0x200, pointer, flags)
image[0x200:0x200 + len(marker)] = marker
struct.pack_into("<IIHH", image, 0x600, 0x1000, 12, 0xA008, 0xA010)
with open(path, "wb") as out:
    out.write(image)
