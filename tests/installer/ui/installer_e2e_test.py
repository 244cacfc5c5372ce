"""The installer from end to end: the real program in a real window under Xvfb, on a machine of
its own (a registry store naming an installed CAD program whose files carry version resources,
a drive map, the carried sample catalogue), driven by the pointer and the keyboard.

- the whole road installs every carried database into the detected program: the tree equals
  what the 7z command unpacks from the same archives, the shared-memory progress blocks end at
  their totals, Finish ends with 0;
- Cancel asks first: No keeps the wizard, Yes ends with 2 and nothing changed;
- a folder chosen by hand that does not exist is refused, and nothing is created;
- a damaged archive (another resource bundle through DBI_RESOURCE_FILE) is reported and ends
  with 3, every file already in the program intact;
- a running CAD engine ("viru.exe") is reported on the welcome page and holds Next back until
  it has ended.

Every page is saved as a picture under DBI_SCREENSHOT_DIR (default: the build tree's
e2e-screenshots folder)."""
import hashlib
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import wizard_walk as walk  # noqa: E402

SOURCE = os.environ.get("DBI_SOURCE_DIR", walk.SOURCE)
BUILD = os.environ.get("DBI_BINARY_DIR", os.path.join(SOURCE, "build", "default"))
PROGRAM = os.path.join(BUILD, "DbInstaller")
RESPACK = os.path.join(BUILD, "tools", "respack")
PACKED = os.path.join(BUILD, "resources")
SHOTS = os.environ.get("DBI_SCREENSHOT_DIR", os.path.join(BUILD, "e2e-screenshots"))
TIMEOUT = 180  # seconds for any one step: generous, for a loaded machine

sys.path.insert(0, os.path.join(SOURCE, "tools"))
import read_progress_blocks  # noqa: E402

# Where each carried database lands in a program of the current layout.
DESTINATIONS = {1: "Plytki", 2: "dodatki/ProbneDodatki", 3: "WALLS"}
RED_TEXT = (0xC0, 0x40, 0x40)
# Places on the target page (wizard client coordinates). Its rows stack from the top of the
# group box's inner margins (44 below its top, under the caption, and 16 in from its sides):
# the radio button of the detected programs (20 high), their tree (22 a program; the
# demo machine has one), the radio button of the manual choice (20), the row of the path box
# and the Browse button (28); the warning sits below them.
ROWS_TOP = 95
MANUAL_RADIO = (100, ROWS_TOP + 20 + 22 + 10)
BROWSE_BUTTON = (567, ROWS_TOP + 20 + 22 + 20 + 14)
WARNING_BOX = (42, ROWS_TOP + 20 + 22 + 20 + 28, 618, 460)


def missing():
    for path in (PROGRAM, RESPACK):
        if not os.path.exists(path):
            return os.path.basename(path) + " is not built"
    for tool in ("Xvfb", "xdotool", "7z"):
        if not shutil.which(tool):
            return tool + " is not installed"
    return walk.missing_tools()


def archive_password():
    """The password the engine opens its archives with, read from its source."""
    with open(os.path.join(SOURCE, "installer/engine/Myfileop_class.cpp"),
              encoding="utf-8") as source:
        text = source.read()
    match = re.search(r"GetArchivePassword\(\)\s*\{\s*return u\"([^\"]*)\"", text)
    assert match, "the engine's archive password was not found"
    return match.group(1)


def archive(n):
    return os.path.join(PACKED, f"DB{n:02d}FULL.7z")


def unpack(archive_path, folder):
    subprocess.run(["7z", "x", "-y", "-bd", "-p" + archive_password(), "-o" + folder,
                    archive_path], check=True, capture_output=True, timeout=120)


