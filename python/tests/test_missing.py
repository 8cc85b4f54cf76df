"""Missing values: the standard one and the special ones carried as NaN
payloads through numpy, pandas and the library."""

import struct

import numpy as np
import pandas as pd
import pytest

import valfmt

LETTERS = [chr(c) for c in range(ord("A"), ord("Z") + 1)]


def bits(x):
    return struct.unpack("<Q", struct.pack("<d", x))[0]


class TestMakingAndReading:
    def test_bit_patterns(self):
        # 0xFFFF cc 0000000000: '_' is FF, '.' FE, 'A' FD down to 'Z' E4
        assert bits(valfmt.missing()) == 0xFFFFFE0000000000
        assert bits(valfmt.missing("_")) == 0xFFFFFF0000000000
        assert bits(valfmt.missing("a")) == 0xFFFFFD0000000000
        assert bits(valfmt.missing("Z")) == 0xFFFFE40000000000
        assert bits(valfmt.STANDARD_MISSING) == 0xFFFFFE0000000000

    def test_codes_read_back(self):
        for c in ["_", "."] + LETTERS:
            assert valfmt.missing_code(valfmt.missing(c)) == c

    def test_other_values_have_no_code(self):
        assert valfmt.missing_code(1.0) is None
        assert valfmt.missing_code(float("nan")) is None
        # a missing pattern whose code byte names no character
        blank = struct.unpack("<d", struct.pack("<Q", 0xFFFF000000000000))[0]
        assert valfmt.missing_code(blank) == " "

    def test_array_and_series_of_codes(self):
        x = np.array([1.0, valfmt.missing("B"), np.nan, valfmt.missing()])
        assert valfmt.missing_code(x).tolist() == ["", "B", "", "."]
        s = pd.Series(x, index=list("wxyz"))
        got = valfmt.missing_code(s)
        assert got.index.tolist() == list("wxyz") and got.tolist() == ["", "B", "", "."]

    @pytest.mark.parametrize("bad", ["", "AB", "1", "-", 1])
    def test_bad_codes(self, bad):
        with pytest.raises(ValueError):
            valfmt.missing(bad)


class TestThroughTheLibrary:
    def test_every_kind_of_missing_input_is_standard(self):
        values = pd.Series([np.nan, None, pd.NA, pd.NaT], dtype=object)
        # the missing character stands at w - 1 - d
        assert valfmt.put(values, "F6.2").tolist() == ["   .  "] * 4
        assert valfmt.put(np.array(["NaT"], dtype="datetime64[D]"), "DATE9.")[0] == "        ."

    def test_special_codes_are_shown(self):
        x = np.array([valfmt.missing(c) for c in ["_", "A", "Z"]])
        assert valfmt.put(x, "F4.").tolist() == ["   _", "   A", "   Z"]

    def test_round_trip_input_then_put(self):
        texts = [".", "._", ".A", ".z", "3"]
        x = valfmt.input(texts, "@F4.")
        assert x.dtype == np.float64
        assert [valfmt.missing_code(v) for v in x] == [".", "_", "A", "Z", None]
        # the payloads survive a pandas Series and a copy
        s = pd.Series(x).copy()
        assert valfmt.put(s, "F3.").tolist() == ["  .", "  _", "  A", "  Z", "  3"]
