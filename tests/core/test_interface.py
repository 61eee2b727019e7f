"""The live module against the reviewed interface snapshot."""

import zenolith_core
from interface_snapshot import SNAPSHOT, render


def test_interface_matches_the_snapshot():
    # On a failure, inspect the change with `make snapshot && git diff`.
    assert render(zenolith_core) == SNAPSHOT.read_text(encoding="utf-8")