def tree(folder):
    """relative path -> sha256 of every file below the folder ("/" for a folder)."""
    found = {}
    for root, folders, files in os.walk(folder):
        for name in folders:
            found[os.path.relpath(os.path.join(root, name), folder) + "/"] = "/"
        for name in files:
            path = os.path.join(root, name)
            with open(path, "rb") as data:
                found[os.path.relpath(path, folder)] = hashlib.sha256(data.read()).hexdigest()
    return found


def catalogue_size():
    total = 0
    for n in DESTINATIONS:
        for root, _, files in os.walk(os.path.join(SOURCE, "resources/catalogue", f"DB{n:02d}")):
            total += sum(os.path.getsize(os.path.join(root, name)) for name in files)
    return total


@unittest.skipIf(missing(), missing())
class InstallerEndToEnd(unittest.TestCase):
    maxDiff = None

    @classmethod
    def setUpClass(cls):
        cls.xvfb, cls.display = walk.start_display()

    @classmethod
    def tearDownClass(cls):
        cls.xvfb.kill()
        cls.xvfb.wait(timeout=30)

    def setUp(self):
        self.scratch = tempfile.mkdtemp(prefix="dbi-e2e-")
        self.addCleanup(shutil.rmtree, self.scratch, True)
        self.machine = walk.make_machine(os.path.join(self.scratch, "machine"))
        self.target = self.machine["DEMO_TARGET"]
        self.env = dict(os.environ, DISPLAY=self.display, DBI_LANGUAGE_ID="1033",
                        **self.machine)
        # The desktop's folder dialog, answered by the test (by default: cancelled).
        self.picker = os.path.join(self.scratch, "bin")
        walk.folder_picker(self.picker, None)
        self.env["PATH"] = self.picker + os.pathsep + os.environ.get("PATH", "")
        self.wizard = None

    def start(self, name, **extra):
        env = dict(self.env, **extra)
        shots = os.path.join(SHOTS, name)
        shutil.rmtree(shots, ignore_errors=True)  # only this run's pictures
        self.wizard = walk.Wizard(PROGRAM, env, shots)
        self.addCleanup(self.wizard.stop)
        self.wizard.start()
        self.wizard.wait_window("wizard", TIMEOUT)
        self.wizard.wait_state(walk.WELCOME, TIMEOUT)
        self.wizard.settle()
        return self.wizard

    def to_target_page(self):
        wizard = self.wizard
        wizard.screenshot("welcome")
        wizard.press_until("next", walk.CHOOSE_PATH, TIMEOUT)
        wizard.settle()
        wizard.screenshot("target")

    def cancel_with_yes(self):
        wizard = self.wizard
        wizard.press("cancel")
        wizard.wait_window("message", TIMEOUT)
        wizard.settle()
        wizard.screenshot("leave-question", "message")
        wizard.press("yes")
        return wizard.wait_exit(TIMEOUT)

    def test_the_whole_road_installs_every_database_into_the_detected_program(self):
        before = tree(self.target)
        wizard = self.start("happy-path")
        self.to_target_page()
        wizard.press("next")
        wizard.wait_for(lambda: wizard.state in (walk.INSTALL, walk.FINAL), TIMEOUT,
                        "the installation")
        wizard.screenshot_in_state(walk.INSTALL, "installation")  # the catalogue is small
        wizard.wait_state(walk.FINAL, TIMEOUT)
        wizard.settle()
        wizard.screenshot("final")

        # The blocks as another process reads them, before the installer ends.
        progress = read_progress_blocks.read_progress()
        required = catalogue_size()
        scale = required * 5 // 3
        self.assertEqual(progress["total"], scale, progress)
        self.assertEqual(progress["done"], scale * 2 // 5 + required, progress)
        self.assertLessEqual(abs(progress["done"] - progress["total"]), 1, progress)
        self.assertGreaterEqual(progress["percent"], 99, progress)

        self.assertEqual(wizard.press_until_exit("next", TIMEOUT), 0, wizard.output())

        reference = os.path.join(self.scratch, "reference")
        os.makedirs(reference)
        for n, destination in DESTINATIONS.items():
            unpack(archive(n), os.path.join(reference, destination))
        expected = dict(tree(reference))
        expected.update(before)
        self.assertEqual(tree(self.target), expected)

    def test_cancel_asks_and_yes_ends_with_2_changing_nothing(self):
        before = tree(self.scratch)
        wizard = self.start("cancel")
        self.to_target_page()
        wizard.press("cancel")
        wizard.wait_window("message", TIMEOUT)
        wizard.settle()
        wizard.screenshot("leave-question", "message")
        wizard.press("no")
        wizard.wait_no_window("message", TIMEOUT)
        self.assertIsNone(wizard.process.poll(), "No keeps the wizard")
        self.assertEqual(wizard.state, walk.CHOOSE_PATH)
        self.assertEqual(self.cancel_with_yes(), 2, wizard.output())
        after = tree(self.scratch)
        # Every start places the libraries and turns the screen saver's value off; beyond those
        # nothing on the machine changes.
        started = ("machine/temp/", "machine/system32/", "machine/registry/user.reg")
        for tree_of in (before, after):
            for path in [p for p in tree_of if p.startswith(started)]:
                del tree_of[path]
        self.assertEqual(after, before)

    def test_a_folder_chosen_by_hand_that_does_not_exist_is_refused(self):
        nowhere = os.path.join(self.scratch, "no such program") + "/"
        walk.folder_picker(self.picker, nowhere)
        wizard = self.start("manual-folder")
        self.to_target_page()
        wizard.click("wizard", *MANUAL_RADIO)
        wizard.settle()
        wizard.click("wizard", *BROWSE_BUTTON)
        # The folder dialog runs as a process of its own: the warning shows once it answered.
        deadline = time.monotonic() + TIMEOUT
        while (walk.count_colour(wizard.grab(), RED_TEXT, 30, WARNING_BOX) <= 50 and
               time.monotonic() < deadline):
            time.sleep(0.1)
        wizard.settle()
        shot = wizard.screenshot("manual-folder-warning")
        self.assertGreater(walk.count_colour(shot, RED_TEXT, 30, WARNING_BOX), 50,
                           "the warning says the folder is no program's folder")
        wizard.press("next")
        wizard.wait_window("message", TIMEOUT)
        wizard.settle()
        wizard.screenshot("refusal", "message")
        wizard.press("ok")
        wizard.wait_no_window("message", TIMEOUT)
        self.assertEqual(wizard.state, walk.CHOOSE_PATH, "the wizard stays on the target page")
        self.assertFalse(os.path.exists(nowhere))
        self.assertEqual(self.cancel_with_yes(), 2)
        self.assertFalse(os.path.exists(nowhere))

    def test_a_damaged_archive_is_reported_and_ends_with_3_leaving_old_files_intact(self):
        # An older copy of the catalogue already in the program, and a bundle whose second
        # archive is damaged in the middle of its data.
        for n, destination in DESTINATIONS.items():
            unpack(archive(n), os.path.join(self.target, destination))
        for root, _, files in os.walk(self.target):
            for name in files:
                if not name.endswith((".exe", ".dll")):
                    with open(os.path.join(root, name), "ab") as old:
                        old.write(b"\nan older copy\n")
        before = tree(self.target)
        bundle = self.damaged_bundle(2)

        wizard = self.start("damaged-archive", DBI_RESOURCE_FILE=bundle)
        self.to_target_page()
        wizard.press("next")
        wizard.wait_for(lambda: wizard.state == walk.INSTALL or
                        wizard.find_window(walk.MESSAGE_SIZE) is not None, TIMEOUT,
                        "the installation or the overwrite question")
        if wizard.state == walk.CHOOSE_PATH:
            wizard.wait_window("message", TIMEOUT)
            wizard.settle()
            wizard.screenshot("overwrite-question", "message")
            wizard.press("yes")
            wizard.wait_state(walk.INSTALL, TIMEOUT)
            wizard.settle()  # the question is closed before the installation starts
        wizard.wait_window("message", TIMEOUT)
        wizard.settle()
        wizard.screenshot("failure", "message")
        wizard.screenshot("installation-page-behind-the-failure")
        self.assertNotIn(walk.FINAL, wizard.states)
        wizard.press("ok")
        self.assertEqual(wizard.wait_exit(TIMEOUT), 3, wizard.output())
        self.assertNotIn(walk.FINAL, wizard.states)
        # Databases are installed one by one: the damaged one keeps every old file, the others
        # hold either their old copy or the whole new one, and nothing half-written is left.
        reference = os.path.join(self.scratch, "reference")
        for n, destination in DESTINATIONS.items():
            unpack(archive(n), os.path.join(reference, destination))
        new = tree(reference)
        after = tree(self.target)
        self.assertEqual(set(after), set(before), "no file lost, none left over")
        damaged = DESTINATIONS[2] + "/"
        for path, digest in after.items():
            if path.startswith(damaged):
                self.assertEqual(digest, before[path], path)
            else:
                self.assertIn(digest, (before[path], new.get(path)), path)

    def damaged_bundle(self, n):
        damaged = os.path.join(self.scratch, f"DB{n:02d}FULL.7z")
        with open(archive(n), "rb") as good:
            data = bytearray(good.read())
        # The packed data right after the signature header: the archive still opens and lists
        # its items, but every item fails its check while it is unpacked.
        for i in range(40, 56):
            data[i] ^= 0x5A
        with open(damaged, "wb") as bad:
            bad.write(data)
        manifest = os.path.join(self.scratch, "damaged.manifest")
        with open(os.path.join(PACKED, "catalogue.manifest"), encoding="utf-8") as lines, \
                open(manifest, "w", encoding="utf-8") as out:
            for line in lines:
                parts = line.split(None, 2)
                if len(parts) == 3 and parts[0].upper() == f"DB{n:02d}FULL":
                    line = f"{parts[0]} {parts[1]} {damaged}\n"
                out.write(line)
        bundle = os.path.join(self.scratch, "damaged.bundle")
        open(bundle, "wb").close()
        subprocess.run([RESPACK, bundle, manifest], check=True, capture_output=True,
                       timeout=120)
        return bundle

    def test_a_running_cad_engine_is_reported_and_waited_for(self):
        engine = os.path.join(self.scratch, "viru.exe")
        shutil.copy(shutil.which("sleep"), engine)
        running = subprocess.Popen([engine, "600"])
        self.addCleanup(lambda: running.poll() is None and running.kill())
        wizard = self.start("running-engine")
        # The wizard looks for running CAD programs on a timer: the request shows once it ran.
        deadline = time.monotonic() + TIMEOUT
        while walk.count_colour(wizard.grab(), RED_TEXT, 30) <= 200 and time.monotonic() < deadline:
            time.sleep(0.1)
        shot = wizard.screenshot("welcome-engine-running")
        self.assertGreater(walk.count_colour(shot, RED_TEXT, 30), 200,
                           "the request to close the CAD programs is shown")
        wizard.press("next")
        # The press is dealt with, then Next is given time to go on wrongly.
        wizard.settle()
        time.sleep(1.5)
        self.assertEqual(wizard.state, walk.WELCOME, "Next waits while the engine runs")

        running.kill()
        running.wait(timeout=30)
        deadline = time.monotonic() + TIMEOUT
        while walk.count_colour(wizard.grab(), RED_TEXT, 30) >= 50:
            self.assertLess(time.monotonic(), deadline, "the request stays after the end")
            time.sleep(0.5)
        wizard.screenshot("welcome-engine-ended")
        wizard.press_until("next", walk.CHOOSE_PATH, TIMEOUT)
        wizard.settle()
        wizard.screenshot("target")
        self.assertEqual(self.cancel_with_yes(), 2)


if __name__ == "__main__":
    unittest.main()
