#!/usr/bin/env python3
"""Generates tests/informats/data/date_texts.tsv: date, time and datetime
texts with the values an independent reader (Python's datetime.strptime)
finds in them, for the layouts that the date informats and strptime both
understand.

Each row: informat name, width, text, expected value.  The value is a
date value (days from 1960-01-01), a time value (seconds from midnight) or
a datetime value (seconds from 1960-01-01 00:00:00), computed from what
strptime returned, never from the library.

Limits of the comparison, kept out of the data:
- Dates lie in 1582..3999: from 4000 on the library's calendar makes every
  4000th year a common year, Python's does not.
- Two-digit years lie in 1969..2049, where Python's window (1969-2068) and
  the library's (1950-2049) agree.

Run from the repository root:  python3 tools/gen_date_texts.py
"""
import datetime
import os
import random

EPOCH = datetime.datetime(1960, 1, 1)

# (informat, width, strftime/strptime layout, kind, two-digit year, case)
LAYOUTS = [
    ("DATE", 9, "%d%b%Y", "date", False, "upper"),
    ("DATE", 11, "%d-%b-%Y", "date", False, "title"),
    ("DATE", 9, "%d %b %y", "date", True, "lower"),
    ("MMDDYY", 10, "%m/%d/%Y", "date", False, None),
    ("MMDDYY", 8, "%m-%d-%y", "date", True, None),
    ("MMDDYY", 8, "%m%d%Y", "date", False, None),
    ("DDMMYY", 10, "%d/%m/%Y", "date", False, None),
    ("DDMMYY", 8, "%d.%m.%y", "date", True, None),
    ("YYMMDD", 10, "%Y-%m-%d", "date", False, None),
    ("YYMMDD", 8, "%Y%m%d", "date", False, None),
    ("YYMMDD", 8, "%y/%m/%d", "date", True, None),
    ("JULIAN", 7, "%Y%j", "date", False, None),
    ("MONYY", 7, "%b%Y", "date", False, "upper"),
    ("XYYMMDD", 10, "%Y-%m-%d", "date", False, None),
    ("XYYMMDD", 10, "%Y/%m/%d", "date", False, None),
    ("TIME", 8, "%H:%M:%S", "time", False, None),
    ("TIME", 8, "%I:%M %p", "time", False, None),
    ("DATETIME", 18, "%d%b%Y:%H:%M:%S", "datetime", False, "upper"),
    ("MDYAMPM", 19, "%m/%d/%Y %I:%M %p", "datetime", False, None),
    ("YMDDTTM", 19, "%Y-%m-%d %H:%M:%S", "datetime", False, None),
]
ROWS_PER_LAYOUT = 16


def random_moment(rng, two_digit):
    lo, hi = (1969, 2049) if two_digit else (1582, 3999)
    start = datetime.datetime(lo, 1, 1)
    span = (datetime.datetime(hi, 12, 31) - start).days
    day = start + datetime.timedelta(days=rng.randrange(span + 1))
    return day.replace(hour=rng.randrange(24), minute=rng.randrange(60),
                       second=rng.randrange(60))


def recase(text, case):
    if case == "upper":
        return text.upper()
    if case == "lower":
        return text.lower()
    return text


def expected(parsed, kind):
    seconds = parsed.hour * 3600 + parsed.minute * 60 + parsed.second
    if kind == "time":
        return seconds
    days = (parsed.date() - EPOCH.date()).days
    return days if kind == "date" else days * 86400 + seconds


def main():
    rng = random.Random(1960)
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    path = os.path.join(root, "tests", "informats", "data", "date_texts.tsv")
    os.makedirs(os.path.dirname(path), exist_ok=True)
    rows = []
    for name, width, layout, kind, two_digit, case in LAYOUTS:
        for _ in range(ROWS_PER_LAYOUT):
            text = recase(random_moment(rng, two_digit).strftime(layout), case)
            parsed = datetime.datetime.strptime(text, layout)
            rows.append(f"{name}\t{width}\t{text}\t{expected(parsed, kind)}")
    with open(path, "w", encoding="ascii") as f:
        f.write("# informat\twidth\ttext\tvalue  (tools/gen_date_texts.py)\n")
        f.write("\n".join(rows) + "\n")


if __name__ == "__main__":
    main()
