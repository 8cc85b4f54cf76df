"""User-defined formats from a catalogue, and pickling of every handle."""

import datetime as dt
import pickle

import numpy as np
import pytest

import valfmt
from conftest import REPO


class TestUserFormats:
    def test_numeric_ranges(self, catalog):
        # LOW-<13 child, 13-<20 teenager, 20-<65 adult, 65-HIGH senior
        ages = [0, 12.99, 13, 19.5, 20, 64.9, 65, 1e6]
        want = ["child", "child", "teenager", "teenager", "adult", "adult", "senior", "senior"]
        got = valfmt.put(ages, "AGEGRP.", catalog=catalog)
        assert [g.rstrip() for g in got] == want

    def test_character_ranges_and_other(self, catalog):
        got = valfmt.put(["A", "B", "E", "Z"], "$GRADE.", catalog=catalog)
        assert [g.rstrip() for g in got] == ["excellent", "good", "insufficient", "no grade"]

    def test_date_picture(self, catalog):
        days = [dt.date(1960, 1, 1), dt.date(1999, 12, 31), dt.date(2022, 12, 21)]
        got = valfmt.put(days, "ISODAY10.", catalog=catalog)
        assert got.tolist() == [d.isoformat() for d in days]

    def test_from_xml_equals_from_file(self, catalog):
        text = (REPO / "examples" / "cntlout.xml").read_text(encoding="utf-8")
        c = valfmt.Catalog.from_xml(text)
        assert c == catalog
        assert valfmt.put(42, "AGEGRP.", catalog=c) == valfmt.put(42, "AGEGRP.", catalog=catalog)

    def test_format_object_knows_it_is_user_defined(self, catalog):
        f = catalog.format("AGEGRP.")
        assert f.user and f.module == "user" and f.width == f.limits.defw

    def test_names_not_in_the_catalogue(self, catalog):
        with pytest.raises(valfmt.FormatError):
            valfmt.Format("NOSUCH.", catalog=catalog)
        # a numeric request does not find a character format
        with pytest.raises(valfmt.FormatError):
            valfmt.Format("GRADE.", catalog=catalog)

    def test_malformed_catalogue_is_not_found(self):
        for text in ["<LIBRARY type='IMPORT'>", "garbage", "<" * 1000, "\x00\xff"]:
            with pytest.raises(valfmt.FormatError):
                valfmt.Format("AGEGRP.", catalog=valfmt.Catalog.from_xml(text))
        with pytest.raises(ValueError):
            valfmt.Catalog.from_xml("")


class TestPickle:
    @pytest.mark.parametrize("make, values", [
        (lambda c: valfmt.Format("DATE9."), [0.0, 42.5]),
        (lambda c: valfmt.Format("F12.3"), [0.0, 42.5]),
        (lambda c: valfmt.Informat("@DATE9."), ["01JAN1960", "31DEC2099"]),
        (lambda c: valfmt.Format("AGEGRP.", catalog=c), [0.0, 42.5]),
        (lambda c: valfmt.Format("$GRADE12.", catalog=c), ["A", "Q"]),
    ])
    def test_round_trip_resolves_again(self, catalog, make, values):
        f = make(catalog)
        g = pickle.loads(pickle.dumps(f))
        assert g == f and type(g) is type(f)
        assert (g.name, g.width, g.decimals, g.limits) == (f.name, f.width, f.decimals, f.limits)
        assert np.array_equal(g(values), f(values))

    def test_catalogue_pickles_with_its_text(self, catalog):
        c = pickle.loads(pickle.dumps(catalog))
        assert c.xml == catalog.xml
