#!/usr/bin/env python3
"""Writes tests/datetime/data/calendar_samples.txt: reference calendar rows
computed with Python's proleptic Gregorian ordinals, independent of the C++
calendar.  Only dates before 4000-02-29 are written, where the 4000-year
rule has not yet taken a day away.

Each row: date value, year, month, day, day of year, weekday (1 = Sunday),
DATE9 text, YYMMDD10 text.
"""
import datetime
import os

EPOCH = datetime.date(1960, 1, 1).toordinal()
FIRST = datetime.date(1582, 1, 1).toordinal()
LAST = datetime.date(4000, 2, 28).toordinal()
STEP = 397  # prime, so the samples drift through months and weekdays

MONTHS = "JAN FEB MAR APR MAY JUN JUL AUG SEP OCT NOV DEC".split()


def row(ordinal):
    d = datetime.date.fromordinal(ordinal)
    yday = ordinal - datetime.date(d.year, 1, 1).toordinal() + 1
    weekday = d.isoweekday() % 7 + 1  # Sunday 1 .. Saturday 7
    date9 = "%02d%s%04d" % (d.day, MONTHS[d.month - 1], d.year)
    yymmdd10 = "%04d-%02d-%02d" % (d.year, d.month, d.day)
    return "%d %d %d %d %d %d %s %s" % (ordinal - EPOCH, d.year, d.month,
                                        d.day, yday, weekday, date9, yymmdd10)


def main():
    ordinals = set(range(FIRST, LAST + 1, STEP))
    # Edges of the window, leap days and century boundaries.
    for y in (1582, 1599, 1600, 1700, 1800, 1900, 1949, 1950, 1959, 1960,
              1999, 2000, 2049, 2050, 2100, 2400, 3999):
        for m, dd in ((1, 1), (2, 28), (3, 1), (12, 31)):
            ordinals.add(datetime.date(y, m, dd).toordinal())
        if y % 4 == 0 and (y % 100 != 0 or y % 400 == 0):
            ordinals.add(datetime.date(y, 2, 29).toordinal())
    ordinals.add(LAST)
    here = os.path.dirname(os.path.abspath(__file__))
    path = os.path.join(here, "..", "tests", "datetime", "data",
                        "calendar_samples.txt")
    with open(path, "w") as f:
        for o in sorted(ordinals):
            f.write(row(o) + "\n")


if __name__ == "__main__":
    main()
