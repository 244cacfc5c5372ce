#!/usr/bin/python3
"""The committed translation table is what tools/make_translations.py builds from its sources,
and those sources pass the generator's checks (every text in every language, same placeholders)."""
import os
import pathlib
import subprocess
import sys

source = pathlib.Path(os.environ.get("DBI_SOURCE_DIR", pathlib.Path(__file__).resolve().parents[3]))
result = subprocess.run([sys.executable, str(source / "tools/make_translations.py"), "--check"],
                        capture_output=True, text=True)
if result.returncode != 0:
    print(result.stderr, file=sys.stderr)
    sys.exit(1)
