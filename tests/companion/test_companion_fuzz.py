"""Runs the fuzz calls of fuzz_companion.py in child interpreters, a batch of
targets each, in a scratch directory (Drawing.save writes files there)."""

import pathlib

import pytest

from fuzzing import BATCHES, run_batch

HERE = pathlib.Path(__file__).resolve().parent


@pytest.mark.parametrize("batch", range(BATCHES))
def test_companion_fuzz_batch_in_a_child_interpreter(batch, tmp_path):
    scratch = tmp_path / "scratch"
    scratch.mkdir()
    run_batch(HERE / "fuzz_companion.py", batch, tmp_path, cwd=scratch, env={"MPLBACKEND": "Agg"})
