#!/usr/bin/env python3
"""Runs the benchmark programs of one Release build (and, with --before, of an earlier one in the
same rounds) against the gateway simulator and prints the table. Every time comes from inside a
program (its result file), from the simulator's log, or from the X server, which tells when a
program's window is mapped; this script only launches, waits and counts. Run it through
bench/run.sh."""

import argparse
import json
import os
import shutil
import signal
import sqlite3
import statistics
import subprocess
import sys
import tempfile
import time

from x_map import MapWatch

RUN_TIMEOUT_S = 60
# The program's window, with a full address book and 1000 plans, maps within this many times
# the time a bare window with a label takes, medians of one run side by side.
MAPPED_TARGET = 1.05
SEND_PATH, SEND_QUERY = "/send_sms.php", "go=sms2&"

MAP_LABEL = "window mapped: bare Qt Widgets window with one label"
MAP_MOVAREK = "window mapped: SMS Movarek, 1000 contacts, full speed dials, 1000 plans"
WIDGETS = "first paint: bare Qt Widgets window"
LABEL = "first paint: bare Qt Widgets window with one label"
WEBVIEW = "first paint: bare window with a web view"
MOVAREK = "first paint: SMS Movarek main window"
ENGINE_UP = "SMS Movarek: start -> both start-up pages loaded"
CTRL_P = "Ctrl+P (engine up) -> request at the simulator"
CTRL_P_EARLY = "Ctrl+P at first paint -> request at the simulator"
MOVAREK_CONTACTS = "first paint: SMS Movarek with 999 contacts"
WIDGETS_CPU = "processor time to first paint: bare Qt Widgets"
LABEL_CPU = "processor time to first paint: bare with one label"
WEBVIEW_CPU = "processor time to first paint: bare web view"
MOVAREK_CPU = "processor time to first paint: SMS Movarek"
CONTACTS_OPEN = "contacts dialog (999 contacts): press -> painted"
CONTACT_STORED = "adding the 1000th contact: press -> file rewritten"
CONTACT_ADDED = "adding the 1000th contact: press -> list painted"
MARKED_ALL_OK = "mark all 1000 + OK: press -> main window painted"
RSS_WEBVIEW = "memory: bare web view window, peak RSS summed"
RSS_MOVAREK = "memory: SMS Movarek as a send is answered, peak RSS summed"
PSS_WEBVIEW = "memory: bare web view window, PSS at the end"
PSS_MOVAREK = "memory: SMS Movarek as a send is answered, PSS"
RSS_SETTLED = "memory: SMS Movarek a second after a send, peak RSS summed"
PSS_SETTLED = "memory: SMS Movarek a second after a send, PSS"
PROCESSES = "processes: SMS Movarek as a send is answered"
PROCESSES_SETTLED = "processes: SMS Movarek a second after a send"


class Simulator:
    def __init__(self, program, port, folder):
        self.log = os.path.join(folder, "requests.jsonl")
        # What it prints goes to a file: a pipe nobody reads would fill up and stop it.
        said = os.path.join(folder, "simulator.txt")
        with open(said, "w") as output:
            self.process = subprocess.Popen([program, "--port", str(port), "--log", self.log],
                                            stdout=output, stderr=subprocess.DEVNULL)
        deadline = time.time() + 10
        while self.first_line(said) is None and self.process.poll() is None \
                and time.time() < deadline:
            time.sleep(0.05)
        if self.first_line(said) != f"listening on 127.0.0.1:{port}":
            self.stop()
            raise SystemExit(f"the gateway simulator did not start: {self.first_line(said)!r}")

    @staticmethod
    def first_line(path):
        with open(path) as lines:
            line = lines.readline()
        return line.strip() if line.endswith("\n") else None

    def first_send_after(self, since_ms):
        """Receive time of the first e-mail send logged at or after `since_ms`."""
        with open(self.log, encoding="utf-8", errors="replace") as lines:
            requests = [json.loads(line) for line in lines if line.strip()]
        times = [r["time_ms"] for r in requests if r["time_ms"] >= since_ms
                 and r["path"] == SEND_PATH and r["query"].startswith(SEND_QUERY)]
        return min(times) if times else None

    def stop(self):
        self.process.terminate()
        self.process.wait()


