"""Values in and out of the library's column loop.

Numbers travel as float64.  Dates count days and datetimes count seconds
from 1 January 1960, so numpy ``datetime64`` columns are shifted from the
1970 epoch.  The format decides what a datetime column becomes: day counts
for a date format (the time of day dropped), second counts for a datetime
or time format, whatever the column's unit (pandas holds dates as
nanoseconds); for any other format a ``datetime64[D]`` (or coarser) column
becomes day counts and a finer one second counts;
``timedelta64`` columns become seconds (time values).  Missing entries
(``NaN``, ``None``, ``NaT``, ``pandas.NA``) become the standard missing
value; the library's special missing values are NaNs with a code in their
bits and pass through float64 arrays untouched.
"""

from __future__ import annotations

import datetime as _dt
import numbers
import struct

import numpy as np

DAYS_1960_TO_1970 = 3653
SECONDS_1960_TO_1970 = DAYS_1960_TO_1970 * 86400
_EPOCH_DATE = _dt.date(1960, 1, 1)
_EPOCH_DATETIME = _dt.datetime(1960, 1, 1)
_COARSE_UNITS = ("Y", "M", "W", "D")

# Missing-value codes: the byte in bits 40..47 of 0xFFFF cc 0000000000.
_MISSING_MASK = 0xFFFF00FFFFFFFFFF
_MISSING_BASE = 0xFFFF000000000000
_CODE_CHARS = {0xFF: "_", 0xFE: "."}
_CODE_CHARS.update({0xFD - k: chr(ord("A") + k) for k in range(26)})
_CHAR_CODES = {c: b for b, c in _CODE_CHARS.items()}
STANDARD_MISSING = struct.unpack("<d", struct.pack("<Q", 0xFFFFFE0000000000))[0]


def pandas():
    """The pandas module when it is installed, else None."""
    try:
        import pandas as pd  # noqa: PLC0415 - optional dependency
    except ImportError:  # pragma: no cover - pandas is a test dependency
        return None
    return pd


def is_series(values) -> bool:
    pd = pandas()
    return pd is not None and isinstance(values, pd.Series)


def missing_sentinels() -> tuple:
    pd = pandas()
    return (pd.NA, pd.NaT) if pd is not None else ()


def make_missing(code: str = ".") -> float:
    if not isinstance(code, str) or len(code) != 1:
        raise ValueError("a missing-value code is one character: '.', '_' "
                         "or a letter A to Z")
    byte = _CHAR_CODES.get(code.upper())
    if byte is None:
        raise ValueError(f"{code!r} is not a missing-value code: use '.', "
                         "'_' or a letter A to Z")
    return struct.unpack("<d", struct.pack("<Q", _MISSING_BASE | byte << 40))[0]


def code_of_bits(bits: int):
    if bits & _MISSING_MASK != _MISSING_BASE:
        return None
    return _CODE_CHARS.get(bits >> 40 & 0xFF, " ")


def codes_of_array(x: np.ndarray) -> np.ndarray:
    """'' for values that are not missing, else the code character."""
    bits = np.ascontiguousarray(x, dtype=np.float64).view(np.uint64)
    is_missing = (bits & np.uint64(_MISSING_MASK)) == np.uint64(_MISSING_BASE)
    codes = ((bits >> np.uint64(40)) & np.uint64(0xFF)).astype(np.int64)
    table = np.full(256, " ", dtype="U1")
    for byte, char in _CODE_CHARS.items():
        table[byte] = char
    return np.where(is_missing, table[codes], "")


def series_values(s):
    """A pandas Series as a numpy array the loop can take."""
    pd = pandas()
    dtype = s.dtype
    if isinstance(dtype, pd.DatetimeTZDtype):
        return s.dt.tz_localize(None).to_numpy()
    if pd.api.types.is_extension_array_dtype(dtype):
        if pd.api.types.is_numeric_dtype(dtype) or pd.api.types.is_bool_dtype(dtype):
            return s.to_numpy(dtype="float64", na_value=np.nan)
        return s.to_numpy(dtype=object)
    return s.to_numpy()


def _datetime64_numbers(x: np.ndarray, takes=None) -> np.ndarray:
    """Day counts when ``takes`` is "D", second counts when "s"; for any
    other format the column's own unit decides ([D] or coarser: days)."""
    unit = np.datetime_data(x.dtype)[0]
    nat = np.isnat(x)
    if takes == "D" or (takes is None and unit in _COARSE_UNITS):
        out = x.astype("datetime64[D]").astype(np.int64).astype(np.float64)
        out += DAYS_1960_TO_1970
    else:
        out = x.astype("datetime64[us]").astype(np.int64).astype(np.float64)
        out = out / 1e6 + SECONDS_1960_TO_1970
    out[nat] = STANDARD_MISSING
    return out


