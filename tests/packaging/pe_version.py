"""Prints the version a Windows program's VERSIONINFO resource declares, as
three lines: the fixed file version, the FileVersion text and the
ProductVersion text, each "a.b.c.d". Exits 1 when a part is missing."""
import re
import struct
import sys

FIXED_SIGNATURE = struct.pack("<I", 0xFEEF04BD)


def fixed_version(data):
    at = data.find(FIXED_SIGNATURE)
    if at < 0:
        return None
    # VS_FIXEDFILEINFO: signature, struct version, file version MS, LS.
    ms, ls = struct.unpack_from("<II", data, at + 8)
    return f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"


def string_value(data, key):
    # A String block: the key in UTF-16 with its terminator, padding to a
    # 32-bit boundary, then the value in UTF-16 up to its terminator.
    name = (key + "\0").encode("utf-16-le")
    at = data.find(name)
    if at < 0:
        return None
    at += len(name)
    at += -at % 4
    end = at
    while end + 1 < len(data) and data[end:end + 2] != b"\0\0":
        end += 2
    return data[at:end].decode("utf-16-le")


def main():
    data = open(sys.argv[1], "rb").read()
    values = [fixed_version(data), string_value(data, "FileVersion"),
              string_value(data, "ProductVersion")]
    for value in values:
        print(value if value is not None else "missing")
    return 0 if all(v and re.fullmatch(r"\d+\.\d+\.\d+\.\d+", v) for v in values) else 1


if __name__ == "__main__":
    sys.exit(main())
