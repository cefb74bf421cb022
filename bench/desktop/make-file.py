#!/usr/bin/env python3
"""Writes the desktop benchmark's files.

  make-file.py cpp MB PATH     C++ with short lines, keywords on every screen
  make-file.py line MB PATH    the same code on one line
  make-file.py minjs MB PATH   minified JavaScript on four long lines
  make-file.py head 0 PATH SOURCE   the first 64 KB of SOURCE (whole lines
                                    where it has any), for calibrating
"""
import sys

MB = 1024 * 1024


def cpp_block(first):
    lines = []
    for n in range(first, first + 1000):
        lines.append(f"int function_{n}(int value) {{\n"
                     f"    if (value > {n}) return value * 2; // twice\n"
                     f"    return value + {n};\n}}\n")
    return "".join(lines)


def line_block(first):
    return "".join(f"int function_{n}(int value) {{ if (value > {n}) return value * 2; return value + {n}; }} "
                   for n in range(first, first + 1000))


def minjs_block(first):
    return "".join(f"function f{n}(a,b){{var c=a+{n};if(c>b)return c*2;for(var i=0;i<b;i++)c+=i;return c}}"
                   for n in range(first, first + 1000))


def write(path, size, header, block, lines):
    with open(path, "w") as out:
        out.write(header)
        written, first = len(header), 0
        per_line = size // lines
        next_break = per_line
        while written < size:
            chunk = block(first)
            first += 1000
            # No line break at the very end: typing at the end of the file
            # then means typing at the end of a long line.
            if lines > 1 and written + len(chunk) >= next_break and next_break < size - per_line // 2:
                chunk += "\n"
                next_break += per_line
            out.write(chunk)
            written += len(chunk)


def head(path, source):
    with open(source, "rb") as src:
        data = src.read(64 * 1024)
    if b"\n" in data:
        data = data[:data.rindex(b"\n") + 1]
    with open(path, "wb") as out:
        out.write(data)


def main():
    kind, megabytes, path = sys.argv[1], int(sys.argv[2]), sys.argv[3]
    size = megabytes * MB
    if kind == "cpp":
        write(path, size, "#include <cstdio>\n#include <vector>\n\n", cpp_block, 1)
    elif kind == "line":
        write(path, size, "int main(); ", line_block, 1)
    elif kind == "minjs":
        write(path, size, '"use strict";', minjs_block, 4)
    elif kind == "head":
        head(path, sys.argv[4])
    else:
        sys.exit(f"make-file.py: unknown kind {kind}")


if __name__ == "__main__":
    main()
