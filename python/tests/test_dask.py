"""Formats applied by a dask.distributed cluster of two worker processes
give what they give in this process."""

import numpy as np
import pandas as pd
import pytest

import valfmt

dd = pytest.importorskip("dask.dataframe")


@pytest.fixture(scope="module")
def frame():
    n = 4000
    rng = np.random.default_rng(3)
    day = rng.integers(-20_000, 40_000, n).astype(float)
    day[::17] = np.nan
    return pd.DataFrame({
        "day": day,
        "age": rng.integers(0, 100, n).astype(float),
        "text": pd.Series(valfmt.put(day, "DATE9."), dtype=object),
    })


def test_map_partitions_on_a_local_cluster(dask_client, frame, catalog):
    ddf = dd.from_pandas(frame, npartitions=6)
    jobs = {
        "day": (ddf["day"].map_partitions(valfmt.Format("DATE9."), meta=("day", "object")),
                valfmt.put(frame["day"], "DATE9.")),
        "age": (ddf["age"].map_partitions(valfmt.Format("AGEGRP.", catalog=catalog),
                                          meta=("age", "object")),
                valfmt.put(frame["age"], "AGEGRP.", catalog=catalog)),
        "text": (ddf["text"].map_partitions(valfmt.Informat("@DATE9."), meta=("text", "f8")),
                 valfmt.input(frame["text"], "@DATE9.")),
    }
    results = dask_client.compute([job for job, _ in jobs.values()], sync=True)
    # the work ran in the worker processes, not here
    assert len(dask_client.scheduler_info()["workers"]) == 2
    for (name, (_, local)), remote in zip(jobs.items(), results):
        pd.testing.assert_series_equal(remote.sort_index(), local, check_names=False, obj=name)
