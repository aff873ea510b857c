#!/usr/bin/env python3
"""Fails when a file of src/ includes a file of a layer above its own, or when a file's place
does not tell its build output: the folder root is the core (the standard library and SQLite only), qt/
the program's Qt side, module/ a module the program loads."""
import pathlib
import re
import sys

# Lowest first; a folder may include its own layer and those before it.
LAYERS = [["common"], ["flat", "rtf", "exchange", "webview"], ["send", "addressbook"], ["app"]]
LEVEL = {folder: level for level, folders in enumerate(LAYERS) for folder in folders}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([a-z_]+)/(?:(qt|module)/)?[^"]+"', re.M)
# What each place may include besides the standard library and the places below it.
PLACES = {None: {None}, "qt": {None, "qt"}, "module": {None, "qt", "module"}}


def place(path):
    parts = path.parts
    return parts[2] if len(parts) > 3 and parts[2] in ("qt", "module") else None


def main(root):
    faults = []
    for path in sorted(pathlib.Path(root, "src").rglob("*.[ch]*")):
        relative = path.relative_to(root)
        folder = relative.parts[1]
        if folder not in LEVEL:
            faults.append(f"{relative}: {folder}/ is in no layer")
            continue
        text = path.read_text(errors="replace")
        if place(relative) is None and re.search(r"#\s*include\s+<Q", text):
            faults.append(f"{relative}: a core file includes Qt")
        for included, included_place in INCLUDE.findall(text):
            if included not in LEVEL:
                continue
            if LEVEL[included] > LEVEL[folder] or (
                LEVEL[included] == LEVEL[folder] and included != folder
            ):
                faults.append(f"{relative}: includes {included}/, a layer above or beside")
            if (included_place or None) not in PLACES[place(relative)]:
                faults.append(f"{relative}: includes {included}/{included_place}/")
    print("\n".join(faults) or "the layers run one way")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else "."))
