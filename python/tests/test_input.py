"""Reading texts: numeric, date and character informats, datetime results."""

import datetime as dt

import numpy as np
import pytest

import valfmt
from helpers import days_of, seconds_of

DATES = [dt.date(1582, 10, 15), dt.date(1959, 12, 31), dt.date(1960, 1, 1),
         dt.date(2000, 2, 29), dt.date(2022, 12, 21)]


class TestNumericInformats:
    def test_scalar_gives_float(self):
        got = valfmt.input("12.5", "@F8.")
        assert isinstance(got, float) and got == 12.5

    def test_commas_and_parentheses(self):
        got = valfmt.input(["1,234", "(1,234)", "12"], "COMMA10.2")
        # d = 2 places a decimal point only in texts without one
        np.testing.assert_array_equal(got, [12.34, -12.34, 0.12])

    def test_leading_at_sign_is_optional(self):
        assert valfmt.input("7", "F3.") == valfmt.input("7", "@F3.") == 7.0

    def test_numpy_unicode_bytes_and_object_columns_agree(self):
        texts = ["1", "22", "333"]
        want = [1.0, 22.0, 333.0]
        for col in (np.array(texts), np.array([t.encode() for t in texts]),
                    np.array(texts, dtype=object)):
            np.testing.assert_array_equal(valfmt.input(col, "@F3."), want)

    def test_missing_texts_read_as_standard_missing(self):
        got = valfmt.input(np.array(["1", None, "."], dtype=object), "@F3.")
        assert got[0] == 1.0
        assert [valfmt.missing_code(v) for v in got[1:]] == [".", "."]


class TestDateInformats:
    def test_days_from_1960(self):
        texts = [d.strftime("%d%b%Y").upper() for d in DATES]
        np.testing.assert_array_equal(valfmt.input(texts, "@DATE9."),
                                      [days_of(d) for d in DATES])

    def test_as_datetime_gives_datetime64_days(self):
        texts = [d.strftime("%d%b%Y").upper() for d in DATES] + ["."]
        got = valfmt.input(texts, "@DATE9.", as_datetime=True)
        assert got.dtype == np.dtype("datetime64[D]")
        assert got[:-1].tolist() == DATES
        assert np.isnat(got[-1])

    def test_datetime_informat_gives_seconds(self):
        stamp = dt.datetime(2001, 2, 3, 4, 5, 6)
        text = stamp.strftime("%d%b%Y:%H:%M:%S")
        assert valfmt.input(text, "@DATETIME18.") == seconds_of(stamp)
        got = valfmt.input([text], "@DATETIME18.", as_datetime=True)
        assert got.dtype == np.dtype("datetime64[us]") and got[0].item() == stamp

    def test_unit_must_be_known_or_given(self):
        with pytest.raises(ValueError, match="as_datetime"):
            valfmt.input("1", "@F3.", as_datetime=True)
        got = valfmt.input(["366"], "@F3.", as_datetime="D")
        assert got[0] == np.datetime64("1961-01-01")
        with pytest.raises(ValueError):
            valfmt.input("1", "@F3.", as_datetime="hours")


class TestCharacterInformats:
    def test_char_informat_copies_w_characters(self):
        inf = valfmt.Informat("$CHAR5.")
        assert inf.kind == "character"
        # w characters: cut or padded with blanks, leading blanks kept
        assert list(inf(["abc", "abcdefg", " x", "é€"])) == ["abc  ", "abcde", " x   ", "é€   "]

    def test_upcase_changes_ascii_letters_only(self):
        assert valfmt.input("abé", "@$UPCASE4.") == "ABé "
