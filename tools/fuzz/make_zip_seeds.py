#!/usr/bin/env python3
"""Writes the seed archives of the ZIP fuzzer into update/fuzz_seeds/.

The seeds are committed; rerun this only to change them. Each one starts the
fuzzer near a path of the reader: deflated and stored items, folders, "UT"
extra blocks, DOS attributes, hostile names, zip64 records, data descriptors.
"""
import io
import os
import struct
import sys
import zipfile

OUT = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
    os.path.dirname(__file__), "..", "..", "update", "fuzz_seeds")
WHEN = (2021, 6, 15, 13, 45, 30)
INI = (b"[Info]\r\ncode=\r\npwd=\r\nrem=1\r\n[Setting]\r\nsoundoff=0\r\nautostart=0\r\n"
       b"autologin=0\r\nscreenshots=Ctrl+Shift+A\r\nscreentoggle=F10\r\nfullscreen=F11\r\n"
       b"[Start]\r\nfirststart=1\r\n")


def item(name, system=3, attrs=0o100644 << 16, extra=b"", when=WHEN):
    info = zipfile.ZipInfo(name, when)
    info.create_system = system
    info.external_attr = attrs
    info.extra = extra
    return info


def ut(flags, *times):
    data = bytes([flags]) + b"".join(struct.pack("<i", t) for t in times)
    return struct.pack("<HH", 0x5455, len(data)) + data


def archive(name, entries, **options):
    buffer = io.BytesIO()
    with zipfile.ZipFile(buffer, "w", **options) as z:
        for info, data, method in entries:
            info.compress_type = method
            z.writestr(info, data)
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(buffer.getvalue())


D, S = zipfile.ZIP_DEFLATED, zipfile.ZIP_STORED
os.makedirs(OUT, exist_ok=True)
archive("defaults.zip", [(item("systemset.ini"), INI, D), (item("uninstall.ico"), bytes(range(256)) * 4, D)])
archive("unix_times.zip", [
    (item("write.txt", extra=ut(1, 1623764730)), b"w" * 100, D),
    (item("all.txt", extra=ut(7, 1, 2, 3) + struct.pack("<HH", 0x7875, 3) + b"\x01\x00\x00"), b"a" * 10, S),
    (item("short.txt", extra=ut(7, 5)), b"s", S),
])
archive("folders.zip", [
    (item("a/", attrs=(0o40755 << 16) | 0x10), b"", S),
    (item("a/b/c/d.txt"), b"deep", D),
    (item("a\\win\\e.txt"), b"back", D),
    (item("dos/", system=0, attrs=0x10), b"", S),
])
archive("dos_attributes.zip", [
    (item("readonly.txt", system=0, attrs=0x21), b"ro", D),
    (item("hidden.txt", system=11, attrs=0x26), b"h", D),
    (item("empty.txt", system=14, attrs=0x20), b"", D),
])
archive("hostile_names.zip", [
    (item("../up.txt"), b"1", S),
    (item("a/../../up2.txt"), b"2", S),
    (item("C:\\abs\\x.txt"), b"3", S),
    (item("/root.txt"), b"4", S),
    (item("\u5378\u8f7d.ico"), b"5", S),
    (item("n" * 259), b"6", S),
    (item("m" * 300), b"7", S),
])
archive("zip64.zip", [(item("big.txt"), b"z" * 5000, D)], allowZip64=True)
with zipfile.ZipFile(os.path.join(OUT, "zip64.zip"), "a", allowZip64=True) as z:
    with z.open(item("forced.txt"), "w", force_zip64=True) as f:
        f.write(b"forced zip64 sizes")
# A stream that cannot seek makes the writer use data descriptors (flag bit 3).
class Unseekable(io.RawIOBase):
    def __init__(self):
        self.data = bytearray()
    def writable(self):
        return True
    def write(self, b):
        self.data += b
        return len(b)
stream = Unseekable()
with zipfile.ZipFile(stream, "w", zipfile.ZIP_DEFLATED) as z:
    with z.open(item("streamed.txt"), "w") as f:
        f.write(b"streamed " * 50)
with open(os.path.join(OUT, "data_descriptor.zip"), "wb") as f:
    f.write(bytes(stream.data))
