"""Locales by name and by record number, and a locale format."""

import calendar
import datetime as dt

import pytest

import valfmt
from helpers import days_of


def names_supported():
    try:
        valfmt.Format("F3.", locale="en_US")
    except NotImplementedError:
        return False
    return True


def test_record_numbers_are_checked():
    assert valfmt.Format("F3.", locale=52).localeid == 52
    for bad in (0, 134, -1):
        with pytest.raises(ValueError):
            valfmt.Format("F3.", locale=bad)
    with pytest.raises(TypeError):
        valfmt.Format("F3.", locale=1.5)


def test_names_without_a_locale_database():
    if names_supported():
        pytest.skip("the library resolves locale names")
    with pytest.raises(NotImplementedError):
        valfmt.put(1, "F3.", locale="en_US")


@pytest.mark.skipif(not names_supported(), reason="the locale database is not built yet")
class TestLocaleNames:
    def test_names_in_any_case(self):
        for name in ("en_US", "en_us", "EN_US", "eN_uS"):
            assert valfmt.Format("F3.", locale=name).localeid == 52
        assert valfmt.Format("F3.", locale="iw_IL").localeid == 69

    def test_unknown_names(self):
        for name in ("zh_XX", "en_U", "english"):
            with pytest.raises(ValueError):
                valfmt.Format("F3.", locale=name)

    def test_month_names_of_en_us(self):
        try:
            f = valfmt.Format("NLDATEMN20.", locale="en_US")
        except valfmt.FormatError:
            pytest.skip("the locale formats are not built yet")
        days = [days_of(dt.date(2001, m, 1)) for m in range(1, 13)]
        assert [t.strip() for t in f(days)] == list(calendar.month_name)[1:]
        # the locale travels with a pickled format
        import pickle
        g = pickle.loads(pickle.dumps(f))
        assert g.localeid == 52 and g(days).tolist() == f(days).tolist()
