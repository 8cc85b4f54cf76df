"""valfmt for Python: the library's value formats on numpy and pandas data.

A *format* renders values as text (``DATE9.`` shows the day count 0 as
``01JAN1960``); an *informat* reads text into values (``@DATE9.`` reads
``01JAN1960`` back as 0.0).  Formats are written the way hosts write them:
``NAMEw.d`` with the width and decimals optional (``DATE9.``, ``F8.2``,
``$CHAR10.``, ``BEST.``), names in any case, ``@`` in front of an
informat.  The name is resolved once; the loop over an array then runs in
C++ with the interpreter lock released.

    >>> import valfmt
    >>> valfmt.put(0, "DATE9.")
    '01JAN1960'
    >>> valfmt.input("01JAN1961", "@DATE9.")
    366.0

Values: float64 and integer arrays; ``datetime64`` arrays (``[D]`` as days,
finer units as seconds, counted from 1960-01-01); str or bytes for
character formats and for informats; pandas Series (the result keeps the
index).  Missing values: NaN, None, NaT and pandas.NA are the standard
missing value; the special missing values ``.A`` ... ``.Z`` and ``._``
are NaNs carrying a code (``missing("A")``, ``missing_code(x)``).

Statuses: an error of the library raises :class:`FormatError`, or gives an
empty string (formats) or the standard missing value (informats) with
``errors="coerce"``; warnings (a complete result shown with fewer decimals,
a value out of range) are reported with ``warnings.warn`` when
``warn=True``.
"""

from __future__ import annotations

import collections
import warnings

import numpy as np

from . import _convert
from ._valfmt import Handle as _Handle
from ._valfmt import apply_texts as _apply_texts
from ._valfmt import builtin_names as _builtin_names
from ._valfmt import locale_id as _locale_id
from ._valfmt import put_numbers as _put_numbers
from ._valfmt import status_name as _status_name
from ._valfmt import status_words as _status_words

__all__ = [
    "Catalog", "Format", "FormatError", "FormatInfo", "FormatWarning",
    "Informat", "Limits", "STANDARD_MISSING", "formats", "input", "missing",
    "missing_code", "put",
]

STANDARD_MISSING = _convert.STANDARD_MISSING
_NOT_FOUND = 1
_NO_FUNCTION = -0x7FFE27D0  # 0x8001D830 as a signed status
_MAX_LOCALE_ID = 133

Limits = collections.namedtuple("Limits", "minw maxw defw maxd")
Limits.__doc__ = "Width and decimal limits of a name: min, max, default width, max decimals."

FormatInfo = collections.namedtuple(
    "FormatInfo", "name informat module minw maxw defw maxd runs")
FormatInfo.__doc__ = ("One built-in name: informat names begin with '@'; "
                      "runs is False for names announced but not built.")

# Informats whose values are days, and those whose values are seconds from
# 1960, for input(..., as_datetime=True).
_DATE_INFORMATS = frozenset(
    "DATE DDMMYY JULIAN MMDDYY MONYY NENGO YYMMDD YYQ MINGUO PDJULG PDJULI "
    "XYYMMDD YYMMN YYQZ".split())
_DATETIME_INFORMATS = frozenset(
    "DATETIME MDYAMPM YMDDTTM TODSTAMP SMFSTAMP SHRSTAMP RMFSTAMP".split())


# Formats whose values are seconds (datetime, time of day, ISO datetime
# and time forms, locale datetime and time formats); the other date
# formats take days.  A datetime64 column is converted to what the format
# takes, whatever its unit.
_SECONDS_FORMATS = frozenset(
    "DATEAMPM DATETIME DTWKDATX HHMM HOUR MMSS MDYAMPM TIME TIMEAMPM TOD "
    "DTDATE DTMONYY DTYEAR DTYYQC NLTIME NLTIMAP".split())
_ISO_SECONDS_SUFFIXES = ("DN", "DT", "DZ", "LZ", "TM", "TZ")
_DAY_FORMATS = frozenset(
    "DATE DAY DDMMYY DDMMYYB DDMMYYC DDMMYYD DDMMYYN DDMMYYP DDMMYYS DOWNAME "
    "JULDATE JULDAY JULIAN MMDDYY MMDDYYB MMDDYYC MMDDYYD MMDDYYN MMDDYYP "
    "MMDDYYS MMYY MMYYC MMYYD MMYYN MMYYP MMYYS MONNAME MONTH MONYY NENGO "
    "PDJULG PDJULI QTR QTRR WEEKDATE WEEKDATX WEEKDAY WORDDATE WORDDATX YEAR "
    "YYMM YYMMC YYMMD YYMMDD YYMMDDB YYMMDDC YYMMDDD YYMMDDN YYMMDDP YYMMDDS "
    "YYMMN YYMMP YYMMS YYMON YYQ YYQC YYQD YYQN YYQP YYQR YYQRC YYQRD YYQRN "
    "YYQRP YYQRS YYQS MINGUO XYYMMDD YYQZ".split())


