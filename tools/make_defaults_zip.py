#!/usr/bin/env python3
"""Packs the launcher's default files into the archive carried as resource 269.

Usage: make_defaults_zip.py OUTPUT.zip FILE...
Every file is deflated and stored under its own name, in the order given, with
a fixed date and Unix permissions rw-r--r-- so the build is reproducible and the
files unpack without the read-only attribute.
"""
import os
import sys
import zipfile

WHEN = (2024, 1, 1, 0, 0, 0)


def main(output, files):
    temporary = output + ".tmp"
    with zipfile.ZipFile(temporary, "w") as archive:
        for path in files:
            info = zipfile.ZipInfo(os.path.basename(path), WHEN)
            info.create_system = 3
            info.external_attr = 0o100644 << 16
            info.compress_type = zipfile.ZIP_DEFLATED
            with open(path, "rb") as f:
                archive.writestr(info, f.read())
    os.replace(temporary, output)


if __name__ == "__main__":
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2:])
