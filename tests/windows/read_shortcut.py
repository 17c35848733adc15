#!/usr/bin/env python3
"""Prints what a Windows shortcut (.lnk) starts: its target, then its working folder."""
import struct
import sys

HAS_ID_LIST, HAS_LINK_INFO, HAS_NAME, HAS_RELATIVE_PATH, HAS_WORKING_DIR = 1, 2, 4, 8, 16
HEADER_SIZE = 76

data = open(sys.argv[1], "rb").read()
flags = struct.unpack_from("<I", data, 20)[0]
at = HEADER_SIZE
if flags & HAS_ID_LIST:
    at += 2 + struct.unpack_from("<H", data, at)[0]
target = ""
if flags & HAS_LINK_INFO:
    size, _, _, _, base_path = struct.unpack_from("<5I", data, at)
    start = at + base_path
    target = data[start:data.index(b"\0", start)].decode("latin-1")
    at += size
# The strings that follow, each a UTF-16 character count and the characters, when present.
strings = {}
for flag in (HAS_NAME, HAS_RELATIVE_PATH, HAS_WORKING_DIR):
    if flags & flag:
        count = struct.unpack_from("<H", data, at)[0]
        strings[flag] = data[at + 2:at + 2 + 2 * count].decode("utf-16-le")
        at += 2 + 2 * count
print(target)
print(strings.get(HAS_WORKING_DIR, ""))
