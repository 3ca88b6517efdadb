"""Runs the benchmarks that time what the user waits for and prints one table.

  run.py <build folder> [runs]

Every figure comes from a fresh process, timed from just before it is started (the driver's
CLOCK_MONOTONIC) to the end of the painted frame that the program reports (bench/paintclock.h):
start to the first painted window, the double click or the Merge button to the page painted
with its table and charts. Each program runs beside its peer in the same rounds: a Qt Widgets
hello world for a start, pandas with matplotlib for a load and a merge. The windows show on
an Xvfb started here (the offscreen platform only where Xvfb cannot run, and the table says
so). The start of the monitor connects to a local FTP server (pyftpdlib on 127.0.0.1:21).
Peak memory is the process's peak resident size; the added memory of a step is its peak less
the resident size just before the click.

Any other bench_* program of the build runs after these; a line of its output of the form
"ROW|work|ours|peer|ratio|memory|goal|met" joins the table, the rest is shown below it.
"""
import atexit
import os
import shutil
import signal
import socket
import statistics
import subprocess
import sys
import tempfile
import threading
import time

PYTHON = "/usr/bin/python3"  # Debian's, with python3-pandas and python3-matplotlib
HERE = os.path.dirname(os.path.abspath(__file__))
TIME_LIMIT = 120  # seconds for one process
OWN = {"bench_hello", "bench_configurator_wait", "bench_monitor_wait"}


