#!/usr/bin/env python3
"""Turns a stock table (UTF-8, TAB-separated: code, name, pinyin initials) into
StockList.txt as the program reads it: GBK, CR LF, "code name key".

    tools/make_stock_list.py stocks.tsv data/StockList.txt
"""
import re
import sys

BLANKS = re.compile(r"\s+")  # includes the ideographic space U+3000


def convert(lines):
    out = []
    for number, line in enumerate(lines, 1):
        line = line.rstrip("\r\n")
        if not line.strip():
            continue
        fields = line.split("\t")
        if len(fields) < 3:
            raise ValueError(f"line {number}: expected code, name and key, got {line!r}")
        # A blank inside a field would shift the fields of the line.
        code, name, key = (BLANKS.sub("", f) for f in fields[:3])
        if not re.fullmatch(r"[0-9]{6}", code):
            raise ValueError(f"line {number}: {code!r} is not a six-digit code")
        if not name or not key:
            raise ValueError(f"line {number}: empty name or key")
        out.append(f"{code} {name} {key}\r\n")
    # Refuses (UnicodeEncodeError) rather than writing a '?' for a name GBK lacks.
    return "".join(out).encode("gbk")


def main(argv):
    if len(argv) != 3:
        sys.stderr.write(__doc__)
        return 2
    with open(argv[1], encoding="utf-8") as source:
        data = convert(source)
    with open(argv[2], "wb") as target:
        target.write(data)
    count = data.count(b"\r\n")
    print(f"{argv[2]}: {count} stocks")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
