"""A model of how a memo cuts its text into display lines, written from the rules alone: the
text is cut at every line break (CR LF, a lone CR, a lone LF); a paragraph wider than the
viewport is cut again before the first token that no longer fits, where a token is a run of
characters other than blank, comma and hyphen together with the run of those that follows it,
and a token never shares a line it does not fit on. Every character is `advance` wide.

Reads cases from the file named first (per case a line "W <width> <advance> <wrap>" and a line
"T" followed by the UTF-16 code units of the text), writes per case one line of the 1-based
starts of the display lines to the file named second."""
import sys

SEPARATORS = " ,-"


def paragraphs(text):
    """(start, text) of every paragraph, with the 0-based start of the next one."""
    out = []
    start = 0
    i = 0
    while i < len(text):
        c = text[i]
        if c in "\r\n":
            end = i
            i += 2 if text[i:i + 2] == "\r\n" else 1
            out.append((start, text[start:end]))
            start = i
        else:
            i += 1
    out.append((start, text[start:]))
    return out


def tokens(paragraph):
    i = 0
    while i < len(paragraph):
        j = i
        while j < len(paragraph) and paragraph[j] not in SEPARATORS:
            j += 1
        while j < len(paragraph) and paragraph[j] in SEPARATORS:
            j += 1
        yield i, j
        i = j


def starts(text, width, advance, wrap):
    if not text:
        return []
    result = []
    for start, paragraph in paragraphs(text):
        result.append(start + 1)
        if not wrap or len(paragraph) * advance <= width:
            continue
        line = 0
        for s, r in tokens(paragraph):
            if s > line and (r - line) * advance > width:
                line = s
                result.append(start + s + 1)
    return result


def main():
    lines = open(sys.argv[1], encoding="ascii").read().splitlines()
    out = []
    for head, body in zip(lines[0::2], lines[1::2]):
        _, width, advance, wrap = head.split()
        text = "".join(chr(int(code)) for code in body.split()[1:])
        out.append(" ".join(str(s) for s in starts(text, float(width), float(advance),
                                                    wrap == "1")))
    with open(sys.argv[2], "w", encoding="ascii") as f:
        f.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
