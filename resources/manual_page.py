#!/usr/bin/env python3
"""Writes the manual page: its frame (sms-movarek.1) with the user's guide (docs/user-guide.md)
where the frame's line `.\\" The user's guide` stands, each of its sections one of the page's, so
that the guide is written once. Knows what the guide is written with: sections, paragraphs,
lists nested by two spaces, blocks of code, **bold** and `code`.

usage: manual_page.py FRAME GUIDE OUTPUT"""
import re
import sys

PLACE = ".\\\" The user's guide"
ITEM = re.compile(r"^( *)- (.*)$")


def inline(text):
    """Text in the page's terms: backslashes escaped, bold and code set in bold, a code's
    hyphens as minus signs (an option is typed so)."""
    text = text.replace("\\", "\\e")
    text = re.sub(r"`([^`]*)`", lambda code: "\\fB" + code.group(1).replace("-", "\\-") + "\\fR",
                  text)
    return re.sub(r"\*\*(.*?)\*\*", r"\\fB\1\\fR", text)


def line(text):
    """A line of text that troff takes as text, never as a request."""
    return "\\&" + text if text[:1] in (".", "'") else text


def blocks(guide):
    """The guide's blocks after its title: (kind, depth, text) with kind "section", "paragraph",
    "item" or "code"."""
    lines = guide.split("\n")
    at = 0
    while at < len(lines):
        text = lines[at]
        at += 1
        if text.startswith("# ") or not text.strip():
            continue
        if text.startswith("```"):
            code = []
            while not lines[at].startswith("```"):
                code.append(lines[at])
                at += 1
            at += 1
            yield "code", 0, "\n".join(code)
            continue
        if text.startswith("## "):
            yield "section", 0, text[3:]
            continue
        item = ITEM.match(text)
        words = [item.group(2) if item else text.strip()]
        while at < len(lines) and lines[at].strip() and not ITEM.match(lines[at]) \
                and not lines[at].startswith(("#", "```")):
            words.append(lines[at].strip())
            at += 1
        if item:
            yield "item", len(item.group(1)) // 2, " ".join(words)
        else:
            yield "paragraph", 0, " ".join(words)


def manual(guide):
    out = []
    depth = 0
    for kind, level, text in blocks(guide):
        wanted = level + 1 if kind == "item" else 0
        while depth > max(wanted - 1, 0):
            out.append(".RE")
            depth -= 1
        while depth < wanted - 1:
            out.append(".RS 2")
            depth += 1
        if kind == "section":
            out.append(".SH " + text.upper())
        elif kind == "code":
            out += [".PP", ".nf"] + [line(inline(code)) for code in text.split("\n")] + [".fi"]
        elif kind == "item":
            out += [".IP \\(bu 2", line(inline(text))]
        else:
            out += [".PP", line(inline(text))]
    out += [".RE"] * depth
    return "\n".join(out)


def main(frame_path, guide_path, output_path):
    with open(frame_path, encoding="utf-8") as frame, open(guide_path, encoding="utf-8") as guide:
        frame_text, guide_text = frame.read(), guide.read()
    if PLACE not in frame_text:
        sys.exit(f"{frame_path}: no line {PLACE!r}")
    with open(output_path, "w", encoding="utf-8") as output:
        output.write(frame_text.replace(PLACE, manual(guide_text)))


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    main(*sys.argv[1:])
