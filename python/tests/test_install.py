"""The package imports from the build tree and from an installation."""

import os
import pathlib
import shutil
import subprocess
import sys

import pytest

PROBE = ("import valfmt, sys; print(valfmt.__file__); "
         "sys.exit(0 if valfmt.put(0, 'DATE9.') == '01JAN1960' else 3)")


def run_probe(pythonpath, cwd):
    env = dict(os.environ, PYTHONPATH=str(pythonpath))
    return subprocess.run([sys.executable, "-c", PROBE], cwd=cwd, env=env,
                          capture_output=True, text=True, timeout=60)


def test_imports_from_the_build_tree(build_dir, tmp_path):
    package = build_dir / "python" / "valfmt"
    if not package.is_dir():
        pytest.skip("no build tree at " + str(build_dir))
    done = run_probe(build_dir / "python", tmp_path)
    assert done.returncode == 0, done.stderr
    assert pathlib.Path(done.stdout.strip()).resolve().parent == package.resolve()


def test_imports_from_an_install(build_dir, tmp_path):
    cmake = shutil.which("cmake")
    if cmake is None or not (build_dir / "CMakeCache.txt").is_file():
        pytest.skip("needs cmake and a configured build tree")
    prefix = tmp_path / "prefix"
    done = subprocess.run([cmake, "--install", str(build_dir), "--component", "python",
                           "--prefix", str(prefix)], capture_output=True, text=True, timeout=120)
    assert done.returncode == 0, done.stderr
    found = sorted(prefix.rglob("valfmt/__init__.py"))
    assert len(found) == 1
    site = found[0].parents[1]
    done = run_probe(site, tmp_path)
    assert done.returncode == 0, done.stderr
    assert pathlib.Path(done.stdout.strip()).resolve() == found[0].resolve()
