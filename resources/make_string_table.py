#!/usr/bin/env python3
"""Turns a resource module's string files into its exported string table.

Each file holds one text per line, "id<TAB>text", ids in ascending order;
empty lines and lines starting with "#" are skipped. In the text, \\n is a
line end, \\t a tab and \\\\ a backslash. Any fault (an id out of order or
twice, a malformed line, a bad escape, text that is not UTF-8) stops the
build with the file and line named. Several files (one per command family)
are merged; an id given in two files is refused with both places named.
"""
import sys

ESCAPES = {"n": "\n", "t": "\t", "\\": "\\"}


class StringFileError(Exception):
    pass


def unescape(text, where):
    out, i = [], 0
    while i < len(text):
        ch = text[i]
        if ch != "\\":
            out.append(ch)
            i += 1
            continue
        if i + 1 >= len(text) or text[i + 1] not in ESCAPES:
            raise StringFileError(f"{where}: unknown escape at column {i + 1}")
        out.append(ESCAPES[text[i + 1]])
        i += 2
    return "".join(out)


def read_strings(path):
    entries = []
    with open(path, "rb") as f:
        raw_lines = f.read().split(b"\n")
    for number, raw in enumerate(raw_lines, start=1):
        where = f"{path}:{number}"
        try:
            line = raw.decode("utf-8").rstrip("\r")
        except UnicodeDecodeError as e:
            raise StringFileError(f"{where}: not UTF-8 ({e.reason})")
        if not line or line.startswith("#"):
            continue
        id_text, tab, text = line.partition("\t")
        if not tab or not id_text.isdigit():
            raise StringFileError(f"{where}: expected an id, a tab and the text")
        ident = int(id_text)
        if ident == 0 or ident > 0xFFFFFFFF:
            raise StringFileError(f"{where}: id {id_text} out of range 1..4294967295")
        if entries and ident <= entries[-1][0]:
            raise StringFileError(f"{where}: id {ident} is not greater than {entries[-1][0]}")
        entries.append((ident, unescape(text, where)))
    return entries


def c_literal(text):
    out = []
    for byte in text.encode("utf-8"):
        ch = chr(byte)
        if ch == "\\" or ch == '"':
            out.append("\\" + ch)
        elif 32 <= byte < 127 and ch != "?":
            out.append(ch)
        else:
            out.append(f"\\{byte:03o}")
    return '"' + "".join(out) + '"'


def write_table(entries, path):
    lines = [
        "// Generated from the resource module's string file; do not edit.",
        "#include <tarnsdk/tcplatform.h>",
        "",
        'extern "C" {',
        "__attribute__((visibility(\"default\"))) extern const tcpl_resource_entry tcpl_string_table[];",
        "const tcpl_resource_entry tcpl_string_table[] = {",
    ]
    lines += [f"    {{{ident}u, {c_literal(text)}}}," for ident, text in entries]
    lines += ["    {0u, nullptr},", "};", "}", ""]
    with open(path, "w", encoding="ascii") as f:
        f.write("\n".join(lines))


def merge(files):
    """The entries of every file, sorted by id; an id twice is a fault."""
    seen, merged = {}, []
    for path in files:
        for ident, text in read_strings(path):
            if ident in seen:
                raise StringFileError(f"{path}: id {ident} is also given in {seen[ident]}")
            seen[ident] = path
            merged.append((ident, text))
    merged.sort()
    return merged


def main():
    if len(sys.argv) < 3:
        print("usage: make_string_table.py strings.txt [more.txt ...] out.cpp", file=sys.stderr)
        return 2
    try:
        entries = merge(sys.argv[1:-1])
    except (StringFileError, OSError) as e:
        print(f"error: {e}", file=sys.stderr)
        return 1
    write_table(entries, sys.argv[-1])
    return 0


if __name__ == "__main__":
    sys.exit(main())