def _value_unit(name: str):
    """'D' for a format of day counts, 's' for one of second counts, None
    for any other."""
    if name in _SECONDS_FORMATS or name.startswith("NLDATM"):
        return "s"
    if name.startswith(("B8601", "E8601", "IS8601")):
        return "s" if name.endswith(_ISO_SECONDS_SUFFIXES) else "D"
    if name in _DAY_FORMATS or name.startswith("NLDATE"):
        return "D"
    return None


class FormatError(ValueError):
    """A format or informat failed: the status in words, its code, and the
    position of the first failing value (None when no value was involved).

    Attributes: ``status`` (signed 32-bit status), ``code`` (the same as an
    unsigned number, as printed), ``words``, ``position``, ``format``.
    """

    def __init__(self, message, *, status=None, position=None, format=None):
        super().__init__(message)
        self.status = status
        self.code = None if status is None else status & 0xFFFFFFFF
        self.words = None if status is None else _status_words(status)
        self.position = position
        self.format = format


class FormatWarning(UserWarning):
    """A complete result that came with a warning status."""


def _status_text(status: int) -> str:
    return f"{_status_words(status)} ({_status_name(status)}, status 0x{status & 0xFFFFFFFF:08X})"


def _parse_name(text: str, informat: bool):
    """'DATE9.' -> ('DATE', 9, 0, False); '@F8.2' -> ('F', 8, 2, True)."""
    if not isinstance(text, str):
        raise TypeError(f"a format is written as text like 'DATE9.', not {type(text).__name__}")
    s = text.strip()
    if s.startswith("@"):
        informat, s = True, s[1:]
    w, d = None, 0
    dot = s.rfind(".")
    if dot >= 0:
        dec = s[dot + 1:]
        p = dot
        while p > 0 and s[p - 1].isdigit() and s[p - 1].isascii():
            p -= 1
        if p == 0 or (dec and not (dec.isascii() and dec.isdigit())):
            raise ValueError(f"{text!r} is not a format name (expected NAME, NAMEw. or NAMEw.d)")
        if p < dot:
            w = int(s[p:dot])
        if dec:
            d = int(dec)
        s = s[:p]
    if not s or len(s) > 32 or not s.isascii() or any(c.isspace() for c in s):
        raise ValueError(f"{text!r} is not a format name (expected NAME, NAMEw. or NAMEw.d)")
    return s.upper(), w, d, informat


def _resolve_locale(locale):
    if locale is None:
        return 0
    if isinstance(locale, bool) or not isinstance(locale, (int, str, np.integer)):
        raise TypeError("locale is a locale name such as 'en_US' or a record number")
    if isinstance(locale, str):
        ident = _locale_id(locale)
        if ident is None:
            raise NotImplementedError(
                "locale names need the locale database, which this build of "
                "the library lacks; give the locale record number instead")
        if ident == 0:
            raise ValueError(f"unknown locale {locale!r}")
        return ident
    if not 1 <= int(locale) <= _MAX_LOCALE_ID:
        raise ValueError(f"locale record numbers run from 1 to {_MAX_LOCALE_ID}, not {locale}")
    return int(locale)


class Catalog:
    """A catalogue of user-defined formats: the XML export of a format
    control table.  Build it with :meth:`from_file` or :meth:`from_xml` and
    pass it as ``catalog=`` (or call :meth:`format`).  It pickles with its
    text, so formats built on it run on other processes too."""

    __slots__ = ("_xml",)

    def __init__(self, xml):
        if isinstance(xml, str):
            xml = xml.encode("utf-8")
        if not isinstance(xml, (bytes, bytearray)):
            raise TypeError("a catalogue is XML text (str or bytes)")
        if not xml:
            raise ValueError("empty catalogue")
        self._xml = bytes(xml)

    @classmethod
    def from_file(cls, path) -> "Catalog":
        """Reads the catalogue file at ``path`` (str or os.PathLike)."""
        with open(path, "rb") as f:
            return cls(f.read())

    @classmethod
    def from_xml(cls, text) -> "Catalog":
        """The catalogue held in ``text`` (str, or UTF-8 bytes)."""
        return cls(text)

    @property
    def xml(self) -> bytes:
        """The catalogue text as given."""
        return self._xml

    def format(self, fmt: str, *, locale=None) -> "Format":
        """``Format(fmt, catalog=self, locale=locale)``."""
        return Format(fmt, locale=locale, catalog=self)

    def __reduce__(self):
        return (Catalog, (self._xml,))

    def __eq__(self, other):
        return isinstance(other, Catalog) and other._xml == self._xml

    def __hash__(self):
        return hash(self._xml)

    def __repr__(self):
        return f"<valfmt.Catalog of {len(self._xml)} bytes>"


