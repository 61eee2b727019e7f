"""What the fuzz tests share: running a file of fuzz calls in child
interpreters, one batch of targets each, so that a crash or a hang fails one
batch with the call that caused it instead of ending the session; the record
of the last call a child made; the hypothesis settings; and the pool of core
objects the calls draw their arguments from.

Environment (read by the parent test and passed on to its children):

* ``ZENOLITH_FUZZ_BATCHES``: how many child interpreters share the targets;
* ``ZENOLITH_FUZZ_EXAMPLES``: calls per target (hypothesis examples);
* ``ZENOLITH_FUZZ_CALL_TIMEOUT``: seconds one call may take before the child
  is stopped and the call reported as hanging (default 60);
* ``ZENOLITH_FUZZ_FINDINGS``: a file; when set, a child writes every
  undocumented exception there (one per target and exception type) and goes
  on, and a batch that crashes is run again without the target that crashed,
  so that one long run reports everything it finds. The test fails at the end
  when the file is not empty.
"""

import atexit
import collections
import contextlib
import faulthandler
import os
import pathlib
import signal
import subprocess
import sys
import time

import pytest
from hypothesis import HealthCheck, settings

ROOT = pathlib.Path(__file__).resolve().parents[1]

BATCHES = int(os.environ.get("ZENOLITH_FUZZ_BATCHES", "2"))
BATCH, _CHILD_BATCHES = map(int, os.environ.get("ZENOLITH_FUZZ_BATCH", "0/1").split("/"))
CALL_TIMEOUT = float(os.environ.get("ZENOLITH_FUZZ_CALL_TIMEOUT", "60"))
FINDINGS = os.environ.get("ZENOLITH_FUZZ_FINDINGS")
SKIPPED = set(filter(None, os.environ.get("ZENOLITH_FUZZ_SKIP", "").split("\n")))


def examples(default):
    return int(os.environ.get("ZENOLITH_FUZZ_EXAMPLES", str(default)))


def fuzz_settings(max_examples):
    return settings(
        max_examples=max_examples,
        deadline=None,
        derandomize=bool(os.environ.get("CI")),
        database=None,
        suppress_health_check=list(HealthCheck),
    )


def in_this_batch(targets):
    """The targets (pytest params) this child runs, minus those skipped
    after a crash."""
    return [t for i, t in enumerate(targets)
            if i % _CHILD_BATCHES == BATCH and t.id not in SKIPPED]


def text(value):
    try:
        return repr(value)
    except Exception:
        return f"<{type(value).__name__} without repr>"


# ---- the child's side ------------------------------------------------------

_LAST_CALL = os.environ.get("ZENOLITH_FUZZ_LAST_CALL")
_record = open(_LAST_CALL, "w") if _LAST_CALL else None
# faulthandler writes here when a call outlives CALL_TIMEOUT (stderr is
# captured by pytest and lost when the watchdog ends the process)
_hang = open(_LAST_CALL + ".hang", "w") if _LAST_CALL else None
_calls = 0


@contextlib.contextmanager
def calling(target_id, call_text):
    """Records a call before it is made, and watches it for a hang."""
    global _calls
    _calls += 1
    if not _record:
        yield
        return
    _record.seek(0)
    _record.write(f"{target_id}\n{call_text}")
    _record.truncate()
    _record.flush()
    faulthandler.dump_traceback_later(CALL_TIMEOUT, exit=True, file=_hang)
    try:
        yield
    finally:
        faulthandler.cancel_dump_traceback_later()


@atexit.register
def _count():
    if _LAST_CALL:
        pathlib.Path(_LAST_CALL + ".calls").write_text(str(_calls))


def found(target_id, kind, call_text, every_call=False):
    """In a collecting run, writes an undocumented outcome (once per target
    and kind, or once per call) and returns True (the caller goes on);
    otherwise returns False (the caller fails)."""
    if not FINDINGS:
        return False
    key = f"{target_id}: {kind.splitlines()[0][:60]}" + (f" [{hash(call_text):x}]" if every_call else "")
    path = pathlib.Path(FINDINGS)
    seen = path.read_text() if path.exists() else ""
    if f"== {key}\n" not in seen:
        with open(path, "a") as out:
            out.write(f"== {key}\n{kind}\n{call_text}\n\n")
    return True


