"""Statuses as exceptions and warnings, and bad input of every kind."""

import warnings

import numpy as np
import pytest

import valfmt

INVALID_DATA = 0x80002006


class TestErrors:
    def test_format_error_names_status_code_and_position(self):
        with pytest.raises(valfmt.FormatError) as info:
            valfmt.input(["1", "2", "ab", "cd"], "@F3.")
        e = info.value
        assert isinstance(e, ValueError)
        assert e.code == INVALID_DATA and e.status == INVALID_DATA - 2**32
        assert e.position == 2
        assert "0x80002006" in str(e) and "position 2" in str(e)
        assert e.words and e.words in str(e)

    def test_coerce_gives_empty_text_for_formats(self):
        # the largest date value is 6589335 (31 December 20000)
        got = valfmt.put([0, 1e9], "DATE9.", errors="coerce")
        assert got.tolist() == ["01JAN1960", ""]
        with pytest.raises(valfmt.FormatError) as info:
            valfmt.put([0, 1e9], "DATE9.")
        assert info.value.position == 1

    def test_errors_argument_is_checked(self):
        with pytest.raises(ValueError):
            valfmt.put(1, "F3.", errors="ignore")


class TestWarnings:
    def test_warning_status_is_silent_by_default(self):
        with warnings.catch_warnings():
            warnings.simplefilter("error")
            assert valfmt.put(12.345, "F4.2") == "12.3"

    def test_warn_reports_count_and_first_position(self):
        with pytest.warns(valfmt.FormatWarning, match=r"2 value\(s\).*position 1.*0x00000002"):
            got = valfmt.put([1.0, 12.345, 99.999], "F4.2", warn=True)
        # a complete result shown with fewer decimals
        assert got.tolist() == ["1.00", "12.3", " 100"]


class TestBadFormats:
    @pytest.mark.parametrize("fmt", ["", ".", "9.", "DATE9.x", "DA TE9.", "A" * 33 + ".", "DATÉ9."])
    def test_malformed_names(self, fmt):
        with pytest.raises(ValueError, match="not a format name"):
            valfmt.Format(fmt)

    def test_unknown_name(self):
        with pytest.raises(valfmt.FormatError) as info:
            valfmt.Format("NOSUCHFMT9.")
        assert info.value.status == 1

    @pytest.mark.parametrize("fmt", ["DATE4.", "DATE99999.", "DATE9.9", "F33."])
    def test_width_and_decimals_outside_limits(self, fmt):
        with pytest.raises(ValueError, match="outside"):
            valfmt.Format(fmt)

    def test_format_is_not_text(self):
        with pytest.raises(TypeError):
            valfmt.put(1, 9)

    def test_informat_name_given_to_put(self):
        with pytest.raises(ValueError, match="informat"):
            valfmt.put(1, "@F3.")

    def test_unbuilt_names_refuse_at_resolution(self):
        idle = [f for f in valfmt.formats() if not f.runs]
        if not idle:
            pytest.skip("every built-in name runs")
        f = idle[0]
        with pytest.raises(valfmt.FormatError) as info:
            (valfmt.Informat if f.informat else valfmt.Format)(f"{f.name}{f.defw or ''}.")
        assert info.value.code == 0x8001D830

    def test_threads_argument_is_checked(self):
        for bad in (0, -1, 1.5, True):
            with pytest.raises(ValueError):
                valfmt.put([1], "F3.", threads=bad)


class TestBadValues:
    def test_mixed_object_column_names_the_position(self):
        col = np.array([1.0, 2, "three"], dtype=object)
        with pytest.raises(TypeError, match="position 2"):
            valfmt.put(col, "F3.")
        with pytest.raises(TypeError, match="position 1"):
            valfmt.put(np.array(["a", 2.5], dtype=object), "$CHAR3.")

    def test_wrong_column_kind(self):
        with pytest.raises(TypeError):
            valfmt.put(np.array(["1"]), "F3.")
        with pytest.raises(TypeError):
            valfmt.put(np.array([1.0]), "$CHAR3.")
        with pytest.raises(TypeError):
            valfmt.put(np.array([1j]), "F3.")

    def test_bytes_that_are_not_utf8(self):
        # bytes are handed over as they are; the result is read as Windows-1252
        raw = b"\xff\xfe\xc3"
        assert valfmt.put(raw, "$CHAR3.") == raw.decode("cp1252")
        assert valfmt.input(raw, "@$CHAR3.") == raw.decode("cp1252")
        got = valfmt.input([raw, b"12"], "@F3.", errors="coerce")
        assert valfmt.missing_code(got[0]) == "." and got[1] == 12.0

    def test_long_text_beyond_the_widening_area(self):
        text = "x" * 1000 + "é"
        assert valfmt.put(text, "$CHAR1001.") == text

    def test_ten_million_values(self):
        x = np.zeros(10_000_000)
        got = valfmt.put(x, "F1.", threads=2)
        assert got.shape == (10_000_000,)
        assert got[0] == "0" and got[-1] == "0"
