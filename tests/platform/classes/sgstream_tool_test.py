#!/usr/bin/python3
"""The component-stream tool: text to binary and back reproduces the canonical file byte for
byte, and the object listing names every object with its depth."""
import os
import subprocess
import sys
import tempfile

SOURCE = os.environ["DBI_SOURCE_DIR"]
TOOL = os.path.join(os.environ["DBI_BINARY_DIR"], "tools", "sgstream_tool")
CANONICAL = os.path.join(SOURCE, "tests", "platform", "classes", "data", "every_value.txt")


def run(*args, expect=0):
    result = subprocess.run([TOOL, *args], capture_output=True)
    if result.returncode != expect:
        sys.exit("sgstream_tool %s: exit %d, %s" % (args, result.returncode, result.stderr))
    return result.stdout


def main():
    if not os.path.exists(TOOL):
        sys.exit("sgstream_tool is not built: " + TOOL)
    with tempfile.TemporaryDirectory() as tmp:
        binary = os.path.join(tmp, "every_value.bin")
        run("tobinary", CANONICAL, binary)
        with open(binary, "rb") as f:
            assert f.read(4) == b"TPF0"
        text = run("totext", binary, "-")
        with open(CANONICAL, "rb") as f:
            assert text == f.read(), "text -> binary -> text changed the file"
        again = os.path.join(tmp, "again.bin")
        run("tobinary", os.path.join(tmp, "every_value.bin"), again)
        with open(binary, "rb") as a, open(again, "rb") as b:
            assert a.read() == b.read()
        listing = run("list", CANONICAL).decode().splitlines()
        assert listing[0] == "0 Root: TAnyClass (28 properties)", listing[0]
        assert "1   inherited Child: TChild (1 properties)" in listing
        assert "2     Deep: TDeep (0 properties)" in listing
        bad = os.path.join(tmp, "bad.txt")
        with open(bad, "w") as f:
            f.write("object A: TB\n  V = (\nend\n")
        run("totext", bad, "-", expect=1)
        run("frobnicate", bad, "-", expect=2)


if __name__ == "__main__":
    main()
