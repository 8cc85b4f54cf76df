"""Rendering values: scalars, lists, every numpy dtype taken, Series."""

import datetime as dt
import struct

import numpy as np
import pandas as pd
import pytest

import valfmt
from helpers import EPOCH, date9, days_of, packed

DAYS = [-3653, -1, 0, 1, 366, 3652, 23000, 40000]


def f12_2(x):
    return "%12.2f" % x


class TestScalars:
    def test_number_date_and_text_give_str(self):
        assert valfmt.put(0, "DATE9.") == "01JAN1960"
        assert valfmt.put(1234.567, "F12.2") == f12_2(1234.567)
        assert valfmt.put(np.float32(2.5), "F5.1") == "  2.5"
        assert valfmt.put("abc", "$CHAR5.") == "abc  "
        assert isinstance(valfmt.put(1, "F3."), str)

    def test_python_dates_and_datetimes(self):
        d = dt.date(2022, 12, 21)
        assert valfmt.put(d, "DATE9.") == "21DEC2022"
        t = dt.datetime(1961, 2, 3, 4, 5, 6)
        assert valfmt.put(t, "DATETIME19.") == " " + t.strftime("%d%b%Y:%H:%M:%S").upper()
        assert valfmt.put(np.datetime64("2000-02-29"), "DATE9.") == "29FEB2000"

    def test_default_width(self):
        f = valfmt.Format("DATE.")
        assert f.width == f.limits.defw == 7
        assert f(0) == "01JAN60"

    def test_names_in_any_case(self):
        assert valfmt.put(366, "date9.") == "01JAN1961"


class TestNumericDtypes:
    @pytest.mark.parametrize("dtype", ["float64", "float32", "int8", "int16", "int32",
                                       "int64", "uint8", "uint16", "uint32", "uint64"])
    def test_integer_and_float_columns(self, dtype):
        x = np.array([0, 1, 100, 120], dtype=dtype)
        assert list(valfmt.put(x, "F7.2")) == ["%7.2f" % v for v in x.astype(float)]

    def test_float64_values(self):
        x = np.array([0.0, -1.5, 1234.567, 12345678.25, -0.004, 999999.999])
        assert list(valfmt.put(x, "F12.2")) == [f12_2(v) for v in x]

    def test_bool_column_is_zero_and_one(self):
        assert list(valfmt.put(np.array([True, False]), "F1.")) == ["1", "0"]

    def test_datetime64_days(self):
        x = np.array([str(EPOCH + dt.timedelta(days=d)) for d in DAYS], dtype="datetime64[D]")
        assert list(valfmt.put(x, "DATE9.")) == [date9(d) for d in DAYS]

    @pytest.mark.parametrize("unit", ["s", "ms", "us", "ns"])
    def test_datetime64_seconds(self, unit):
        stamps = [dt.datetime(1960, 1, 1), dt.datetime(1999, 12, 31, 23, 59, 59),
                  dt.datetime(1955, 6, 1, 12, 0, 1), dt.datetime(2038, 1, 19, 3, 14, 8)]
        x = np.array(stamps, dtype=f"datetime64[{unit}]")
        want = [" " + s.strftime("%d%b%Y:%H:%M:%S").upper() for s in stamps]
        assert list(valfmt.put(x, "DATETIME19.")) == want

    def test_timedelta64_is_seconds(self):
        x = np.array([3661, 86399], dtype="timedelta64[s]")
        assert list(valfmt.put(x, "TIME8.")) == [" 1:01:01", "23:59:59"]

    def test_shape_is_kept(self):
        x = np.arange(6, dtype=float).reshape(2, 3)
        out = valfmt.put(x, "F2.")
        assert out.shape == (2, 3)
        assert out[1, 2] == " 5"

    def test_object_column_of_numbers_and_dates(self):
        col = np.array([1, 2.5, dt.date(1960, 1, 2), None], dtype=object)
        assert list(valfmt.put(col, "F4.1")) == [" 1.0", " 2.5", " 1.0", "  . "]

    def test_empty_column(self):
        out = valfmt.put(np.array([], dtype=float), "DATE9.")
        assert out.shape == (0,)
        assert out.dtype.kind == "U"


