"""Independent reader of PE version resources, for the file-version tests.

Prints one line per file given: name, fixed file version (MS and LS words in hex, or "-"),
the translation table ("lang:codepage" in hex, comma separated, or "-") and the "FileVersion"
text found through the first translation, as hexadecimal UTF-8 ("-" when there is none).
It uses python3-pefile only, never the code under test.
"""
import os
import struct
import sys

import pefile

KEY = "Translation".encode("utf-16-le") + b"\0\0"


def raw_translations(pe):
    """pefile keeps only the last pair of a translation table, so the table is read from the raw
    version block that pefile locates: the node whose key is "Translation"."""
    resources = pe.DIRECTORY_ENTRY_RESOURCE.entries if hasattr(pe, "DIRECTORY_ENTRY_RESOURCE") else []
    for kind in resources:
        if kind.id != 16:
            continue
        data = kind.directory.entries[0].directory.entries[0].data.struct
        block = pe.get_data(data.OffsetToData, data.Size)
        at = block.find(KEY)
        if at < 6:
            return []
        length, value_length, _ = struct.unpack_from("<HHH", block, at - 6)
        value = (at + len(KEY) + 3) & ~3
        pairs = []
        for offset in range(value, min(value + value_length, at - 6 + length) - 3, 4):
            pairs.append(struct.unpack_from("<HH", block, offset))
        return pairs
    return []


def describe(path):
    name = os.path.basename(path)
    try:
        pe = pefile.PE(path)
    except pefile.PEFormatError:
        return f"{name} - - -"
    fixed = "-"
    if hasattr(pe, "VS_FIXEDFILEINFO") and pe.VS_FIXEDFILEINFO:
        info = pe.VS_FIXEDFILEINFO[0]
        fixed = f"{info.FileVersionMS:08x}.{info.FileVersionLS:08x}"
    translations = raw_translations(pe)
    tables = {}
    for group in getattr(pe, "FileInfo", None) or []:
        for item in group:
            for var in getattr(item, "Var", []):
                # pefile's own reading must agree with the last pair of the raw table.
                words = var.entry.get(b"Translation", "").split()
                assert len(words) == 2 and translations[-1] == (int(words[0], 16), int(words[1], 16))
            for table in getattr(item, "StringTable", []):
                key = table.LangID.decode().lower()
                tables.setdefault(key, {k.decode().lower(): v for k, v in table.entries.items()})
    version = "-"
    if translations:
        lang, codepage = translations[0]
        value = tables.get(f"{lang:04x}{codepage:04x}", {}).get("fileversion")
        if value is not None:
            version = value.hex() if value else "empty"
    table_text = ",".join(f"{lang:04x}:{cp:04x}" for lang, cp in translations) or "-"
    return f"{name} {fixed} {table_text} {version}"


if __name__ == "__main__":
    for path in sys.argv[1:]:
        print(describe(path))
