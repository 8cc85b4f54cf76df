"""Several threads give exactly what one thread gives."""

import numpy as np
import pytest

import valfmt

N = 60_000


@pytest.fixture(scope="module")
def days():
    rng = np.random.default_rng(7)
    return rng.integers(-100_000, 100_000, N).astype(np.float64)


@pytest.mark.parametrize("threads", [2, 3, 8])
class TestThreads:
    def test_dates(self, days, threads):
        one = valfmt.put(days, "DATE9.")
        assert np.array_equal(valfmt.put(days, "DATE9.", threads=threads), one)

    def test_numbers_with_missing_and_errors(self, days, threads):
        x = days / 7
        x[::97] = np.nan
        x[::1001] = valfmt.missing("K")
        one = valfmt.put(x, "F9.3", errors="coerce")
        assert np.array_equal(valfmt.put(x, "F9.3", errors="coerce", threads=threads), one)

    def test_informat(self, days, threads):
        texts = valfmt.put(days, "DATE9.")
        one = valfmt.input(texts, "@DATE9.")
        assert np.array_equal(one, days)
        assert np.array_equal(valfmt.input(texts, "@DATE9.", threads=threads), one)

    def test_user_format_and_long_results(self, catalog, threads):
        ages = np.arange(N, dtype=float) % 90
        one = valfmt.put(ages, "AGEGRP.", catalog=catalog)
        assert np.array_equal(valfmt.put(ages, "AGEGRP.", catalog=catalog, threads=threads), one)
        texts = np.array(["é" * (i % 300) for i in range(N)], dtype=object)
        one = valfmt.put(texts, "$CHAR300.")
        assert np.array_equal(valfmt.put(texts, "$CHAR300.", threads=threads), one)
