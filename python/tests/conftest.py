"""Shared fixtures of the valfmt Python suites.

The package is imported from the build tree: PYTHONPATH names it (as
tools/ci/python.sh does), or else ``<repo>/build/python`` is used.
``VALFMT_BUILD_DIR`` names the CMake build folder (default ``<repo>/build``)
for the import and install tests.
"""

import os
import pathlib
import sys

import pytest

REPO = pathlib.Path(__file__).resolve().parents[2]
BUILD_DIR = pathlib.Path(os.environ.get("VALFMT_BUILD_DIR", REPO / "build"))

try:
    import valfmt  # noqa: F401
except ImportError:
    sys.path.insert(0, str(BUILD_DIR / "python"))


@pytest.fixture(scope="session")
def build_dir():
    return BUILD_DIR


@pytest.fixture(scope="session")
def catalog():
    import valfmt

    return valfmt.Catalog.from_file(REPO / "examples" / "cntlout.xml")


@pytest.fixture(scope="session")
def dask_client():
    """A local cluster of two worker processes, started once per session;
    the workers import valfmt from the same place as this process."""
    distributed = pytest.importorskip("distributed")
    import valfmt

    package_parent = str(pathlib.Path(valfmt.__file__).resolve().parents[1])
    paths = [package_parent] + [p for p in os.environ.get("PYTHONPATH", "").split(os.pathsep) if p]
    os.environ["PYTHONPATH"] = os.pathsep.join(dict.fromkeys(paths))
    cluster = distributed.LocalCluster(
        n_workers=2, threads_per_worker=1, processes=True,
        dashboard_address=None, silence_logs=40)
    client = distributed.Client(cluster)
    yield client
    client.close()
    cluster.close()
