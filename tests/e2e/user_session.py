#!/usr/bin/env python3
"""A person's session with the real sms-movarek, driven through an X server.

Starts its own X server with a small window manager, the gateway simulator on 127.0.0.1 and the
program from a fresh program folder. Types into the fields (Czech letters too), clicks buttons,
presses shortcuts, answers message boxes with Enter and Esc and tries to close the window while
the close guard holds it and after. Then checks the requests the simulator logged and the bytes
of the files the program left behind. Screenshots of each page and dialog go to --artifacts.
Every process it starts is ended before it returns, whatever happened.
"""
import argparse
import json
import os
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time
from pathlib import Path

WHOLE_RUN_SECONDS = 240
MAIN_WINDOW = "^SMS Movarek$"
# The Eurotel page and the start-up request go out together, each on connections of its own:
# either may arrive first.
START_UP = ["/eurotel_nova2.php", "/send_sms.php?go=pricti113"]


class Failure(Exception):
    """A step the session cannot go on without."""


class Session:
    def __init__(self, args, folder):
        self.args = args
        self.folder = folder
        self.processes = []
        self.display = None
        self.problems = []
        self.artifacts = Path(args.artifacts)
        shutil.rmtree(self.artifacts, ignore_errors=True)
        self.artifacts.mkdir(parents=True)
        self.log = folder / "requests.jsonl"
        self.program_folder = folder / "program"
        self.main = None

    # --- processes --------------------------------------------------------------------------

    def start(self, name, command, **options):
        output = open(self.artifacts / f"{name}.log", "wb")
        # Each in a process group of its own, so that ending it ends its children too.
        process = subprocess.Popen(command, stdout=output, stderr=subprocess.STDOUT,
                                   start_new_session=True, **options)
        self.processes.append((name, process))
        return process

    def program_said(self, lines=40):
        """The last lines the program wrote on its standard output and error."""
        path = self.artifacts / "program.log"
        text = path.read_text(errors="replace") if path.exists() else ""
        return "\n".join(text.splitlines()[-lines:])

    def stop_all(self):
        for name, process in reversed(self.processes):
            if process.poll() is None:
                os.killpg(process.pid, signal.SIGTERM)
                try:
                    process.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    os.killpg(process.pid, signal.SIGKILL)
                    process.wait()
            # Helpers the process left in its group (the web engine's) go with it.
            try:
                os.killpg(process.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass

    def environment(self):
        # The machine's own modem never shows a page or sends from a test.
        env = dict(os.environ, DISPLAY=self.display, QT_QPA_PLATFORM="xcb",
                   DBUS_SYSTEM_BUS_ADDRESS="unix:path=/nonexistent/movarek-no-system-bus")
        if os.getuid() == 0:
            env["QTWEBENGINE_DISABLE_SANDBOX"] = "1"
        return env

    def start_x_server(self):
        read_end, write_end = os.pipe()
        self.start("xvfb", ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24",
                            "-nolisten", "tcp"], pass_fds=(write_end,))
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            number = pipe.readline().strip()
        if not number:
            raise Failure("the X server did not start")
        self.display = f":{number}"
        self.start("openbox", ["openbox", "--sm-disable"], env=self.environment())
        self.wait_for(self.window_manager_running, "the window manager", 10)
        self.czech_keys()

    def czech_keys(self):
        """Puts the Czech letters on keys before the program starts. Without them xdotool
        rebinds a key for each such letter as it types, and the program, told of a new key map
        in the middle of typing, drops a letter now and then."""
        letters = ["aacute", "ccaron", "dcaron", "eacute", "ecaron", "iacute", "ncaron",
                   "oacute", "rcaron", "scaron", "tcaron", "uacute", "uring", "yacute", "zcaron"]
        # Keys of media functions that nothing here uses.
        bindings = [f"keycode {236 + i} = {small} {small[0].upper() + small[1:]}"
                    for i, small in enumerate(letters)]
        subprocess.run(["xmodmap", "-"], input="\n".join(bindings), text=True,
                       env=self.environment(), check=True, timeout=20)

    def window_manager_running(self):
        result = subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"],
                                env=self.environment(), capture_output=True, text=True)
        return "window id" in result.stdout

    def start_simulator(self):
        with socket.socket() as probe:
            if probe.connect_ex(("127.0.0.1", self.args.port)) == 0:
                raise Failure(f"port {self.args.port} of 127.0.0.1 is taken: configure another "
                              "one with -DMOVAREK_E2E_GATEWAY_PORT")
        simulator = self.start("simulator", [self.args.simulator, "--port", str(self.args.port),
                                             "--log", str(self.log)])
        self.wait_for(lambda: self.port_open(), "the gateway simulator to listen", 10)
        return simulator

    def port_open(self):
        with socket.socket() as probe:
            return probe.connect_ex(("127.0.0.1", self.args.port)) == 0

    def start_program(self):
        self.program_folder.mkdir(exist_ok=True)
        program = self.program_folder / "sms-movarek"
        shutil.copy2(self.args.program, program)
        # The web engine is loaded from beside the program once the window has painted.
        shutil.copy2(self.args.web_engine_module, self.program_folder)
        shutil.copy2(self.args.help_document, self.program_folder / "napoveda.rtf")
        # Started from another folder: the program finds its files next to itself.
        elsewhere = self.folder / "elsewhere"
        elsewhere.mkdir()
        self.program = self.start("program", [str(program)], cwd=elsewhere,
                                  env=self.environment())
        self.elsewhere = elsewhere

    # --- the X server -----------------------------------------------------------------------

    def xdotool(self, *arguments, check=True):
        result = subprocess.run(["xdotool", *arguments], env=self.environment(),
                                capture_output=True, text=True, timeout=20)
        if result.returncode != 0:
            if check:
                raise Failure(f"xdotool {' '.join(arguments)}: {result.stderr.strip()}")
            return None
        return result.stdout.strip()

    def visible_window(self, name):
        found = self.xdotool("search", "--onlyvisible", "--name", name, check=False)
        return found.split()[0] if found else None

    def wait_window(self, name, what, seconds=15):
        window = self.wait_for(lambda: self.visible_window(name), what, seconds)
        self.xdotool("windowactivate", "--sync", window, check=False)
        self.wait_for(lambda: self.active_window() == window, f"{what} to be active", seconds)
        return window

    def wait_main_window(self, seconds=30):
        self.main = self.wait_window(MAIN_WINDOW, "the main window", seconds)
        return self.main

    def wait_gone(self, name, what, seconds=10, back_to=None):
        """The window closes, and the keyboard is the window's under it again (the main
        window's unless told)."""
        self.wait_for(lambda: self.visible_window(name) is None, f"{what} to close", seconds)
        under = back_to or self.main
        self.wait_for(lambda: self.active_window() == under,
                      f"the window under {what} to be active", seconds)

    def active_window(self):
        return self.xdotool("getactivewindow", check=False)

    # The program handles the X server's events in the order they come, so an action needs no
    # wait of its own: what depends on it waits for the state it brings (a window, a request,
    # a colour on the screen).
    def click(self, window, x, y):
        """Clicks a point of the window, counted from its top left corner."""
        self.xdotool("mousemove", "--window", window, str(x), str(y), "click", "1")

    def type(self, text):
        self.xdotool("type", "--delay", "40", text)

    def key(self, *keys):
        for key in keys:
            self.xdotool("key", key)

    def pixels(self, window, x, y, width=1, height=1):
        """The colours of a stretch of the window as (red, green, blue), row by row."""
        result = subprocess.run(["import", "-window", window, "-crop",
                                 f"{width}x{height}+{x}+{y}", "-depth", "8", "txt:-"],
                                env=self.environment(), capture_output=True, text=True,
                                timeout=20)
        colours = []
        for line in result.stdout.splitlines()[1:]:
            values = line.split("(", 1)[1].split(")", 1)[0].split(",")
            colours.append(tuple(round(float(v)) for v in values[:3]))
        return colours

    def close_guard_over(self):
        """The help strip along the bottom is light blue again, yellow nowhere."""
        strip = self.pixels(self.main, 0, HELP_STRIP_ROW, MAIN_WIDTH, 1)
        return HELP_STRIP_BLUE in strip and YELLOW not in strip

    def wait_close_guard_over(self):
        self.wait_for(self.close_guard_over, "the help strip to turn blue", 15)

    def screenshot(self, window, name):
        subprocess.run(["import", "-window", window, str(self.artifacts / f"{name}.png")],
                       env=self.environment(), check=True, timeout=20)

    def answer_box(self, caption, key, shot, back_to=None):
        box = self.wait_window(caption, f'the message box "{caption}"')
        self.screenshot(box, shot)
        self.key(key)
        self.wait_gone(caption, f'the message box "{caption}"', back_to=back_to)

    # --- checks -----------------------------------------------------------------------------

    def wait_for(self, condition, what, seconds):
        """Looks at the state until `condition` holds, at most `seconds` long."""
        deadline = time.monotonic() + seconds
        while True:
            value = condition()
            if value:
                return value
            if time.monotonic() > deadline:
                raise Failure(f"waited {seconds} s for {what}")
            self.between_looks()

    def between_looks(self):
        time.sleep(0.1)

    def requests(self):
        if not self.log.exists():
            return []
        lines = self.log.read_text(encoding="utf-8").splitlines()
        return [json.loads(line) for line in lines if line.strip()]

    def targets(self):
        return [r["path"] + ("?" + r["query"] if r["query"] else "") for r in self.requests()]

    def wait_requests(self, count, what):
        self.wait_for(lambda: len(self.requests()) >= count, what, 20)

    def expect(self, condition, problem):
        if not condition:
            self.problems.append(problem)
            print("PROBLEM:", problem, flush=True)

    def expect_file(self, name, expected):
        path = self.program_folder / name
        actual = path.read_bytes() if path.exists() else None
        self.expect(actual == expected, f"{name} holds {describe(actual)}, not {describe(expected)}")