def run(folder, program, *arguments):
    """Starts one program and waits for it; gives its start time (ms since the epoch) and
    the values it wrote, or None when it failed."""
    results = os.path.join(folder, "result.txt")
    if os.path.exists(results):
        os.remove(results)
    said = os.path.join(folder, "said.txt")
    started = time.time() * 1000.0
    try:
        with open(said, "w") as output:
            subprocess.run([program, results, *arguments], timeout=RUN_TIMEOUT_S,
                           stdout=subprocess.DEVNULL, stderr=output, check=False)
    except subprocess.TimeoutExpired:
        print(f"bench: {os.path.basename(program)} {' '.join(arguments)} did not end within "
              f"{RUN_TIMEOUT_S} s", file=sys.stderr)
        return started, None
    if not os.path.exists(results):
        with open(said, errors="replace") as output:
            print(f"bench: {os.path.basename(program)} {' '.join(arguments)} wrote no results; "
                  f"it said:\n{output.read()[-2000:]}", file=sys.stderr)
        return started, None
    with open(results) as lines:
        return started, {key: float(value) for key, value in map(str.split, lines)}


class Table:
    """Rows of values, one column per build measured."""

    def __init__(self, columns):
        self.columns = columns
        self.rows = {}  # name -> (unit, {column: values})

    def add(self, column, name, value, unit="ms"):
        values = self.rows.setdefault(name, (unit, {c: [] for c in self.columns}))[1][column]
        values.extend([] if value is None else [value])

    def median(self, column, name):
        values = self.rows.get(name, ("", {}))[1].get(column, [])
        return statistics.median(values) if values else None

    def ratio(self, column, top, bottom):
        a, b = self.median(column, top), self.median(column, bottom)
        return a / b if a is not None and b else None

    @staticmethod
    def cell(values):
        if not values:
            return f"{'failed':>28}"
        return (f"{statistics.median(values):8.1f} ({min(values):7.1f}–{max(values):7.1f}) "
                f"{len(values):2}")

    def print(self, ratios, targets):
        print(f"{'measurement':58} " + " ".join(f"{c + ': median (min–max) runs':>30}"
                                                   for c in self.columns))
        for name, (unit, columns) in self.rows.items():
            print(f"{name:58} " + " ".join(f"{self.cell(columns[c]):>30}" for c in self.columns)
                  + f"  {unit}")
        print()
        for name, top, bottom in ratios:
            shown = []
            for column in self.columns:
                value = self.ratio(column, top, bottom)
                shown.append("n/a" if value is None else f"{value:.2f}")
            print(f"ratio  {name:56} " + "  ".join(f"{c}: {v:>6}"
                                                   for c, v in zip(self.columns, shown)))
        print()
        for name, value, limit in targets:
            verdict = "n/a" if value is None else ("met" if value <= limit else "NOT met")
            shown = "n/a" if value is None else f"{value:.2f}"
            print(f"target {name:56} {shown:>8} <= {limit:<5} {verdict}")


def store_contacts(folder, count):
    """kontakty.dat as the program writes it: the count, low byte first, then 250-byte
    records of name, address and phone, zero-padded to 100, 100 and 50 bytes, in name order."""
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "kontakty.dat"), "wb") as book:
        book.write(count.to_bytes(2, "little"))
        for i in range(1, count + 1):
            book.write(f"Kontakt {i:05}".encode().ljust(100, b"\0")
                       + f"kontakt{i:05}@sms.cz".encode().ljust(100, b"\0")
                       + f"777{i:05}".encode().ljust(50, b"\0"))


def store_full_speed_dials(folder):
    """rvolby.dat with all eight entries at their longest, 197 characters."""
    with open(os.path.join(folder, "rvolby.dat"), "wb") as dials:
        for i in range(8):
            dials.write((f"rychla{i}@sms.cz;" * 20).encode()[:197].ljust(200, b"\0"))


def database_made(path):
    try:
        with sqlite3.connect(f"file:{path}?mode=ro", uri=True) as database:
            return database.execute("SELECT count(*) FROM sqlite_master "
                                    "WHERE name = 'sent_message'").fetchone()[0] == 1
    except sqlite3.Error:
        return False


