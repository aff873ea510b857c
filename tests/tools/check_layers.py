#!/usr/bin/env python3
"""Fails when a file of src/ includes a file of a layer above its own, or when a file's place
does not tell its build output: the folder root is the core (the standard library and SQLite only), qt/
the program's Qt side, module/ a module the program loads. Fails too when a file of app/ belongs
lower: it uses nothing of app/ and only one lower folder, where it belongs. And when
common/, which every layer uses, names a feature of a layer above it in its comments or strings:
what it offers is told in its own terms, so that it serves whatever comes to use it."""
import pathlib
import re
import sys

# Lowest first; a folder may include its own layer and those before it.
LAYERS = [["common"], ["flat", "rtf", "exchange", "webview"], ["send", "addressbook"], ["app"]]
LEVEL = {folder: level for level, folders in enumerate(LAYERS) for folder in folders}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([a-z_]+)/(?:(qt|module)/)?[^"]+"', re.M)
# What each place may include besides the standard library and the places below it.
PLACES = {None: {None}, "qt": {None, "qt"}, "module": {None, "qt", "module"}}

# The features of the layers above common/, as its prose or the user's words would name them:
# the pages and networks (Eurotel, Oskar), the ways to send (the gateway, the modem), the sent
# messages, plans and the outbox, templates, the address book, its contacts and groups, speed
# dials; in English and in Czech. A name in `backticks` or after :: is code's.
FEATURE = re.compile(
    r"(?<![\w`:])("
    r"eurotel|oskar\w*|gateway\w*|modem\w*|sent messages?|outbox|templates?|"
    r"address book|contacts?|contact groups?|speed dials?|"
    r"brán(?:a|y|ě|u|ou)|odeslan\w*|naplánovan\w*|šablon\w*|skupin\w*|kontakt\w*|"
    r"adresář\w*|rychl\w* volb\w*"
    r")(?![\w`])",
    re.I,
)
# A comment, or a string (raw or not), of C++.
TEXT = re.compile(r'//[^\n]*|/\*.*?\*/|R"([^(]*)\((.*?)\)\1"|"(?:\\.|[^"\\\n])*"', re.S)


def feature_words(text):
    """The feature names in the comments and strings of `text`, an include's path aside."""
    found = []
    for match in TEXT.finditer(text):
        line_start = text.rfind("\n", 0, match.start()) + 1
        if re.match(r"\s*#\s*include", text[line_start : match.start()]):
            continue
        # An escape (\n) is no letter of the word after it.
        body = re.sub(r"\\[ntr]", " ", match.group(0))
        found += [word.group(0) for word in FEATURE.finditer(body)]
    return found


def folders_used(path):
    """The folders a file includes, with those of its header or source beside it."""
    used = set()
    for twin in {path, *path.parent.glob(path.stem + ".[ch]*")}:
        used |= {folder for folder, _ in INCLUDE.findall(twin.read_text(errors="replace"))}
    return used & set(LEVEL)


def belongs_lower(path):
    """The one lower folder a file of app/ uses, where it belongs; None where it uses app/, two
    folders or more (what joins them is app/'s), or none at all (which tells nothing of its
    place)."""
    used = folders_used(path)
    return next(iter(used)) if len(used) == 1 and "app" not in used else None


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
        if folder == "app":
            lower = belongs_lower(path)
            if lower:
                faults.append(f"{relative}: uses nothing of app/: it belongs in {lower}/")
        if folder == "common":
            for word in sorted(set(feature_words(text)), key=str.lower):
                faults.append(f"{relative}: names {word!r}, a feature of a layer above")
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