def describe(data):
    if data is None:
        return "nothing (no file)"
    return f"{len(data)} bytes {data.rstrip(bytes(1))[:60]!r}...{data[-20:]!r}"


def field(text, width):
    data = text.encode("cp1250")
    return data[:width] + b"\0" * (width - len(data[:width]))


# The main window's width, a row of its help strip just inside its frame, and the strip's
# colours: light blue while the program may close, yellow while a send holds it.
MAIN_WIDTH, HELP_STRIP_ROW = 477, 206
HELP_STRIP_BLUE, YELLOW = (205, 222, 248), (255, 255, 0)
WHITE = (255, 255, 255)
# Points of the windows' controls, from their top left corners. The main window:
TAB_SMS, TAB_EUROTEL, TAB_OSKAR = (60, 12), (184, 12), (307, 12)
EDIT_ADDRESS, SPEED_DIAL_EMAIL_1 = (176, 40), (350, 73)
NUMBER, SEND_OSKAR, SPEED_DIAL_OSKAR_1 = (194, 40), (330, 40), (350, 67)
SENDER_PREFIX, SENDER = (112, 182), (222, 182)
SIDE_MAKER, SIDE_HELP = (423, 123), (423, 143)
EUROTEL_PAGE = (10, 40)
# The contacts dialog:
CONTACT_NAME, CONTACT_ADDRESS, CONTACT_PHONE = (400, 34), (400, 76), (300, 118)
CONTACT_NEW, CONTACT_DELETE, CONTACT_FIRST = (418, 177), (418, 233), (100, 18)
CONTACTS_MARK_ALL, CONTACTS_OK = (66, 293), (461, 288)
# The speed-dial dialog:
SPEED_DIAL_OSKAR_MODE, SPEED_DIAL_EDIT_1 = (189, 75), (242, 106)

