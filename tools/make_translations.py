#!/usr/bin/python3
"""Builds the interface text table resources/TxtTransl.txt from tools/translations/LANG*.txt.

Each source file holds one language as lines "number=text" (UTF-8, no byte-order mark). The
resource is one UTF-8 file with a byte-order mark and CR LF line ends, one "[LANGn]" section per
language in the order the installer's language codes are listed, each holding texts 0 to 302.

Before writing, every language is checked against the English one: the same numbers, the same
printf placeholders in the same order, the same literal "\\n" line-break markers, no line break
or stray carriage return inside a text. A failed check writes nothing and exits with status 1.

Usage: make_translations.py [--check] [output]
  --check   compare the freshly built table with the committed resource instead of writing it.
"""
import pathlib
import re
import sys

HERE = pathlib.Path(__file__).resolve().parent
SOURCES = HERE / "translations"
DEFAULT_OUTPUT = HERE.parent / "resources" / "TxtTransl.txt"

# Section codes in resource order, with the language each one carries.
SECTIONS = [
    ("LANG0", "Polish"),
    ("LANG1", "English"),
    ("LANG2", "Czech"),
    ("LANG3", "German"),
    ("LANG5", "Russian"),
    ("LANG7", "Hungarian"),
    ("LANG8", "Italian"),
    ("LANG9", "Spanish"),
    ("LANG11", "French"),
    ("LANG12", "Bulgarian"),
    ("LANG14", "Slovak"),
]
REFERENCE = "LANG1"
TEXT_COUNT = 303
# The one text that only the Polish section fills (a note for its own market).
POLISH_ONLY = {54}

PLACEHOLDER = re.compile(r"%(?:%|[-+ #0]*\d*(?:\.\d+)?[sdxXuf])")


def read_language(code):
    path = SOURCES / f"{code}.txt"
    texts = {}
    for line_no, raw in enumerate(path.read_text(encoding="utf-8").split("\n"), 1):
        if raw == "":
            continue
        if "\r" in raw:
            raise ValueError(f"{path.name}:{line_no}: carriage return inside a line")
        number, sep, text = raw.partition("=")
        if not sep or not number.isdigit():
            raise ValueError(f"{path.name}:{line_no}: not a 'number=text' line")
        n = int(number)
        if n in texts:
            raise ValueError(f"{path.name}:{line_no}: text {n} given twice")
        texts[n] = text
    return texts


def check(languages):
    problems = []
    ref = languages[REFERENCE]
    for code, texts in languages.items():
        missing = sorted(set(range(TEXT_COUNT)) - set(texts))
        extra = sorted(set(texts) - set(range(TEXT_COUNT)))
        if missing or extra:
            problems.append(f"{code}: missing {missing}, unexpected {extra}")
            continue
        for n in range(TEXT_COUNT):
            text = texts[n]
            if n in POLISH_ONLY:
                if (code == "LANG0") == (text == ""):
                    problems.append(f"{code} {n}: only the Polish section fills this text")
                continue
            if text.strip() == "":
                problems.append(f"{code} {n}: empty text")
            if PLACEHOLDER.findall(text) != PLACEHOLDER.findall(ref[n]):
                problems.append(f"{code} {n}: placeholders {PLACEHOLDER.findall(text)} "
                                f"differ from {PLACEHOLDER.findall(ref[n])}")
            if text.count("\\n") != ref[n].count("\\n"):
                problems.append(f"{code} {n}: line-break markers differ from English")
            if text.startswith("["):
                problems.append(f"{code} {n}: a text may not start with '['")
    return problems


def build(languages):
    lines = []
    for code, _ in SECTIONS:
        lines.append(f"[{code}]")
        texts = languages[code]
        lines.extend(f"{n}={texts[n]}" for n in range(TEXT_COUNT))
    return ("\ufeff" + "\r\n".join(lines) + "\r\n").encode("utf-8")


def main(argv):
    args = [a for a in argv if a != "--check"]
    output = pathlib.Path(args[0]) if args else DEFAULT_OUTPUT
    try:
        languages = {code: read_language(code) for code, _ in SECTIONS}
    except (OSError, ValueError) as error:
        print(error, file=sys.stderr)
        return 1
    problems = check(languages)
    if problems:
        print("\n".join(problems), file=sys.stderr)
        return 1
    data = build(languages)
    if "--check" in argv:
        if output.read_bytes() != data:
            print(f"{output} is out of date; run {pathlib.Path(__file__).name}", file=sys.stderr)
            return 1
        return 0
    output.write_bytes(data)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
