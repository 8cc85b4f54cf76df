"""Independent computations of expected texts for the suites."""

import datetime as dt

EPOCH = dt.date(1960, 1, 1)
EPOCH_DT = dt.datetime(1960, 1, 1)


def date9(days: int) -> str:
    """DATE9.: ddMMMyyyy, month in upper case."""
    return (EPOCH + dt.timedelta(days=days)).strftime("%d%b%Y").upper()


def days_of(d: dt.date) -> int:
    return (d - EPOCH).days


def seconds_of(t: dt.datetime) -> float:
    return (t - EPOCH_DT).total_seconds()


def packed(n: int, nbytes: int) -> bytes:
    """Signed packed decimal: digits two to a byte, sign nibble C or D."""
    digits = str(abs(n)).rjust(2 * nbytes - 1, "0")
    nibbles = [int(c) for c in digits] + [0xD if n < 0 else 0xC]
    return bytes(nibbles[i] << 4 | nibbles[i + 1] for i in range(0, len(nibbles), 2))
