#!/usr/bin/python3
"""Cross-checks the ISO 8601 texts of valfmt with independent parsers.

Runs the built tool (`valfmt put FORMAT VALUE...`) over a spread of values,
parses every text with Python's datetime.fromisoformat and with the isodate
package, and fails unless both read back the instant, duration or interval
that went in.  The rows it writes (tests/datetime/data/iso_crosscheck.tsv)
are checked by tests/datetime/iso8601/crosscheck_test.cpp in CI: the
library must still write the same texts, and the interval ends that
Python's calendar arithmetic computed must match the library's readers.

Regenerate (needs Debian python3-isodate):
    /usr/bin/python3 tools/gen_iso_crosscheck.py build/valfmt \
        > tests/datetime/data/iso_crosscheck.tsv
"""
import datetime as dt
import os
from fractions import Fraction
import random
import subprocess
import sys

import isodate

EPOCH = dt.datetime(1960, 1, 1)
FIRST = -11928470400          # 1582-01-01T00:00:00
LIMIT = 253717747200          # the library's 10000-01-01T00:00:00


def lib_seconds(t):
    """Seconds from 1960 on the library's calendar, which has no 29 February
    in the years 4000 and 8000 (Python's calendar has)."""
    s = (t - EPOCH) / dt.timedelta(seconds=1)
    for y in (4000, 8000):
        if t >= dt.datetime(y, 3, 1):
            s -= 86400
    return s


def py_datetime(seconds):
    """The Python datetime of a library datetime value (inverse of the
    above)."""
    t = EPOCH + dt.timedelta(seconds=seconds)
    for y in (4000, 8000):
        if t >= dt.datetime(y, 2, 29):
            t += dt.timedelta(days=1)
    return t


def put(tool, fmt, values, env=None):
    out = subprocess.run([tool, "put", fmt] +
                         [v if isinstance(v, str) else repr(v) for v in values],
                         check=True, capture_output=True, text=True,
                         env=env).stdout
    lines = out.split("\n")[:len(values)]
    assert len(lines) == len(values), (fmt, out)
    return lines


def decimals_of(text):
    """Decimals after the seconds' point of an extended text."""
    if "." not in text:
        return 0
    n = 0
    for c in text.split(".")[1]:
        if not c.isdigit():
            break
        n += 1
    return n


def seconds_of(t):
    return t.hour * 3600 + t.minute * 60 + t.second + t.microsecond / 1e6


def check_rounded(parsed, value, n, what):
    """parsed is value rounded half up to n decimals (parsers keep six)."""
    want = round(value, n)
    tol = 1e-6 + abs(value) * 2.0 ** -50
    if abs(want - parsed) > tol and abs(value - parsed) > 10.0 ** -n / 2 + tol:
        sys.exit("mismatch: %s: parsed %r, value %r" % (what, parsed, value))


def check_close(parsed, value, what):
    tol = 1e-6 + abs(value) * 2.0 ** -50
    if abs(round(value, 3) - parsed) > tol:
        sys.exit("mismatch: %s: parsed %r, value %r" % (what, parsed, value))


