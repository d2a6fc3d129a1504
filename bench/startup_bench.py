#!/usr/bin/env python3
"""Cold start of the built program under Xvfb: time from launch to the main window's first
paint (median of N runs), and resident memory five seconds after the first paint; optionally
the resident memory of a peer program measured in the same run, under the same Xvfb.

Usage: bench/startup_bench.py [path/to/quillmark] [runs]
                              [--peer COMMAND] [--peer-window NAME] [--peer-env NAME=VALUE]...

  bench/startup_bench.py build/release/bin/quillmark 5
  bench/startup_bench.py build/release/bin/quillmark 5 --peer gnome-sudoku

Our program is run with QUILLMARK_STARTUP_PROBE=1: it prints the monotonic time of its first
paint and, five seconds later, its own VmRSS and whether it is ready (the engine started, the
tool bar enabled) on stderr, then quits. A run that is not ready by then fails the benchmark:
a game whose engine did not load would look smaller than the game a player gets.

A peer has no such probe, so it is measured from outside: it is started, the script polls
`xdotool search --onlyvisible --pid PID` (or, with --peer-window, `--name NAME`) every 20 ms
until one of its windows is mapped (viewable), waits five seconds, reads VmRSS from
/proc/PID/status and kills it. The peer's "window mapped" time is when the poll first saw the
window; the window is mapped just before it first paints, so it stands for the first paint.
--peer-env sets variables for the peer alone. Under Xvfb, a GTK 3 peer such as GNOME Sudoku
probes GLX for its visuals as it starts, which loads Mesa's software rasteriser and libLLVM:
some 50 MB resident that belong to Mesa, not to the game. GTK keeps the visuals it found on the
root window (GDK_VISUALS) for later programs, as in a desktop session, so only its first run on
the server probes; GDK_GL=disable leaves GL out of every run. Our program draws with Qt's
raster engine and loads no GL driver either way.

Both programs are alternated run by run (ours, then the peer) on one Xvfb server
(1280x1024x24, its display number picked free by Xvfb, never reset between runs). Every single run gets a fresh scratch
HOME with its own XDG_CONFIG_HOME, XDG_DATA_HOME, XDG_CACHE_HOME, XDG_STATE_HOME and an empty
XDG_RUNTIME_DIR, and no D-Bus session bus (DBUS_SESSION_BUS_ADDRESS is removed), so neither
program reads a user's settings, saved games or caches, nor talks to a user's desktop. Our
program still reads and writes its own config.ini beside the executable, as it always does.
"""
import argparse
import os
import shlex
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

SETTLE_SECONDS = 5.0


def parse_arguments():
    parser = argparse.ArgumentParser(
        description="Start-up time and resident memory under Xvfb, ours and optionally a peer's.")
    parser.add_argument("program", nargs="?", default="build/release/bin/quillmark")
    parser.add_argument("runs", nargs="?", type=int, default=5)
    parser.add_argument("--peer", metavar="COMMAND",
                        help="a peer program measured the same number of times, e.g. gnome-sudoku")
    parser.add_argument("--peer-window", metavar="NAME",
                        help="find the peer's window by this name instead of by its process id")
    parser.add_argument("--peer-env", metavar="NAME=VALUE", action="append", default=[],
                        help="set this in the peer's environment only (may be given again), "
                             "e.g. GDK_GL=disable")
    return parser.parse_args()


def start_xvfb():
    """Starts Xvfb on a free display; returns the process and the display name."""
    read_end, write_end = os.pipe()
    # -noreset: an X server resets when its last client leaves, and a program that connects
    # while it resets (the next run, started the moment the last one quit) finds no display.
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24",
                             "-nolisten", "tcp", "-noreset"],
                            stderr=subprocess.DEVNULL, pass_fds=(write_end,))
    os.close(write_end)
    number = b""
    with os.fdopen(read_end, "rb") as pipe:
        while not number.endswith(b"\n"):
            chunk = pipe.read(1)
            if not chunk:
                break
            number += chunk
    if not number.strip():
        xvfb.terminate()
        sys.exit("Xvfb did not start")
    return xvfb, ":" + number.decode().strip()


def scratch_environment(display, scratch):
    """The environment of one run: a fresh HOME and XDG folders under scratch, no session bus."""
    env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb")
    for name in ("DBUS_SESSION_BUS_ADDRESS", "QUILLMARK_STARTUP_PROBE", "WAYLAND_DISPLAY"):
        env.pop(name, None)
    folders = {
        "HOME": "home",
        "XDG_CONFIG_HOME": "home/.config",
        "XDG_DATA_HOME": "home/.local/share",
        "XDG_CACHE_HOME": "home/.cache",
        "XDG_STATE_HOME": "home/.local/state",
        "XDG_RUNTIME_DIR": "runtime",
    }
    for variable, folder in folders.items():
        path = os.path.join(scratch, folder)
        os.makedirs(path, mode=0o700, exist_ok=True)
        env[variable] = path
    return env


