#!/usr/bin/python3
"""Reads the installer's two shared-memory progress blocks, as any other process may.

    read_progress_blocks.py [--update NAME] [--install NAME] [--json]

"CAD_UpdateProgress" (4096 bytes): the percent as one unsigned byte at offset 0, then the
status text in a zero-filled 1024-byte field at offset 1. "CAD_DbInstall" (1024 bytes): the
step's total at offset 0 and the done count at offset 256, each decimal text in a zero-filled
256-byte field. The blocks live in /dev/shm under their names; this reader opens them read-only
and never creates one. Prints "percent=.. total=.. done=.. status=.." (or JSON); exit code 1
when a block is missing or too small.
"""
import argparse
import json
import os
import re
import sys

SHM = "/dev/shm"


def field_text(data, offset, length):
    raw = data[offset:offset + length]
    end = raw.find(b"\0")
    return raw[:end if end >= 0 else len(raw)]


def read_block(name, size):
    path = os.path.join(SHM, name)
    with open(path, "rb") as block:
        data = block.read(size)
    if len(data) < size:
        raise ValueError(f"{path} holds {len(data)} bytes, expected {size}")
    return data


def count(text):
    """An optional minus and decimal digits; anything else counts as 0."""
    return int(text) if re.fullmatch(rb"-?[0-9]+", text) else 0


def read_progress(update_name="CAD_UpdateProgress", install_name="CAD_DbInstall"):
    update = read_block(update_name, 4096)
    install = read_block(install_name, 1024)
    return {
        "percent": update[0],
        "status": field_text(update, 1, 1024).decode("utf-8", errors="replace"),
        "total": count(field_text(install, 0, 256)),
        "done": count(field_text(install, 256, 256)),
    }


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--update", default="CAD_UpdateProgress")
    parser.add_argument("--install", default="CAD_DbInstall")
    parser.add_argument("--json", action="store_true")
    args = parser.parse_args()
    try:
        progress = read_progress(args.update, args.install)
    except (OSError, ValueError) as error:
        print(f"read_progress_blocks: {error}", file=sys.stderr)
        return 1
    if args.json:
        print(json.dumps(progress, ensure_ascii=False))
    else:
        print("percent={percent} total={total} done={done} status={status}".format(**progress))
    return 0


if __name__ == "__main__":
    sys.exit(main())