# ---- the parent's side -----------------------------------------------------

def run_batch(script, batch, tmp_path, cwd=ROOT, env=None):
    """Runs the fuzz file `script` for one batch in a child interpreter and
    fails with the call that crashed or hung it, or with its own failures."""
    last_call = tmp_path / "last-call"
    findings = pathlib.Path(FINDINGS or tmp_path / "none")
    known = findings.read_text() if findings.exists() else ""
    crashes = collections.Counter()
    skipped = []
    started = time.monotonic()
    calls = 0
    while True:
        for suffix in ("", ".hang", ".calls"):
            pathlib.Path(f"{last_call}{suffix}").unlink(missing_ok=True)
        child_env = dict(os.environ, **(env or {}), ZENOLITH_FUZZ_BATCH=f"{batch}/{BATCHES}",
                         ZENOLITH_FUZZ_LAST_CALL=str(last_call), ZENOLITH_FUZZ_SKIP="\n".join(skipped))
        out = subprocess.run(
            [sys.executable, "-m", "pytest", "-q", "-p", "no:cacheprovider", str(script)],
            cwd=cwd, env=child_env, capture_output=True, text=True)
        counted = pathlib.Path(f"{last_call}.calls")
        calls += int(counted.read_text()) if counted.exists() else 0
        target, _, call = (last_call.read_text() if last_call.exists() else "").partition("\n")
        hang = pathlib.Path(f"{last_call}.hang")
        if hang.exists() and hang.stat().st_size:
            problem = f"the call hung for more than {CALL_TIMEOUT:g} s"
        elif out.returncode < 0:
            problem = f"the child died of {signal.Signals(-out.returncode).name}"
        else:
            break
        if not target:
            call = "(before the first call)"
        if target and found(target, problem, call, every_call=True):
            crashes[target] += 1
            if crashes[target] == 3:
                skipped.append(target)  # enough of this one: go on with the rest of the batch
            continue
        pytest.fail(f"{problem} in the call\n  {call}\n{out.stderr[-3000:]}", pytrace=False)
    print(f"batch {batch}/{BATCHES}: {calls} calls in {time.monotonic() - started:.1f} s"
          + (f", crashes: {dict(crashes)}" if crashes else ""))
    assert out.returncode == 0, out.stdout[-6000:] + out.stderr[-2000:]
    if findings.exists() and findings.read_text() != known:
        pytest.fail(f"undocumented outcomes, listed in {FINDINGS}", pytrace=False)


# ---- the pool of core objects -----------------------------------------------

def _attempt(f, allowed, *args):
    try:
        return f(*args)
    except allowed:
        return None


def build_pool(classes, functions, rows, allowed, per_class=10, key=repr, rounds=3):
    """A few instances of every class, made the way users make them: from
    numbers (`rows`), from other instances, and as results of methods.
    Instances of a class count as distinct when `key` tells them apart."""
    pool = {cls: [] for cls in classes}
    seen = set()

    def add(obj):
        # distinct values only, so that groups of instances are not all alike
        if type(obj) in pool and len(pool[type(obj)]) < per_class:
            k = (type(obj), _attempt(key, allowed, obj))
            if k not in seen:
                seen.add(k)
                pool[type(obj)].append(obj)

    for _ in range(rounds):
        samples = [obj for objs in pool.values() for obj in objs[:2]]
        groups = [objs[:n] for objs in pool.values() for n in (3, 4, 6) if len(objs) >= n]
        for cls in classes:
            for row in rows:
                add(_attempt(cls, allowed, *row))
            for group in groups:  # several distinct instances of one class
                add(_attempt(cls, allowed, *group))
            for a in samples:
                add(_attempt(cls, allowed, a))
                add(_attempt(cls, allowed, a, 2.5))
                add(_attempt(cls, allowed, a, 3))
                for b in samples:
                    add(_attempt(cls, allowed, a, b))
                    add(_attempt(cls, allowed, a, b, a))
        for f in functions:
            for a in samples:
                add(_attempt(f, allowed, a, a, a))
        for objs in list(pool.values()):
            for obj in list(objs):
                for name in dir(obj):
                    if not name.startswith("_"):
                        attr = _attempt(getattr, allowed, obj, name)
                        add(_attempt(attr, allowed) if callable(attr) else attr)
    return pool
