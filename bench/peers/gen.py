#!/usr/bin/env python3
"""Deterministic test data for bench/compare.sh.

  gen.py names N LIST            N realistic absolute paths, one per line
  gen.py files N MIN MAX DIR LIST  N CRLF text files of MIN..MAX bytes in DIR
"""
import os
import random
import sys

rng = random.Random(20240601)

USERS = ["user", "anna", "bob", "chen", "dmitri", "eve"]
EVENTS = ["holiday", "wedding", "birthday", "hiking trip", "Café night", "beach", "misc"]
ARTISTS = ["The Beatles", "Miles Davis", "Björk", "Daft Punk", "Nina Simone"]
PROJECTS = ["tabulon", "website", "thesis", "taxes-2023", "garden"]
DOCS = ["report_v3.pdf", "notes.txt", "budget.xlsx", "README.md", "draft (copy).docx"]
WORDS = ("lorem ipsum dolor sit amet consectetur adipiscing elit sed do eiusmod "
         "tempor incididunt ut labore et dolore magna aliqua 0123 42 - ; : , . "
         "<b> </b> & [x] (y) \"q\" 'r' ~ % $ # @ ! ? { } \\").split()


def name(i):
    user = USERS[i % len(USERS)]
    kind = rng.randrange(10)
    if kind < 6:
        year = 2015 + i % 10
        return "/home/%s/photos/%d/%s/IMG_%06d.jpg" % (user, year, rng.choice(EVENTS), i)
    if kind < 8:
        return "/home/%s/music/%s/Album %d/%02d - Track %d.flac" % (
            user, rng.choice(ARTISTS), i % 37, i % 20 + 1, i)
    return "/home/%s/documents/%s/%d/%s" % (user, rng.choice(PROJECTS), i, rng.choice(DOCS))


def names(n, path):
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        for i in range(1, n + 1):
            f.write(name(i) + "\n")


# A pool of lines keeps generating ~100 MB of text fast. Braces appear only
# as lone "{" / "}" words, so no placeholder can ever form.
POOL = [" ".join(rng.choice(WORDS) for _ in range(rng.randrange(0, 14))) for _ in range(4000)]


def text(size):
    """Exactly `size` bytes of CRLF-terminated lines (size >= 2)."""
    out, n = [], 0
    while n < size:
        line = rng.choice(POOL)
        left = size - n - 2
        if len(line) > left or left - len(line) < 2:
            line = ("x" * left) if left > len(line) else line[:left]
        out.append(line + "\r\n")
        n += len(line) + 2
    return "".join(out).encode("ascii")


def files(n, lo, hi, folder, path):
    os.makedirs(folder, exist_ok=True)
    with open(path, "w", newline="\n") as lst:
        for i in range(1, n + 1):
            fn = "%s/%05d" % (folder, i)  # short: the floor passes them all as arguments
            with open(fn, "wb") as f:
                f.write(text(rng.randint(lo, hi)))
            lst.write(fn + "\n")


if __name__ == "__main__":
    if sys.argv[1] == "names":
        names(int(sys.argv[2]), sys.argv[3])
    else:
        files(int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4]), sys.argv[5], sys.argv[6])
