#!/usr/bin/env python3
"""Idle cost of the real program: CPU share and memory of its whole process tree.

Starts Xvfb on a free display with openbox and a system tray (trayer), runs
the program from a temporary program folder and measures five resting states,
each for a fixed window after a settle time:

  1. interval checking off, normal scene;
  2. interval checking on (5 minutes), the status lamp blinking;
  3. the new-mail scene with its tune, chosen from the menu with xdotool;
  4. hidden in the tray (interval on, normal scene), through the menu;
  5. minimised (interval on, normal scene), through the window manager.

The tune plays into a private PulseAudio with a null sink; its monitor is
recorded to show that the tune is heard. A peer, the scrolling name alone in a
window (ScrollPeer.cpp), is measured the same way: the shown states' figures
are also printed as a ratio to it.

The CPU figure is the utime+stime of every process in the tree (the program
and all its descendants, also those that appear during the window) over the
window's wall time, as a share of one core.
"""

import argparse
import array
import collections
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

# Goals per state, as a share of one core: a mail checker sits on the desktop all day.
GOALS = {"1": 0.01, "2": 0.01, "3": 0.03, "4": 0.003, "5": 0.003}
# While nobody can see the window, its main thread may wake at most this often a second.
WAKEUP_GOALS = {"4": 2.0, "5": 2.0}
PSS_GOAL_MIB = 180  # the tree's proportional memory, the program running alone
SINK = "bench"
RECORD_SECONDS = 3
RATE, CHANNELS = 44100, 2
AUDIBLE_RMS = 0.001  # above the null sink's digital silence, far below a tune
CLOCK_TICKS = os.sysconf("SC_CLK_TCK")
PAGE_KB = os.sysconf("SC_PAGE_SIZE") // 1024
PAGE_BYTES = os.sysconf("SC_PAGE_SIZE")
# Every process of another Qt 6 program maps this library; see alone_pss_kb.
QT_LIBRARY = "libQt6Core"
SAMPLE_PERIOD = 0.1
MAIN_TITLE = "Brindle Ver 1.0"
# Items of the main window's menu, counted from its first (separators are skipped by the arrow key).
TO_TRAY, NEW_MAIL_SCENE = 2, 6
# The tray's menu: its first item shows the window again.
SHOW_WINDOW = 0
# The program and the scene program it starts (a build from before the scene program has none).
PROGRAMS = ("brindle", "brindle-scene")
DATA_FOLDERS = ("Sound", "画像データ")
MAIL_DATA = "★MailData"


class Interrupted(Exception):
    pass


def on_signal(signum, _frame):
    # One stop is enough: later signals must not cut the clean-up short.
    signal.signal(signal.SIGINT, signal.SIG_IGN)
    signal.signal(signal.SIGTERM, signal.SIG_IGN)
    raise Interrupted(f"signal {signum}")


# ---------------------------------------------------------------- /proc

def read_stat(pid, path=None):
    """(ppid, starttime, utime+stime in ticks, state, name) of a process or thread, or None when it is gone."""
    try:
        with open(path or f"/proc/{pid}/stat", "rb") as f:
            raw = f.read().decode("utf-8", "replace")
    except OSError:
        return None
    # The command name is in parentheses and may itself hold blanks or parentheses.
    name = raw[raw.find("(") + 1:raw.rfind(")")]
    fields = raw[raw.rfind(")") + 2:].split()
    return int(fields[1]), int(fields[19]), int(fields[11]) + int(fields[12]), fields[0], name


def thread_ticks(pid):
    """{(tid, thread name): utime+stime} of one process's threads."""
    ticks = {}
    try:
        tids = os.listdir(f"/proc/{pid}/task")
    except OSError:
        return ticks
    for tid in tids:
        stat = read_stat(pid, f"/proc/{pid}/task/{tid}/stat")
        if stat is not None:
            ticks[(int(tid), stat[4])] = stat[2]
    return ticks


def all_stats():
    stats = {}
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            stat = read_stat(int(entry))
            if stat is not None:
                stats[int(entry)] = stat
    return stats


def tree_of(root, stats):
    """The root and all its descendants, as {pid: stat}."""
    children = {}
    for pid, stat in stats.items():
        children.setdefault(stat[0], []).append(pid)
    tree, todo = {}, [root]
    while todo:
        pid = todo.pop()
        if pid in stats and pid not in tree:
            tree[pid] = stats[pid]
            todo.extend(children.get(pid, ()))
    return tree


