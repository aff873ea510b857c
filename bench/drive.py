#!/usr/bin/env python3
"""Runs the benchmark programs of one Release build against the gateway simulator and prints
the table. Every time comes from inside a program (its result file) or from the simulator's
log; this script only launches, waits and counts. Run it through bench/run.sh."""

import argparse
import json
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

RUN_TIMEOUT_S = 60
SEND_PATH, SEND_QUERY = "/send_sms.php", "go=sms2&"

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
RSS_MOVAREK = "memory: SMS Movarek, peak RSS summed"
PSS_WEBVIEW = "memory: bare web view window, PSS at the end"
PSS_MOVAREK = "memory: SMS Movarek, PSS at the end"


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
    started = time.time() * 1000.0
    try:
        subprocess.run([program, results, *arguments], timeout=RUN_TIMEOUT_S,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)
    except subprocess.TimeoutExpired:
        return started, None
    if not os.path.exists(results):
        return started, None
    with open(results) as lines:
        return started, {key: float(value) for key, value in map(str.split, lines)}


class Table:
    def __init__(self):
        self.rows = {}  # name -> (unit, values)

    def add(self, name, value, unit="ms"):
        self.rows.setdefault(name, (unit, []))[1].extend([] if value is None else [value])

    def median(self, name):
        values = self.rows.get(name, ("", []))[1]
        return statistics.median(values) if values else None

    def ratio(self, top, bottom):
        a, b = self.median(top), self.median(bottom)
        return a / b if a is not None and b else None

    def print(self, ratios, targets):
        print(f"{'measurement':56} {'median':>8} {'min':>8} {'max':>8} {'runs':>4}")
        for name, (unit, values) in self.rows.items():
            if values:
                print(f"{name:56} {statistics.median(values):8.1f} {min(values):8.1f} "
                      f"{max(values):8.1f} {len(values):4}  {unit}")
            else:
                print(f"{name:56} {'failed':>8}")
        print()
        for name, top, bottom in ratios:
            value = self.ratio(top, bottom)
            print(f"ratio  {name:49} {'n/a' if value is None else f'{value:8.2f}':>8}")
        print()
        for name, value, limit in targets:
            verdict = "n/a" if value is None else ("met" if value <= limit else "NOT met")
            shown = "n/a" if value is None else f"{value:.2f}"
            print(f"target {name:49} {shown:>8} <= {limit:<5} {verdict}")


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


def measure_round(table, simulator, build, folder, page):
    started, got = run(folder, f"{build}/bench-bare-widgets")
    table.add(WIDGETS, elapsed(got, "first_paint_ms", started))
    table.add(WIDGETS_CPU, got.get("first_paint_cpu_ms") if got else None)

    started, got = run(folder, f"{build}/bench-bare-widgets", "Nápověda")
    table.add(LABEL, elapsed(got, "first_paint_ms", started))
    table.add(LABEL_CPU, got.get("first_paint_cpu_ms") if got else None)

    started, got = run(folder, f"{build}/bench-bare-webview", page)
    table.add(WEBVIEW, elapsed(got, "first_paint_ms", started))
    table.add(WEBVIEW_CPU, got.get("first_paint_cpu_ms") if got else None)
    table.add(RSS_WEBVIEW, megabytes(got, "peak_rss_kb"), "MB")
    table.add(PSS_WEBVIEW, megabytes(got, "pss_kb"), "MB")

    started, got = run(folder, f"{build}/movarek-bench", "send")
    table.add(MOVAREK, elapsed(got, "first_paint_ms", started))
    table.add(MOVAREK_CPU, got.get("first_paint_cpu_ms") if got else None)
    table.add(ENGINE_UP, elapsed(got, "engine_up_ms", started))
    table.add(CTRL_P, latency(simulator, got))
    table.add(RSS_MOVAREK, megabytes(got, "peak_rss_kb"), "MB")
    table.add(PSS_MOVAREK, megabytes(got, "pss_kb"), "MB")

    started, got = run(folder, f"{build}/movarek-bench", "early-send")
    table.add(CTRL_P_EARLY, latency(simulator, got))

    program_folder = os.path.join(folder, "program")
    store_contacts(program_folder, 999)
    started, got = run(folder, f"{build}/movarek-bench", "contacts", program_folder)
    table.add(MOVAREK_CONTACTS, elapsed(got, "first_paint_ms", started))
    for row, key in ((CONTACTS_OPEN, "contacts_open_ms"), (CONTACT_STORED, "contact_stored_ms"),
                     (CONTACT_ADDED, "contact_added_ms"), (MARKED_ALL_OK, "marked_all_ok_ms")):
        table.add(row, got.get(key) if got else None)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--port", type=int, required=True)
    parser.add_argument("--runs", type=int, default=7)
    args = parser.parse_args()

    folder = tempfile.mkdtemp(prefix="movarek-bench-")
    # A desktop has a window manager: windows are framed and get the keyboard focus.
    window_manager = subprocess.Popen(["openbox"], stdout=subprocess.DEVNULL,
                                      stderr=subprocess.DEVNULL)
    time.sleep(1)  # before anything is measured
    simulator = Simulator(f"{args.build}/movarek-gateway-sim", args.port, folder)
    table = Table()
    try:
        # Round by round, so that whatever else the machine does weighs on every program alike.
        for _ in range(args.runs):
            measure_round(table, simulator, args.build, folder,
                          f"http://127.0.0.1:{args.port}/eurotel_nova2.php")
    finally:
        simulator.stop()
        window_manager.terminate()
        window_manager.wait()
        shutil.rmtree(folder, ignore_errors=True)

    table.print(
        ratios=[("first paint: SMS Movarek / bare Qt Widgets", MOVAREK, WIDGETS),
                ("processor time to first paint: SMS Movarek / bare", MOVAREK_CPU, WIDGETS_CPU),
                ("first paint: SMS Movarek / bare with one label", MOVAREK, LABEL),
                ("first paint with 999 contacts / bare Qt Widgets", MOVAREK_CONTACTS, WIDGETS),
                ("first paint: bare web view / bare Qt Widgets", WEBVIEW, WIDGETS),
                ("memory, peak RSS: SMS Movarek / bare web view", RSS_MOVAREK, RSS_WEBVIEW),
                ("memory, PSS: SMS Movarek / bare web view", PSS_MOVAREK, PSS_WEBVIEW)],
        targets=[("first paint / bare Qt Widgets", table.ratio(MOVAREK, WIDGETS), 1.3),
                 ("Ctrl+P -> request (ms)", table.median(CTRL_P), 50),
                 ("contacts dialog opens (ms)", table.median(CONTACTS_OPEN), 50),
                 ("adding a contact (ms)", table.median(CONTACT_ADDED), 20),
                 ("memory, peak RSS / bare web view", table.ratio(RSS_MOVAREK, RSS_WEBVIEW),
                  1.15)])
    return 0


if __name__ == "__main__":
    sys.exit(main())