def instants(tool, rows):
    rnd = random.Random(8601)
    values = [FIRST, 0.0, -0.001, 86399.999, 951782400.0, 1e9,
              LIMIT - 0.001]
    values += [round(rnd.uniform(FIRST, LIMIT - 1), 3) for _ in range(150)]
    for fmt in ("E8601DT23.3", "E8601DZ24.3", "E8601DZ29.3"):
        for v, text in zip(values, put(tool, fmt, values)):
            a = lib_seconds(dt.datetime.fromisoformat(text.strip())
                            .replace(tzinfo=None))
            b = lib_seconds(isodate.parse_datetime(text.strip())
                            .replace(tzinfo=None))
            check_close(a, v, fmt + " " + text)
            check_close(b, v, fmt + " isodate " + text)
            rows.append(("instant", fmt, repr(v), text, repr(a)))
    # Every width of every extended datetime form with decimals 0..6, on
    # values away from the rounding into the next day.
    some = [0.0, -0.25, 951868799.5, 1e9 + 0.123456] + \
        [round(rnd.uniform(FIRST, LIMIT - 86400), 6) for _ in range(6)]
    for name, widths in (("E8601DT", range(19, 27)),
                         ("E8601DZ", range(20, 36))):
        for w in widths:
            for d in range(7):
                fmt = "%s%d.%d" % (name, w, d)
                for v, text in zip(some, put(tool, fmt, some)):
                    t = text.strip()
                    a = lib_seconds(dt.datetime.fromisoformat(t)
                                    .replace(tzinfo=None))
                    b = lib_seconds(isodate.parse_datetime(t)
                                    .replace(tzinfo=None))
                    n = decimals_of(t)
                    check_rounded(a, v, n, fmt + " " + text)
                    check_rounded(b, v, n, fmt + " isodate " + text)
                    rows.append(("instant", fmt, repr(v), text, repr(a)))
    dn = [FIRST, -1.0, 0.0, 86399.9, LIMIT - 0.5] + \
        [round(rnd.uniform(FIRST, LIMIT - 1), 3) for _ in range(20)]
    for v, text in zip(dn, put(tool, "E8601DN10.", dn)):
        a = lib_seconds(dt.datetime.fromisoformat(text)) / 86400
        b = lib_seconds(dt.datetime.combine(isodate.parse_date(text),
                                            dt.time())) / 86400
        assert a == b == v // 86400, (v, text, a, b)
        rows.append(("instant", "E8601DN10.", repr(v), text, repr(a * 86400)))
    days = [-138061, 0, 2936547] + [rnd.randrange(-138061, 2936548)
                                    for _ in range(60)]
    for v, text in zip(days, put(tool, "E8601DA10.", days)):
        a = lib_seconds(dt.datetime.fromisoformat(text)) / 86400
        b = lib_seconds(dt.datetime.combine(isodate.parse_date(text),
                                            dt.time())) / 86400
        assert a == v and b == v, (v, text, a, b)
        rows.append(("instant", "E8601DA10.", repr(v), text, repr(a)))
    times = [0.0, 86399.999] + [round(rnd.uniform(0, 86399.999), 3)
                                for _ in range(60)]
    for v, text in zip(times, put(tool, "E8601TM12.3", times)):
        t = dt.time.fromisoformat(text)
        i = isodate.parse_time(text)
        a = t.hour * 3600 + t.minute * 60 + t.second + t.microsecond / 1e6
        b = i.hour * 3600 + i.minute * 60 + i.second + i.microsecond / 1e6
        check_close(a, v, text)
        check_close(b, v, text)
        rows.append(("instant", "E8601TM12.3", repr(v), text, repr(a)))
    # Every width of the time forms with decimals 0..6 (no value rounds up
    # to 24:00:00, which neither parser takes).
    some = [0.0, 0.5, 45296.78, 86399.25] + \
        [round(rnd.uniform(0, 86399), 6) for _ in range(6)]
    for name, widths in (("E8601TM", range(8, 16)), ("E8601TZ", range(9, 21))):
        for w in widths:
            for d in range(7):
                fmt = "%s%d.%d" % (name, w, d)
                for v, text in zip(some, put(tool, fmt, some)):
                    t = text.strip()
                    n = decimals_of(t)
                    a = seconds_of(dt.time.fromisoformat(t))
                    b = seconds_of(isodate.parse_time(t))
                    check_rounded(a, v, n, fmt + " " + text)
                    check_rounded(b, v, n, fmt + " isodate " + text)
                    rows.append(("instant", fmt, repr(v), text, repr(a)))


