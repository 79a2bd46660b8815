#!/usr/bin/env python3
"""Memory of the program's whole process tree visible, hidden in the tray and back.

Runs the program built before the change and the program built now on the same
virtual display (Xvfb, openbox, trayer), one after the other, and for each
measures the tree's RSS and PSS: shown with the normal scene, hidden in the tray
through ファイル(F) → タスクトレイに常駐, and shown again from the icon's menu
(メイン画面を表示). After the window comes back it also times, from the moment
the window is viewable, the first picture of the window that shows its normal
scene, and counts the pictures before it that showed another or an empty scene.
"""

import argparse
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "idle"))
import idle_bench as idle  # noqa: E402  the display, tray, sound server and /proc helpers

HIDDEN_PSS_GOAL_MIB = 50  # hidden in the tray, the program running alone
DRAWN_GOAL_SECONDS = 0.3  # the scene drawn after the window appears
# The client area below the menu bar: the scene's 185 x 121 pixels, then the option strip.
CLIENT_HEIGHT, SCENE_WIDTH, SCENE_HEIGHT, STRIP_HEIGHT = 193, 185, 121, 23


def capture(display, window):
    """(scene, option strip) of the window as raw RGB rows, or None when it cannot be read."""
    try:
        ppm = subprocess.run(["import", "-silent", "-window", window, "ppm:-"],
                             env=dict(os.environ, DISPLAY=display), capture_output=True,
                             timeout=10).stdout
        magic, width, height, _maximum, pixels = ppm.split(maxsplit=4)
    except (subprocess.TimeoutExpired, ValueError):
        return None
    width, height = int(width), int(height)
    top = height - CLIENT_HEIGHT
    rows = [pixels[(top + y) * width * 3:(top + y) * width * 3 + SCENE_WIDTH * 3]
            for y in range(SCENE_HEIGHT + STRIP_HEIGHT)]
    return b"".join(rows[:SCENE_HEIGHT]), b"".join(rows[SCENE_HEIGHT:])


def time_scene_back(display, window, shown):
    """Seconds from the window being viewable to the first capture showing the scene as shown
    before, and how many drawn captures showed something else before it."""
    idle.wait_until(lambda: idle.viewable(display, window), 10, "the window did not come back")
    start = time.monotonic()
    wrong = 0
    while time.monotonic() - start < 10:
        now = capture(display, window)
        if now is not None and now[1] == shown[1]:  # the window has drawn itself
            if now[0] == shown[0]:
                return time.monotonic() - start, wrong
            wrong += 1
    return None, wrong


def memory(meter):
    rss, pss, _hwm, count, (alone, others) = meter.memory()
    processes = sorted((idle.describe(pid) for pid in meter.sample()))
    return {"rss": rss / 1024, "pss": pss / 1024, "count": count, "alone": alone, "others": others,
            "processes": processes}


def measure(name, bin_dir, display, xvfb, sound, scratch, args):
    folder = idle.make_program_folder(os.path.join(scratch, name), bin_dir, 0)
    log_path = os.path.join(scratch, f"{name}.log")
    with open(log_path, "w") as log:
        program = idle.start_program(folder, display, sound, os.path.join(scratch, f"home-{name}"), log)
    meter = idle.TreeMeter(program.pid, xvfb.pid, sound.process.pid)
    rows = {}
    try:
        print(f"{name}: started {folder}/brindle (pid {program.pid})", flush=True)
        idle.settle(program, name, log_path, args)
        window = idle.main_window(display)
        shown = capture(display, window)
        rows["visible"] = memory(meter)
        idle.move_to_tray(display, window)
        time.sleep(args.settle)
        rows["hidden in the tray"] = memory(meter)
        idle.show_from_tray(display, window)
        drawn, wrong = time_scene_back(display, window, shown)
        time.sleep(args.settle)
        rows["back"] = dict(memory(meter), drawn=drawn, wrong=wrong)
        if program.poll() is not None:
            raise RuntimeError(f"{name} ended; see {log_path}")
    finally:
        meter.kill_all()
    return rows


