#!/usr/bin/python3
"""A blind user's session with the real sms-movarek: keys only, no pointer, and the program
heard as a screen reader hears it, through AT-SPI.

Runs inside its own D-Bus session (dbus-run-session), where the accessibility bus starts on
demand; the program is started with Qt's accessibility on once the bus and its registry answer. In every window it opens it checks
that every control the keyboard can reach has a Czech name and the role a screen reader needs
(page tabs, radio buttons, a status line, a push button for the flat button), that Tab goes
through the main window in reading order, that the speed dials are described by what they
hold, and that the counter strip announces its changes. Then it sends an e-mail SMS, picks a
contact in the contacts dialog, uses a speed dial, opens and closes the help and maker windows
and the speed-dial dialog, and steps into the Eurotel page and out of it again, all with keys.
"""
import argparse
import os
import sys
import tempfile
import time
from pathlib import Path

# The screen reader hears the accessibility bus of this session's own D-Bus. With a DISPLAY,
# libatspi would first take the one named on that X server's root window, which another
# program's session may have left there.
os.environ.pop("DISPLAY", None)
import pyatspi  # noqa: E402
from gi.repository import GLib  # noqa: E402

sys.path.insert(0, str(Path(__file__).resolve().parent))
from user_session import Failure, Session, field  # noqa: E402

WHOLE_RUN_SECONDS = 240
APPLICATION = "SMS Movarek"
# The page tabs are one stop, the chosen one; arrows move between them.
MAIN_TAB_ORDER = ["SMS E-mail", "Adresa", "Poslat!", "Text zprávy",
                  "Rychlá volba 1", "Rychlá volba 2", "Rychlá volba 3", "Rychlá volba 4", "SMS",
                  "Kontakty", "Rychlé volby", "Napište nám!", "Nápověda", "Odeslané",
                  "www.vertanix.cz"]
SPEED_DIAL_1 = "rychla@sms.cz"
# Roles that a control of the program's may have; anything else is a control a screen reader
# cannot present.
ROLES = {"push button", "toggle button", "check box", "radio button", "page tab", "text",
         "combo box", "list", "list item", "status bar", "label", "scroll bar", "tree",
         "table cell"}


def state(obj, name):
    return obj.getState().contains(getattr(pyatspi, f"STATE_{name.upper()}"))


def registry_answers():
    try:
        return pyatspi.Registry.getDesktop(0).childCount >= 0
    except Exception:  # not yet started
        return False


def walk(obj):
    """The object and what it holds that is shown; web pages, whose names are the pages' own,
    are left to the page."""
    yield obj
    if obj.getRoleName() == "document web":
        return
    for child in obj:
        if child is not None and state(child, "showing"):
            yield from walk(child)