def store_plans(program, count):
    """count messages planned a day ahead in movarek.db beside the program, the file made by the
    program's own first start; a build that plans nothing gets none."""
    folder = os.path.dirname(program)
    path = os.path.join(folder, "movarek.db")
    process = subprocess.Popen([program], cwd=folder, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL, start_new_session=True)
    deadline = time.monotonic() + RUN_TIMEOUT_S
    while not database_made(path) and time.monotonic() < deadline:
        time.sleep(0.1)
    time.sleep(1)
    os.killpg(process.pid, signal.SIGKILL)
    process.wait()
    with sqlite3.connect(path) as database:
        columns = [row[1] for row in database.execute("PRAGMA table_info(sent_message)")]
        if "due_at" not in columns:
            return
        due = int(time.time()) + 24 * 60 * 60
        database.executemany(
            "INSERT INTO sent_message (sent_at, page, addressees, text, state, due_at, request) "
            "VALUES (?, 'e-mail', ?, ?, 'planned', ?, ?)",
            [(due - 3600, f"kontakt{i:05}@sms.cz", "Naplánovaná zpráva " + "x" * 140, due + i,
              f"/send_sms.php?go=sms2&to=kontakt{i:05}".encode()) for i in range(count)])


def installed_copy(build, folder):
    """The real program as a user has it: beside its modules, in a folder holding a full address
    book, full speed dials and (where the build plans messages) 1000 planned messages."""
    program_folder = os.path.join(folder, "installed-" + os.path.basename(build.rstrip("/")))
    os.makedirs(program_folder, exist_ok=True)
    for name in ("sms-movarek", "movarek_webengine.so", "movarek_network.so",
                 "movarek_phonenumbers.so"):
        if os.path.exists(os.path.join(build, name)):  # an earlier build may have fewer
            shutil.copy2(os.path.join(build, name), program_folder)
    store_contacts(program_folder, 1000)
    store_full_speed_dials(program_folder)
    program = os.path.join(program_folder, "sms-movarek")
    store_plans(program, 1000)
    return program


def elapsed(got, key, since):
    return got[key] - since if got and key in got else None


def megabytes(got, key):
    return got[key] / 1024 if got and key in got else None


def latency(simulator, got):
    """From the program's Ctrl+P to the simulator's receipt of the send."""
    if not got or "ctrl_p_ms" not in got:
        return None
    received = simulator.first_send_after(got["ctrl_p_ms"])
    return received - got["ctrl_p_ms"] if received is not None else None


def measure_map(table, column, watch, build, folder, program):
    """Process start to window mapped, from outside, for the bare window and the program."""
    process, mapped = watch.time_to_map(
        [f"{build}/bench-bare-widgets", os.path.join(folder, "map-result.txt"), "Nápověda"])
    table.add(column, MAP_LABEL, mapped)
    process.wait(timeout=RUN_TIMEOUT_S)
    process, mapped = watch.time_to_map([program], cwd=folder)
    table.add(column, MAP_MOVAREK, mapped)
    time.sleep(0.3)
    os.killpg(process.pid, signal.SIGKILL)
    process.wait()


