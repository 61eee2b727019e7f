import pathlib
import sys

import zenolith_core

ROOT = pathlib.Path(__file__).resolve().parent.parent


def pytest_report_header(config):
    return f"zenolith_core from {zenolith_core.__file__}"


# The suite must exercise the installed module, never a stray build artefact
# that happens to sit on sys.path.
_file = pathlib.Path(zenolith_core.__file__).resolve()
if ROOT in _file.parents and pathlib.Path(sys.prefix).resolve() not in _file.parents:
    raise RuntimeError(f"tests would import a build artefact: {_file}")
