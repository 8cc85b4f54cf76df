"""What a datetime column means to the format applied to it, and informats
written without a width."""

import datetime as dt

import numpy as np
import pandas as pd
import pytest

import valfmt
from helpers import date9, days_of, seconds_of

DAYS = [dt.date(1959, 12, 31), dt.date(1960, 1, 1), dt.date(1961, 1, 1),
        dt.date(2024, 2, 29)]


class TestDatetimeColumnsFollowTheFormat:
    """A date format takes days and a datetime format seconds, whatever the
    unit of the datetime64 column (pandas keeps dates as nanoseconds)."""

    @pytest.mark.parametrize("unit", ["D", "s", "ms", "us", "ns"])
    def test_date_format_reads_days_of_any_unit(self, unit):
        col = np.array([d.isoformat() for d in DAYS], dtype=f"datetime64[{unit}]")
        want = [date9(days_of(d)) for d in DAYS]
        assert list(valfmt.put(col, "DATE9.")) == want

    def test_time_of_day_is_dropped_by_a_date_format(self):
        col = np.array(["2024-02-29T23:59:59"], dtype="datetime64[ns]")
        assert valfmt.put(col, "DATE9.")[0] == "29FEB2024"

    def test_pandas_dates_read_back_and_shown_again(self):
        s = pd.Series([date9(days_of(d)) for d in DAYS], index=[5, 6, 7, 8])
        back = valfmt.input(s, "@DATE9.", as_datetime=True)
        assert str(back.dtype) == "datetime64[ns]"
        again = valfmt.put(back, "DATE9.")
        assert list(again.index) == [5, 6, 7, 8]
        assert list(again) == list(s)

    def test_datetime_format_reads_seconds_of_a_day_column(self):
        col = np.array(["1961-01-01"], dtype="datetime64[D]")
        # 366 days after 1 January 1960, at midnight
        assert valfmt.put(col, "DATETIME18.")[0] == "  01JAN61:00:00:00"
        # a plain number format keeps the column's own unit: days for [D]
        assert valfmt.put(col, "F12.")[0] == f"{366:12d}"
        # and seconds for a finer unit
        fine = col.astype("datetime64[s]")
        assert valfmt.put(fine, "F12.")[0] == f"{seconds_of(dt.datetime(1961, 1, 1)):12.0f}"

    def test_timestamp_objects_follow_the_format_too(self):
        col = np.array([pd.Timestamp("1961-01-01 12:00"), dt.datetime(1960, 1, 2, 6)],
                       dtype=object)
        assert list(valfmt.put(col, "DATE9.")) == ["01JAN1961", "02JAN1960"]
        assert list(valfmt.put(col, "DATETIME18.")) == [
            "  01JAN61:12:00:00", "  02JAN60:06:00:00"]


class TestInformatWithoutWidth:
    """Without a width an informat reads each whole text, as far as its
    largest width allows; a longer text is an error, not a silent cut."""

    @pytest.mark.parametrize("texts, fmt, want", [
        (["123456789012345", "7", " 42 "], "F.", [123456789012345.0, 7.0, 42.0]),
        (["21DEC2022", "01JAN60"], "@DATE.", [days_of(dt.date(2022, 12, 21)), 0.0]),
    ])
    def test_texts_are_read_whole(self, texts, fmt, want):
        assert list(valfmt.input(texts, fmt)) == want

    def test_characters_are_read_whole(self):
        assert valfmt.input("abcdefghijk", "$CHAR.") == "abcdefghijk"

    def test_longer_than_the_largest_width_is_an_error(self):
        big = "1" * 33  # @F reads at most 32 characters
        with pytest.raises(valfmt.FormatError) as e:
            valfmt.input(["1", big], "F.")
        assert e.value.position == 1
        got = valfmt.input(["1", big], "F.", errors="coerce")
        assert got[0] == 1.0 and valfmt.missing_code(got[1]) == "."

    def test_megabyte_text_is_an_error(self):
        with pytest.raises(valfmt.FormatError):
            valfmt.input("9" * 1_000_000, "F.")

    def test_a_given_width_still_reads_that_many(self):
        assert valfmt.input("7777799999", "F5.") == 77777.0

    def test_whole_texts_split_over_threads_and_pickled(self):
        import pickle
        numbers = [float(i * 7919 % 10**(1 + i % 12)) for i in range(20000)]
        texts = np.array([f"{int(x)}" for x in numbers], dtype=object)
        inf = pickle.loads(pickle.dumps(valfmt.Informat("F.")))
        assert inf.width is None
        np.testing.assert_array_equal(inf(texts, threads=4), numbers)
