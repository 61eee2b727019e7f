"""The interface of zenolith_core as text: every module attribute and every
class attribute in definition order, each with the signatures pybind11
renders for it. tests/core/interface.txt holds the reviewed copy;
`make snapshot` rewrites it from the installed module, so an intended
interface change shows up as one diff of that file."""

import pathlib
import sys

SNAPSHOT = pathlib.Path(__file__).with_name("interface.txt")

# Set by the import system, not by the module body.
_MODULE_HOUSEKEEPING = {"__name__", "__package__", "__loader__", "__spec__", "__file__"}


def _doc_lines(obj):
    """The signature lines (one per overload) and any docstring text."""
    lines = []
    for line in (getattr(obj, "__doc__", None) or "").splitlines():
        line = line.strip()
        if not line or line == "Overloaded function." or line.endswith("(*args, **kwargs)"):
            continue
        lines.append(line)
    return lines


def _entry(name, value):
    kind = type(value).__name__
    if isinstance(value, property):
        return [f"{name}: property"] + _doc_lines(value.fget)
    if isinstance(value, staticmethod):
        return [f"{name}: staticmethod"] + _doc_lines(value.__func__)
    if name.startswith("_pybind11"):  # pybind11's own, its text is pybind11's
        return [f"{name}: {kind}"]
    if callable(value) and not isinstance(value, type):
        return [f"{name}: {kind}"] + _doc_lines(value)
    return [f"{name} = {value!r}"]


def render(module):
    out = []
    for name, value in vars(module).items():
        if name in _MODULE_HOUSEKEEPING:
            continue
        if isinstance(value, type):
            out.append(f"class {name}")
            for attr, member in vars(value).items():
                head, *rest = _entry(attr, member)
                out.append("    " + head)
                out.extend("        " + line for line in rest)
        else:
            head, *rest = _entry(name, value)
            out.append(head)
            out.extend("    " + line for line in rest)
    return "\n".join(out) + "\n"


if __name__ == "__main__":
    import zenolith_core

    SNAPSHOT.write_text(render(zenolith_core), encoding="utf-8")
    print(f"wrote {SNAPSHOT}", file=sys.stderr)
