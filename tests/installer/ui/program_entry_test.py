"""The program entry, run as a user would start it: on a bare machine the start-up completes and
the wizard opens on its welcome page; a start-up error shows one message and ends with code 3,
and so does an installer that carries no database."""
import os
import subprocess
import tempfile
import threading
import unittest

BINARY_DIR = os.environ["DBI_BINARY_DIR"]
BINARY = os.path.join(BINARY_DIR, "DbInstaller")
SOURCE = os.environ["DBI_SOURCE_DIR"]


def machine_env(scratch, machine_hive=None, **extra):
    env = dict(os.environ)
    env.update({
        "DBI_REGISTRY_MACHINE": machine_hive or os.path.join(scratch, "machine.reg"),
        "DBI_REGISTRY_USER": os.path.join(scratch, "user.reg"),
        "DBI_TEMP_DIR": scratch,
        "DBI_SYSTEM_DIR": os.path.join(scratch, "system32"),
        "DBI_LANGUAGE_ID": "1033",
        "DBI_VIDEO_DRIVER": "offscreen",
    })
    env.update(extra)
    env.pop("DISPLAY", None)
    env.pop("WAYLAND_DISPLAY", None)
    return env


def run(machine_hive, *args, **extra):
    with tempfile.TemporaryDirectory() as scratch:
        return subprocess.run([BINARY, *args], env=machine_env(scratch, machine_hive, **extra),
                              capture_output=True, text=True, timeout=60, cwd=scratch)


class ProgramEntry(unittest.TestCase):
    def test_a_bare_machine_opens_the_wizard_on_its_welcome_page(self):
        with tempfile.TemporaryDirectory() as scratch:
            program = subprocess.Popen(
                [BINARY, "/path:/nowhere", "-s"], cwd=scratch,
                env=machine_env(scratch, DBI_TRACE="1"),
                stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
            lines = []
            welcome = threading.Event()

            def read():
                for line in program.stderr:
                    lines.append(line.strip())
                    if line.strip().endswith("wizard: state 0"):
                        welcome.set()

            reader = threading.Thread(target=read, daemon=True)
            reader.start()
            opened = welcome.wait(60)
            running = program.poll() is None
            program.kill()
            program.wait()
            reader.join(10)
            self.assertTrue(opened, "\n".join(lines[-20:]))
            self.assertTrue(running, "the wizard waits for the user")
            # Every argument is traced before the window opens.
            self.assertIn("/path:/nowhere", " ".join(lines))
            # The libraries the installer needs were placed before the window opened.
            self.assertTrue(os.listdir(os.path.join(scratch, "system32")))

    def test_a_registry_value_of_the_wrong_type_ends_the_start_with_code_3(self):
        hive = os.path.join(SOURCE, "tests/installer/config/fixtures/registry/wrong_type_path",
                            "machine.reg")
        result = run(hive)
        self.assertEqual(result.returncode, 3)
        self.assertTrue(result.stderr.strip(), "the error is shown")

    def test_an_installer_without_databases_says_so_and_ends_with_code_3(self):
        with tempfile.TemporaryDirectory() as scratch:
            manifest = os.path.join(scratch, "nodb.manifest")
            with open(os.path.join(BINARY_DIR, "resources/catalogue.manifest")) as carried, \
                    open(manifest, "w") as out:
                out.writelines(line for line in carried if not line.startswith("DB"))
            bundle = os.path.join(scratch, "nodb.res")
            open(bundle, "wb").close()
            subprocess.run([os.path.join(BINARY_DIR, "tools/respack"), bundle, manifest],
                           check=True, capture_output=True)
            result = run(None, DBI_RESOURCE_FILE=bundle)
        self.assertEqual(result.returncode, 3)
        self.assertIn("does not contain any databases", result.stdout + result.stderr)


if __name__ == "__main__":
    unittest.main()