def _rebuild(cls, fmt, locale, catalog):
    return cls(fmt, locale=locale, catalog=catalog)


class Format:
    """A format resolved once: ``Format("DATE9.")(values)`` renders values.

    ``fmt`` is written as hosts write it (``DATE9.``, ``F8.2``,
    ``$CHAR10.``, ``BEST.``); the width defaults to the name's default
    width, and width and decimals must lie within :attr:`limits`.
    ``locale`` is a locale name (``"en_US"``) or record number (1..133),
    read by the locale formats; ``catalog`` a :class:`Catalog` for
    user-defined formats.  Instances pickle by name, width, decimals,
    locale and catalogue text and are resolved again where they arrive.

    Attributes: ``name``, ``width``, ``decimals``, ``kind`` ("numeric" or
    "character": what the format reads, or what an informat produces),
    ``limits`` (:class:`Limits`), ``module``, ``user`` (a user-defined
    format), ``binary`` (results are bytes of a machine representation).
    """

    _informat = False

    def __init__(self, fmt: str, *, locale=None, catalog: Catalog | None = None):
        if catalog is not None and not isinstance(catalog, Catalog):
            raise TypeError("catalog must be a valfmt.Catalog")
        name, w, d, informat = _parse_name(fmt, self._informat)
        if informat != self._informat:
            raise ValueError(f"{fmt!r} names an informat; use valfmt.Informat or valfmt.input")
        self._fmt = fmt
        self._locale = locale
        self._localeid = _resolve_locale(locale)
        self._catalog = catalog
        self._handle = _Handle(name, informat, catalog.xml if catalog else b"")
        if not self._handle.found:
            raise FormatError(f"{fmt}: {_status_text(_NOT_FOUND)}",
                              status=_NOT_FOUND, format=fmt)
        if not self._handle.runs:
            raise FormatError(f"{fmt}: {_status_text(_NO_FUNCTION)}",
                              status=_NO_FUNCTION, format=fmt)
        minw, maxw, defw, maxd = self._handle.limits[:4]
        self._name = ("@" if informat else "") + name
        # an informat without a width reads each whole text
        self._whole = informat and w is None
        self._w = defw if w is None else w
        self._d = d
        self._takes = None if self._handle.user else _value_unit(name)
        if not self._handle.user and self._handle.module != "pseudo":
            if not minw <= self._w <= maxw:
                raise ValueError(f"{fmt}: width {self._w} outside {minw}..{maxw}")
            if self._d > maxd:
                raise ValueError(f"{fmt}: decimals {self._d} outside 0..{maxd}")

    name = property(lambda self: self._name, doc="The name, '@' first for an informat.")
    width = property(lambda self: None if self._whole else self._w,
                     doc="The width w (None for an informat that reads each whole text).")
    decimals = property(lambda self: self._d, doc="The decimals d.")
    locale = property(lambda self: self._locale, doc="The locale as given.")
    localeid = property(lambda self: self._localeid, doc="The locale record number (0: none).")
    catalog = property(lambda self: self._catalog, doc="The Catalog, or None.")
    module = property(lambda self: self._handle.module,
                      doc="The built-in module, 'user' or 'pseudo'.")
    user = property(lambda self: self._handle.user, doc="True for a user-defined format.")
    binary = property(lambda self: self._handle.bytes_result,
                      doc="True when results are bytes of a machine representation.")

    @property
    def limits(self) -> Limits:
        """Min, max and default width and max decimals of the name."""
        return Limits(*self._handle.limits[:4])

    @property
    def kind(self) -> str:
        """'numeric' or 'character': what a format reads."""
        return "character" if self._name.lstrip("@").startswith("$") else "numeric"

    def __call__(self, values, *, errors: str = "raise", warn: bool = False, threads: int = 1):
        """Renders ``values``: str for a scalar, a numpy array of str for an
        array or list, a Series (same index) for a Series; bytes instead of
        str for binary formats.  See :func:`put`."""
        return self._apply(values, errors, warn, threads)

    def _run(self, column: np.ndarray, threads: int):
        if self.kind == "numeric":
            return _put_numbers(self._handle, _convert.to_numbers(column, self._takes),
                                self._w, self._d, self._localeid, threads)
        return _apply_texts(self._handle, _convert.to_texts(column), self._w,
                            self._d, self._localeid, threads,
                            _convert.missing_sentinels())

    def _apply(self, values, errors, warn, threads, convert=None):
        if errors not in ("raise", "coerce"):
            raise ValueError("errors is 'raise' or 'coerce'")
        if isinstance(threads, bool) or not isinstance(threads, (int, np.integer)) or threads < 1:
            raise ValueError("threads is a whole number of at least 1")
        scalar = _convert.is_scalar(values)
        series = None if scalar else values if _convert.is_series(values) else None
        shape = np.shape(values) if isinstance(values, np.ndarray) else None
        if scalar:
            column = np.empty(1, dtype=object)
            column[0] = values
        elif series is not None:
            column = _convert.series_values(series)
        else:
            column = _convert.as_column(values)
        result, status = self._run(column, int(threads))
        self._check(status, errors, warn)
        if isinstance(result, list):
            items = result
            result = np.empty(len(items), dtype=object)
            result[:] = items
        if convert is not None:
            result = convert(result)
        if scalar:
            out = result[0]
            return out.item() if isinstance(out, np.generic) else out
        if series is not None:
            return _convert.pandas().Series(result, index=series.index, name=series.name)
        if shape is not None and len(shape) != 1:
            result = result.reshape(shape)
        return result

    def _check(self, status: np.ndarray, errors: str, warn: bool):
        bad = status < 0
        if errors == "raise" and bad.any():
            i = int(np.argmax(bad))
            st = int(status[i])
            raise FormatError(f"{self._fmt}: {_status_text(st)} at position {i}",
                              status=st, position=i, format=self._fmt)
        if warn:
            flagged = status > 0
            count = int(np.count_nonzero(flagged))
            if count:
                i = int(np.argmax(flagged))
                warnings.warn(
                    f"{self._fmt}: {count} value(s) with a warning, the first "
                    f"at position {i}: {_status_text(int(status[i]))}",
                    FormatWarning, stacklevel=4)

    def __reduce__(self):
        return (_rebuild, (type(self), self._fmt, self._locale, self._catalog))

    def __eq__(self, other):
        return (type(other) is type(self) and other._name == self._name
                and other._w == self._w and other._d == self._d
                and other._localeid == self._localeid and other._catalog == self._catalog)

    def __hash__(self):
        return hash((type(self), self._name, self._w, self._d, self._localeid))

    def __repr__(self):
        extra = f", locale={self._locale!r}" if self._locale is not None else ""
        extra += ", catalog=..." if self._catalog is not None else ""
        return f"valfmt.{type(self).__name__}({self._fmt!r}{extra})"