def _timedelta64_numbers(x: np.ndarray) -> np.ndarray:
    nat = np.isnat(x)
    out = x.astype("timedelta64[us]").astype(np.int64).astype(np.float64) / 1e6
    out[nat] = STANDARD_MISSING
    return out


def _scalar_number(v, position: int, takes=None) -> float:
    """One object of an object column as the number the library takes
    (``takes`` as for datetime64 columns)."""
    if v is None or any(v is m for m in missing_sentinels()):
        return STANDARD_MISSING
    if isinstance(v, (bool, np.bool_)):
        return float(v)
    if isinstance(v, numbers.Real):
        return float(v)
    if isinstance(v, _dt.datetime):
        naive = v.replace(tzinfo=None)
        if takes == "D":
            return float((naive.date() - _EPOCH_DATE).days)
        return (naive - _EPOCH_DATETIME) / _dt.timedelta(seconds=1)
    if isinstance(v, _dt.date):
        if takes == "s":
            return float((v - _EPOCH_DATE).days) * 86400.0
        return float((v - _EPOCH_DATE).days)
    if isinstance(v, _dt.time):
        return v.hour * 3600.0 + v.minute * 60.0 + v.second + v.microsecond / 1e6
    if isinstance(v, _dt.timedelta):
        return v / _dt.timedelta(seconds=1)
    if isinstance(v, np.datetime64):
        return float(_datetime64_numbers(np.array([v]), takes)[0])
    if isinstance(v, np.timedelta64):
        return float(_timedelta64_numbers(np.array([v]))[0])
    raise TypeError(f"value at position {position} is {type(v).__name__}, "
                    "expected a number, a date or a datetime")


def to_numbers(x: np.ndarray, takes=None) -> np.ndarray:
    """A 1-d column as contiguous float64 for a numeric format; ``takes``
    is "D" for a format of day counts, "s" for one of second counts."""
    kind = x.dtype.kind
    if kind == "f":
        return np.ascontiguousarray(x, dtype=np.float64)
    if kind in "iub":
        return x.astype(np.float64)
    if kind == "M":
        return _datetime64_numbers(x, takes)
    if kind == "m":
        return _timedelta64_numbers(x)
    if kind == "O":
        out = np.empty(len(x), dtype=np.float64)
        for i, v in enumerate(x):
            out[i] = _scalar_number(v, i, takes)
        return out
    what = {"U": "str", "S": "bytes", "c": "complex"}.get(kind, str(x.dtype))
    raise TypeError(f"a numeric format takes numbers, dates or datetimes, "
                    f"not {what}")


def to_texts(x: np.ndarray) -> np.ndarray:
    """A 1-d column of str or bytes for a character format or informat."""
    kind = x.dtype.kind
    if kind in "USO":
        return np.ascontiguousarray(x)
    raise TypeError(f"expected str or bytes values, not {x.dtype}")


def to_datetime(x: np.ndarray, unit: str) -> np.ndarray:
    """Day or second counts from 1960 as datetime64 ([D] or [us])."""
    missing = np.isnan(x)
    if unit == "D":
        days = np.floor(np.where(missing, 0.0, x)).astype(np.int64)
        out = (days - DAYS_1960_TO_1970).astype("datetime64[D]")
    else:
        us = np.round((np.where(missing, 0.0, x) - SECONDS_1960_TO_1970) * 1e6)
        out = us.astype(np.int64).astype("datetime64[us]")
    out[missing] = np.datetime64("NaT")
    return out


def is_scalar(values) -> bool:
    if isinstance(values, (str, bytes, bytearray)):
        return True
    if isinstance(values, (list, tuple, np.ndarray)) or is_series(values):
        return False
    pd = pandas()
    if pd is not None and isinstance(values, (pd.Index, pd.api.extensions.ExtensionArray)):
        return False
    return not hasattr(values, "__array__") or np.ndim(values) == 0


def as_column(values) -> np.ndarray:
    """Any container of values as a 1-d numpy array (object when mixed)."""
    if isinstance(values, np.ndarray):
        return values.reshape(-1)
    pd = pandas()
    if pd is not None and isinstance(values, pd.Index):
        return series_values(values.to_series())
    if pd is not None and isinstance(values, pd.api.extensions.ExtensionArray):
        return series_values(pd.Series(values))
    if isinstance(values, (list, tuple)):
        try:
            arr = np.asarray(values)
        except (ValueError, TypeError):
            arr = None
        if arr is not None and arr.dtype.kind == "S":
            arr = None  # bytes keep their trailing NUL bytes
        if arr is not None and arr.dtype.kind == "U" and not all(
                isinstance(v, str) for v in values):
            arr = None  # numbers among texts stay what they are
        if arr is None or arr.ndim != 1 or arr.dtype.kind not in "fiubUSMm":
            arr = np.empty(len(values), dtype=object)
            arr[:] = list(values)
        return arr
    return np.asarray(values).reshape(-1)

