#!/usr/bin/env python3
"""The scale suite's measurements, run by bench/run.sh once the programs are built and the pair
is generated:

    scale_suite.py --bin BIN_DIR --bench BENCH_DIR --pair PAIR_DIR [--pair PAIR_DIR] [--rounds N]

Prints one line per case and pair, then how the pair cases grow from the first pair to the
last (the memory case compares the editor with and without the pair, so its "per item" growth
is that of the whole process). Every ratio compares two commands measured in the same run, in
alternating repetitions so that both see the same machine load; the figure is the median of the
repetitions. Times are wall-clock times of whole processes (start-up included), except the
Replace All case, which bench_open_replace times inside one process against the open before
it; memory is the peak resident set of one process, read from the kernel when it ends.
"""
import argparse
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time


def run(args, env=None, expect=(0,)):
    """Runs args; returns (seconds, stdout). Stops the suite on an unexpected exit code."""
    start = time.perf_counter()
    proc = subprocess.Popen(args, stdout=subprocess.PIPE, stderr=subprocess.PIPE, env=env)
    out, err = proc.communicate()
    seconds = time.perf_counter() - start
    if proc.returncode not in expect:
        sys.exit("scale suite: %s exited with %d:\n%s" % (args[0], proc.returncode,
                                                          err.decode(errors="replace")))
    return seconds, out.decode(errors="replace")


def peak_rss_mb(args, env=None):
    """Peak resident memory of one run of args, in MB, from wait4's rusage of that child."""
    proc = subprocess.Popen(args, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, env=env)
    _, status, usage = os.wait4(proc.pid, 0)
    proc.returncode = os.waitstatus_to_exitcode(status)
    err = proc.stderr.read().decode(errors="replace")
    proc.stderr.close()
    if proc.returncode != 0:
        sys.exit("scale suite: %s exited with %d:\n%s" % (args[0], proc.returncode, err))
    return usage.ru_maxrss / 1024.0


def side_by_side(rounds, first, second):
    """Alternates first() and second() (each returning seconds); medians of both."""
    a, b = [], []
    for i in range(rounds):
        # Alternate which goes first, so that neither always runs on a warm cache.
        if i % 2 == 0:
            a.append(first())
            b.append(second())
        else:
            b.append(second())
            a.append(first())
    return statistics.median(a), statistics.median(b)


def line(case, a_name, a, b_name, b):
    print("%-34s %s %8.1f ms | %s %8.1f ms | ratio %6.2f"
          % (case, a_name, a * 1e3, b_name, b * 1e3, a / b), flush=True)