class ScreenReaderSession(Session):
    def __init__(self, args, folder):
        super().__init__(args, folder)
        self.announced = []
        self.focus = None
        self.focus_moves = 0
        pyatspi.Registry.registerEventListener(self.heard, "object:property-change:accessible-name")
        pyatspi.Registry.registerEventListener(self.focus_moved, "object:state-changed:focused")

    def start_program(self):
        # A program started before the registry answers may never be heard.
        self.wait_for(registry_answers, "the accessibility bus and its registry", 15)
        super().start_program()

    def environment(self):
        env = super().environment()
        env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
        return env

    def heard(self, event):
        try:
            if event.source.getRoleName() == "status bar":
                self.announced.append(event.source.name)
        except Exception:  # an object gone meanwhile
            pass

    def focus_moved(self, event):
        """Where the focus goes, as a screen reader follows it: by the events that say so."""
        # A text field's inner viewport is no control of its own.
        if event.detail1 != 1:
            return
        self.focus_moves += 1
        if event.source.name:
            self.focus = event.source

    def pump(self):
        """Takes in the events of the accessibility bus that have come."""
        context = GLib.MainContext.default()
        while context.iteration(False):
            pass

    def between_looks(self):
        self.pump()
        time.sleep(0.02)

    def key_moving_focus(self, key):
        """Presses a key that moves the focus, and waits until it has moved."""
        moves = self.focus_moves
        self.key(key)
        self.wait_for(lambda: self.pump() or self.focus_moves > moves,
                      f"the focus to move on {key}", 10)

    # --- what the screen reader sees --------------------------------------------------------

    def application(self):
        """The program as the registry lists it, known by its process: a name read too early
        could be the one it had before it named itself."""
        for app in pyatspi.Registry.getDesktop(0):
            try:
                if app is not None and app.get_process_id() == self.program.pid:
                    return app
            except Exception:  # an application gone meanwhile
                pass
        return None

    def heard_now(self):
        """What the registry lists and names now, rather than what was read of it before."""
        pyatspi.Registry.getDesktop(0).clearCache()
        self.pump()

    def desktop_heard(self):
        """Every application the registry lists, with its windows: what a failure shows."""
        self.heard_now()
        seen = []
        for app in pyatspi.Registry.getDesktop(0):
            try:
                seen.append(f"{app.name} (process {app.get_process_id()}): "
                            f"{[window.name for window in app]}")
            except Exception as error:
                seen.append(repr(error))
        return seen

    def window(self, name):
        """The program's shown window (frame or dialog) of that name."""
        app = self.application()
        for window in app or []:
            if window is not None and window.name == name and state(window, "showing"):
                return window
        return None

    def wait_window_heard(self, name):
        return self.wait_for(lambda: self.heard_now() or self.window(name),
                             f'the window "{name}" over AT-SPI', 15)

    def focused(self):
        """The object the focus last moved to."""
        self.pump()
        return self.focus

    def focused_name(self):
        obj = self.focused()
        return obj.name if obj is not None else None

    def wait_focus(self, name):
        self.wait_for(lambda: self.focused_name() == name, f'the focus on "{name}" (it is on '
                      f'"{self.focused_name()}")', 10)

    def tab_to(self, name, backwards=False, most=30):
        """Tab (or Shift+Tab) until the focus is on the control of that name."""
        for _ in range(most):
            if self.focused_name() == name:
                return
            self.key_moving_focus("shift+Tab" if backwards else "Tab")
        raise Failure(f'Tab never reached "{name}"')

    def reachable(self, window):
        return [obj for obj in walk(window)
                if state(obj, "focusable") and state(obj, "sensitive")
                and obj.getRoleName() != "document web"]

    def check_names_and_roles(self, window, what):
        for obj in self.reachable(window):
            role = obj.getRoleName()
            self.expect(obj.name.strip() != "", f"{what}: a reachable {role} has no name")
            self.expect(role in ROLES, f"{what}: \"{obj.name}\" is a {role}")

    def named(self, window, name, role=None):
        found = [obj for obj in walk(window)
                 if obj.name == name and (role is None or obj.getRoleName() == role)]
        if not found:
            raise Failure(f'no {role or "object"} named "{name}"')
        return found[0]

    # --- the session ------------------------------------------------------------------------

    def prepare_program_folder(self):
        self.program_folder.mkdir(exist_ok=True)
        (self.program_folder / "rvolby.dat").write_bytes(
            field(SPEED_DIAL_1, 200) + bytes(200 * 7))
        records = [field(name, 100) + field(address, 100) + field(phone, 50)
                   for name, address, phone in (("Anna", "anna@sms.cz", ""),
                                                ("Petr", "petr@sms.cz", "777123456"))]
        (self.program_folder / "kontakty.dat").write_bytes(bytes([2, 0]) + b"".join(records))


def main_window(session):
    window = session.wait_window_heard(APPLICATION)
    session.expect(session.application().name == APPLICATION,
                   f"the program is heard as {session.application().name}")
    session.wait_focus("Text zprávy")
    session.check_names_and_roles(window, "main window")
    tabs = [obj for obj in walk(window) if obj.getRoleName() == "page tab"]
    session.expect([t.name for t in tabs] == ["SMS E-mail", "Eurotel", "Oskar"],
                   f"page tabs: {[t.name for t in tabs]}")
    session.expect([state(t, "selected") for t in tabs] == [True, False, False],
                   "the page tab SMS E-mail alone is selected")
    session.expect(tabs and tabs[0].parent.getRoleName() == "page tab list",
                   "the page tabs are one list")
    dials = [session.named(window, f"Rychlá volba {n}", "push button") for n in range(1, 5)]
    session.expect([d.description for d in dials] == [SPEED_DIAL_1] + ["prázdná"] * 3,
                   f"speed dials described {[d.description for d in dials]}")
    session.named(window, "0 / 1", "status bar")

    # Tab goes round the window in reading order.
    session.tab_to("SMS E-mail")
    order = []
    for _ in MAIN_TAB_ORDER:
        order.append(session.focused_name())
        session.key_moving_focus("Tab")
    session.expect(order == MAIN_TAB_ORDER, f"Tab order {order}")
    session.expect(session.focused_name() == "SMS E-mail", "Tab comes round again")