MESSAGE = "&zprava=Ahoj,+jak+se+mas?%0ACau+%26+100%25+%231"
EMAIL_SEND_TO_CONTACTS = "/send_sms.php?go=sms2&adr=adam@sms.cz~zofie@sms.cz~" + MESSAGE
EMAIL_SEND_TO_SPEED_DIAL = "/send_sms.php?go=sms2&adr=jan@sms.cz~eva@sms.cz~" + MESSAGE
OSKAR_SEND = ("/send_oskar.php?go=sms2&adr=123456&zprava=Zlutoucky+kun+upel"
              "&predvolba=776&sender=654321&senderpred=608")


def add_contact(session, dialog, name, address, phone):
    for point, text in ((CONTACT_NAME, name), (CONTACT_ADDRESS, address), (CONTACT_PHONE, phone)):
        session.click(dialog, *point)
        session.key("ctrl+a")  # the fields keep what the last contact left in them
        session.type(text)
    session.click(dialog, *CONTACT_NEW)


def contacts(session):
    """Two contacts, a deletion refused with Esc, and both addresses to the main window."""
    session.key("ctrl+k")
    dialog = session.wait_window("^Kontakty", "the contacts dialog")
    add_contact(session, dialog, "Žofie Nováková", "zofie@sms.cz", "777123456")
    add_contact(session, dialog, "Adam Černý", "adam@sms.cz", "608111222")
    session.click(dialog, *CONTACT_FIRST)
    session.click(dialog, *CONTACT_DELETE)
    session.answer_box("Vymazání kontaktu", "Escape", "box-delete-contact", back_to=dialog)
    session.click(dialog, *CONTACTS_MARK_ALL)
    session.screenshot(dialog, "dialog-contacts")
    session.click(dialog, *CONTACTS_OK)
    session.wait_gone("^Kontakty", "the contacts dialog")