def measure_pair(o, pair, env):
    """The cases that read the pair; prints their lines and returns {case: (a, b)}, a being the
    measured command and b what it is compared with (seconds, or MB for memory)."""
    kavtool = os.path.join(o.bin, "kavtool")
    editor = os.path.join(o.bin, "KavrinoTranslationTool")
    fra = os.path.join(pair, "Language", "Kavr_FRA.str")
    enu = os.path.join(pair, "Default", "Kavr_ENU.str")
    po = os.path.join(pair, "Kavr_FRA.po")
    out_dir = tempfile.mkdtemp(prefix="kav-bench-")
    out = os.path.join(out_dir, "Kavr_FRA.str")
    tool = [kavtool, "--home", pair]
    cases = {}

    def timed(args, expect=(0,)):
        return lambda: run(args, env, expect)[0]

    def copy_both():
        # The floor of a save: both files written and on the disk.
        start = time.perf_counter()
        subprocess.run(["cp", enu, fra, out_dir], check=True)
        subprocess.run(["sync"], check=True)
        return time.perf_counter() - start

    # The counts the cases rely on, checked once.
    _, stats_out = run(tool + ["stats", fra], env)
    items = int(re.search(r"items: (\d+)", stats_out).group(1))
    _, replace_out = run(tool + ["replace", fra, "Fichier", "Dossier", "--match-case",
                                 "-o", out, "--force"], env)
    hits = int(re.search(r"Found (\d+)", replace_out).group(1))
    print("pair: %d items, default %.1f MB, translated %.1f MB; %d repetitions, medians"
          % (items, os.path.getsize(enu) / 1e6, os.path.getsize(fra) / 1e6, o.rounds))

    a, b = side_by_side(o.rounds, timed(tool + ["stats", fra]),
                        timed(["msgfmt", "--statistics", "-o", os.devnull, po]))
    line("open: stats vs msgfmt --statistics", "kavtool stats", a, "msgfmt", b)
    cases["open / msgfmt"] = (a, b)

    a, b = side_by_side(o.rounds, timed(tool + ["roundtrip", fra, out, "--force"]), copy_both)
    line("load + save: roundtrip vs cp+sync", "kavtool roundtrip", a, "cp of both + sync", b)
    cases["save / (cp + sync)"] = (a, b)

    # The Replace All against the open, both timed inside one process that opens the pair as
    # kavtool does (no process start, no save).
    opens, replaces = [], []
    for _ in range(o.rounds):
        _, text = run([os.path.join(o.bench, "bench_open_replace"), "--home", pair, fra], env)
        opens.append(float(re.search(r"open: ([\d.]+) ms", text).group(1)) / 1e3)
        replaces.append(float(re.search(r"replace all: ([\d.]+) ms", text).group(1)) / 1e3)
    a, b = statistics.median(replaces), statistics.median(opens)
    line("Replace All, %d hits vs open" % hits, "Replace All", a, "open", b)
    cases["Replace All / open"] = (a, b)

    # The whole command, which also saves and reads the file back, against the open command.
    a, b = side_by_side(o.rounds, timed(tool + ["replace", fra, "Fichier", "Dossier",
                                                "--match-case", "-o", out, "--force"]),
                        timed(tool + ["stats", fra]))
    line("open+replace+save vs open", "kavtool replace", a, "kavtool stats", b)
    cases["replace cmd / stats"] = (a, b)

    # check exits 1 when it has findings, which the generated pair has.
    a, b = side_by_side(o.rounds, timed(tool + ["check", fra], expect=(0, 1)),
                        timed(tool + ["stats", fra]))
    line("check vs stats", "kavtool check", a, "kavtool stats", b)
    cases["check / open"] = (a, b)

    shot = os.path.join(out_dir, "shot.png")
    home = ["--home", pair]
    with_pair, without = [], []
    for _ in range(o.rounds):
        with_pair.append(peak_rss_mb([editor] + home + [fra, "--screenshot", shot], env))
        without.append(peak_rss_mb([editor] + home + ["--screenshot", shot], env))
    w, n = statistics.median(with_pair), statistics.median(without)
    print("%-34s with the pair open %8.1f MB | without a file %8.1f MB | ratio %6.2f"
          % ("editor peak memory", w, n, w / n), flush=True)
    cases["editor memory (MB)"] = (w, n)
    cases.update(measure_window(o, pair, env, copy_both))
    if o.peers:
        cases.update(measure_window_peers(o, pair, env))
    shutil.rmtree(out_dir, ignore_errors=True)
    return items, cases


def cpu_to_idle(args, env, settle=1.5, limit=300.0):
    """CPU seconds (user + system) of one process from its launch until it is idle (no CPU used
    for `settle` seconds), and its peak resident memory then in MB; the process is then ended.
    This is what a translator waits for: the window open and done with its start-up work."""
    proc = subprocess.Popen(args, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=env)
    tick = os.sysconf("SC_CLK_TCK")

    def sample():
        with open("/proc/%d/stat" % proc.pid) as f:
            fields = f.read().rsplit(")", 1)[1].split()
        cpu = (int(fields[11]) + int(fields[12])) / tick
        with open("/proc/%d/status" % proc.pid) as f:
            peak = int(re.search(r"VmHWM:\s+(\d+)", f.read()).group(1)) / 1024.0
        return cpu, peak

    start = time.perf_counter()
    last, last_change = -1.0, start
    cpu, peak = 0.0, 0.0
    try:
        while time.perf_counter() - start < limit:
            time.sleep(0.1)
            if proc.poll() is not None:
                sys.exit("scale suite: %s ended before it was idle" % args[0])
            cpu, peak = sample()
            now = time.perf_counter()
            if cpu != last:
                last, last_change = cpu, now
            elif now - last_change >= settle:
                break
    finally:
        proc.kill()
        proc.wait()
    return cpu, peak


