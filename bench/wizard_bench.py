#!/usr/bin/python3
"""The wizard on a real display (a private Xvfb), measured two ways in the same run:

1. Start-up: the time from starting the installer to its first painted wizard frame, against
   tools/sg_view showing an empty scene of the same size; the installer should take at most
   three times as long.
2. Repaint during the installation: the area each frame repaints while the catalogue is being
   installed, as a share of the window; a progress step should repaint at most 10 % of it.
   This is counted, not timed: with DBI_TRACE on, every scene repaint writes
   "sgscene paint W H AREA", and the wizard writes "wizard: state N" as it enters a state.
   The frames up to the page change (the first that covers most of the window) are left out.

    wizard_bench.py [--build build/default] [--rounds 5]

Prints both measurements and their goals; exit code 0 when they were measured (meeting the
goals or not), 1 when something could not be run.
"""
import argparse
import os
import statistics
import subprocess
import sys
import tempfile
import threading
import time

SOURCE = os.path.abspath(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
sys.path.insert(0, os.path.join(SOURCE, "tests", "installer", "ui"))
import wizard_walk as walk  # noqa: E402

WIDTH, HEIGHT = walk.WIZARD_SIZE
EMPTY_SCENE = f"""object Root: TsgBackground
  Width = {WIDTH}
  Height = {HEIGHT}
end
"""


def first_paint_ms(command, env, size, timeout=60):
    """Milliseconds from starting the command to its first paint of a scene of `size`."""
    env = dict(env, DBI_TRACE="1")
    start = time.monotonic()
    process = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.PIPE, text=True, errors="replace")
    painted = threading.Event()
    elapsed = []

    def read():
        for line in process.stderr:
            match = walk.PAINT_LINE.search(line)
            if (not painted.is_set() and match and
                    (int(match.group(1)), int(match.group(2))) == size and int(match.group(3))):
                elapsed.append((time.monotonic() - start) * 1000)
                painted.set()

    reader = threading.Thread(target=read, daemon=True)
    reader.start()
    painted.wait(timeout)
    process.kill()
    process.wait(timeout=30)
    if not elapsed:
        raise RuntimeError(f"{command[0]} painted nothing within {timeout} s")
    return elapsed[0]


def startup(build, env, rounds, scratch):
    program = os.path.join(build, "DbInstaller")
    viewer = os.path.join(build, "tools", "sg_view")
    scene = os.path.join(scratch, "empty_scene.txt")
    with open(scene, "w", encoding="utf-8") as out:
        out.write(EMPTY_SCENE)
    wizard, reference = [], []
    for _ in range(rounds):  # interleaved, so both meet the same load
        reference.append(first_paint_ms([viewer, scene, "--exit-after", "60000"], env,
                                         (WIDTH, HEIGHT)))
        wizard.append(first_paint_ms([program], env, (WIDTH, HEIGHT)))
    return statistics.median(wizard), statistics.median(reference)


def repaint_shares(build, env, scratch):
    machine = walk.make_machine(os.path.join(scratch, "repaint-machine"))
    wizard = walk.Wizard(os.path.join(build, "DbInstaller"), dict(env, **machine))
    try:
        code = walk.walk_happy_path(wizard, timeout=180)
    finally:
        wizard.stop()
    if code != 0:
        raise RuntimeError(f"the walk ended with {code}\n{wizard.output()}")
    whole = WIDTH * HEIGHT
    frames = [area for state, w, h, area in wizard.paints
              if state == walk.INSTALL and (w, h) == (WIDTH, HEIGHT)]
    # The progress frames follow the page change, the first frame that covers most of the
    # window (the buttons' changes before it belong to the change too).
    page = next((i for i, area in enumerate(frames) if area > whole // 2), 0)
    return [area / whole for area in frames[page + 1:]]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default=os.path.join(SOURCE, "build", "default"))
    parser.add_argument("--rounds", type=int, default=5)
    args = parser.parse_args()
    problem = walk.missing_tools()
    if problem:
        print(f"wizard_bench: {problem}", file=sys.stderr)
        return 1
    xvfb, display = walk.start_display()
    try:
        with tempfile.TemporaryDirectory(prefix="dbi-bench-") as scratch:
            machine = walk.make_machine(os.path.join(scratch, "machine"))
            env = dict(os.environ, DISPLAY=display, DBI_LANGUAGE_ID="1033", **machine)
            env.pop("DBI_VIDEO_DRIVER", None)
            env.pop("SDL_VIDEODRIVER", None)
            wizard_ms, reference_ms = startup(args.build, env, args.rounds, scratch)
            ratio = wizard_ms / reference_ms
            print(f"first painted frame: wizard {wizard_ms:.0f} ms, empty scene in sg_view "
                  f"{reference_ms:.0f} ms, ratio {ratio:.2f} (goal at most 3) "
                  f"[median of {args.rounds}]")
            shares = repaint_shares(args.build, env, scratch)
            if shares:
                print(f"repaint per progress frame during the installation: "
                      f"{len(shares)} frames, mean {100 * statistics.mean(shares):.1f} %, "
                      f"median {100 * statistics.median(shares):.1f} %, "
                      f"largest {100 * max(shares):.1f} % of the window (goal at most 10 %)")
            else:
                print("repaint during the installation: no frame was painted after the page "
                      "change (the installation ended before the next frame)")
    except (RuntimeError, walk.WalkError) as error:
        print(f"wizard_bench: {error}", file=sys.stderr)
        return 1
    finally:
        xvfb.kill()
        xvfb.wait(timeout=30)
    return 0


if __name__ == "__main__":
    sys.exit(main())
