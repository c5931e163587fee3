#!/usr/bin/env python3
"""Builds a benchmark tree: folders of many small files, some large ones, exact duplicates and
near misses (same size, different content; same start, different end).

  make_corpus.py DIR --files 200000 --large 20 --large-size 8M --dup-share 0.2 --seed 1
"""
import argparse
import os
import random


def parse_size(text):
    units = {"K": 1024, "M": 1024 ** 2, "G": 1024 ** 3}
    return int(float(text[:-1]) * units[text[-1]]) if text[-1] in units else int(text)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("dir")
    ap.add_argument("--files", type=int, default=200000)
    ap.add_argument("--per-folder", type=int, default=200)
    ap.add_argument("--small-max", type=parse_size, default=4096)
    ap.add_argument("--large", type=int, default=0)
    ap.add_argument("--large-size", type=parse_size, default=8 * 1024 ** 2)
    ap.add_argument("--dup-share", type=float, default=0.2)
    ap.add_argument("--seed", type=int, default=1)
    a = ap.parse_args()

    rnd = random.Random(a.seed)
    os.makedirs(a.dir, exist_ok=True)
    made = []  # (path, content) of originals that duplicates may copy

    def place(i):
        folder = os.path.join(a.dir, "d%03d" % (i // (a.per_folder * 50)), "s%04d" % (i // a.per_folder))
        os.makedirs(folder, exist_ok=True)
        return os.path.join(folder, "f%07d.dat" % i)

    for i in range(a.files):
        path = place(i)
        roll = rnd.random()
        if made and roll < a.dup_share:
            content = rnd.choice(made)
        elif made and roll < a.dup_share + 0.05:
            base = rnd.choice(made)  # near miss: same size, last byte differs
            content = base[:-1] + bytes([(base[-1] + 1) % 256]) if base else b"x"
        else:
            content = rnd.randbytes(rnd.randint(1, a.small_max))
            if len(made) < 5000:
                made.append(content)
        with open(path, "wb") as f:
            f.write(content)

    large_dir = os.path.join(a.dir, "large")
    os.makedirs(large_dir, exist_ok=True)
    block = rnd.randbytes(1024 * 1024)
    for j in range(a.large):
        path = os.path.join(large_dir, "big%03d.bin" % j)
        with open(path, "wb") as f:
            # Pairs share content; every third file differs only in its last block.
            seed = j // 2
            for k in range(a.large_size // len(block)):
                f.write(block[(seed + k) % 97:] + block[: (seed + k) % 97])
            if j % 3 == 2:
                f.seek(-1, os.SEEK_END)
                f.write(b"!")


if __name__ == "__main__":
    main()