class Informat(Format):
    """An informat resolved once: ``Informat("@DATE9.")(texts)`` reads texts.

    The leading ``@`` may be left out.  Without a width (``"@F."``) each
    text is read whole; a text longer than the informat's largest width
    is then an error (``VF_ERR_WD_LIMITS``).  Numeric informats give float64
    (special missing values keep their codes), character informats str (or
    bytes for the binary ones).  See :func:`input`."""

    _informat = True

    def __init__(self, fmt: str, *, locale=None, catalog: Catalog | None = None):
        super().__init__(fmt if fmt.lstrip().startswith("@") else "@" + fmt.lstrip(),
                         locale=locale, catalog=catalog)
        self._fmt = fmt

    @property
    def kind(self) -> str:
        """'numeric' or 'character': what an informat produces."""
        return "numeric" if self._handle.stores_double else "character"

    def _run(self, column: np.ndarray, threads: int):
        return _apply_texts(self._handle, _convert.to_texts(column),
                            -1 if self._whole else self._w,
                            self._d, self._localeid, threads,
                            _convert.missing_sentinels())

    def __call__(self, texts, *, as_datetime=False, errors: str = "raise",
                 warn: bool = False, threads: int = 1):
        """Reads ``texts``; see :func:`input`."""
        convert = None
        if as_datetime:
            unit = self._datetime_unit(as_datetime)
            convert = lambda x: _convert.to_datetime(x, unit)  # noqa: E731
        return self._apply(texts, errors, warn, threads, convert)

    def _datetime_unit(self, as_datetime) -> str:
        if self.kind != "numeric":
            raise ValueError(f"{self._fmt} reads characters, not dates")
        if as_datetime in ("D", "s"):
            return as_datetime
        if as_datetime is not True:
            raise ValueError("as_datetime is True, 'D' (day counts) or 's' (second counts)")
        base = self._name.lstrip("@")
        if base in _DATE_INFORMATS or base.endswith(("DFDE", "DFMY")):
            return "D"
        if base in _DATETIME_INFORMATS or base.endswith("DFDT"):
            return "s"
        raise ValueError(f"{self._fmt} is not known as a date or datetime informat; "
                         "say as_datetime='D' for day counts or 's' for second counts")