def measure_round(table, column, simulator, build, folder, page):
    started, got = run(folder, f"{build}/bench-bare-widgets")
    table.add(column, WIDGETS, elapsed(got, "first_paint_ms", started))
    table.add(column, WIDGETS_CPU, got.get("first_paint_cpu_ms") if got else None)

    started, got = run(folder, f"{build}/bench-bare-widgets", "Nápověda")
    table.add(column, LABEL, elapsed(got, "first_paint_ms", started))
    table.add(column, LABEL_CPU, got.get("first_paint_cpu_ms") if got else None)

    started, got = run(folder, f"{build}/bench-bare-webview", page)
    table.add(column, WEBVIEW, elapsed(got, "first_paint_ms", started))
    table.add(column, WEBVIEW_CPU, got.get("first_paint_cpu_ms") if got else None)
    table.add(column, RSS_WEBVIEW, megabytes(got, "peak_rss_kb"), "MB")
    table.add(column, PSS_WEBVIEW, megabytes(got, "pss_kb"), "MB")

    started, got = run(folder, f"{build}/movarek-bench", "send")
    table.add(column, MOVAREK, elapsed(got, "first_paint_ms", started))
    table.add(column, MOVAREK_CPU, got.get("first_paint_cpu_ms") if got else None)
    table.add(column, ENGINE_UP, elapsed(got, "engine_up_ms", started))
    table.add(column, CTRL_P, latency(simulator, got))
    table.add(column, RSS_MOVAREK, megabytes(got, "peak_rss_kb"), "MB")
    table.add(column, PSS_MOVAREK, megabytes(got, "pss_kb"), "MB")
    table.add(column, RSS_SETTLED, megabytes(got, "settled_peak_rss_kb"), "MB")
    table.add(column, PSS_SETTLED, megabytes(got, "settled_pss_kb"), "MB")
    table.add(column, PROCESSES, got.get("processes") if got else None, "")
    table.add(column, PROCESSES_SETTLED, got.get("settled_processes") if got else None, "")

    started, got = run(folder, f"{build}/movarek-bench", "early-send")
    table.add(column, CTRL_P_EARLY, latency(simulator, got))

    program_folder = os.path.join(folder, "program")
    store_contacts(program_folder, 999)
    started, got = run(folder, f"{build}/movarek-bench", "contacts", program_folder)
    table.add(column, MOVAREK_CONTACTS, elapsed(got, "first_paint_ms", started))
    for row, key in ((CONTACTS_OPEN, "contacts_open_ms"), (CONTACT_STORED, "contact_stored_ms"),
                     (CONTACT_ADDED, "contact_added_ms"), (MARKED_ALL_OK, "marked_all_ok_ms")):
        table.add(column, row, got.get(key) if got else None)
    shutil.rmtree(program_folder)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--before", help="an earlier build, measured in the same rounds")
    parser.add_argument("--port", type=int, required=True)
    parser.add_argument("--runs", type=int, default=7)
    args = parser.parse_args()
    builds = {"after": args.build}
    if args.before:
        builds = {"before": args.before, **builds}

    folder = tempfile.mkdtemp(prefix="movarek-bench-")
    # A desktop has a window manager: windows are framed and get the keyboard focus.
    window_manager = subprocess.Popen(["openbox"], stdout=subprocess.DEVNULL,
                                      stderr=subprocess.DEVNULL)
    time.sleep(1)  # before anything is measured
    simulator = Simulator(f"{args.build}/movarek-gateway-sim", args.port, folder)
    watch = MapWatch()
    programs = {column: installed_copy(build, folder) for column, build in builds.items()}
    table = Table(list(builds))
    page = f"http://127.0.0.1:{args.port}/eurotel_nova2.php"
    try:
        # Round by round, so that whatever else the machine does weighs on every program alike.
        for _ in range(args.runs):
            for column, build in builds.items():
                measure_map(table, column, watch, build, folder, programs[column])
                measure_round(table, column, simulator, build, folder, page)
    finally:
        simulator.stop()
        window_manager.terminate()
        window_manager.wait()
        shutil.rmtree(folder, ignore_errors=True)

    table.print(
        ratios=[("window mapped: SMS Movarek / bare with one label", MAP_MOVAREK, MAP_LABEL),
                ("first paint: SMS Movarek / bare Qt Widgets", MOVAREK, WIDGETS),
                ("processor time to first paint: SMS Movarek / bare", MOVAREK_CPU, WIDGETS_CPU),
                ("first paint: SMS Movarek / bare with one label", MOVAREK, LABEL),
                ("first paint: bare web view / bare Qt Widgets", WEBVIEW, WIDGETS),
                ("memory at the answer, peak RSS: SMS Movarek / bare web view", RSS_MOVAREK,
                 RSS_WEBVIEW),
                ("memory at the answer, PSS: SMS Movarek / bare web view", PSS_MOVAREK,
                 PSS_WEBVIEW),
                ("memory after a send, peak RSS: SMS Movarek / bare web view", RSS_SETTLED,
                 RSS_WEBVIEW),
                ("memory after a send, PSS: SMS Movarek / bare web view", PSS_SETTLED,
                 PSS_WEBVIEW)],
        targets=[("window mapped / bare with one label (from outside)",
                  table.ratio("after", MAP_MOVAREK, MAP_LABEL), MAPPED_TARGET),
                 ("Ctrl+P -> request (ms)", table.median("after", CTRL_P), 50),
                 ("contacts dialog opens (ms)", table.median("after", CONTACTS_OPEN), 50),
                 ("adding a contact (ms)", table.median("after", CONTACT_ADDED), 20),
                 ("memory after a send, peak RSS / bare web view",
                  table.ratio("after", RSS_SETTLED, RSS_WEBVIEW), 1.0),
                 ("memory after a send, PSS / bare web view",
                  table.ratio("after", PSS_SETTLED, PSS_WEBVIEW), 1.0)])
    return 0


if __name__ == "__main__":
    sys.exit(main())
