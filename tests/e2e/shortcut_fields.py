#!/usr/bin/env python3
"""Prints the fields of a Windows shortcut (.lnk, the Shell Link binary
format) that say what it starts and with which icon, one "name=value" a line:
target (the local path of its link info), arguments, working_dir and icon
("PATH,INDEX"). A field the shortcut lacks is left out.

usage: shortcut_fields.py FILE.lnk
"""
import struct
import sys

HAS_ID_LIST, HAS_LINK_INFO, IS_UNICODE = 0x01, 0x02, 0x80
# The optional strings that follow the link info, in file order, with their flags.
STRINGS = [("name", 0x04), ("relative_path", 0x08), ("working_dir", 0x10), ("arguments", 0x20), ("icon", 0x40)]
LNK_CLSID = bytes.fromhex("0114020000000000c000000000000046")


def c_string(data, offset):
    return data[offset:data.index(b"\0", offset)].decode("latin-1")


def local_path(data, start):
    """The local base path and common suffix of the LinkInfo structure at start."""
    header_size, flags, _, base_offset, _, suffix_offset = struct.unpack_from("<6I", data, start + 4)
    if not flags & 1:  # no VolumeIDAndLocalBasePath: a network link
        return None
    return c_string(data, start + base_offset) + c_string(data, start + suffix_offset)


def fields(data):
    if len(data) < 76 or struct.unpack_from("<I", data)[0] != 76 or data[4:20] != LNK_CLSID:
        raise ValueError("not a shell link: its header is not the 76 bytes of the link CLSID")
    flags, = struct.unpack_from("<I", data, 0x14)
    icon_index, = struct.unpack_from("<i", data, 0x38)
    offset, found = 76, {}
    if flags & HAS_ID_LIST:
        offset += 2 + struct.unpack_from("<H", data, offset)[0]
    if flags & HAS_LINK_INFO:
        path = local_path(data, offset)
        if path is not None:
            found["target"] = path
        offset += struct.unpack_from("<I", data, offset)[0]
    width = 2 if flags & IS_UNICODE else 1
    for name, flag in STRINGS:
        if flags & flag:
            count, = struct.unpack_from("<H", data, offset)
            raw = data[offset + 2:offset + 2 + count * width]
            # Counted, not terminated; some writers count a terminating NUL too.
            found[name] = raw.decode("utf-16-le" if width == 2 else "latin-1").rstrip("\0")
            offset += 2 + count * width
    if "icon" in found:
        found["icon"] += f",{icon_index}"
    return found


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__.strip().splitlines()[-1])
    try:
        with open(sys.argv[1], "rb") as lnk:
            parsed = fields(lnk.read())
    except (OSError, ValueError, struct.error) as error:
        sys.exit(f"shortcut_fields: {sys.argv[1]}: {error}")
    for key in ("target", "arguments", "working_dir", "icon"):
        if key in parsed:
            print(f"{key}={parsed[key]}")
