"""Runs the benchmarks and gathers their figures over the runs into one table: in memory, in a window on Xvfb, the
start-up against a bare program on the library, and under Wine when the Windows build exists. bench/run builds the
programs first and calls it from the repository's root: measure.py RUNS [--smoke] [--markdown]"""

import collections
import datetime
import os
import platform
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, "tools")
from game_driver import Display, Game, art_folder, wine_prefix  # noqa: E402

# A benchmark program prints each figure as "figure = value unit; against baseline = value unit".
FIGURE = re.compile(r"^(.+?) = ([\d.]+) (\S+)(?:; against (.+) = ([\d.]+) \S+)?$")
WINE_BENCH = "build-windows/game/swarm_bench.exe"


def figures(output, where=""):
    """The figures in a program's output as ((figure, baseline), value, baseline's value, unit). The output goes to
    standard error as it is, with the run's progress."""
    found = []
    for line in output.splitlines():
        print(line, file=sys.stderr)
        match = FIGURE.match(line)
        if not match:
            continue
        figure, value, unit, baseline, base = match.groups()
        found.append(((figure + where, baseline or ""), float(value), base and float(base), unit))
    return found


def run(command, env=None, cwd="."):
    result = subprocess.run(command, env=env, cwd=cwd, check=True, timeout=600, stdout=subprocess.PIPE, text=True)
    return result.stdout


def launch_to_exit(command, env):
    """Milliseconds from launching a program to its end, and what it printed."""
    started = time.monotonic()
    output = run(command, env)
    return (time.monotonic() - started) * 1000, output


def window_run(frames, launches):
    """The frame rate in a window; the game's start-up to its first presented frame and the way out, against the
    bare program on the library, each launched alike in turn, medians of so many launches; its peak memory."""
    def measure(display):
        found = figures(run(["build/swarm_bench", "display", frames], display.env))
        game = [launch_to_exit(["build/swarm_bench", "startup"], display.env) for _ in range(launches)]
        floor = [launch_to_exit(["build/library_window"], display.env)[0] for _ in range(launches)]
        return found + figures(game[0][1]) + [(
            ("start-up: launch to the first presented frame and exit", "a bare program on the library that opens the "
             "same window and presents one frame, launched the same way"),
            statistics.median(ms for ms, _ in game), statistics.median(floor), "ms")]
    return on_xvfb(measure)


def wine_start_up(display, cwd, env, program, title):
    """Milliseconds from launching the program under Wine to its window's first frame (or paint), from cold as a
    player's first start is: no Wine server running. It then quits."""
    for option in ("-k", "-w"):  # end the server, and wait until it has
        subprocess.run(["wineserver", option], env=dict(os.environ, **env))
    started = time.monotonic()
    game = Game(display, ["wine", program], cwd, dict(display.env, **env), os.path.join(cwd, "out"), title)
    try:
        game.wait_for_window()
        taken = (time.monotonic() - started) * 1000
        assert game.quit() == 0
    finally:
        game.close()
    return taken


def on_xvfb(measure, window_manager=False):
    display = Display("xvfb", tempfile.mkdtemp(prefix="swarm-bench-"), window_manager=window_manager)
    try:
        return measure(display)
    finally:
        display.close()


def wine_run(folder, env, frames):
    def measure(display):
        found = figures(run(["wine", "swarm_bench.exe", "display", frames], dict(display.env, **env), folder),
                        " under Wine")
        game = wine_start_up(display, folder, env, "swarm.exe", "swarm")
        plain = wine_start_up(display, folder, env, "plain_window.exe", "plain window")
        subprocess.run(["wineserver", "-k"], env=dict(os.environ, **env))  # Wine's helpers go too
        return found + [(("start-up under Wine: launch to the first frame, from cold, under openbox", "a plain "
                          "Win32 window of the same size and style, launched the same way, to its first paint"),
                         game, plain, "ms")]
    # Windows programs run under a window manager, as on every Windows desktop.
    return on_xvfb(measure, window_manager=True)


