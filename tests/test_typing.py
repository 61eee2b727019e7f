"""Types checked, not hoped: the stubs against the runtime module, the
project's typed code against the stubs, and signatures that name Python
classes only."""

import ast
import pathlib
import re
import subprocess
import sys

import zenolith_core

ROOT = pathlib.Path(__file__).resolve().parent.parent
STUBS = ROOT / "python" / "zenolith_core-stubs" / "__init__.pyi"


def _mypy(*args):
    done = subprocess.run([sys.executable, "-m", *args], cwd=ROOT, capture_output=True, text=True)
    return done.returncode, done.stdout + done.stderr


def _documented(module):
    """Every object of the module that carries a docstring, with its name."""
    yield "zenolith_core", module
    for name, value in vars(module).items():
        yield name, value
        if isinstance(value, type):
            for attr, member in vars(value).items():
                member = getattr(member, "fget", None) or getattr(member, "__func__", member)
                yield f"{name}.{attr}", member


def test_signatures_name_python_classes_only():
    leaks = [name for name, obj in _documented(zenolith_core) if "::" in (getattr(obj, "__doc__", None) or "")]
    assert leaks == []


def test_stubs_match_the_runtime_module():
    code, out = _mypy("mypy.stubtest", "zenolith_core", "--allowlist", "tests/stubtest-allowlist.txt")
    assert code == 0, out


def test_typed_code_passes_strict_checking():
    # tests/typed_usage.py holds lines that must be rejected; strict mode's
    # unused-ignore warning fails the run if one of them type-checks.
    code, out = _mypy("mypy", "--strict", "python/zenolith", "examples", "tests/typed_usage.py")
    assert code == 0, out


# pybind11 functions carry no introspectable signature, so stubtest checks
# names but not overloads or parameters; read both from their texts here.
def _runtime_overloads(doc):
    """Per overload: the parameters after self as (name, has_default)."""
    result = []
    for line in (doc or "").splitlines():
        match = re.match(r"(?:\d+\. )?\w+\((.*)\) -> ", line.strip())
        if match:
            params = [p for p in re.split(r", (?=\w+: )", match.group(1)) if p]
            result.append([(p.split(":")[0], " = " in p) for p in params if not p.startswith("self:")])
    return result


def _stub_overloads(defs):
    result = []
    for node in defs:
        a = node.args
        named = [(x.arg, False) for x in a.posonlyargs] + [(x.arg, True) for x in a.args]
        defaults = [False] * (len(named) - len(a.defaults)) + [True] * len(a.defaults)
        result.append([(name if keyword else "arg", has) for (name, keyword), has in zip(named, defaults)
                       if name != "self"])
    return result


def _normalised(runtime):
    return [[("arg" if re.fullmatch(r"arg\d+", n) else n, d) for n, d in o] for o in runtime]


def test_stub_overloads_and_parameters_follow_the_runtime():
    tree = ast.parse(STUBS.read_text(encoding="utf-8"))
    scopes = {"": (zenolith_core, tree.body)}
    scopes.update({node.name: (getattr(zenolith_core, node.name), node.body)
                   for node in tree.body if isinstance(node, ast.ClassDef) and not node.name.startswith("_")})
    mismatches = []
    for scope, (runtime, body) in scopes.items():
        defs = {}
        for node in body:
            if isinstance(node, ast.FunctionDef) and not any(
                    isinstance(d, ast.Name) and d.id == "property" for d in node.decorator_list):
                defs.setdefault(node.name, []).append(node)
        for name, nodes in defs.items():
            expected = _normalised(_runtime_overloads(getattr(runtime, name).__doc__))
            if _stub_overloads(nodes) != expected:
                mismatches.append(f"{scope}.{name}")
    assert mismatches == []