def start_xvfb():
    if not shutil.which("Xvfb"):
        return None, None
    r, w = os.pipe()
    proc = subprocess.Popen(
        ["Xvfb", "-displayfd", str(w), "-screen", "0", "1600x1200x24", "-nolisten", "tcp"],
        pass_fds=(w,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(w)
    number = b""
    deadline = time.monotonic() + 10
    while time.monotonic() < deadline and not number.endswith(b"\n"):
        chunk = os.read(r, 16)
        if not chunk:
            break
        number += chunk
    os.close(r)
    if not number.strip():
        proc.kill()
        return None, None
    return proc, ":" + number.decode().strip()


def start_ftp(root):
    """A local FTP server for the monitor's start-up connect; None when port 21 is taken."""
    with socket.socket() as s:
        s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        try:
            s.bind(("127.0.0.1", 21))
        except OSError:
            return None
    code = ("import sys\n"
            "from pyftpdlib.authorizers import DummyAuthorizer\n"
            "from pyftpdlib.handlers import FTPHandler\n"
            "from pyftpdlib.servers import FTPServer\n"
            "import logging; logging.disable(logging.CRITICAL)\n"
            "a = DummyAuthorizer(); a.add_user('bench', 'bench', sys.argv[1], perm='elradfmw')\n"
            "h = FTPHandler; h.authorizer = a\n"
            "FTPServer(('127.0.0.1', 21), h).serve_forever()\n")
    proc = subprocess.Popen([PYTHON, "-c", code, root], stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    for _ in range(100):
        try:
            socket.create_connection(("127.0.0.1", 21), timeout=0.2).close()
            return proc
        except OSError:
            time.sleep(0.05)
    proc.kill()
    return None


def run(cmd, cwd, env):
    """Runs one fresh process; returns its figures (ms from its start), peak kB, wall ms."""
    t0 = time.monotonic_ns()
    proc = subprocess.Popen(cmd, cwd=cwd, env=env, stdout=subprocess.PIPE,
                            stderr=subprocess.DEVNULL, text=True)
    # A window that waits for an answer (a message box) never ends by itself.
    timer = threading.Timer(TIME_LIMIT, proc.kill)
    timer.start()
    out = proc.stdout.read()
    _, status, usage = os.wait4(proc.pid, 0)
    timer.cancel()
    wall = (time.monotonic_ns() - t0) / 1e6
    proc.returncode = os.waitstatus_to_exitcode(status)
    if proc.returncode != 0:
        raise RuntimeError(f"{' '.join(cmd)} ended with {proc.returncode}")
    figures = {}
    for line in out.splitlines():
        key, _, value = line.partition(" ")
        if key.endswith("_ns"):
            figures[key[:-3]] = (int(value) - t0) / 1e6
        elif value:
            figures[key] = int(value)
    figures["peak_kb"] = usage.ru_maxrss
    figures["wall_ms"] = wall
    return figures


def median(values):
    return statistics.median(values) if values else float("nan")


def mib(kb):
    return kb / 1024.0


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else int(os.environ.get("BENCH_RUNS", "7"))
    bench = os.path.join(build, "bench")
    root = tempfile.mkdtemp(prefix="tk5063-bench-")
    xvfb, display = start_xvfb()

    def clean_up():
        if xvfb:
            xvfb.send_signal(signal.SIGTERM)
            xvfb.wait()
        shutil.rmtree(root, ignore_errors=True)
    atexit.register(clean_up)  # also when a run fails
    env = dict(os.environ)
    env.pop("QT_QPA_PLATFORM", None)
    if display:
        env["DISPLAY"] = display
        env["QT_QPA_PLATFORM"] = "xcb"
        screen = f"Xvfb {display}"
    else:
        env["QT_QPA_PLATFORM"] = "offscreen"
        screen = "offscreen platform (Xvfb could not be started): no X server draws"
    env["XDG_CONFIG_HOME"] = os.path.join(root, "xdg")
    env["XDG_RUNTIME_DIR"] = os.path.join(root, "runtime")
    os.makedirs(env["XDG_RUNTIME_DIR"], mode=0o700)
    ftp = None
    try:
        subprocess.run([os.path.join(bench, "bench_monitor_wait"), "write", root], check=True)
        cfgdir = os.path.join(root, "cfg")
        os.makedirs(cfgdir)
        subprocess.run([os.path.join(bench, "bench_configurator_wait"), "write-cfg"], cwd=cfgdir,
                       check=True)
        ftp = start_ftp(os.path.join(root, "ftp"))
        out = os.path.join(root, "peer")
        os.makedirs(out)
        monitor = os.path.join(bench, "bench_monitor_wait")
        peer = [PYTHON, os.path.join(HERE, "peer_pandas.py")]

        def load(folder):
            return run([monitor, "load", "261201.csv"], os.path.join(root, folder), env)

        def merge():
            for f in os.listdir(os.path.join(root, "merge")):
                if f.startswith("-"):
                    os.remove(os.path.join(root, "merge", f))
            return run([monitor, "merge", "2026-12-01", "2026-12-31"],
                       os.path.join(root, "merge"), env)

        res = {k: [] for k in ("hello", "cfg", "load_16k", "peer_16k", "merge", "peer_merge",
                               "load_1k", "load_100k", "load_1m")}
        for r in range(runs):
            res["hello"].append(run([os.path.join(bench, "bench_hello")], root, env))
            res["cfg"].append(run([os.path.join(bench, "bench_configurator_wait")], cfgdir, env))
            res["load_16k"].append(load("load_16k"))
            res["peer_16k"].append(run(peer + ["load", os.path.join(root, "load_16k", "261201.csv"),
                                               out], root, env))
            res["merge"].append(merge())
            res["peer_merge"].append(run(peer + ["merge", os.path.join(root, "merge"), "2612",
                                                 "1", "31", out], root, env))
            res["load_1k"].append(load("load_1k"))
            res["load_100k"].append(load("load_100k"))
            if r < 3:
                res["load_1m"].append(load("load_1m"))

        rows = []
        hello = median([f["first_frame"] for f in res["hello"]])
        hello_peak = median([f["peak_kb"] for f in res["hello"]])

        def start_row(work, key):
            ms = median([f["first_frame"] for f in res[key]])
            peak = median([f["start_hwm_kb"] for f in res[key]])
            rows.append([work, f"{ms:.0f} ms", f"{hello:.0f} ms", f"{ms / hello:.2f}x",
                         f"{mib(peak):.0f} / {mib(hello_peak):.0f} MiB peak",
                         "<= 1.5x", "yes" if ms / hello <= 1.5 else "no"])

        def step(f):
            return f["painted"] - f["click"]

        def added(f):
            return f["step_hwm_kb"] - f["step_rss_before_kb"]

        def size_kb(folder):
            return os.path.getsize(os.path.join(root, folder, "261201.csv")) / 1024.0

        rows.append(["Qt hello world: start to painted window", f"{hello:.0f} ms", "", "",
                     f"{mib(hello_peak):.0f} MiB peak", "", ""])
        start_row("TK5063SM, full TK5063.cfg: start to painted window", "cfg")
        start_row("Fernlog: start to painted window", "load_16k")
        for folder, records in (("load_1k", 1000), ("load_16k", 16383), ("load_100k", 100000),
                                ("load_1m", 1000000)):
            fs = res[folder]
            ms = median([step(f) for f in fs])
            add = median([added(f) for f in fs])
            limit = 3 * size_kb(folder)
            goal, met = f"+<= {mib(limit):.1f} MiB (3x file)", add <= limit
            if records == 16383:
                goal = "<= 50 ms, " + goal
                met = met and ms <= 50
            cpu = median([f["step_cpu_us"] / 1000.0 for f in fs])
            rows.append([f"Fernlog: double click to painted page, {records} records "
                         f"({size_kb(folder) / 1024:.1f} MiB)", f"{ms:.0f} ms (cpu {cpu:.0f})", "", "",
                         f"+{mib(add):.1f} MiB, {mib(median([f['peak_kb'] for f in fs])):.0f} "
                         "MiB peak", goal, "yes" if met else "no"])
        for work, key, peer_key, peer_name in (
                ("Fernlog: start, load 16383 records, painted", "load_16k", "peer_16k",
                 "pandas + matplotlib"),
                ("Fernlog: start, merge 31 days of 528 lines, painted", "merge", "peer_merge",
                 "pandas + matplotlib")):
            ms = median([f["first_frame"] + step(f) for f in res[key]])
            pms = median([f["wall_ms"] for f in res[peer_key]])
            peak = median([f["peak_kb"] for f in res[key]])
            ppeak = median([f["peak_kb"] for f in res[peer_key]])
            rows.append([work, f"{ms:.0f} ms", f"{pms:.0f} ms ({peer_name})",
                         f"{pms / ms:.1f}x faster", f"{mib(peak):.0f} / {mib(ppeak):.0f} MiB peak",
                         ">= 5x faster", "yes" if pms / ms >= 5 else "no"])
        ms = median([step(f) for f in res["merge"]])
        cpu = median([f["step_cpu_us"] / 1000.0 for f in res["merge"]])
        rows.append(["Fernlog: Merge button to painted page, 31 days", f"{ms:.0f} ms (cpu {cpu:.0f})", "", "",
                     f"+{mib(median([added(f) for f in res['merge']])):.0f} MiB", "", ""])
    finally:
        if ftp:
            ftp.terminate()
            ftp.wait()

    # Every other benchmark program of the build.
    others = []
    for name in sorted(os.listdir(bench)):
        path = os.path.join(bench, name)
        if (name in OWN or not name.startswith("bench_") or not os.path.isfile(path)
                or not os.access(path, os.X_OK)):
            continue
        work = tempfile.mkdtemp(dir=root)
        try:
            p = subprocess.run([path], cwd=work, env=env, capture_output=True, text=True,
                               timeout=900)
            text = p.stdout + (f"(ended with {p.returncode})\n" if p.returncode else "")
        except subprocess.TimeoutExpired:
            text = "(stopped after 900 s)\n"
        kept = []
        for line in text.splitlines():
            if line.startswith("ROW|"):
                rows.append((line[4:].split("|") + [""] * 7)[:7])
            else:
                kept.append(line)
        others.append((name, "\n".join(kept)))

    head = ["work", "ours (median)", "peer (median)", "ratio", "memory", "goal", "met"]
    print("\nTimes are wall-clock from the process start or the click to the end of the painted "
          "frame;\n'cpu' is the process's own CPU time in that step, which other processes' load "
          "changes less.")
    print(f"Medians of {runs} fresh processes each (1M records: {min(runs, 3)}), on {screen}; "
          f"{os.cpu_count()} CPUs, load average {os.getloadavg()[0]:.1f} at the end."
          + ("" if ftp else " No FTP server on 127.0.0.1:21 could be started."))
    widths = [max(len(str(r[i])) for r in rows + [head]) for i in range(len(head))]
    line = "|" + "|".join("-" * (w + 2) for w in widths) + "|"
    print("| " + " | ".join(h.ljust(w) for h, w in zip(head, widths)) + " |")
    print(line)
    for r in rows:
        print("| " + " | ".join(str(c).ljust(w) for c, w in zip(r, widths)) + " |")
    for name, text in others:
        if text.strip():
            print(f"\n== {name}\n{text}")


if __name__ == "__main__":
    main()
