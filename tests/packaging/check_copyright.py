#!/usr/bin/env python3
"""Checks the package's machine-readable copyright file against the text database.

Every notice the database keeps from its sources must stand verbatim (blanks at line ends
aside) in the licence text of the copyright file, every source must be named in a Files
paragraph, and the licence names must match their paragraphs one to one.
"""
import re
import sqlite3
import sys


def paragraphs(text):
    """The DEP-5 paragraphs as lists of (field, value) with continuation lines unfolded."""
    result = []
    for block in re.split(r"\n\s*\n", text.strip("\n")):
        fields = []
        for line in block.split("\n"):
            if line.startswith((" ", "\t")):
                if not fields:
                    raise ValueError("continuation line before any field: %r" % line)
                name, value = fields[-1]
                cont = line[1:]
                fields[-1] = (name, value + "\n" + ("" if cont.strip() == "." else cont))
            else:
                name, sep, value = line.partition(":")
                if not sep:
                    raise ValueError("line is neither a field nor a continuation: %r" % line)
                fields.append((name, value.strip()))
        result.append(fields)
    return result


def licence_names(expression):
    return [n.strip() for n in re.split(r"\band\b|\bor\b|,", expression) if n.strip()]


def main(copyright_path, database_path):
    with open(copyright_path, encoding="utf-8") as f:
        paras = paragraphs(f.read())
    errors = []
    header = dict(paras[0])
    if not header.get("Format", "").startswith("https://www.debian.org/doc/packaging-manuals/copyright-format/1.0"):
        errors.append("the first paragraph has no DEP-5 Format field")

    files = [dict(p) for p in paras if dict(p).get("Files")]
    licences = {}
    for p in paras[1:]:
        d = dict(p)
        if "Files" not in d and "License" in d:
            name, _, body = d["License"].partition("\n")
            if name in licences:
                errors.append("licence %s has two paragraphs" % name)
            licences[name] = body
    used = set()
    for p in files:
        if "Copyright" not in p or "License" not in p:
            errors.append("Files %s lacks Copyright or License" % p["Files"])
            continue
        for name in licence_names(p["License"].split("\n")[0]):
            used.add(name)
            if name not in licences:
                errors.append("Files %s names licence %s, which has no paragraph" % (p["Files"], name))
    for name in sorted(set(licences) - used):
        errors.append("licence %s is used by no Files paragraph" % name)

    patterns = " ".join(p["Files"] for p in files).split()
    licence_text = "\n".join("\n".join(l.rstrip() for l in body.split("\n")) for body in licences.values())
    db = sqlite3.connect("file:%s?mode=ro" % database_path, uri=True)
    notices = db.execute("SELECT Source, Notice FROM Notices").fetchall()
    if not notices:
        errors.append("the database holds no notices")
    for source, notice in notices:
        if not any(pattern.endswith("/" + source) or pattern == source for pattern in patterns):
            errors.append("source %s is named in no Files paragraph" % source)
        if source.endswith(".xml") or source.startswith("LICENSE"):
            lines = "\n".join(l.rstrip() for l in notice.replace("\r", "").split("\n")).strip("\n")
            if lines not in licence_text:
                errors.append("the notice of %s is not verbatim in the copyright file" % source)

    for error in errors:
        print("%s: %s" % (copyright_path, error))
    print("%d sources checked, %d licences, %d problems" % (len(notices), len(licences), len(errors)))
    return 1 if errors else 0


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit("usage: check_copyright.py COPYRIGHT DATABASE")
    sys.exit(main(sys.argv[1], sys.argv[2]))
