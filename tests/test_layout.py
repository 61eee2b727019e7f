"""Who may include whom, read from the `#include "..."` lines of the sources.

The core and the companion stand only on src/shared/; a companion family
uses io/, exact/ and src/shared/, never another family; nothing LGPL reaches
into algorithms/ (GPL), while the algorithm families may use src/shared/ and
the companion's io/. Includes are written from src/ (and, in algorithms/,
from algorithms/src/ for a family's own headers)."""

import pathlib
import re

ROOT = pathlib.Path(__file__).resolve().parent.parent
SRC = ROOT / "src"
ALGORITHMS_SRC = ROOT / "algorithms" / "src"
SUFFIXES = {".cpp", ".cc", ".cxx", ".hpp", ".hh", ".h", ".ipp", ".inl"}
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"', re.M)


def allowed(rel):
    """What a file (path relative to the repository) may include, as path
    prefixes relative to the repository; None where no rule covers it."""
    parts = rel.split("/")
    if parts[0] == "algorithms" and len(parts) > 3:
        return ("src/shared/", "src/companion/io/", f"algorithms/src/{parts[2]}/")
    if parts[0] != "src" or len(parts) < 3:
        return None
    area = parts[1]
    if area == "shared":
        return ("src/shared/",)
    if area == "core":
        return ("src/shared/", "src/core/")
    if area != "companion":
        return None
    if len(parts) == 3:  # module.cpp, registrations.hpp: the whole companion
        return ("src/shared/", "src/companion/")
    family = parts[2]
    if family == "io":  # what every family reads arrays with
        return ("src/shared/", "src/companion/io/")
    # registrations.hpp declares what each family defines
    return ("src/shared/", "src/companion/io/", "src/companion/exact/",
            "src/companion/registrations.hpp", f"src/companion/{family}/")


def sources():
    for top in (SRC, ALGORITHMS_SRC):
        if top.is_dir():
            yield from sorted(p for p in top.rglob("*") if p.suffix in SUFFIXES and p.is_file())


def test_includes_follow_the_layout():
    faults = []
    for path in sources():
        rel = path.relative_to(ROOT).as_posix()
        rule = allowed(rel)
        if rule is None:
            faults.append(f"{rel}: no layout rule covers this file (src/ holds shared/, core/, companion/)")
            continue
        roots = (ALGORITHMS_SRC, SRC) if rel.startswith("algorithms/") else (SRC,)
        for include in INCLUDE.findall(path.read_text(errors="replace")):
            found = next((r / include for r in roots if (r / include).is_file()), None)
            if found is None:
                # the compiler looks beside the including file first
                if not (path.parent / include).is_file():
                    faults.append(f'{rel}: #include "{include}" is not found')
                    continue
                found = path.parent / include
                faults.append(f'{rel}: #include "{include}" is written from its own folder, not from src/')
            resolved = found.resolve()
            target = resolved.relative_to(ROOT).as_posix() if resolved.is_relative_to(ROOT) else str(resolved)
            if not target.startswith(rule):
                faults.append(f'{rel}: #include "{include}" ({target}) is outside {", ".join(rule)}')
    assert not faults, "\n".join(faults)


def test_algorithm_families_do_not_shadow_src():
    # Both algorithms/src/ and src/ are include roots of the families: a
    # family named like a folder of src/ would hide that folder's headers.
    families = {p.name for p in ALGORITHMS_SRC.iterdir() if p.is_dir()} if ALGORITHMS_SRC.is_dir() else set()
    clash = families & {p.name for p in SRC.iterdir() if p.is_dir()}
    assert not clash, f"algorithm families named like folders of src/: {sorted(clash)}"
