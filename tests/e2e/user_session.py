#!/usr/bin/python3
"""Corvexo as a user meets it: the real program in a private X session,
driven only by keys and mouse, against a local FTP server.

Exit codes: 0 passed, 1 failed, 77 skipped (with the reason printed).
Screenshots of every step are kept in --artifacts.
"""
import argparse
import os
import re
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from xsession import SessionError, XSession, tools_missing  # noqa: E402

SKIP = 77
HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.dirname(os.path.dirname(HERE))


def load_texts(language):
    """The program's texts by number, read from its own string table."""
    with open(os.path.join(SOURCE, "app/strings/string_table_data.cpp"), encoding="utf-8") as f:
        data = f.read()
    texts = {}
    for number, english, japanese in re.findall(r'\{(\d+),\s*u"((?:[^"\\]|\\.)*)",\s*u"((?:[^"\\]|\\.)*)"\}', data):
        texts[int(number)] = (japanese if language == "ja" else english).replace('\\"', '"')
    return texts


def free_two_digit_port():
    for port in range(99, 9, -1):
        with socket.socket() as s:
            try:
                s.bind(("127.0.0.1", port))
                return port
            except OSError:
                continue
    return None


def wait_for(what, predicate, timeout=30):
    deadline = time.time() + timeout
    while time.time() < deadline:
        if predicate():
            return
        time.sleep(0.1)
    raise SessionError("timed out waiting for " + what)


def read_bytes(path):
    try:
        with open(path, "rb") as f:
            return f.read()
    except OSError:
        return None


