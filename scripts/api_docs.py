"""Write docs/api.md from the stubs of zenolith_core: every class with its
constructors, properties and methods, each with its one-line description.
Run through `make docs` after editing the stubs."""

import ast
import pathlib

ROOT = pathlib.Path(__file__).resolve().parent.parent
STUBS = ROOT / "python" / "zenolith_core-stubs" / "__init__.pyi"
OUT = ROOT / "docs" / "api.md"


def signature(node, shown_name):
    """The call as a user writes it: no self, no positional-only marker."""
    text = ast.unparse(node.args)
    text = text.removeprefix("self, ").removeprefix("self")
    text = text.removesuffix(", /").removesuffix("/")
    tail = "" if node.name == "__init__" else f" -> {ast.unparse(node.returns)}"
    return f"`{shown_name}({text}){tail}`"


def kind(node):
    decorators = {ast.unparse(d) for d in node.decorator_list}
    if "property" in decorators:
        return "Properties"
    if node.name == "__init__":
        return "Constructors"
    if "staticmethod" in decorators:
        return "Static methods"
    if node.name.startswith("__"):
        return "Operators and protocols"
    return "Methods"


def class_section(cls):
    lines = [f"## {cls.name}", "", ast.get_docstring(cls) or "", ""]
    groups = {}
    for node in cls.body:
        if isinstance(node, ast.FunctionDef):
            groups.setdefault(kind(node), []).append(node)
    for title in ("Constructors", "Static methods", "Properties", "Methods", "Operators and protocols"):
        if title not in groups:
            continue
        lines += [f"**{title}**", "", "| call | what it does |", "|---|---|"]
        for node in groups[title]:
            shown = cls.name if node.name == "__init__" else node.name
            call = f"`{node.name}: {ast.unparse(node.returns)}`" if title == "Properties" else signature(node, shown)
            lines.append(f"| {call} | {ast.get_docstring(node) or ''} |")
        lines.append("")
    return lines


def main():
    tree = ast.parse(STUBS.read_text(encoding="utf-8"))
    functions = [n for n in tree.body if isinstance(n, ast.FunctionDef)]
    classes = [n for n in tree.body if isinstance(n, ast.ClassDef) and not n.name.startswith("_")]
    lines = ["# zenolith_core API reference", "",
             "Generated from the type stubs by `make docs`; do not edit by hand.", "",
             ast.get_docstring(tree) or "", "", "## Module functions", "", "| call | what it does |", "|---|---|"]
    lines += [f"| {signature(n, n.name)} | {ast.get_docstring(n)} |" for n in functions]
    lines += ["", "## Classes", ""]
    lines += [f"- [{c.name}](#{c.name.lower()}): {ast.get_docstring(c)}" for c in classes]
    lines.append("")
    for cls in classes:
        lines += class_section(cls)
    OUT.write_text("\n".join(lines).rstrip() + "\n", encoding="utf-8")


if __name__ == "__main__":
    main()
