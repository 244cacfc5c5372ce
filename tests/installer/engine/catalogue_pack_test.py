#!/usr/bin/python3
"""The sample catalogue as resources/catalogue/pack_catalogue.sh packs it, checked with the 7z
command: every pair named in the manifest, INIs in UTF-16LE with a mark whose TARGETSIZE is the
unpacked size of the archive, archives that open only with the installer's password."""
import configparser
import os
import subprocess
import sys
import tempfile
import unittest

SOURCE = os.environ.get("DBI_SOURCE_DIR", os.path.join(os.path.dirname(__file__), "../../.."))
PACK = os.path.join(SOURCE, "resources/catalogue/pack_catalogue.sh")
PASSWORD = "kura_pomorska_zielona"


def listing(archive, password):
    """Items of an archive as (path, size, is_folder), or None when it cannot be listed."""
    run = subprocess.run(["7z", "l", "-slt", "-p" + password, archive],
                         capture_output=True, text=True)
    if run.returncode != 0:
        return None
    items, item = [], {}
    for line in run.stdout.split("----------", 1)[-1].splitlines():
        if not line.strip():
            if "Path" in item:
                items.append((item["Path"], int(item.get("Size") or 0), "D" in item.get("Attributes", "")))
            item = {}
        elif " = " in line:
            key, value = line.split(" = ", 1)
            item[key] = value
    return items


class CataloguePackTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.TemporaryDirectory()
        subprocess.run(["bash", PACK, cls.folder.name], check=True, capture_output=True)
        with open(os.path.join(cls.folder.name, "catalogue.manifest"), encoding="utf-8") as f:
            cls.manifest = [line.split(None, 2) for line in f.read().splitlines()
                            if line and not line.startswith("#")]

    @classmethod
    def tearDownClass(cls):
        cls.folder.cleanup()

    def resource(self, name):
        for entry in self.manifest:
            if entry[0] == name:
                return entry[2]
        self.fail(f"{name} is not in the manifest")

    def test_manifest_names_pairs_from_one_licences_and_libraries(self):
        names = [entry[0] for entry in self.manifest]
        self.assertEqual(names[:6], ["DB01INI", "DB01FULL", "DB02INI", "DB02FULL", "DB03INI", "DB03FULL"])
        for name in ("LICPL", "LICEN", "LICRU", "LICHU", "LIB7Z", "LIBB1"):
            self.assertIn(name, names)
        for name, kind, path in self.manifest:
            self.assertEqual(kind, "RCDATA")
            self.assertTrue(os.path.isfile(path), path)

    def test_ini_is_utf16_with_the_unpacked_size(self):
        for n in (1, 2, 3):
            with open(self.resource(f"DB{n:02d}INI"), "rb") as f:
                raw = f.read()
            self.assertEqual(raw[:2], b"\xff\xfe")
            ini = configparser.ConfigParser()
            ini.read_string(raw[2:].decode("utf-16-le"))
            items = listing(self.resource(f"DB{n:02d}FULL"), PASSWORD)
            self.assertIsNotNone(items)
            unpacked = sum(size for _, size, folder in items if not folder)
            self.assertEqual(int(ini["INSTALL"]["TARGETSIZE"]), unpacked)
            self.assertIn(ini["INSTALL"]["TYPE"], ("TILES", "INTERIOR", "WALLS"))
            # The database's own INI travels at the archive's root.
            roots = [path for path, _, folder in items if "/" not in path and path.endswith(".ini")]
            self.assertEqual(len(roots), 1)

    def test_archives_need_the_password(self):
        archive = self.resource("DB01FULL")
        run = subprocess.run(["7z", "t", "-pwrong", archive], capture_output=True)
        self.assertNotEqual(run.returncode, 0)
        run = subprocess.run(["7z", "t", "-p" + PASSWORD, archive], capture_output=True)
        self.assertEqual(run.returncode, 0)


if __name__ == "__main__":
    sys.exit(unittest.main(verbosity=1))