def report(results, args):
    print()
    print(f"{'program':<10} {'state':<20} {'tree PSS MiB':>12} {'tree RSS MiB':>12} {'procs':>5}"
          "  scene back after appearing")
    for name, rows in results.items():
        for state, row in rows.items():
            back = ""
            if "drawn" in row:
                drawn = "never" if row["drawn"] is None else f"{row['drawn']:.2f} s"
                back = (f"  {drawn} (goal <= {DRAWN_GOAL_SECONDS} s),"
                        f" {row['wrong']} pictures of another or an empty scene before it")
            print(f"{name:<10} {state:<20} {row['pss']:>12.1f} {row['rss']:>12.1f} {row['count']:>5}{back}")
    print()
    for name, rows in results.items():
        for state, row in rows.items():
            print(f"{name}, {state}: {', '.join(row['processes'])}")
    last = args.rounds
    after, before = results[f"after {last}"], results[f"before {last}"]
    hidden = after["hidden in the tray"]["pss"]
    print()
    print(f"last turn, hidden in the tray: {hidden:.1f} MiB PSS, goal <= {HIDDEN_PSS_GOAL_MIB} MiB;"
          f" before the change {before['hidden in the tray']['pss']:.1f} MiB")
    print(f"visible: {after['visible']['pss']:.1f} MiB PSS, goal <= before the change"
          f" ({before['visible']['pss']:.1f} MiB); back: {after['back']['pss']:.1f} MiB")
    row = after["visible"]
    if not row["alone"] and row["others"]:
        print(f"plain PSS (page frames are readable by root only): {row['others']} processes of other"
              " Qt programs were running, so it reads too low")
    within = (hidden <= HIDDEN_PSS_GOAL_MIB and after["visible"]["pss"] <= before["visible"]["pss"]
              and after["back"]["drawn"] is not None and after["back"]["drawn"] <= DRAWN_GOAL_SECONDS
              and after["back"]["wrong"] == 0)
    return 0 if within else 2


def run(args, scratch):
    log = open(os.path.join(scratch, "display.log"), "w")
    xvfb, display = idle.start_xvfb(log)
    desktop = sound = None
    try:
        desktop = idle.Desktop(display, scratch, log)
        sound = idle.SoundServer(scratch, log)
        print(f"Xvfb on {display} with openbox and trayer; settle {args.settle} s per state")
        # Taking turns: the first program started on the display pays for what later ones share.
        results = {}
        for turn in range(args.rounds):
            for name, bin_dir in (("before", args.before), ("after", args.after)):
                results[f"{name} {turn + 1}"] = measure(f"{name}-{turn + 1}", bin_dir, display, xvfb,
                                                        sound, scratch, args)
    finally:
        if sound:
            sound.stop()
        if desktop:
            desktop.stop()
        idle.stop_process(xvfb)
        log.close()
    return report(results, args)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("before", help="folder of the program built before the change")
    parser.add_argument("after", help="folder of the program built now")
    parser.add_argument("--rounds", type=int, default=2, help="turns of before and after; the last is compared")
    parser.add_argument("--settle", type=float, default=10, help="seconds before each measurement")
    parser.add_argument("--keep", action="store_true", help="keep the temporary folder and its logs")
    args = parser.parse_args()
    signal.signal(signal.SIGINT, idle.on_signal)
    signal.signal(signal.SIGTERM, idle.on_signal)
    scratch = tempfile.mkdtemp(prefix="brindle-tray-")
    try:
        return run(args, scratch)
    except (idle.Interrupted, RuntimeError, subprocess.CalledProcessError) as error:
        print(f"tray bench stopped: {error}", file=sys.stderr)
        return 1
    finally:
        if args.keep:
            print(f"kept {scratch}")
        else:
            shutil.rmtree(scratch, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
