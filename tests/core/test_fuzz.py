"""Runs the fuzz calls of fuzz_calls.py in child interpreters, a batch of
targets each, so that a crash fails one batch with the call that caused it
instead of ending the session."""

import os
import pathlib
import signal
import subprocess
import sys

import pytest

BATCHES = int(os.environ.get("ZENOLITH_FUZZ_BATCHES", "2"))
HERE = pathlib.Path(__file__).resolve().parent


@pytest.mark.parametrize("batch", range(BATCHES))
def test_fuzz_batch_in_a_child_interpreter(batch, tmp_path):
    last_call = tmp_path / "last-call"
    env = dict(os.environ, ZENOLITH_FUZZ_BATCH=f"{batch}/{BATCHES}",
               ZENOLITH_FUZZ_LAST_CALL=str(last_call))
    out = subprocess.run(
        [sys.executable, "-m", "pytest", "-q", "-p", "no:cacheprovider", str(HERE / "fuzz_calls.py")],
        cwd=HERE.parents[1], env=env, capture_output=True, text=True)
    if out.returncode < 0:
        call = last_call.read_text() if last_call.exists() else "(before the first call)"
        pytest.fail(f"the child died of {signal.Signals(-out.returncode).name} in the call\n"
                    f"  {call}\n{out.stderr[-3000:]}", pytrace=False)
    assert out.returncode == 0, out.stdout[-6000:] + out.stderr[-2000:]