def measure_ours(program, display):
    """Our program with its start-up probe: (ms from launch to first paint, VmRSS kB)."""
    with tempfile.TemporaryDirectory(prefix="startup-bench-") as scratch:
        env = scratch_environment(display, scratch)
        env["QUILLMARK_STARTUP_PROBE"] = "1"
        start = time.monotonic() * 1000.0
        done = subprocess.run([program], env=env, capture_output=True, text=True, timeout=60)
    paint = memory = ready = None
    for line in done.stderr.splitlines():
        if line.startswith("first-paint-monotonic-ms "):
            paint = float(line.split()[1]) - start
        elif line.startswith("rss-after-5s "):
            memory = int(line.split()[2])
        elif line.startswith("ready "):
            ready = line.split()[1] == "1"
    if paint is None or memory is None or ready is None:
        sys.exit(f"{program} printed no start-up probe lines:\n{done.stderr}")
    if not ready:
        sys.exit(f"{program} was not ready five seconds after its first paint:\n{done.stderr}")
    return paint, memory


def mapped_window(pid, window_name, env):
    search = ["xdotool", "search", "--onlyvisible"]
    search += ["--name", window_name] if window_name else ["--pid", str(pid)]
    found = subprocess.run(search, env=env, capture_output=True, text=True)
    return found.returncode == 0 and found.stdout.strip() != ""


def resident_kb(pid):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    raise RuntimeError(f"no VmRSS for process {pid}")


def measure_peer(command, window_name, extra_env, display):
    """A peer program from outside: (ms from launch to its window mapped, VmRSS kB)."""
    with tempfile.TemporaryDirectory(prefix="startup-bench-") as scratch:
        env = scratch_environment(display, scratch)
        env.update(extra_env)
        log = open(os.path.join(scratch, "peer.log"), "w")
        start = time.monotonic()
        peer = subprocess.Popen(command, env=env, stdout=log, stderr=subprocess.STDOUT)
        try:
            while not mapped_window(peer.pid, window_name, env):
                if peer.poll() is not None:
                    log.close()
                    with open(os.path.join(scratch, "peer.log")) as text:
                        sys.exit(f"{command[0]} ended before its window was mapped:\n"
                                 f"{text.read()}")
                if time.monotonic() - start > 60:
                    sys.exit(f"{command[0]} mapped no window in 60 s")
                time.sleep(0.02)
            mapped = (time.monotonic() - start) * 1000.0
            time.sleep(SETTLE_SECONDS)
            memory = resident_kb(peer.pid)
        finally:
            peer.kill()
            peer.wait()
            log.close()
    return mapped, memory


def runs_text(values, form):
    return ", ".join(form(v) for v in values)


def main():
    arguments = parse_arguments()
    peer_command = shlex.split(arguments.peer) if arguments.peer else None
    if peer_command:
        # Debian puts games such as gnome-sudoku in /usr/games, which root's PATH leaves out.
        found = shutil.which(peer_command[0]) or shutil.which(peer_command[0], path="/usr/games")
        if found is None:
            sys.exit(f"peer program not found: {peer_command[0]}")
        peer_command[0] = found
    peer_env = dict(setting.split("=", 1) for setting in arguments.peer_env)
    xvfb, display = start_xvfb()
    try:
        paints, memories, peer_maps, peer_memories = [], [], [], []
        for _ in range(arguments.runs):
            paint, memory = measure_ours(arguments.program, display)
            paints.append(paint)
            memories.append(memory)
            if peer_command:
                mapped, memory = measure_peer(peer_command, arguments.peer_window, peer_env,
                                              display)
                peer_maps.append(mapped)
                peer_memories.append(memory)
        print(f"first paint after launch: median {statistics.median(paints):.1f} ms "
              f"(runs: {runs_text(paints, lambda p: f'{p:.1f}')})")
        print(f"resident memory 5 s after first paint: median "
              f"{statistics.median(memories) / 1024:.1f} MB "
              f"(runs: {runs_text(memories, lambda m: f'{m / 1024:.1f}')})")
        if peer_command:
            name = os.path.basename(peer_command[0])
            if peer_env:
                name += " (" + " ".join(arguments.peer_env) + ")"
            print(f"{name}: window mapped after launch: median "
                  f"{statistics.median(peer_maps):.1f} ms "
                  f"(runs: {runs_text(peer_maps, lambda p: f'{p:.1f}')})")
            print(f"{name}: resident memory 5 s after window mapped: median "
                  f"{statistics.median(peer_memories) / 1024:.1f} MB "
                  f"(runs: {runs_text(peer_memories, lambda m: f'{m / 1024:.1f}')})")
            difference = statistics.median(memories) - statistics.median(peer_memories)
            print(f"ours minus {name}: {difference / 1024:+.1f} MB")
    finally:
        xvfb.terminate()
        xvfb.wait()


if __name__ == "__main__":
    main()