def _format_of(cls, fmt, locale, catalog):
    if isinstance(fmt, Format):
        if locale is not None or catalog is not None:
            raise ValueError("give locale and catalog to the Format itself")
        if not isinstance(fmt, cls):
            raise TypeError(f"expected a {cls.__name__}, got a {type(fmt).__name__}")
        return fmt
    return cls(fmt, locale=locale, catalog=catalog)


def put(values, fmt, *, locale=None, catalog: Catalog | None = None,
        errors: str = "raise", warn: bool = False, threads: int = 1):
    """Renders ``values`` with the format ``fmt`` (text like ``"DATE9."``,
    or a :class:`Format`).

    values: a scalar, a list, a numpy array (float, integer, bool,
    datetime64, timedelta64; str or bytes for character formats) or a
    pandas Series.  Returns str for a scalar, a numpy array of str for an
    array or list (same shape), a Series with the same index for a Series;
    binary formats (``PD``, ``IB``, ``RB`` ...) give bytes instead of str.

    errors: "raise" (FormatError at the first failing value) or "coerce"
    (an empty result for failing values).  warn: report warning statuses
    with warnings.warn.  threads: split a large array over this many
    threads."""
    return _format_of(Format, fmt, locale, catalog)(
        values, errors=errors, warn=warn, threads=threads)


def input(texts, informat, *, as_datetime=False, locale=None,  # noqa: A001
          catalog: Catalog | None = None, errors: str = "raise",
          warn: bool = False, threads: int = 1):
    """Reads ``texts`` (str, bytes, a list, a numpy array or a Series of
    them) with ``informat`` (text like ``"@DATE9."``, the ``@`` optional,
    or an :class:`Informat`).

    Numeric informats give float64 (a Series for a Series); with
    ``as_datetime`` date informats give datetime64[D] and datetime
    informats datetime64 (microseconds; nanoseconds in a Series), with NaT
    for missing values.  ``as_datetime="D"`` or ``"s"`` names the unit for
    informats not known as either.  errors="coerce" gives the standard
    missing value for texts that cannot be read."""
    return _format_of(Informat, informat, locale, catalog)(
        texts, as_datetime=as_datetime, errors=errors, warn=warn, threads=threads)


def missing(code: str = ".") -> float:
    """The missing value with ``code``: '.' (the standard one), '_' or a
    letter 'A'..'Z' (either case): a NaN that carries the code."""
    return _convert.make_missing(code)


def missing_code(x):
    """The code of a missing value ('.', '_', 'A'..'Z'; ' ' for a missing
    pattern without a character), or None for any other value.  Arrays
    and Series give an array (Series) of codes, '' where no value is
    missing."""
    if _convert.is_series(x):
        pd = _convert.pandas()
        values = _convert.series_values(x)
        return pd.Series(_convert.codes_of_array(np.asarray(values, dtype=np.float64)),
                         index=x.index, name=x.name)
    if not _convert.is_scalar(x):
        arr = np.asarray(x, dtype=np.float64)
        return _convert.codes_of_array(arr.reshape(-1)).reshape(arr.shape)
    bits = np.array(x, dtype=np.float64).view(np.uint64).item()
    return _convert.code_of_bits(bits)


def formats() -> list[FormatInfo]:
    """Every built-in name with its limits and whether it runs."""
    out = []
    for name, informat in _builtin_names():
        h = _Handle(name, informat, b"")
        if not h.found:
            continue
        minw, maxw, defw, maxd = h.limits[:4]
        out.append(FormatInfo(("@" if informat else "") + name, informat,
                              h.module, minw, maxw, defw, maxd, h.runs))
    return out