class TestLists:
    def test_list_of_numbers(self):
        assert list(valfmt.put([0, 366, None], "DATE9.")) == ["01JAN1960", "01JAN1961", "        ."]

    def test_list_of_dates(self):
        days = [dt.date(1582, 10, 15), dt.date(1960, 1, 1), dt.date(2099, 12, 31)]
        assert list(valfmt.put(days, "DATE9.")) == [date9(days_of(d)) for d in days]

    def test_list_of_texts_keeps_numbers_out(self):
        with pytest.raises(TypeError, match="position 1"):
            valfmt.put(["a", 1], "$CHAR3.")


class TestCharacterFormats:
    def test_narrow_and_wide_texts(self):
        # Windows-1252 text goes narrow; anything else as 16-bit units.
        assert list(valfmt.put(["abc", "é€", "漢字", ""], "$CHAR4.")) == ["abc ", "é€  ", "漢字  ", "    "]

    def test_numpy_unicode_and_bytes_columns(self):
        assert list(valfmt.put(np.array(["ab", "c"]), "$CHAR3.")) == ["ab ", "c  "]
        assert list(valfmt.put(np.array([b"ab", b"c"]), "$CHAR3.")) == ["ab ", "c  "]

    def test_hex_shows_the_narrow_bytes(self):
        # é and € are the Windows-1252 bytes E9 and 80; bytes pass unchanged.
        got = valfmt.put(["é€", b"\xff\x00", "AB"], "$HEX4.")
        assert list(got) == ["E980", "FF00", "4142"]

    def test_missing_text_is_blank(self):
        assert list(valfmt.put(np.array(["x", None, np.nan], dtype=object), "$CHAR2.")) == ["x ", "  ", "  "]


class TestBinaryFormats:
    def test_results_are_bytes(self):
        assert valfmt.put(-123, "S370FPD3.") == packed(-123, 3)
        assert valfmt.Format("IB4.").binary
        got = valfmt.put([256, -2, 0], "IB4.")
        assert got.dtype == object
        # trailing zero bytes are part of the value
        assert list(got) == [struct.pack("<i", v) for v in (256, -2, 0)]


class TestSeries:
    def test_index_and_name_are_kept(self):
        s = pd.Series([0.0, 366.0, np.nan], index=["a", "b", "c"], name="day")
        out = valfmt.put(s, "DATE9.")
        assert isinstance(out, pd.Series)
        assert list(out.index) == ["a", "b", "c"] and out.name == "day"
        assert list(out) == ["01JAN1960", "01JAN1961", "        ."]

    def test_nullable_and_datetime_columns(self):
        ints = pd.Series([1, None, 3], dtype="Int64", index=[10, 20, 30])
        assert list(valfmt.put(ints, "F2.")) == [" 1", " .", " 3"]
        stamps = pd.Series(pd.to_datetime(["2001-02-03 04:05:06", None]))
        want = " " + dt.datetime(2001, 2, 3, 4, 5, 6).strftime("%d%b%Y:%H:%M:%S").upper()
        assert list(valfmt.put(stamps, "DATETIME19.")) == [want, "                  ."]

    def test_string_series_with_na(self):
        s = pd.Series(["ab", pd.NA, "c"], dtype="string")
        assert list(valfmt.put(s, "$CHAR2.")) == ["ab", "  ", "c "]

    def test_format_object_maps_over_a_series(self):
        s = pd.Series(range(3), index=[5, 6, 7])
        out = s.pipe(valfmt.Format("DATE9."))
        assert out.index.tolist() == [5, 6, 7]
        assert out.tolist() == [date9(d) for d in range(3)]