def start_display():
    """A private X server for the window cases (Poedit needs one); None without Xvfb."""
    if not shutil.which("Xvfb"):
        return None, None
    for number in range(90, 110):
        if not os.path.exists("/tmp/.X11-unix/X%d" % number) and \
                not os.path.exists("/tmp/.X%d-lock" % number):
            server = subprocess.Popen(["Xvfb", ":%d" % number, "-screen", "0", "1600x1000x24",
                                       "-nolisten", "tcp"], stdout=subprocess.DEVNULL,
                                      stderr=subprocess.DEVNULL)
            for _ in range(50):
                if os.path.exists("/tmp/.X11-unix/X%d" % number):
                    return server, ":%d" % number
                time.sleep(0.1)
            server.kill()
    return None, None


def measure_window_peers(o, pair, env):
    """The editor against Qt Linguist and Poedit on the same messages: CPU from launch to idle
    minus an empty launch of the same program, and peak memory with the messages open."""
    editor = os.path.join(o.bin, "KavrinoTranslationTool")
    fra = os.path.join(pair, "Language", "Kavr_FRA.str")
    po = os.path.join(pair, "Kavr_FRA.po")
    linguist = "/usr/lib/qt6/bin/linguist"
    lconvert = "/usr/lib/qt6/bin/lconvert"
    poedit = shutil.which("poedit")
    cases = {}
    server, display = start_display()
    if display:
        env = dict(env, DISPLAY=display, QT_QPA_PLATFORM="xcb")
    try:
        ts = os.path.join(pair, "Kavr_FRA.ts")
        if os.path.exists(lconvert) and not os.path.exists(ts):
            subprocess.run([lconvert, "-i", po, "-o", ts], check=True, env=env)

        def opened(args, empty_args):
            loaded, empty, peaks = [], [], []
            for _ in range(o.rounds):
                cpu, peak = cpu_to_idle(args, env)
                loaded.append(cpu)
                peaks.append(peak)
                empty.append(cpu_to_idle(empty_args, env)[0])
            return (max(statistics.median(loaded) - statistics.median(empty), 1e-3),
                    statistics.median(peaks))

        ours, our_peak = opened([editor, "--home", pair, fra], [editor, "--home", pair])
        print("%-34s %8.1f ms of CPU | peak %8.1f MB" % ("window open to idle", ours * 1e3,
                                                        our_peak), flush=True)
        if os.path.exists(linguist) and os.path.exists(ts):
            theirs, their_peak = opened([linguist, ts], [linguist])
            line("window open vs Qt Linguist", "editor", ours, "linguist", theirs)
            print("%-34s editor %8.1f MB | linguist %8.1f MB | ratio %6.2f"
                  % ("window peak memory vs Linguist", our_peak, their_peak,
                     our_peak / their_peak), flush=True)
            cases["window open / Linguist"] = (ours, theirs)
        else:
            print("window open vs Qt Linguist: linguist-qt6 or lconvert missing", flush=True)
        if poedit and display:
            theirs, _ = opened([poedit, po], [poedit])
            line("window open vs Poedit", "editor", ours, "poedit", theirs)
            cases["window open / Poedit"] = (ours, theirs)
        else:
            print("window open vs Poedit: poedit or Xvfb missing", flush=True)
    finally:
        if server:
            server.kill()
            server.wait()
    return cases


