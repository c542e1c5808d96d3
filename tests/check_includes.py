#!/usr/bin/env python3
"""The include rule of the library's layers, the tool's folders and the Python module
(docs/layout.md).

Every quoted include of a source file names a folder; the folder of the including file may
include only the folders listed for it here. Prints each include that breaks the rule and exits 1
when there is one.
"""
import pathlib
import re
import sys

# What each folder may include, besides itself. "morvit" is the public headers.
LIBRARY = {
    "platform": {"morvit"},
    "support": {"platform", "morvit"},
    "util": {"support", "platform", "morvit"},
    "io": {"support", "platform", "morvit"},
    "files": {"io", "util", "support", "platform", "morvit"},
    "domains": {"files", "io", "util", "support", "platform", "morvit"},
    "dump": {"domains", "files", "io", "util", "support", "platform", "morvit"},
    "backtranslate": {"domains", "files", "io", "util", "support", "platform", "morvit"},
    "interface": {"dump", "backtranslate", "domains", "files", "io", "util", "support",
                  "platform", "morvit"},
}
# The tool sees the public headers only; its folders build on cli, and the folders that show a
# data set's domains (listing, view, record) build on dataset.
TOOL = {
    "cli": {"morvit"},
    "dataset": {"cli", "morvit"},
    "job": {"cli", "morvit"},
    "listing": {"dataset", "cli", "morvit"},
    "record": {"dataset", "cli", "morvit"},
    "view": {"listing", "dataset", "cli", "morvit"},
    "": {"cli", "morvit"},  # main.cpp
}
# The Python module's core builds on the public headers and on the tool's folders that do not
# print or show (it raises and returns instead).
PYTHON = {
    "module": {"job", "listing", "record", "dataset", "cli", "morvit"},
}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def folder_of(include):
    return include.split("/", 1)[0] if "/" in include else None


def check(root, rules, top):
    faults = []
    for path in sorted(root.rglob("*")):
        if path.suffix not in (".h", ".cpp", ".in") or not path.is_file():
            continue
        relative = path.relative_to(root)
        # A backend folder (platform/posix) belongs to its layer.
        own = relative.parts[0] if len(relative.parts) > 1 else ""
        if own not in rules:
            faults.append(f"{path}: folder {own or '.'} is not in the include rule")
            continue
        for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            target = folder_of(match.group(1))
            if target is None:
                faults.append(f"{path}:{number}: \"{match.group(1)}\" names no folder")
            elif target != own and target not in rules[own]:
                faults.append(f"{path}:{number}: {top}{own or '.'} may not include {target}/ "
                              f"(\"{match.group(1)}\")")
    return faults


def main():
    source = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parents[1])
    faults = check(source / "src", LIBRARY, "src/") + check(source / "tools" / "morvit", TOOL,
                                                               "tools/morvit/")
    faults += check(source / "python", PYTHON, "python/")
    for fault in faults:
        print(fault)
    print(f"include rule: {len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
