#!/usr/bin/env python3
"""valfmt against the numpy and pandas routines a Python user would
otherwise call, on one million values, in the same run:

  DATE9. on datetime64[D]  vs  Series.dt.strftime("%d%b%Y").str.upper()
  F12.2 on float64         vs  numpy.char.mod("%12.2f", x)
  @DATE9. on texts         vs  pandas.to_datetime(texts, format="%d%b%Y")

Each pair is checked to give the same values before it is timed; the best
of --repeat runs is reported.  Run with the package on PYTHONPATH:

  PYTHONPATH=build/python /usr/bin/python3 bench/python/bench.py
"""

import argparse
import time

import numpy as np
import pandas as pd

import valfmt


def best(fn, repeat):
    times = []
    for _ in range(repeat):
        start = time.perf_counter()
        fn()
        times.append(time.perf_counter() - start)
    return min(times)


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("-n", type=int, default=1_000_000, help="values per column")
    ap.add_argument("--repeat", type=int, default=3)
    ap.add_argument("--threads", type=int, default=1, help="threads= for valfmt")
    args = ap.parse_args()

    rng = np.random.default_rng(1)
    dates = (np.datetime64("1960-01-01") + rng.integers(-20_000, 40_000, args.n)).astype("datetime64[D]")
    series = pd.Series(dates.astype("datetime64[ns]"))
    x = rng.uniform(-1e6, 1e6, args.n)
    texts = np.array(pd.Series(dates).dt.strftime("%d%b%Y").str.upper(), dtype="U9")

    date9 = valfmt.Format("DATE9.")
    f12 = valfmt.Format("F12.2")
    read = valfmt.Informat("@DATE9.")
    t = args.threads

    # Same answers before any timing.
    assert (date9(dates, threads=t) == series.dt.strftime("%d%b%Y").str.upper().to_numpy()).all()
    assert (f12(x, threads=t) == np.char.mod("%12.2f", x)).all()
    assert (read(texts, as_datetime=True, threads=t)
            == pd.to_datetime(texts, format="%d%b%Y").to_numpy().astype("datetime64[D]")).all()

    cases = [
        ("DATE9. datetime64[D]", lambda: date9(dates, threads=t),
         'Series.dt.strftime("%d%b%Y").str.upper()',
         lambda: series.dt.strftime("%d%b%Y").str.upper(), 10),
        ("F12.2 float64", lambda: f12(x, threads=t),
         'numpy.char.mod("%12.2f", x)', lambda: np.char.mod("%12.2f", x), 5),
        ("@DATE9. texts", lambda: read(texts, threads=t),
         'pandas.to_datetime(texts, format="%d%b%Y")',
         lambda: pd.to_datetime(texts, format="%d%b%Y"), 10),
    ]
    print(f"{args.n} values, best of {args.repeat}, valfmt threads={t}")
    print(f"{'valfmt':24} {'s':>8}   {'peer':44} {'s':>8} {'speed-up':>9} goal")
    failed = False
    for name, ours, peer_name, peer, goal in cases:
        a, b = best(ours, args.repeat), best(peer, args.repeat)
        ok = b / a >= goal
        failed |= not ok
        print(f"{name:24} {a:8.3f}   {peer_name:44} {b:8.3f} {b / a:8.1f}x {goal}x {'ok' if ok else 'MISSED'}")
    return 1 if failed else 0


if __name__ == "__main__":
    raise SystemExit(main())