def measure_window(o, pair, env, copy_both):
    """Replace All and Ctrl+S in the window (bench_window, one process), against the window's
    open and against copying both files."""
    cases = {}
    opens, replaces, saves = [], [], []
    for _ in range(o.rounds):
        work = tempfile.mkdtemp(prefix="kav-window-")
        for folder in ("Default", "Language"):
            shutil.copytree(os.path.join(pair, folder), os.path.join(work, folder))
        fra = os.path.join(work, "Language", "Kavr_FRA.str")
        _, text = run([os.path.join(o.bench, "bench_window"), "--home", work, fra], env)
        opens.append(float(re.search(r"window open: ([\d.]+) ms", text).group(1)) / 1e3)
        replaces.append(float(re.search(r"window replace all: ([\d.]+) ms", text).group(1)) / 1e3)
        saves.append(float(re.search(r"after one edit: ([\d.]+) ms", text).group(1)) / 1e3)
        shutil.rmtree(work, ignore_errors=True)
    a, b = statistics.median(replaces), statistics.median(opens)
    line("window Replace All vs window open", "Replace All", a, "open", b)
    cases["window Replace All / open"] = (a, b)
    floor = statistics.median([copy_both() for _ in range(o.rounds)])
    a = statistics.median(saves)
    line("window Ctrl+S vs cp+sync", "Ctrl+S", a, "cp of both + sync", floor)
    cases["window Ctrl+S / (cp + sync)"] = (a, floor)
    return cases


def measure_grid(o, env):
    """The cases that build their own table: paint and undo."""
    paint = os.path.join(o.bench, "bench_grid_paint")
    middle, end, small = [], [], []
    for _ in range(o.rounds):
        _, text = run([paint], env)
        small.append(float(re.search(r"paint 100 rows: ([\d.]+) ms", text).group(1)))
        middle.append(float(re.search(r"100000 rows, middle: ([\d.]+) ms", text).group(1)))
        end.append(float(re.search(r"100000 rows, end: ([\d.]+) ms", text).group(1)))
    s, m, e = (statistics.median(v) for v in (small, middle, end))
    print("%-34s 100 000 rows %8.3f ms (end %.3f ms) | 100 rows %8.3f ms | ratio %6.2f"
          % ("grid paint: 100 000 vs 100 rows", m, e, s, m / s), flush=True)

    fills, undos = [], []
    for _ in range(o.rounds):
        _, text = run([os.path.join(o.bench, "bench_undo")], env)
        fills.append(float(re.search(r"fill \d+ items: ([\d.]+) ms", text).group(1)))
        undos.append(float(re.search(r"undo of the fill: ([\d.]+) ms", text).group(1)))
    f, u = statistics.median(fills), statistics.median(undos)
    print("%-34s undo %8.1f ms | Fill %8.1f ms | ratio %6.2f"
          % ("undo of a Fill of 100 000 items", u, f, u / f), flush=True)


def growth(sizes):
    """How each pair case grows from the smallest pair to the largest: the ratio at each size,
    and the measured command's growth against the growth of the item count (1.0 is linear)."""
    (small_items, small), (large_items, large) = sizes[0], sizes[-1]
    scale = large_items / small_items
    print("growth from %d to %d items (x%.0f):" % (small_items, large_items, scale))
    for case in small:
        (a1, b1), (a2, b2) = small[case], large[case]
        print("  %-26s ratio %6.2f -> %6.2f | measured command x%6.2f, per item x%5.2f"
              % (case, a1 / b1, a2 / b2, a2 / a1, (a2 / a1) / scale), flush=True)


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--bin", required=True)
    p.add_argument("--bench", required=True)
    # One pair per size, smallest first.
    p.add_argument("--pair", required=True, action="append")
    p.add_argument("--rounds", type=int, default=5)
    # The window against Qt Linguist and Poedit, on the largest pair only.
    p.add_argument("--no-peers", dest="peers", action="store_false")
    o = p.parse_args()
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    peers = o.peers
    sizes = []
    for index, pair in enumerate(o.pair):
        o.peers = peers and index == len(o.pair) - 1
        sizes.append(measure_pair(o, pair, env))
    measure_grid(o, env)
    if len(sizes) > 1:
        growth(sizes)


if __name__ == "__main__":
    main()
