"""Runs the fuzz calls of fuzz_calls.py in child interpreters, a batch of
targets each, so that a crash fails one batch with the call that caused it
instead of ending the session."""

import pathlib

import pytest

from fuzzing import BATCHES, run_batch

HERE = pathlib.Path(__file__).resolve().parent


@pytest.mark.parametrize("batch", range(BATCHES))
def test_fuzz_batch_in_a_child_interpreter(batch, tmp_path):
    run_batch(HERE / "fuzz_calls.py", batch, tmp_path)
