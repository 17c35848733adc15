#!/usr/bin/env python3
"""Prints what a Windows shortcut (.lnk) starts: its target, then its working folder."""
import struct, sys

data = open(sys.argv[1], "rb").read()
flags, at = struct.unpack_from("<I", data, 20)[0], 76  # after the header
if flags & 1:  # an item id list
    at += 2 + struct.unpack_from("<H", data, at)[0]
size, _, _, _, base_path = struct.unpack_from("<5I", data, at)  # the link info
print(data[at + base_path:data.index(b"\0", at + base_path)].decode("latin-1"))
at += size
for flag in (4, 8, 16):  # the name, the relative path, the working folder: UTF-16 strings
    if flags & flag:
        count = struct.unpack_from("<H", data, at)[0]
        text, at = data[at + 2:at + 2 + 2 * count].decode("utf-16-le"), at + 2 + 2 * count
print(text if flags & 16 else "")
