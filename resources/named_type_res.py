#!/usr/bin/python3
"""Appends to a compiled resource file (.res) one resource whose type is a name
the resource compiler reserves as a keyword (such as "ICON", which it would
turn into an icon group): type name, id, language, bytes of a file.

    named_type_res.py RES TYPE ID LANGID INPUT
"""
import struct
import sys


def header(type_name, res_id, lang, size):
    def name(text):
        return text.upper().encode("utf-16-le") + b"\0\0"

    fields = name(type_name) + struct.pack("<HH", 0xFFFF, res_id)
    if len(fields) % 4:
        fields += b"\0" * (4 - len(fields) % 4)
    tail = struct.pack("<IHHII", 0, 0x1030, lang, 0, 0)  # version, moveable|pure|discardable, language
    return struct.pack("<II", size, 8 + len(fields) + len(tail)) + fields + tail


def main(res_file, type_name, res_id, lang, source):
    with open(source, "rb") as f:
        data = f.read()
    padding = b"\0" * (-len(data) % 4)
    with open(res_file, "ab") as f:
        f.write(header(type_name, int(res_id), int(lang, 0), len(data)) + data + padding)


if __name__ == "__main__":
    main(*sys.argv[1:6])