def status_kb(pid, key):
    try:
        with open(f"/proc/{pid}/status") as f:
            for line in f:
                if line.startswith(key + ":"):
                    return int(line.split()[1])
    except OSError:
        pass
    return 0


def pss_kb(pid):
    try:
        with open(f"/proc/{pid}/smaps_rollup") as f:
            for line in f:
                if line.startswith("Pss:"):
                    return int(line.split()[1])
    except OSError:
        pass
    return 0


def resident_frames(pid, files_only=False):
    """The page frames a process holds in memory, or None when the kernel hides them (not root);
    with files_only, those of mapped files alone (what unrelated processes can share)."""
    frames = set()
    with open(f"/proc/{pid}/smaps") as smaps, open(f"/proc/{pid}/pagemap", "rb") as pagemap:
        start = end = 0
        is_file = False
        for line in smaps:
            fields = line.split()
            if fields[0] == "Rss:":
                # Anonymous mappings may span terabytes (a sanitizer's shadow), too long to read.
                if fields[1] == "0" or (files_only and not is_file):
                    continue
                pagemap.seek(start // PAGE_BYTES * 8)
                entries = array.array("Q", pagemap.read((end - start) // PAGE_BYTES * 8))
                # Bit 63: present; bits 0-54: the frame number, read as 0 without the right.
                present = [entry & ((1 << 55) - 1) for entry in entries if entry >> 63]
                if present and not any(present):
                    return None
                frames.update(present)
            elif not fields[0].endswith(":"):
                low, high = fields[0].split("-")
                start, end = int(low, 16), int(high, 16)
                is_file = len(fields) > 5 and fields[5].startswith("/")
    return frames


def maps_qt(pid):
    try:
        with open(f"/proc/{pid}/maps") as f:
            return QT_LIBRARY in f.read()
    except OSError:
        return False


def alone_pss_kb(tree_pids):
    """The tree's PSS as if no other Qt program ran, and how many processes of such programs
    ran; None for the PSS when page frames cannot be read.

    PSS shares each page among all processes that map it, so a second Brindle, another bench's
    program or a Qt test (they map the same Qt and WebEngine libraries) would take a share and
    make the tree look smaller. Here a page's users are its mappings (/proc/kpagecount) minus
    those of the other Qt programs' processes, found by their page frames (/proc/pid/pagemap)."""
    others = [int(entry) for entry in os.listdir("/proc")
              if entry.isdigit() and int(entry) not in tree_pids and maps_qt(int(entry))]
    tree = {}
    for pid in tree_pids:
        try:
            tree[pid] = resident_frames(pid)
        except OSError:
            continue
        if tree[pid] is None:
            return None, len(others)
    wanted = set().union(*tree.values())
    foreign = collections.Counter()
    for pid in others:
        try:
            foreign.update((resident_frames(pid, files_only=True) or set()) & wanted)
        except OSError:
            pass
    users = {}
    with open("/proc/kpagecount", "rb") as kpagecount:
        for frame in wanted:
            kpagecount.seek(frame * 8)
            users[frame] = int.from_bytes(kpagecount.read(8), "little") - foreign[frame]
    return sum(1 / max(1, users[frame]) for frames in tree.values() for frame in frames) \
        * PAGE_BYTES / 1024, len(others)


def describe(pid):
    """Short name of a process: its executable and Chromium's --type when it has one."""
    try:
        with open(f"/proc/{pid}/cmdline", "rb") as f:
            args = f.read().decode("utf-8", "replace").split("\0")
    except OSError:
        return "?"
    name = os.path.basename(args[0]) if args and args[0] else "?"
    for arg in args[1:]:
        if arg.startswith("--type="):
            return f"{name} {arg[len('--type='):]}"
    return name


class TreeMeter:
    """Follows the program's process tree and sums its CPU ticks over a window."""

    def __init__(self, root, xvfb_pid, pulseaudio_pid):
        self.root = root
        self.xvfb_pid = xvfb_pid
        self.pulseaudio_pid = pulseaudio_pid
        self.seen = {}  # (pid, starttime) -> pid, for the clean-up
        self.threads = {}  # (pid, tid, thread name) -> ticks, at the latest sample

    def sample(self):
        tree = tree_of(self.root, all_stats())
        for pid, stat in tree.items():
            self.seen[(pid, stat[1])] = pid
            for (tid, name), ticks in thread_ticks(pid).items():
                self.threads[(pid, tid, name)] = ticks
        return tree

    def measure(self, seconds):
        """CPU share of the tree over `seconds`, with a per-process breakdown."""
        first = {(pid, s[1]): s[2] for pid, s in self.sample().items()}
        first_threads = dict(self.threads)
        xvfb_first = read_stat(self.xvfb_pid)
        pulseaudio_first = read_stat(self.pulseaudio_pid)
        main_switches = self.main_thread_switches()
        latest = dict(first)
        # Chromium's renderers are forked by its zygote and keep its command line: the parent tells them apart.
        names = {(pid, s[1]): f"{describe(pid)}, parent {s[0]}" for pid, s in self.sample().items()}
        start = time.monotonic()
        while time.monotonic() - start < seconds:
            time.sleep(SAMPLE_PERIOD)
            for pid, stat in self.sample().items():
                key = (pid, stat[1])
                latest[key] = stat[2]
                if key not in names:
                    names[key] = f"{describe(pid)}, parent {stat[0]}"
        wall = time.monotonic() - start
        xvfb_last = read_stat(self.xvfb_pid)
        pulseaudio_last = read_stat(self.pulseaudio_pid)
        main_switches = self.main_thread_switches() - main_switches
        used = {key: ticks - first.get(key, 0) for key, ticks in latest.items()}
        total = sum(used.values()) / CLOCK_TICKS / wall
        breakdown = sorted(((ticks / CLOCK_TICKS / wall, names[key], key[0])
                            for key, ticks in used.items() if ticks > 0), reverse=True)
        threads = sorted(((ticks - first_threads.get(key, 0)) / CLOCK_TICKS / wall, key[2], key[0])
                         for key, ticks in self.threads.items() if ticks > first_threads.get(key, 0))
        def outside_share(before, after):
            return (after[2] - before[2]) / CLOCK_TICKS / wall if before and after else 0.0
        return {
            "share": total,
            "breakdown": breakdown,
            "threads": threads[::-1],
            "new": len(set(latest) - set(first)),
            "processes": len(latest),
            "xvfb": outside_share(xvfb_first, xvfb_last),
            "pulseaudio": outside_share(pulseaudio_first, pulseaudio_last),
            "wakeups": main_switches / wall,
        }

    def main_thread_switches(self):
        """Context switches of the program's main thread, voluntary and not: its wake-ups."""
        switches = 0
        try:
            with open(f"/proc/{self.root}/task/{self.root}/status") as f:
                for line in f:
                    if line.startswith(("voluntary_ctxt_switches:", "nonvoluntary_ctxt_switches:")):
                        switches += int(line.split()[1])
        except OSError:
            pass
        return switches

    def memory(self):
        tree = self.sample()
        rss = sum(status_kb(pid, "VmRSS") for pid in tree)
        pss, others = alone_pss_kb(tree)
        alone = pss is not None
        if not alone:
            pss = sum(pss_kb(pid) for pid in tree)
        return rss, pss, status_kb(self.root, "VmHWM"), len(tree), (alone, others)

    def kill_all(self):
        """Ends every process of the tree seen so far, by its own id."""
        self.sample()
        alive = [pid for (pid, start), _ in self.seen.items()
                 if (stat := read_stat(pid)) is not None and stat[1] == start]
        for sig in (signal.SIGTERM, signal.SIGKILL):
            for pid in alive:
                try:
                    os.kill(pid, sig)
                except ProcessLookupError:
                    pass
            deadline = time.monotonic() + 3
            while time.monotonic() < deadline:
                alive = [pid for pid in alive
                         if (stat := read_stat(pid)) is not None and stat[3] != "Z"]
                if not alive:
                    return
                time.sleep(0.1)


# ---------------------------------------------------------------- X server

def start_xvfb(log):
    read_end, write_end = os.pipe()
    # -noreset: the program probes the display with a connection of its own first, and a
    # server reset after that probe would refuse the real connection.
    xvfb = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
         "-noreset"],
        pass_fds=(write_end,), stdout=log, stderr=log, start_new_session=True)
    os.close(write_end)
    number = b""
    with os.fdopen(read_end, "rb") as pipe:
        while not number.endswith(b"\n"):
            chunk = pipe.read(1)
            if not chunk:
                raise RuntimeError("Xvfb ended before it named its display")
            number += chunk
    return xvfb, ":" + number.decode().strip()


def x_tool(display, *args):
    env = dict(os.environ, DISPLAY=display)
    return subprocess.run(args, env=env, capture_output=True, check=True).stdout


def main_window(display):
    ids = x_tool(display, "xdotool", "search", "--onlyvisible", "--name", f"^{MAIN_TITLE}$").split()
    if not ids:
        raise RuntimeError(f"no visible window named {MAIN_TITLE!r}")
    return ids[0].decode()


def window_pixels(display, window):
    """The window's pixels as raw RGB bytes (a binary PPM read back)."""
    ppm = x_tool(display, "import", "-silent", "-window", window, "ppm:-")
    # Header: P6, width, height, maximum value, each followed by white space.
    parts, pos = [], 0
    while len(parts) < 4:
        while ppm[pos:pos + 1].isspace():
            pos += 1
        end = pos
        while not ppm[end:end + 1].isspace():
            end += 1
        parts.append(ppm[pos:end])
        pos = end
    return ppm[pos + 1:]


def changed_share(before, after):
    if len(before) != len(after) or not before:
        return 1.0
    pixels = len(before) // 3
    changed = sum(1 for i in range(0, pixels * 3, 3) if before[i:i + 3] != after[i:i + 3])
    return changed / pixels


def wait_until(condition, seconds, failure):
    deadline = time.monotonic() + seconds
    while not condition():
        if time.monotonic() > deadline:
            raise RuntimeError(failure)
        time.sleep(0.2)


def viewable(display, window):
    return b"IsViewable" in x_tool(display, "xwininfo", "-id", window)


def program_windows(display):
    """Every window of the program's class (its main window, menus, boxes)."""
    found = subprocess.run(["xdotool", "search", "--class", "^brindle$"], env=dict(os.environ, DISPLAY=display),
                           capture_output=True)
    return set(found.stdout.split())


def choose_menu_command(display, window, downs):
    """Opens the File menu by keyboard and chooses the command `downs` below its first."""
    x_tool(display, "xdotool", "windowactivate", "--sync", window)
    time.sleep(0.5)
    x_tool(display, "xdotool", "key", "--delay", "150", "alt+f")
    time.sleep(0.5)
    # The menu opens on its first command; separators are skipped by the arrow key.
    x_tool(display, "xdotool", "key", "--delay", "150", *(["Down"] * downs), "Return")


def choose_new_mail_scene(display):
    """ファイル(F) → イベント確認; returns the share of the window's pixels that changed."""
    window = main_window(display)
    before = window_pixels(display, window)
    choose_menu_command(display, window, NEW_MAIL_SCENE)
    time.sleep(3)
    return changed_share(before, window_pixels(display, window))


def tray_icon_centre(display):
    """The centre of the icon embedded in one of trayer's windows, or None."""
    # xdotool fails when it finds no window: no tray (yet) then.
    trays = subprocess.run(["xdotool", "search", "--class", "trayer"], env=dict(os.environ, DISPLAY=display),
                           capture_output=True).stdout
    for tray in trays.split():
        tree = x_tool(display, "xwininfo", "-tree", "-id", tray.decode()).decode()
        # An embedded icon is a child of the tray: "0x400026 (has no name): ()  22x22+1+1  +1001+1".
        for match in re.finditer(r"^\s+0x[0-9a-f]+ .*\s(\d+)x(\d+)[+-]-?\d+[+-]-?\d+\s+\+(-?\d+)\+(-?\d+)$",
                                 tree, re.MULTILINE):
            width, height, x, y = map(int, match.groups())
            if width > 4 and height > 4:
                return x + width // 2, y + height // 2
    return None


def move_to_tray(display, window):
    """ファイル(F) → タスクトレイに常駐: the window goes and the tray shows the icon."""
    choose_menu_command(display, window, TO_TRAY)
    wait_until(lambda: not viewable(display, window), 10, "the window stayed on screen after タスクトレイに常駐")
    wait_until(lambda: tray_icon_centre(display) is not None, 10, "no icon appeared in the tray")


def show_from_tray(display, window):
    """The tray icon's menu → メイン画面を表示."""
    x, y = tray_icon_centre(display)
    before = program_windows(display)
    x_tool(display, "xdotool", "mousemove", str(x), str(y), "click", "3")
    wait_until(lambda: program_windows(display) - before, 10, "the tray icon's menu did not open")
    # A menu opened by the mouse has no active item: the first Down reaches the first item.
    x_tool(display, "xdotool", "key", "--delay", "150", *(["Down"] * (SHOW_WINDOW + 1)), "Return")
    wait_until(lambda: viewable(display, window), 10, "the window did not come back from the tray")


def minimise(display, window):
    """Iconifies the window through the window manager, as its title bar's button does."""
    x_tool(display, "xdotool", "windowminimize", "--sync", window)
    wait_until(lambda: b"Iconic" in x_tool(display, "xprop", "-id", window, "WM_STATE"), 10,
               "the window manager did not minimise the window")


class Desktop:
    """openbox managing the display's windows and trayer as its system tray."""

    def __init__(self, display, scratch, log):
        home = os.path.join(scratch, "desktop-home")
        os.makedirs(home, mode=0o700)
        env = dict(os.environ, DISPLAY=display, HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"))
        self.processes = []
        try:
            self.start(["openbox"], env, log)
            # openbox announces itself on the root window once it manages the screen.
            wait_until(lambda: b"window id" in x_tool(display, "xprop", "-root", "_NET_SUPPORTING_WM_CHECK"),
                       15, "openbox did not start")
            self.start(["trayer", "--edge", "top", "--align", "right", "--height", "24",
                        "--widthtype", "request", "--transparent", "false"], env, log)
            wait_until(lambda: subprocess.run(["xdotool", "search", "--class", "trayer"], env=env,
                                              capture_output=True).stdout.strip(),
                       15, "trayer did not start")
        except BaseException:
            self.stop()
            raise

    def start(self, command, env, log):
        self.processes.append(subprocess.Popen(command, env=env, stdin=subprocess.DEVNULL, stdout=log,
                                               stderr=log, start_new_session=True))

    def stop(self):
        for process in reversed(self.processes):
            stop_process(process)


def stop_process(process):
    for sig in (signal.SIGTERM, signal.SIGKILL):
        if process.poll() is None:
            process.send_signal(sig)
            try:
                process.wait(timeout=3)
            except subprocess.TimeoutExpired:
                pass


# ---------------------------------------------------------------- sound server

class SoundServer:
    """A private PulseAudio whose default sink is a null sink named SINK."""

    def __init__(self, scratch, log):
        home = os.path.join(scratch, "pulse-home")
        runtime = os.path.join(scratch, "pulse-runtime")
        for path in (home, runtime):
            os.makedirs(path, mode=0o700)
        server_env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"),
                          XDG_RUNTIME_DIR=runtime)
        server_env.pop("PULSE_SERVER", None)
        server_env.pop("DBUS_SESSION_BUS_ADDRESS", None)
        # What every client (the program, pactl, parec) needs to reach this server alone.
        self.client_env = {"PULSE_SERVER": f"unix:{runtime}/pulse/native",
                           "PULSE_COOKIE": os.path.join(home, ".config", "pulse", "cookie")}
        self.process = subprocess.Popen(
            ["pulseaudio", "--daemonize=no", "-n", "--exit-idle-time=-1",
             "-L", f"module-null-sink sink_name={SINK}", "-L", "module-native-protocol-unix"],
            env=server_env, stdin=subprocess.DEVNULL, stdout=log, stderr=log, start_new_session=True)
        deadline = time.monotonic() + 10
        while self.pactl("set-default-sink", SINK).returncode != 0:
            if self.process.poll() is not None or time.monotonic() > deadline:
                self.stop()
                raise RuntimeError("the private PulseAudio did not start; see pulseaudio.log")
            time.sleep(0.2)

    def env(self):
        return dict(os.environ, **self.client_env)

    def pactl(self, *args):
        return subprocess.run(["pactl", *args], env=self.env(), capture_output=True, timeout=10)

    def monitor_level(self):
        """RMS and peak amplitude (0..1) of RECORD_SECONDS of the sink's monitor, by sox."""
        wanted = RECORD_SECONDS * RATE * CHANNELS * 2
        parec = subprocess.Popen(["parec", "-d", f"{SINK}.monitor", "--format=s16le",
                                  f"--rate={RATE}", f"--channels={CHANNELS}"],
                                 env=self.env(), stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        recorded = b""
        deadline = time.monotonic() + RECORD_SECONDS + 10
        try:
            while len(recorded) < wanted and time.monotonic() < deadline:
                chunk = parec.stdout.read1(wanted - len(recorded))
                if not chunk:
                    break
                recorded += chunk
        finally:
            parec.terminate()
            parec.wait(timeout=5)
        if len(recorded) < wanted:
            raise RuntimeError(f"recorded {len(recorded)} of {wanted} bytes from {SINK}.monitor")
        stat = subprocess.run(["sox", "-t", "raw", "-r", str(RATE), "-e", "signed", "-b", "16",
                               "-c", str(CHANNELS), "-", "-n", "stat"],
                              input=recorded, capture_output=True, timeout=30, check=True).stderr.decode()
        values = dict(line.split(":", 1) for line in stat.splitlines() if ":" in line)
        return float(values["RMS     amplitude"]), float(values["Maximum amplitude"])

    def stop(self):
        stop_process(self.process)


# ---------------------------------------------------------------- program folder

def write_dos(path, lines):
    with open(path, "wb") as f:
        f.write("".join(line + "\r\n" for line in lines).encode("cp932"))


def make_program_folder(parent, bin_dir, interval):
    folder = os.path.join(parent, f"program-{interval}")
    os.makedirs(os.path.join(folder, MAIL_DATA))
    for program in PROGRAMS:
        if os.path.exists(os.path.join(bin_dir, program)):
            shutil.copy2(os.path.join(bin_dir, program), folder)
    for name in DATA_FOLDERS:
        shutil.copytree(os.path.join(bin_dir, name), os.path.join(folder, name))
    if interval:
        write_dos(os.path.join(folder, MAIL_DATA, "ini.ini"), ["[EXEINI]", f"NUMBER2={interval}"])
    # A known server (a refused port, so a check ends at once) and a saved account keep the
    # first-start dialogs closed.
    write_dos(os.path.join(folder, "lunaro.ini"), ["SMTP=", "POP3=127.0.0.1:1", "MAIL=", "APOP=0"])
    write_dos(os.path.join(folder, MAIL_DATA, "iniIdPass.ini"), ["[EXEINI]", "NAME=bench", "NAME2=bench"])
    return folder


def start_program(folder, display, sound, scratch, log):
    env = dict(sound.env(), DISPLAY=display)
    for key, sub in (("XDG_RUNTIME_DIR", "runtime"), ("XDG_CACHE_HOME", "cache"),
                     ("XDG_CONFIG_HOME", "config"), ("XDG_DATA_HOME", "data")):
        path = os.path.join(scratch, sub)
        os.makedirs(path, mode=0o700, exist_ok=True)
        env[key] = path
    env.pop("DBUS_SESSION_BUS_ADDRESS", None)
    # Shows why the tune's sound output could not open, should it fail.
    env["QT_LOGGING_RULES"] = "brindle.sound.debug=true"
    return subprocess.Popen([os.path.join(folder, "brindle")], cwd=folder, env=env,
                            stdin=subprocess.DEVNULL, stdout=log, stderr=log, start_new_session=True)


def settle(process, what, log_path, args):
    """Waits the settle time; a process that ended meanwhile stops the bench."""
    time.sleep(args.settle)
    if process.poll() is not None:
        raise RuntimeError(f"{what} ended with {process.returncode}; see {log_path}")


def measure_peer(args, display, xvfb, sound, scratch):
    """The scrolling name alone: what the shown states cost at the least with these frames."""
    log_path = os.path.join(scratch, "peer.log")
    with open(log_path, "w") as log:
        peer = subprocess.Popen([args.peer], env=dict(os.environ, DISPLAY=display), stdin=subprocess.DEVNULL,
                                stdout=log, stderr=log, start_new_session=True)
    meter = TreeMeter(peer.pid, xvfb.pid, sound.process.pid)
    try:
        print(f"started the peer {args.peer} (pid {peer.pid})")
        settle(peer, "the peer", log_path, args)
        print("measuring: the peer ...", flush=True)
        return meter.measure(args.window)
    finally:
        meter.kill_all()


# ---------------------------------------------------------------- report

def report_state(label, result, memory):
    rss, pss, hwm, count, (pss_alone, others) = memory
    return {"label": label, **result, "rss": rss, "pss": pss, "hwm": hwm, "count": count,
            "pss_alone": pss_alone, "others": others,
            "goal": GOALS[label[0]], "wakeup_goal": WAKEUP_GOALS.get(label[0])}


def meets_goals(row):
    return row["share"] < row["goal"] and (row["wakeup_goal"] is None or row["wakeups"] <= row["wakeup_goal"])


def print_peer(rows, peer):
    print(f"peer, the scrolling name alone in a window (bench/idle/ScrollPeer.cpp):"
          f" {peer['share'] * 100:.2f} % of a core, {peer['wakeups']:.1f} wake-ups/s")
    for row in rows:
        if row["label"][0] in "12" and peer["share"] > 0:
            print(f"  {row['label']}: {row['share'] / peer['share']:.2f} x the peer")


def print_table(rows):
    print()
    print(f"{'state':<46} {'CPU % core':>10} {'goal %':>7} {'wake-ups/s':>10} {'goal':>5}"
          f" {'tree RSS MiB':>12} {'tree PSS MiB':>12} {'main VmHWM MiB':>15} {'procs':>5}")
    for row in rows:
        wakeup_goal = "" if row["wakeup_goal"] is None else "<= " + format(row["wakeup_goal"], "g")
        print(f"{row['label']:<46} {row['share'] * 100:>10.2f} {'< ' + format(row['goal'] * 100, 'g'):>7}"
              f" {row['wakeups']:>10.1f} {wakeup_goal:>5} {row['rss'] / 1024:>12.1f}"
              f" {row['pss'] / 1024:>12.1f} {row['hwm'] / 1024:>15.1f} {row['count']:>5}"
              f"{'' if meets_goals(row) else '  over its goal'}")
    print()
    print_pss_goal(rows[0])
    print("wake-ups/s: context switches (voluntary and not) of the program's main thread a second.")
    print("tree RSS sums each process's resident set (shared pages count once per process);")
    print("tree PSS shares them out. Xvfb and PulseAudio are not in the tree; their CPU is listed below"
          " for reference.")
    for row in rows:
        print()
        print(f"{row['label']}: {row['processes']} processes in the window ({row['new']} appeared),"
              f" Xvfb {row['xvfb'] * 100:.2f} %, PulseAudio {row['pulseaudio'] * 100:.2f} % of a core")
        for share, name, pid in row["breakdown"][:8]:
            print(f"    {share * 100:6.2f} %  {name} (pid {pid})")
        print("  busiest threads:")
        for share, name, pid in row["threads"][:8]:
            print(f"    {share * 100:6.2f} %  {name} (pid {pid})")


def pss_within_goal(row):
    return row["pss"] / 1024 < PSS_GOAL_MIB


def print_pss_goal(row):
    """The tree's PSS with the program running alone (state 1) beside its goal."""
    pss = row["pss"] / 1024
    print(f"tree PSS, program running alone ({row['label']}): {pss:.1f} MiB, goal < {PSS_GOAL_MIB} MiB,"
          f" ratio {pss / PSS_GOAL_MIB:.2f}")
    if row["pss_alone"] and row["others"]:
        print(f"  pages shared with {row['others']} processes of other Qt programs counted"
              " as if those were not running")
    elif row["others"]:
        print(f"  plain PSS (page frames are readable by root only): {row['others']} processes of other"
              " Qt programs were running, so it reads too low")


def tail_matching(path, words, limit=6):
    with open(path, errors="replace") as f:
        lines = [line.rstrip() for line in f if any(w in line.lower() for w in words)]
    return lines[-limit:]


# ---------------------------------------------------------------- run

def prove_tune_heard(sound, log_path):
    rms, peak = sound.monitor_level()
    print(f"recorded {RECORD_SECONDS} s of {SINK}.monitor: RMS {rms:.4f}, peak {peak:.4f}")
    if rms < AUDIBLE_RMS:
        for line in tail_matching(log_path, ("fluid", "audio", "alsa", "pulse", "midi")):
            print("    " + line)
        raise RuntimeError("the tune is not heard on the sound server")


def enter_state(state, display, window, sound, log_path, args):
    """Brings the program from the state before into this one and lets it settle."""
    if state.startswith("3"):
        changed = choose_new_mail_scene(display)
        print(f"chose ファイル(F) → イベント確認: {changed * 100:.0f} % of the window's pixels changed")
        if changed < 0.05:
            raise RuntimeError("the scene did not change after the menu command")
        time.sleep(args.settle)
        prove_tune_heard(sound, log_path)
    elif state.startswith("4"):
        move_to_tray(display, window)
        print("chose ファイル(F) → タスクトレイに常駐: the window is gone, the icon is in the tray")
        time.sleep(args.settle)
    elif state.startswith("5"):
        show_from_tray(display, window)
        minimise(display, window)
        print("back from the tray (メイン画面を表示), then minimised by the window manager")
        time.sleep(args.settle)


def run(args, scratch):
    rows = []
    xvfb_log = open(os.path.join(scratch, "xvfb.log"), "w")
    xvfb, display = start_xvfb(xvfb_log)
    print(f"Xvfb on {display} (pid {xvfb.pid}); settle {args.settle} s, window {args.window} s per state")
    desktop_log = open(os.path.join(scratch, "desktop.log"), "w")
    pulseaudio_log = open(os.path.join(scratch, "pulseaudio.log"), "w")
    desktop = sound = None
    try:
        desktop = Desktop(display, scratch, desktop_log)
        print("openbox and trayer on the display")
        sound = SoundServer(scratch, pulseaudio_log)
        print(f"PulseAudio with the null sink {SINK} (pid {sound.process.pid})")
        for interval, states in ((0, ("1 interval off, normal scene", "3 new-mail scene with its tune")),
                                 (5, ("2 interval on (5 min), lamp blinking",
                                      "4 in the tray (interval on, normal scene)",
                                      "5 minimised (interval on, normal scene)"))):
            folder = make_program_folder(scratch, args.bin_dir, interval)
            log_path = os.path.join(scratch, f"brindle-{interval}.log")
            with open(log_path, "w") as log:
                program = start_program(folder, display, sound, os.path.join(scratch, f"home-{interval}"), log)
            meter = TreeMeter(program.pid, xvfb.pid, sound.process.pid)
            try:
                print(f"started the program in {folder} (pid {program.pid})")
                settle(program, "the program", log_path, args)
                window = main_window(display)
                for state in states:
                    enter_state(state, display, window, sound, log_path, args)
                    print(f"measuring: {state} ...", flush=True)
                    result = meter.measure(args.window)
                    rows.append(report_state(state, result, meter.memory()))
                    if program.poll() is not None:
                        raise RuntimeError(f"the program ended during the window; see {log_path}")
            finally:
                meter.kill_all()
                program.wait(timeout=5) if program.poll() is None else None
        peer = measure_peer(args, display, xvfb, sound, scratch)
    finally:
        if sound:
            sound.stop()
        if desktop:
            desktop.stop()
        stop_process(xvfb)
        for log in (pulseaudio_log, desktop_log, xvfb_log):
            log.close()
    rows.sort(key=lambda row: row["label"])
    print_table(rows)
    print()
    print_peer(rows, peer)
    return 0 if all(meets_goals(row) for row in rows) and pss_within_goal(rows[0]) else 2


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("bin_dir", help="folder holding the built program and its data folders")
    parser.add_argument("peer", help="the peer program: the scrolling name alone")
    parser.add_argument("--settle", type=float, default=10, help="seconds before each window")
    parser.add_argument("--window", type=float, default=30, help="seconds of each measurement")
    parser.add_argument("--keep", action="store_true", help="keep the temporary folder and its logs")
    args = parser.parse_args()
    signal.signal(signal.SIGINT, on_signal)
    signal.signal(signal.SIGTERM, on_signal)
    scratch = tempfile.mkdtemp(prefix="brindle-idle-")
    try:
        return run(args, scratch)
    except (Interrupted, RuntimeError, subprocess.CalledProcessError) as error:
        print(f"idle bench stopped: {error}", file=sys.stderr)
        return 1
    finally:
        if args.keep:
            print(f"kept {scratch}")
        else:
            shutil.rmtree(scratch, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