def send_email(session):
    session.tab_to("Text zprávy")
    session.announced.clear()
    session.type("Ahoj")
    session.wait_for(lambda: "4 / 1" in session.announced,
                     f"the strip to announce 4 / 1 (it announced {session.announced})", 10)
    session.tab_to("Adresa", backwards=True)
    session.type("jan@sms.cz")
    session.key("Return")
    session.wait_requests(3, "the send")
    box = session.wait_window_heard("Zpráva odeslána")
    session.check_names_and_roles(box, "the question after a send")
    session.named(box, "Ano", "push button")
    session.key("Return")
    session.wait_focus("Text zprávy")
    sent = session.requests()[2]
    session.expect(sent["query"] == "go=sms2&adr=jan@sms.cz&zprava=Ahoj", f"sent {sent['query']}")


def speed_dial(session):
    session.tab_to("Rychlá volba 1")
    session.key("space")
    session.wait_focus("Text zprávy")
    address = session.named(session.window(APPLICATION), "Adresa", "text")
    text = address.queryText().getText(0, -1)
    session.expect(text == SPEED_DIAL_1, f"the speed dial put {text!r}")


def pick_contact(session):
    session.key("ctrl+k")
    dialog = session.wait_window_heard("Kontakty")
    session.wait_focus("Kontakty")
    session.check_names_and_roles(dialog, "contacts dialog")
    for name in ("Jméno", "Adresa mobilního telefonu", "Telefon"):
        session.named(dialog, name, "text")
    items = [obj for obj in walk(session.named(dialog, "Kontakty", "list"))
             if obj.getRoleName() == "list item"]
    session.expect([i.name for i in items] == ["Anna", "Petr"], f"contacts {[i.name for i in items]}")
    session.key("Down", "space")
    petr = session.named(dialog, "Petr", "list item")
    session.expect(state(petr, "checked"), "Petr is marked")
    session.key("Return")
    session.wait_for(lambda: session.window("Kontakty") is None, "the contacts dialog to close", 10)
    address = session.named(session.window(APPLICATION), "Adresa", "text")
    text = address.queryText().getText(0, -1)
    session.expect(text == "petr@sms.cz; ", f"the contact chosen put {text!r}")


def speed_dial_dialog(session):
    session.key("ctrl+r")
    dialog = session.wait_window_heard("Rychlé volby")
    session.check_names_and_roles(dialog, "speed-dial dialog")
    for n in range(1, 5):
        session.named(dialog, f"Rychlá volba {n}", "text")
    modes = [session.named(dialog, name, "radio button") for name in ("SMS E-mail", "Oskar")]
    session.expect([state(m, "checked") for m in modes] == [True, False],
                   "the speed dials of SMS E-mail are chosen")
    session.tab_to("SMS E-mail")
    session.key("Right")
    session.wait_for(lambda: state(session.named(dialog, "Oskar", "radio button"), "checked"),
                     "the keyboard to choose the Oskar speed dials", 10)
    session.key("Escape")
    session.wait_for(lambda: session.window("Rychlé volby") is None, "the dialog to close", 10)


def sent_messages_window(session):
    session.key("ctrl+h")
    window = session.wait_window_heard("Odeslané zprávy")
    session.check_names_and_roles(window, "sent messages window")
    session.wait_focus("Hledat")
    session.expect(state(session.named(window, "Ukládat odeslané zprávy", "check box"), "checked"),
                   "the sent messages are kept")
    session.named(window, "Podrobnosti zprávy", "text")
    session.tab_to("Použít znovu")
    session.key("Escape")
    session.wait_for(lambda: session.window("Odeslané zprávy") is None,
                     "the sent messages window to close", 10)