def speed_dials(session):
    """An e-mail entry, then in the Oskar mode an Oskar number; Enter presses OK."""
    session.key("ctrl+r")
    dialog = session.wait_window("^Rychlé volby", "the speed-dial dialog")
    session.click(dialog, *SPEED_DIAL_EDIT_1)
    session.type("jan@sms.cz; eva@sms.cz; ")
    session.click(dialog, *SPEED_DIAL_OSKAR_MODE)
    session.click(dialog, *SPEED_DIAL_EDIT_1)
    session.type("776123456")
    session.screenshot(dialog, "dialog-speed-dials")
    session.key("Return")
    session.wait_gone("^Rychlé volby", "the speed-dial dialog")


def help_and_maker(session, main):
    """Help from the side menu, again with F1, both closed with Esc; the maker's window with
    Enter."""
    session.click(main, *SIDE_HELP)
    help_window = session.wait_window("^Nápověda", "the help window")
    session.screenshot(help_window, "dialog-help")
    session.key("Escape")
    session.wait_gone("^Nápověda", "the help window")
    session.key("F1")
    session.wait_window("^Nápověda", "the help window after F1")
    session.key("Escape")
    session.wait_gone("^Nápověda", "the help window")
    session.click(main, *SIDE_MAKER)
    maker = session.wait_window("Kontakt na výrobce", "the maker's window")
    session.screenshot(maker, "dialog-maker")
    session.key("Return")
    session.wait_gone("Kontakt na výrobce", "the maker's window")


def contact_record(name, address, phone):
    return field(name, 100) + field(address, 100) + field(phone, 50)