class UserSession:
    def __init__(self, args):
        self.args = args
        self.texts = load_texts(args.lang)
        self.work = tempfile.mkdtemp(prefix="corvexo-e2e-")
        self.data = os.path.join(self.work, "data")
        self.app_data = os.path.join(self.data, "Corvexo")
        self.start_dir = os.path.join(self.work, "start")
        self.local = os.path.join(self.work, "local")
        self.served = os.path.join(self.work, "served")
        self.x = XSession(args.artifacts)
        self.server = None
        self.app = None
        self.port = None

    # --- set-up ---
    def prepare_files(self):
        for d in (self.data, self.start_dir, self.local, self.served, os.path.join(self.served, "pub")):
            os.makedirs(d, exist_ok=True)
        self.readme = os.urandom(300_000)
        self.upload = os.urandom(200_000)
        with open(os.path.join(self.served, "readme.txt"), "wb") as f:
            f.write(self.readme)
        with open(os.path.join(self.served, "pub", "inner.txt"), "wb") as f:
            f.write(b"inside pub\r\n")
        with open(os.path.join(self.served, "old.txt"), "wb") as f:
            f.write(b"to be renamed\r\n")
        with open(os.path.join(self.served, "gone.txt"), "wb") as f:
            f.write(b"to be deleted\r\n")
        with open(os.path.join(self.local, "hello.txt"), "wb") as f:
            f.write(self.upload)

    def start_server(self):
        self.port = free_two_digit_port()
        if self.port is None:
            reason = "" if os.geteuid() == 0 else " (ports below 100 need root)"
            raise SkipTest("no free two-digit port on 127.0.0.1 (the port field takes two digits)" + reason)
        self.server = subprocess.Popen(
            ["/usr/bin/python3", os.path.join(SOURCE, "tests/support/ftp_server.py"),
             "--root", self.served, "--port", str(self.port)],
            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        line = self.server.stdout.readline()
        if not line.startswith("PORT"):
            raise SessionError("the test server did not start")

    def app_env(self):
        env = dict(os.environ)
        env.update(self.x.env())
        runtime = os.path.join(self.work, "runtime")
        os.makedirs(runtime, mode=0o700, exist_ok=True)
        env.update({
            "XDG_DATA_HOME": self.data, "HOME": self.work, "XDG_RUNTIME_DIR": runtime,
            "QT_QPA_PLATFORM": "xcb", "LANG": self.locale(), "LC_ALL": self.locale(),
            "LANGUAGE": "",
        })
        return env

    def locale(self):
        return "ja_JP.UTF-8" if self.args.lang == "ja" else "C.UTF-8"

    def start_app(self, attempts=2):
        log = open(os.path.join(self.args.artifacts, "corvexo-stderr.txt"), "a")
        self.app = subprocess.Popen([self.args.exe], cwd=self.start_dir, env=self.app_env(),
                                    stdout=subprocess.DEVNULL, stderr=log)
        try:
            self.main = self.x.find_window("Corvexo1.0 Beta2", pid=self.app.pid)
        except SessionError:
            # An X server that went away under a busy machine: start a fresh one, once.
            if self.app.poll() is None or attempts <= 1:
                raise
            self.x.stop()
            self.x.start()
            return self.start_app(attempts - 1)
        time.sleep(0.5)
        return self.main

    def stop_all(self):
        if self.app and self.app.poll() is None:
            self.app.send_signal(signal.SIGTERM)
            try:
                self.app.wait(5)
            except subprocess.TimeoutExpired:
                self.app.kill()
        if self.server:
            self.server.terminate()
        self.x.stop()

    # --- what the user sees ---
    def t(self, number):
        return self.texts[number]

    def listing(self):
        return (read_bytes(os.path.join(self.app_data, "tm")) or b"").decode("utf-8", "replace")

    def wait_completed(self, what):
        self.x.wait_title(self.main, self.t(166), timeout=30)
        self.x.screenshot(what)

    def wait_listing(self, what, contains):
        wait_for("the remote list of " + what, lambda: contains in self.listing().split("\r\n"))
        self.wait_completed(what)

    def answer_message(self, keys="Return"):
        box = self.x.find_window("Corvexo", pid=self.app.pid, timeout=10)
        self.x.screenshot("message")
        self.x.key(box, keys)
        self.x.wait_gone(box)

    # Points inside the main window (its menu bar included), from the fixed layout:
    # the lists span 1800 to 5800 twips below the menu bar, the path box sits at 1560.
    MENU_BAR = 22

    ROW_TOP, ROW_HEIGHT = 144, 18   # the first entry's middle below the menu bar (under the column titles); one entry's height

    def click_remote_entry(self, name):
        rows = self.listing().split("\r\n")
        if name not in rows:
            raise SessionError("%r is not in the remote list %r" % (name, rows))
        self.x.click(self.main, 330, self.MENU_BAR + self.ROW_TOP + self.ROW_HEIGHT * rows.index(name))

    def click_local_entry(self, name, rows):
        self.x.click(self.main, 60, self.MENU_BAR + self.ROW_TOP + self.ROW_HEIGHT * rows.index(name))

    def path_box_point(self):
        return 146, self.MENU_BAR + 112

    # --- the steps ---
    def enter_setting(self):
        self.x.key(self.main, "ctrl+s")
        settings = self.x.find_window(self.t(109), pid=self.app.pid)
        self.x.screenshot("settings-open")
        for value in ("e2e server", "ftp://127.0.0.1", str(self.port), "user", "secret"):
            self.x.type(settings, value)
            self.x.key(settings, "Return")
        self.x.key(settings, "alt+d")           # Set this setting to default
        self.answer_message("alt+y")             # add it to the list first: Yes
        self.x.screenshot("settings-default")
        self.x.key(settings, "alt+o")            # OK hides the window
        self.x.wait_gone(settings)
        expected = '"127.0.0.1","secret","user","%d","e2e server"\r\n' % self.port
        sfile = read_bytes(os.path.join(self.app_data, "Sfile"))
        if sfile != expected.encode():
            raise SessionError("Sfile holds %r, expected %r" % (sfile, expected))
        slitems = read_bytes(os.path.join(self.app_data, "SLItems")) or b""
        if b"e2e server" not in slitems:
            raise SessionError("SLItems holds %r" % slitems)

    def connect(self):
        self.x.key(self.main, "ctrl+c")
        self.wait_listing("connect", "readme.txt")

    def open_pub_and_go_up(self):
        self.click_remote_entry("pub/")
        self.x.key(self.main, "Return")
        self.wait_listing("pub", "inner.txt")
        self.x.key(self.main, "ctrl+u")
        self.wait_listing("up again", "readme.txt")

    def download(self):
        self.click_remote_entry("readme.txt")
        self.x.key(self.main, "ctrl+w")
        target = os.path.join(self.local, "readme.txt")
        wait_for("the downloaded file", lambda: read_bytes(target) == self.readme)
        self.wait_completed("downloaded")

    def upload_file(self):
        # The local list: the folder's files by name, then the file just downloaded.
        self.click_local_entry("hello.txt", ["hello.txt", "readme.txt"])
        self.x.key(self.main, "Return")
        wait_for("the uploaded file", lambda: read_bytes(os.path.join(self.served, "hello.txt")) == self.upload)
        self.wait_listing("uploaded", "hello.txt")

    def make_folder(self):
        # Folder creation is offered once the local list has the focus with no entry selected:
        # a click below its entries.
        self.x.click(self.main, 60, self.MENU_BAR + self.ROW_TOP + self.ROW_HEIGHT * 10)
        self.x.key(self.main, "ctrl+n")
        dialog = self.x.find_window(self.t(139), pid=self.app.pid)
        self.x.type(dialog, "newdir")
        self.x.key(dialog, "Return")
        wait_for("the new folder", lambda: os.path.isdir(os.path.join(self.served, "newdir")))
        self.wait_listing("folder created", "newdir/")

    def rename(self):
        self.click_remote_entry("old.txt")
        self.x.key(self.main, "ctrl+a")
        dialog = self.x.find_window(self.t(152), pid=self.app.pid)
        self.x.type(dialog, "renamed file.txt")
        self.x.key(dialog, "Return")
        wait_for("the renamed file", lambda: os.path.exists(os.path.join(self.served, "renamed file.txt")))
        self.wait_listing("renamed", "renamed file.txt")

    def delete(self):
        self.click_remote_entry("gone.txt")
        self.x.key(self.main, "Delete")
        wait_for("the deleted file", lambda: not os.path.exists(os.path.join(self.served, "gone.txt")))
        wait_for("the list without it", lambda: "gone.txt" not in self.listing())
        self.wait_completed("deleted")

    def move_local_folder(self):
        # The path box: select what it holds, type the new folder, Enter.
        # (Ctrl+A belongs to the Edit menu, so the selection is made with Shift+Home.)
        self.x.click(self.main, *self.path_box_point())
        self.x.key(self.main, "End", "shift+Home")
        self.x.type(self.main, self.local)
        self.x.key(self.main, "Return")
        time.sleep(0.5)
        self.x.screenshot("local-folder")

    def disconnect_and_exit(self):
        self.x.key(self.main, "ctrl+i")
        time.sleep(0.5)
        self.x.screenshot("disconnected")
        self.x.key(self.main, "ctrl+x")
        try:
            self.app.wait(15)
        except subprocess.TimeoutExpired:
            raise SessionError("the program did not end after Exit")
        remembered = (read_bytes(os.path.join(self.app_data, "childpf")) or b"").decode("utf-8", "replace")
        if remembered.rstrip("\r\n").rstrip("/") != self.local:
            raise SessionError("childpf holds %r, expected %r" % (remembered, self.local))

    def restart_and_reconnect(self):
        self.start_app()
        self.x.screenshot("restarted")
        self.x.key(self.main, "ctrl+c")   # the default setting came back
        self.wait_listing("reconnected", "hello.txt")
        self.x.key(self.main, "ctrl+x")
        self.app.wait(15)
        remembered = (read_bytes(os.path.join(self.app_data, "childpf")) or b"").decode("utf-8", "replace")
        if remembered.rstrip("\r\n").rstrip("/") != self.local:
            raise SessionError("after the restart the local folder is %r, expected %r" % (remembered, self.local))

    def run(self):
        missing = tools_missing()
        if missing:
            raise SkipTest("missing tools: " + ", ".join(missing))
        os.makedirs(self.args.artifacts, exist_ok=True)
        self.prepare_files()
        self.start_server()
        self.x.start()
        self.start_app()
        self.x.screenshot("started")
        steps = [self.enter_setting, self.connect, self.open_pub_and_go_up, self.move_local_folder,
                 self.download, self.upload_file, self.make_folder, self.rename, self.delete,
                 self.disconnect_and_exit, self.restart_and_reconnect]
        for step in steps:
            print("step:", step.__name__, flush=True)
            try:
                step()
            except SessionError:
                self.x.screenshot("failed-" + step.__name__)
                raise


class SkipTest(Exception):
    pass


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--exe", required=True)
    parser.add_argument("--lang", choices=("en", "ja"), default="en")
    parser.add_argument("--artifacts", required=True)
    parser.add_argument("--keep", action="store_true", help="keep the temporary folder")
    args = parser.parse_args()
    args.exe = os.path.abspath(args.exe)
    session = UserSession(args)
    try:
        session.run()
        print("passed; screenshots in", args.artifacts)
        return 0
    except SkipTest as skip:
        print("SKIPPED:", skip)
        return SKIP
    except SessionError as error:
        print("FAILED:", error)
        return 1
    finally:
        session.stop_all()
        if not args.keep:
            shutil.rmtree(session.work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
