"""The program entry, run as a user would start it: the start-up completes on a bare machine
and reads its carried resources; a start-up error shows one message and ends with code 3."""
import os
import subprocess
import tempfile
import unittest

BINARY = os.path.join(os.environ["DBI_BINARY_DIR"], "DbInstaller")
SOURCE = os.environ["DBI_SOURCE_DIR"]


def run(machine_hive, *args):
    with tempfile.TemporaryDirectory() as scratch:
        env = dict(os.environ)
        env.update({
            "DBI_REGISTRY_MACHINE": machine_hive or os.path.join(scratch, "machine.reg"),
            "DBI_REGISTRY_USER": os.path.join(scratch, "user.reg"),
            "DBI_TEMP_DIR": scratch,
            "DBI_SYSTEM_DIR": os.path.join(scratch, "system32"),
            "DBI_LANGUAGE_ID": "1033",
            "DBI_VIDEO_DRIVER": "offscreen",
        })
        env.pop("DISPLAY", None)
        env.pop("WAYLAND_DISPLAY", None)
        return subprocess.run([BINARY, *args], env=env, capture_output=True, text=True,
                              timeout=60)


class ProgramEntry(unittest.TestCase):
    def test_a_bare_machine_starts_and_logs_the_arguments_first(self):
        result = run(None, "/path:/nowhere", "-s")
        self.assertEqual(result.returncode, 0, result.stderr)
        lines = [line.strip() for line in result.stdout.splitlines()]
        self.assertIn("Parameter 1: /path:/nowhere", lines)
        self.assertIn("Parameter 2: -s", lines)
        self.assertLess(lines.index("Parameter 2: -s"),
                        next(i for i, line in enumerate(lines) if line.startswith("CPU:")))
        # The product name comes from the carried translation table.
        self.assertIn("Product name: CAD Lumora", lines)

    def test_a_registry_value_of_the_wrong_type_ends_the_start_with_code_3(self):
        hive = os.path.join(SOURCE, "tests/installer/config/fixtures/registry/wrong_type_path",
                            "machine.reg")
        result = run(hive)
        self.assertEqual(result.returncode, 3)
        self.assertNotIn("wizard", result.stdout)
        self.assertTrue(result.stderr.strip(), "the error is shown")


if __name__ == "__main__":
    unittest.main()
