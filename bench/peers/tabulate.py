#!/usr/bin/env python3
"""Plain-Python peer: same bytes as `tabulon-cli [--entry '<td>{{INC}}</td>'] -f LIST`.

usage: tabulate.py [--inc] LIST   (writes to stdout)
"""
import sys

HEAD = b'<!--Tabulon-->\r\n<table border="0"><tr>\r\n'
TAIL = b"\r\n</tr></table>\r\n\r\n<!--/Tabulon-->"


def content(path):
    with open(path, "rb") as f:
        data = f.read()
    if not data:
        return b""
    # CR LF and a lone CR both end a line; a final terminator opens no new line.
    data = data.replace(b"\r\n", b"\r")
    if data.endswith(b"\r"):
        data = data[:-1]
    return b"\r\n" + data.replace(b"\r", b"\r\n")


def main():
    inc = sys.argv[1] == "--inc"
    out = sys.stdout.buffer
    out.write(HEAD)
    with open(sys.argv[-1], "rb") as lst:
        for i, line in enumerate(lst):
            name = line.rstrip(b"\n")
            if i and i % 4 == 0:
                out.write(b"</tr><tr>\r\n")
            out.write(b"<td>" + (content(name) if inc else name) + b"</td>\r\n")
    out.write(TAIL)


main()