def every_run(runs, smoke):
    memory, frames, wine_frames, launches = ("smoke", "300", "60", 2) if smoke else ("measure", "3000", "300", 10)
    jobs = [("memory", lambda: figures(run(["build/swarm_bench", "memory", memory]))),
            ("window", lambda: window_run(frames, launches))]
    if os.path.exists(WINE_BENCH):
        # Wine reads the art beside the program, as a Windows player's unzipped folder has it.
        folder = art_folder(tempfile.mkdtemp(prefix="swarm-bench-"))
        for program in (WINE_BENCH, "build-windows/swarm.exe", "build-windows/game/plain_window.exe"):
            shutil.copy(program, folder)
        env = wine_prefix(os.path.join(folder, "prefix"))
        jobs.append(("Wine", lambda: wine_run(folder, env, wine_frames)))
    rows = collections.defaultdict(list)
    for kind, job in jobs:
        for number in range(1, runs + 1):
            print("== run %d of %d: %s" % (number, runs, kind), file=sys.stderr, flush=True)
            for key, value, base, unit in job():
                rows[key].append((value, base, unit))
    return rows


def shown(value, unit):
    """A value in the unit a reader takes in at a glance, to three figures."""
    if unit == "kB":
        value, unit = value / 1024, "MB"
    for limit, divisor, name in ((1e9, 1e9, "s"), (1e6, 1e6, "ms"), (1e4, 1e3, "µs")) if unit == "ns" else ():
        if value >= limit:
            value, unit = value / divisor, name
            break
    return "%.*f %s" % (0 if value >= 100 else 1 if value >= 10 else 2, value, unit)


def table(rows, runs):
    """The medians: figure, baseline, the figure's and the baseline's medians, and the median of the runs' ratios."""
    lines = [("figure", "baseline", "median of %d run%s" % (runs, "s" * (runs > 1)), "baseline's median", "ratio")]
    for (figure, baseline), samples in rows.items():
        unit = samples[0][2]
        value = shown(statistics.median(s[0] for s in samples), unit)
        if not baseline:
            lines.append((figure, "", value, "", ""))
            continue
        ratio = statistics.median(s[0] / s[1] for s in samples)
        lines.append((figure, baseline, value, shown(statistics.median(s[1] for s in samples), unit),
                      "%.*f" % (2 if ratio >= 0.1 else 3, ratio)))
    return lines


def machine():
    def output(*command):
        try:
            return subprocess.run(command, capture_output=True, text=True).stdout.strip()
        except OSError:
            return ""
    with open("/proc/cpuinfo") as cpuinfo:
        model = re.search(r"model name\s*: (.*)", cpuinfo.read())
    with open("/etc/debian_version") as debian:
        release = debian.read().strip()
    wine = output("wine", "--version") if os.path.exists(WINE_BENCH) else ""
    return "%s, %d cores, Linux %s, Debian %s; the library %s%s" % (
        model[1] if model else platform.machine(), os.cpu_count(), platform.release(), release,
        output("dpkg-query", "-W", "-f", "${Version}", "liballegro4.4"), ", " + wine if wine else "")


def main():
    runs, smoke, markdown = int(sys.argv[1]), "--smoke" in sys.argv, "--markdown" in sys.argv
    lines = table(every_run(runs, smoke), runs)
    if not markdown:
        widths = [max(len(line[i]) for line in lines) for i in range(5)]
        for line in lines:
            print("  ".join(cell.ljust(width) for cell, width in zip(line, widths)).rstrip())
        return
    command = "bench/run%s --markdown%s" % (" --smoke" if smoke else "", "" if smoke else " %d" % runs)
    commit = subprocess.run(["git", "describe", "--always", "--dirty"], capture_output=True, text=True).stdout.strip()
    print("`%s`, %s, commit %s, on %s.\n" % (command, datetime.date.today().isoformat(), commit, machine()))
    print("| " + " | ".join(lines[0]) + " |\n|---|---|---|---|---|")
    for line in lines[1:]:
        print("| " + " | ".join(line) + " |")


if __name__ == "__main__":
    main()