def run(session):
    session.start_x_server()
    session.start_simulator()
    session.start_program()
    main = session.wait_main_window()
    session.wait_requests(2, "the start-up requests")
    session.expect(sorted(session.targets()) == START_UP, f"start-up requests: {session.targets()}")

    # "SMS E-mail" to the two contacts; OK of the contacts dialog left the focus in the message.
    contacts(session)
    session.type("Ahoj, jak se máš?")
    session.key("Return")
    session.type("Čau & 100% #1")
    session.screenshot(main, "main-sms")
    session.key("ctrl+p")
    session.wait_requests(3, "the e-mail send")
    # Esc: No, the sent text stays.
    session.answer_box("Zpráva odeslána", "Escape", "box-sent-question")

    # Closing within ten seconds of a send is refused with a message; Enter answers it.
    session.key("alt+F4")
    session.answer_box("Program nelze vypnout", "Return", "box-close-guard")
    session.expect(session.program.poll() is None, "the program closed during the close guard")

    # "Oskar": prefix and number from a speed dial, then the text, the sender and "Poslat!".
    speed_dials(session)
    session.click(main, *TAB_OSKAR)
    session.click(main, *SPEED_DIAL_OSKAR_1)
    session.type("Žluťoučký kůň úpěl")
    session.click(main, *SENDER_PREFIX)
    session.type("608")
    session.click(main, *SENDER)
    session.type("654321")
    session.screenshot(main, "main-oskar")
    session.click(main, *SEND_OSKAR)
    session.wait_requests(4, "the Oskar send")
    # Enter: Yes, the sent text is cleared.
    session.answer_box("Zpráva odeslána", "Return", "box-sent-question-oskar")

    session.click(main, *TAB_EUROTEL)
    session.wait_for(lambda: session.pixels(main, *EUROTEL_PAGE) == [WHITE],
                     "the gateway's page drawn on the Eurotel page", 20)
    session.screenshot(main, "main-eurotel")
    help_and_maker(session, main)

    # The kept e-mail text once more, to the speed dial's addresses: Enter in the address field.
    session.click(main, *TAB_SMS)
    session.click(main, *SPEED_DIAL_EMAIL_1)
    session.click(main, *EDIT_ADDRESS)
    session.key("Return")
    session.wait_requests(5, "the second e-mail send")
    session.answer_box("Zpráva odeslána", "Return", "box-sent-question-again")

    # Ten seconds after the last send the window closes, and stores padr.dat.
    session.wait_close_guard_over()
    session.key("alt+F4")
    try:
        session.wait_for(lambda: session.program.poll() is not None, "the program to end", 15)
    except Failure:
        session.expect(False, "the program did not end when closed after the close guard")
    session.expect(session.program.poll() == 0, f"the program ended with {session.program.poll()}")

    session.expect(sorted(session.targets()[:2]) == START_UP and
                   session.targets()[2:] == [EMAIL_SEND_TO_CONTACTS, OSKAR_SEND,
                                             EMAIL_SEND_TO_SPEED_DIAL],
                   "requests:\n  " + "\n  ".join(session.targets()))
    session.expect_file("padr.dat", field("jan@sms.cz; eva@sms.cz; ", 10000) + bytes([2]) +
                        field("123456", 6) + field("608", 3) + field("654321", 6))
    session.expect_file("kontakty.dat", bytes([2, 0]) +
                        contact_record("Adam Černý", "adam@sms.cz", "608111222") +
                        contact_record("Žofie Nováková", "zofie@sms.cz", "777123456"))
    session.expect_file("rvolby.dat", field("jan@sms.cz; eva@sms.cz; ", 200) + bytes(600) +
                        field("776123456", 200) + bytes(600))
    session.expect(not any(session.elsewhere.iterdir()),
                   "files were written outside the program's folder")


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--program", required=True)
    parser.add_argument("--simulator", required=True)
    parser.add_argument("--port", type=int, required=True)
    parser.add_argument("--web-engine-module", required=True)
    parser.add_argument("--help-document", required=True)
    parser.add_argument("--artifacts", required=True)
    args = parser.parse_args()

    def out_of_time(*_):
        raise Failure(f"the session took longer than {WHOLE_RUN_SECONDS} s")

    signal.signal(signal.SIGALRM, out_of_time)
    signal.alarm(WHOLE_RUN_SECONDS)
    with tempfile.TemporaryDirectory(prefix="movarek-session-") as folder:
        session = Session(args, Path(folder))
        try:
            run(session)
        except Failure as failure:
            session.problems.append(f"stopped: {failure}")
            print("PROBLEM:", failure, flush=True)
            print("The program said:", session.program_said(), sep="\n", flush=True)
            try:
                session.screenshot("root", "failure-screen")
            except (subprocess.SubprocessError, OSError):
                pass  # the X server itself may be what failed
        finally:
            signal.alarm(0)
            session.stop_all()
            for name in ("requests.jsonl",):
                if (session.folder / name).exists():
                    shutil.copy2(session.folder / name, session.artifacts / name)
    print(f"screenshots and logs: {args.artifacts}")
    return 1 if session.problems else 0


if __name__ == "__main__":
    sys.exit(main())
