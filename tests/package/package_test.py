#!/usr/bin/env python3
"""The Debian package as a user gets it.

Checks the package with lintian, its desktop entry with desktop-file-validate and its AppStream
metadata with appstreamcli; unpacks it into a temporary root and runs the unpacked program as an
unprivileged user, with the web engine's sandbox on, under an X server of its own, against the
gateway simulator (the package is built for its address). The start-up requests and one typed
send must arrive; the help window must show the installed help document; after closing,
padr.dat must be in that user's ~/.local/share/sms-movarek and nothing written beside the
program.
"""
import argparse
import os
import pwd
import shutil
import signal
import stat
import subprocess
import sys
import tempfile
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "e2e"))
from user_session import (EDIT_ADDRESS, SIDE_HELP, START_UP, Failure, Session,  # noqa: E402
                          field)

WHOLE_RUN_SECONDS = 180
USER = "movarek-tester"
MESSAGE_POINT = (170, 100)
SEND = "/send_sms.php?go=sms2&adr=jan@sms.cz&zprava=Ahoj+z+balicku"


def run_checked(problems, what, command):
    result = subprocess.run(command, capture_output=True, text=True, timeout=300)
    output = (result.stdout + result.stderr).strip()
    print(f"$ {' '.join(command)}\n{output}", flush=True)
    if result.returncode != 0:
        problems.append(f"{what} failed:\n{output}")


def unprivileged_user():
    """A user of its own: as root the test makes one; as an ordinary user it is one."""
    if os.getuid() != 0:
        return pwd.getpwuid(os.getuid())
    try:
        return pwd.getpwnam(USER)
    except KeyError:
        subprocess.run(["useradd", "--system", "--no-create-home", "--shell", "/usr/sbin/nologin",
                        USER], check=True)
        return pwd.getpwnam(USER)


class PackageSession(Session):
    def __init__(self, args, folder, user):
        super().__init__(args, folder)
        self.user = user
        self.root = folder / "root"
        self.home = folder / "home"

    def unpack(self):
        subprocess.run(["dpkg-deb", "-x", self.args.deb, str(self.root)], check=True)
        self.home.mkdir()
        if os.getuid() == 0:
            os.chown(self.home, self.user.pw_uid, self.user.pw_gid)
        for folder in (self.folder, self.root):
            folder.chmod(0o755)
        # Installed, the tree is root's and no user may write in it. Unpacked by an ordinary
        # user it is that user's own, and the program would keep its data beside itself.
        self.make_tree_writable(False)

    def make_tree_writable(self, writable):
        inside = (p for p in self.root.rglob("*") if p.is_dir() and not p.is_symlink())
        for folder in [self.root, *inside]:
            mode = folder.stat().st_mode
            folder.chmod(mode | stat.S_IWUSR if writable else mode & ~0o222)

    def program_environment(self):
        return {"HOME": str(self.home), "DISPLAY": self.display, "PATH": "/usr/bin:/bin",
                "LANG": "C.UTF-8", "QT_QPA_PLATFORM": "xcb",
                # The machine's own modem never shows a page or sends from a test.
                "DBUS_SYSTEM_BUS_ADDRESS": "unix:path=/nonexistent/movarek-no-system-bus"}

    def start_program(self):
        program = self.root / "usr/bin/sms-movarek"
        # In a D-Bus session of its own, as on a desktop, which ends with it.
        command = ["dbus-run-session", "--", str(program)]
        if os.getuid() == 0:
            # The user may talk to this X server; the web engine's sandbox stays on.
            subprocess.run(["xhost", f"+si:localuser:{self.user.pw_name}"],
                           env=self.environment(), check=True, capture_output=True)
            command = ["runuser", "-u", self.user.pw_name, "--", "env", "-i",
                       *[f"{k}={v}" for k, v in self.program_environment().items()], *command]
        self.program = self.start("program", command, cwd=self.home,
                                  env=None if os.getuid() == 0 else self.program_environment())


