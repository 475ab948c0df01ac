#!/usr/bin/env python3
"""Writes a benchmark archive: MB megabytes of data in FILES deflated files,
spread over 20 folders, part text (compresses well) and part random bytes.
Usage: make_bench_zip.py OUTPUT.zip MB FILES"""
import os
import random
import sys
import zipfile

output, megabytes, files = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
size = megabytes * 1024 * 1024 // files
rng = random.Random(2024)
words = [bytes(rng.choice(b"abcdefghijklmnopqrstuvwxyz") for _ in range(rng.randint(2, 9))) for _ in range(500)]
with zipfile.ZipFile(output + ".tmp", "w", zipfile.ZIP_DEFLATED) as archive:
    for i in range(files):
        text = b" ".join(rng.choice(words) for _ in range(size * 7 // 10 // 6 + 1))[: size * 7 // 10]
        data = text + os.urandom(size - len(text))
        archive.writestr("folder%02d/file%05d.bin" % (i % 20, i), data)
os.replace(output + ".tmp", output)