def help_window(session):
    session.key("F1")
    window = session.wait_window_heard("Nápověda")
    session.check_names_and_roles(window, "help window")
    document = session.named(window, "Nápověda", "text")
    session.expect(state(document, "read_only") or not state(document, "editable"),
                   "the help document is read-only")
    session.tab_to("Jak posílat SMS zdarma?")
    button = session.named(window, "Jak posílat SMS zdarma?", "push button")
    session.expect(state(button, "focused"), "the flat button takes the keyboard focus")
    session.key("space")
    # Esc closes the help window only when no error box stands in front of it.
    session.key("Escape")
    session.wait_for(lambda: session.window("Nápověda") is None, "the help window to close", 10)
    session.expect(session.window("Chyba") is None, "the help document loads from the keyboard")


def maker_window(session):
    session.tab_to("Napište nám!")
    session.key("space")
    window = session.wait_window_heard("Kontakt na výrobce")
    session.check_names_and_roles(window, "maker window")
    texts = [obj.name for obj in walk(window) if obj.getRoleName() == "label"]
    session.expect(any(t.startswith("E-Mail: ") for t in texts), f"the maker's texts {texts}")
    session.key("Return")
    session.wait_for(lambda: session.window("Kontakt na výrobce") is None,
                     "the maker window to close", 10)


def eurotel_page(session):
    """Right from the chosen page tab shows the Eurotel page; Tab goes into it, through its form
    and out of it; Shift+Tab goes back in, and Ctrl+Tab out again from anywhere in the page."""
    session.tab_to("SMS E-mail", backwards=True)
    session.key("Right")
    session.wait_focus("Eurotel")
    session.key_moving_focus("Tab")
    page = session.focused()
    session.expect(page.getRoleName() != "page tab" and page.name == "Eurotel",
                   f"in the page, the focus is on a {page.getRoleName()} \"{page.name}\"")
    # In, the page's first field has the focus; on through "Odeslat" and the text, moves the page
    # keeps to itself, and out to the side menu.
    session.key("Tab", "Tab")
    session.key_moving_focus("Tab")
    session.wait_focus("SMS")
    session.key("shift+Tab")
    session.wait_for(lambda: session.focused().getRoleName() != "page tab" and
                     session.focused_name() == "Eurotel", "the focus back in the page", 10)
    session.key("ctrl+Tab")
    session.wait_focus("SMS")


def run(session):
    session.prepare_program_folder()
    session.start_x_server()
    session.start_simulator()
    session.start_program()
    session.wait_requests(2, "the start-up requests")
    for step in (main_window, send_email, sent_messages_window, speed_dial, pick_contact,
                 speed_dial_dialog, help_window, maker_window, eurotel_page):
        step(session)


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    for option in ("--program", "--web-engine-module", "--simulator", "--help-document",
                   "--artifacts"):
        parser.add_argument(option, required=True)
    parser.add_argument("--port", type=int, required=True)
    args = parser.parse_args()
    with tempfile.TemporaryDirectory(prefix="movarek-screen-reader-") as folder:
        session = ScreenReaderSession(args, Path(folder))
        deadline = time.monotonic() + WHOLE_RUN_SECONDS
        try:
            run(session)
        except Exception as failure:  # a step the session cannot go on without, or a fault
            session.problems.append(f"stopped: {failure!r}")
            print("The screen reader hears:", *session.desktop_heard(), sep="\n  ", flush=True)
            print("The program said:", session.program_said(), sep="\n", flush=True)
            try:
                session.screenshot("root", "failure-screen")
            except Exception:
                pass
        finally:
            session.stop_all()
        if time.monotonic() > deadline:
            session.problems.append(f"the session took longer than {WHOLE_RUN_SECONDS} s")
    for problem in session.problems:
        print("PROBLEM:", problem, flush=True)
    print(f"{0 if session.problems else 1} passed, {len(session.problems)} failed")
    return 1 if session.problems else 0


if __name__ == "__main__":
    sys.exit(main())