def run(session):
    session.unpack()
    # Loaded when first needed, from the program's library folder: the web engine and the
    # network's view after the first paint, the number library at the first import.
    modules = sorted(p.name for p in session.root.glob("usr/lib/*/sms-movarek/*.so"))
    expected = ["movarek_network.so", "movarek_phonenumbers.so", "movarek_webengine.so"]
    session.expect(modules == expected,
                   f"modules in the library folder: {modules}")
    session.start_x_server()
    session.start_simulator()
    before = sorted(str(p) for p in session.root.rglob("*"))
    session.start_program()
    main = session.wait_main_window(60)
    session.wait_requests(2, "the start-up requests")

    session.click(main, *EDIT_ADDRESS)
    session.type("jan@sms.cz")
    session.click(main, *MESSAGE_POINT)
    session.type("Ahoj z balicku")
    session.key("ctrl+p")
    session.wait_requests(3, "the send")
    session.answer_box("Zpráva odeslána", "Return", "box-sent-question")

    # The program folder holds no help document: the window shows the installed one.
    session.click(main, *SIDE_HELP)
    help_window = session.wait_window("^Nápověda", "the help window")
    session.screenshot(help_window, "dialog-help")
    # The text as the user can copy it out: the installed document's, not the window's own.
    session.key("ctrl+a")
    session.key("ctrl+c")

    def copied():
        return subprocess.run(["xclip", "-o", "-selection", "clipboard"],
                              env=session.environment(), capture_output=True,
                              timeout=10).stdout.decode("utf-8", "replace")

    session.wait_for(lambda: "Do velkého pole pod adresou napište text zprávy" in copied(),
                     "the installed help document's text copied from the help window", 10)
    session.key("Escape")
    session.wait_gone("^Nápověda", "the help window")

    session.wait_close_guard_over()
    session.key("alt+F4")
    session.wait_for(lambda: session.program.poll() is not None, "the program to end", 20)
    session.expect(session.program.poll() == 0, f"the program ended with {session.program.poll()}")

    session.expect(sorted(session.targets()[:2]) == START_UP and session.targets()[2:] == [SEND],
                   "requests:\n  " + "\n  ".join(session.targets()))
    stored = session.home / ".local/share/sms-movarek/padr.dat"
    session.expect(stored.exists() and stored.read_bytes()[:10000] == field("jan@sms.cz", 10000),
                   f"padr.dat in the user's data folder: {stored.exists()}")
    after = sorted(str(p) for p in session.root.rglob("*"))
    session.expect(after == before, "files were written into the installed tree: " +
                   ", ".join(sorted(set(after) - set(before))))


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--deb", required=True)
    parser.add_argument("--simulator", required=True)
    parser.add_argument("--port", type=int, required=True)
    parser.add_argument("--artifacts", required=True)
    args = parser.parse_args()

    problems = []
    run_checked(problems, "lintian", ["lintian", "--fail-on", "error,warning", "--info",
                                      args.deb])
    with tempfile.TemporaryDirectory(prefix="movarek-package-") as folder:
        session = PackageSession(args, Path(folder), unprivileged_user())
        session.unpack()
        run_checked(problems, "desktop-file-validate",
                    ["desktop-file-validate",
                     str(session.root / "usr/share/applications/cz.vertanix.SmsMovarek.desktop")])
        run_checked(problems, "appstreamcli",
                    ["appstreamcli", "validate", "--no-net",
                     str(session.root / "usr/share/metainfo/cz.vertanix.SmsMovarek.metainfo.xml")])
        session.make_tree_writable(True)
        shutil.rmtree(session.root)
        shutil.rmtree(session.home)

        def out_of_time(*_):
            raise Failure(f"the session took longer than {WHOLE_RUN_SECONDS} s")

        signal.signal(signal.SIGALRM, out_of_time)
        signal.alarm(WHOLE_RUN_SECONDS)
        try:
            run(session)
        except Failure as failure:
            session.problems.append(f"stopped: {failure}")
            try:
                session.screenshot("root", "failure-screen")
            except (subprocess.SubprocessError, OSError):
                pass
        finally:
            signal.alarm(0)
            session.stop_all()
            if session.root.exists():
                session.make_tree_writable(True)
        problems += session.problems
    for problem in problems:
        print("PROBLEM:", problem, flush=True)
    print(f"screenshots and logs: {args.artifacts}")
    print(f"{0 if problems else 1} passed, {len(problems)} failed")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