def zoned(tool, rows):
    """E8601LZ under fixed zones: the time of day as given, labelled with
    the zone's standard offset."""
    values = [0.0, 3600.0, 45296.5, 86399.0]
    for zone, minutes in (("UTC", 0), ("Asia/Kolkata", 330),
                          ("America/St_Johns", -210), ("EST5", -300)):
        env = dict(os.environ, TZ=zone)
        for fmt in ("E8601LZ14.", "E8601LZ17.2", "E8601LZ20.6", "E8601LZ9."):
            for v, text in zip(values, put(tool, fmt, values, env)):
                t = text.strip()
                p = dt.time.fromisoformat(t)
                i = isodate.parse_time(t)
                check_rounded(seconds_of(p), v, decimals_of(t), t)
                check_rounded(seconds_of(i), v, decimals_of(t), t)
                want = dt.timedelta(minutes=0 if t.endswith("Z")
                                    else minutes)
                assert p.utcoffset() == want == i.utcoffset(), (zone, t)
                rows.append(("zoned", fmt + "@" + zone, repr(v), text,
                             str(want.total_seconds())))


def pack_point(t, fraction=True):
    """The packed hexadecimal digits of a point down to the second (and
    thousandths): an independent packer."""
    frac = t.microsecond // 1000 if fraction else 1023
    nib = "%04d%X%02d%02d%02d%02d" % (t.year, t.month, t.day, t.hour,
                                      t.minute, t.second)
    last = ((frac & 0x3F) << 2) | 1
    return nib + "%X" % (frac >> 6) + "%02X" % last


def pack_duration(y, mo, d, h, mi, s, ms):
    nib = "%04d%X%02d%02d%02d%02d" % (y, mo, d, h, mi, s)
    return nib + "%X" % (ms >> 6) + "%02X" % ((ms & 0x3F) << 2)


def packed(tool, rows):
    rnd = random.Random(14)
    durations = [(rnd.randrange(0, 30), rnd.randrange(0, 12),
                  rnd.randrange(0, 31), rnd.randrange(0, 24),
                  rnd.randrange(0, 60), rnd.randrange(0, 60),
                  rnd.randrange(0, 1000)) for _ in range(40)]
    durations.append((0, 0, 0, 0, 0, 0, 0))
    # isodate reads the alternative form as a calendar date and time, so
    # its durations need a valid year, month and day.
    calendar = [(rnd.randrange(1, 30), rnd.randrange(1, 13),
                 rnd.randrange(1, 29), rnd.randrange(0, 24),
                 rnd.randrange(0, 60), rnd.randrange(0, 60),
                 rnd.randrange(0, 1000)) for _ in range(30)]
    for fmt, spread in (("$N8601E50.", durations), ("$N8601B50.", durations),
                        ("$N8601H50.", durations), ("$N8601X50.", durations),
                        ("$N8601EA50.", calendar), ("$N8601EH50.", calendar),
                        ("$N8601EX50.", calendar)):
        hexes = [pack_duration(*c) for c in spread]
        for c, hx, text in zip(spread, hexes, put(tool, fmt, hexes)):
            text = text.rstrip()
            p = isodate.parse_duration(text)
            want = isodate.Duration(years=c[0], months=c[1], days=c[2],
                                    hours=c[3], minutes=c[4], seconds=c[5],
                                    milliseconds=c[6])
            assert p == want, (fmt, hx, text, p, want)
            rows.append(("packed", fmt, hx, text, str(p)))
    points = [py_datetime(round(rnd.uniform(FIRST, 100 * 365.25 * 86400), 3))
              for _ in range(30)]
    hexes = [pack_point(t) for t in points]
    for fmt in ("$N8601E50.", "$N8601B50.", "$N8601EA50.", "$N8601EH50.",
                "$N8601EX50.", "$N8601H50.", "$N8601X50."):
        for t, hx, text in zip(points, hexes, put(tool, fmt, hexes)):
            text = text.rstrip()
            p = isodate.parse_datetime(text)
            assert p == t.replace(microsecond=t.microsecond // 1000 * 1000), \
                (fmt, hx, text, p, t)
            if "B" not in fmt:
                assert dt.datetime.fromisoformat(text) == p, (fmt, text)
            rows.append(("packed", fmt, hx, text, p.isoformat()))
    # Single-unit durations, negative ones among them: (count, unit code,
    # thousandths) and the length they stand for.
    unit_seconds = [604800, 86400, 3600, 60, 1]
    singles = []
    for _ in range(40):
        code = rnd.randrange(2, 7)
        thousandths = rnd.random() < 0.4
        count = rnd.randrange(-2 ** 31, 2 ** 31) // (1 if thousandths
                                                      else 1000)
        singles.append((count, code, thousandths))
    singles += [(2 ** 31 - 1, 6, False), (-2 ** 31, 6, True), (0, 3, False)]
    hexes = ["000000%08X%02X" % (c & 0xFFFFFFFF, ((u | (0x20 if k else 0))
                                                  << 2) | 2)
             for c, u, k in singles]
    for fmt in ("$N8601E50.", "$N8601B50.", "$N8601EA50."):
        for (c, u, k), hx, text in zip(singles, hexes, put(tool, fmt, hexes)):
            text = text.rstrip()
            p = isodate.parse_duration(text)
            want = Fraction(unit_seconds[u - 2] * c, 1000 if k else 1)
            # isodate goes through a float: allow it a tenth of a millisecond.
            got = Fraction(p.days * 86400 + p.seconds) + \
                Fraction(p.microseconds, 10 ** 6)
            assert abs(got - want) < Fraction(1, 10 ** 4), \
                (fmt, hx, text, p, want)
            rows.append(("packed", fmt, hx, text, str(p)))
    # Intervals of two points: each half read back.
    pairs = [pack_point(points[i]) + pack_point(points[i + 1])
             for i in range(0, 20, 2)]
    for fmt in ("$N8601E50.", "$N8601B50."):
        for k, (hx, text) in enumerate(zip(pairs, put(tool, fmt, pairs))):
            text = text.rstrip()
            halves = text.split("/")
            got = [isodate.parse_datetime(h) for h in halves]
            want = [points[2 * k + i].replace(
                microsecond=points[2 * k + i].microsecond // 1000 * 1000)
                for i in (0, 1)]
            assert got == want, (fmt, hx, text, got, want)
            rows.append(("packed", fmt, hx, text, "/".join(
                g.isoformat() for g in got)))


def intervals(rows):
    """Interval ends by Python's calendar arithmetic, for the readers."""
    starts = ["2024-01-31", "2023-02-28", "2024-02-29", "2023-01-31",
              "2024-12-31", "1999-12-31", "2000-02-29", "2100-02-28",
              "2024-01-31T23:59:59", "2024-02-28T12:00:00",
              "1600-02-29T00:00:00", "2024-03-31T01:02:03"]
    durs = ["P1M", "P1Y", "P13M", "P1Y1M", "P2D", "P1W", "P1M1D",
            "P11M30D", "P4Y", "P100Y", "P1DT1H", "PT36H", "PT1S",
            "P1Y2M10DT2H30M", "PT0.5S"]
    for s in starts:
        has_time = "T" in s
        start = (dt.datetime.fromisoformat(s) if has_time
                 else dt.date.fromisoformat(s))
        for d in durs:
            dur = isodate.parse_duration(d)
            exact = dur.tdelta if isinstance(dur, isodate.Duration) else dur
            if not has_time and exact % dt.timedelta(days=1):
                continue
            if has_time and exact % dt.timedelta(seconds=1):
                continue
            end = start + dur
            back = start - dur
            fmt = "%Y-%m-%dT%H:%M:%S" if has_time else "%Y-%m-%d"
            rows.append(("interval", "is8601vli", s + "/" + d, "",
                         isodate.strftime(end, fmt)))
            rows.append(("interval", "is8601vli", d + "/" + s, "",
                         isodate.strftime(back, fmt)))


def main():
    tool = sys.argv[1] if len(sys.argv) > 1 else "build/valfmt"
    rows = []
    instants(tool, rows)
    zoned(tool, rows)
    packed(tool, rows)
    intervals(rows)
    print("# kind\tformat\tvalue\tlibrary text\tread back by Python "
          "(generated by tools/gen_iso_crosscheck.py)")
    for r in rows:
        print("\t".join(r))


if __name__ == "__main__":
    main()
