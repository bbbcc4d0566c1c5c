#!/usr/bin/python3
# Corvexo as a user meets it: the real program in a private X session, driven
# only by keys and mouse, against a local FTP server. Exit codes: 0 passed,
# 1 failed, 77 skipped (with the reason printed). Screenshots go to --artifacts.
import argparse
import os
import re
import shutil
import socket
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from xsession import SessionError, XSession, tools_missing, wait_for  # noqa: E402

SOURCE = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
# Points inside the main window below its menu bar, from the fixed layout.
MENU_BAR, ROW_TOP, ROW_HEIGHT = 22, 144, 18   # the first row sits under the column titles
# Bytes per second the server sends: slow enough that a large file's progress can be seen.
THROTTLE = 200_000


class SkipTest(Exception):
    pass


def load_texts(language):  # the program's texts by number, from its own string table
    with open(os.path.join(SOURCE, "app/strings/string_table_data.cpp"), encoding="utf-8") as f:
        rows = re.findall(r'\{(\d+),\s*u"((?:[^"\\]|\\.)*)",\s*u"((?:[^"\\]|\\.)*)"\}', f.read())
    return {int(n): (ja if language == "ja" else en).replace('\\"', '"') for n, en, ja in rows}


def free_port():
    # A port above 99 as well: the port field takes any port, and no root is needed.
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def read_bytes(path):
    return open(path, "rb").read() if os.path.isfile(path) else None


class UserSession:
    def __init__(self, args):
        self.args = args
        self.t = load_texts(args.lang)
        self.work = tempfile.mkdtemp(prefix="corvexo-e2e-")
        self.path = lambda *parts: os.path.join(self.work, *parts)
        self.app_data = self.path("data", "Corvexo")
        self.x = XSession(args.artifacts)
        self.server = self.app = None

    def prepare(self):
        for d in ("data", "start", "local", "served/pub", "runtime"):
            os.makedirs(self.path(d), mode=0o700, exist_ok=True)
        self.readme, self.upload = os.urandom(300_000), os.urandom(200_000)
        for name, content in (("served/readme.txt", self.readme), ("served/large.bin", os.urandom(THROTTLE * 40)), ("served/pub/inner.txt", b"inside pub\r\n"),
                              ("served/old.txt", b"to be renamed\r\n"), ("served/gone.txt", b"to be deleted\r\n"),
                              ("local/hello.txt", self.upload)):
            with open(self.path(name), "wb") as f:
                f.write(content)
        self.port = free_port()
        self.server = subprocess.Popen(["/usr/bin/python3", os.path.join(SOURCE, "tests/support/ftp_server.py"),
                                        "--root", self.path("served"), "--port", str(self.port),
                                        "--throttle", str(THROTTLE)],
                                       stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        if not self.server.stdout.readline().startswith("PORT"):
            raise SessionError("the test server did not start")

    def start_app(self, attempts=2, scale=None):
        locale = "ja_JP.UTF-8" if self.args.lang == "ja" else "C.UTF-8"
        env = dict(os.environ, DISPLAY=self.x.display, XDG_DATA_HOME=self.path("data"), HOME=self.work,
                   XDG_RUNTIME_DIR=self.path("runtime"), QT_QPA_PLATFORM="xcb", LANG=locale, LC_ALL=locale, LANGUAGE="")
        env.pop("QT_SCALE_FACTOR", None)
        if scale:
            env["QT_SCALE_FACTOR"] = str(scale)
        log = open(os.path.join(self.args.artifacts, "corvexo-stderr.txt"), "a")
        self.app = subprocess.Popen([self.args.exe], cwd=self.path("start"), env=env, stdout=subprocess.DEVNULL, stderr=log)
        try:
            self.main = self.x.find_window("Corvexo1.0 Beta2", pid=self.app.pid)
        except SessionError:
            if self.app.poll() is None or attempts <= 1:
                raise
            self.x.stop()   # an X server that went away under a busy machine: a fresh one, once
            self.x.start()
            return self.start_app(attempts - 1, scale)
        time.sleep(0.5)
        self.x.screenshot("started")

    def stop_all(self):
        for process in (self.app, self.server):
            if process and process.poll() is None:
                process.kill()
        self.x.stop()

    # --- what the user sees and does ---
    def listing(self):
        return (read_bytes(os.path.join(self.app_data, "tm")) or b"").decode("utf-8", "replace").split("\r\n")

    def wait_listing(self, what, contains=None, lacks=None):
        wait_for("the remote list of " + what,
                 lambda: (contains is None or contains in self.listing()) and lacks not in self.listing())
        self.x.wait_title(self.main, self.t[166])
        self.x.screenshot(what)

    def click_row(self, x, row):
        self.x.click(self.main, x, MENU_BAR + ROW_TOP + ROW_HEIGHT * row)

    def click_remote(self, name):
        if name not in self.listing():
            raise SessionError("%r is not in the remote list %r" % (name, self.listing()))
        self.click_row(330, self.listing().index(name))

    def in_dialog(self, title, keys_or_text):
        window = self.x.find_window(title, pid=self.app.pid, timeout=10)
        self.x.screenshot(title)
        for item in keys_or_text:
            (self.x.key if item.startswith("key:") else self.x.type)(window, item[4:] if item.startswith("key:") else item)
        return window

    def check_childpf(self):
        remembered = (read_bytes(os.path.join(self.app_data, "childpf")) or b"").decode("utf-8", "replace")
        if remembered.rstrip("\r\n").rstrip("/") != self.path("local"):
            raise SessionError("childpf holds %r, expected %r" % (remembered, self.path("local")))

    # --- the steps ---
    def type_default_setting(self, name, host, user, password):
        fields = []
        for value in (name, host, str(self.port), user, password):
            fields += [value, "key:Return"]
        settings = self.in_dialog(self.t[109], fields + ["key:alt+d"])   # Set this setting to default
        self.x.wait_gone(self.in_dialog("Corvexo", ["key:alt+y"]))         # add it to the list first: Yes
        self.x.key(settings, "alt+o")                                       # OK hides the window
        self.x.wait_gone(settings)

    def enter_setting(self):
        self.x.key(self.main, "ctrl+s")
        self.type_default_setting("e2e server", "ftp://127.0.0.1", "user", "secret")
        line = ('"127.0.0.1","secret","user","%d","e2e server"\r\n' % self.port).encode()
        files = [read_bytes(os.path.join(self.app_data, name)) or b"" for name in ("Sfile", "SLItems")]
        private = all(os.stat(os.path.join(self.app_data, n)).st_mode & 0o077 == 0 for n in ("Sfile", "SLItems"))
        if files[0] != line or b"e2e server" not in files[1] or not private:
            raise SessionError("the settings files hold %r (for the owner only: %s)" % (files, private))

    def connect_and_browse(self):
        self.x.key(self.main, "ctrl+c")
        self.wait_listing("connect", "readme.txt")
        self.click_remote("pub/")
        self.x.key(self.main, "Return")
        self.wait_listing("pub", "inner.txt")
        self.x.key(self.main, "ctrl+u")
        self.wait_listing("up again", "readme.txt")

    def screen_sizes(self):
        # Normal, the window is 600x450 outside; maximised it fills the 1280x1024 screen,
        # and restored it has its normal size again, each time.
        self.normal = normal = self.settled_geometry()
        if not self.managed:
            print("no window manager: maximising is not tried")
            return
        self.x.screenshot_window(self.main, "window-600x450")
        self.x.screenshot("screen-600x450")
        for _ in range(2):
            self.x.key(self.main, "ctrl+alt+Up")
            wait_for("the window maximised", lambda: self.x.geometry(self.main)[2] > 1200)
            time.sleep(0.5)
            self.x.screenshot("maximised-1280x1024")
            self.x.key(self.main, "ctrl+alt+Down")
            try:
                wait_for("the window restored", lambda: self.x.geometry(self.main)[2:] == normal[2:], 10)
            except SessionError:
                raise SessionError("restored to %r, normal was %r" % (self.x.geometry(self.main), normal))
        time.sleep(0.3)

    def settled_geometry(self):
        # The window manager may frame the window late (on a loaded machine, after the
        # earlier steps): its normal size counts once it has held still for a while.
        readings = [self.x.geometry(self.main)]

        def held():
            readings.append(self.x.geometry(self.main))
            return len(readings) > 6 and len(set(readings[-6:])) == 1
        wait_for("the window's size to settle", held, 15, 0.25)
        return readings[-1]

    def move_local_folder(self):
        # Ctrl+A belongs to the Edit menu, so the path box's text is selected with Shift+Home.
        self.x.click(self.main, 146, MENU_BAR + 112)
        self.x.key(self.main, "End", "shift+Home")
        self.x.type(self.main, self.path("local"))
        self.x.key(self.main, "Return")
        time.sleep(0.5)

    def progress_while_downloading(self):
        # The progress figures of a running download, whole at 600x450; then Esc stops it,
        # and no partial file is left.
        self.click_remote("large.bin")
        self.x.key(self.main, "ctrl+w")
        time.sleep(3)
        self.x.screenshot_window(self.main, "progress-600x450")
        self.x.key(self.main, "Escape")
        self.x.wait_title(self.main, self.t[163])
        if os.path.exists(self.path("local", "large.bin")):
            raise SessionError("a stopped download left a file in the local folder")

    def download_and_upload(self):
        self.click_remote("readme.txt")
        self.x.key(self.main, "ctrl+w")
        wait_for("the downloaded file", lambda: read_bytes(self.path("local", "readme.txt")) == self.readme)
        self.x.wait_title(self.main, self.t[166])
        self.click_row(60, 0)   # the local list: hello.txt, then the file just downloaded
        self.x.key(self.main, "Return")
        wait_for("the uploaded file", lambda: read_bytes(self.path("served", "hello.txt")) == self.upload)
        self.wait_listing("uploaded", "hello.txt")

    def change_remote_files(self):
        self.click_row(60, 10)   # the local list with no entry selected offers folder creation
        self.x.key(self.main, "ctrl+n")
        self.in_dialog(self.t[139], ["newdir", "key:Return"])
        self.wait_listing("folder created", "newdir/")
        self.click_remote("old.txt")
        self.x.key(self.main, "F2")   # Ctrl+A selects all in a list
        self.in_dialog(self.t[152], ["renamed file.txt", "key:Return"])
        self.wait_listing("renamed", "renamed file.txt")
        self.click_remote("gone.txt")
        self.x.key(self.main, "Delete")
        self.x.wait_gone(self.in_dialog("Corvexo", ["key:alt+y"]))   # delete it? Yes
        self.wait_listing("deleted", lacks="gone.txt")
        for name, kind in (("newdir", os.path.isdir), ("renamed file.txt", os.path.isfile)):
            if not kind(self.path("served", name)) or os.path.exists(self.path("served", "gone.txt")):
                raise SessionError("the served folder holds %r" % os.listdir(self.path("served")))

    def exit_and_restart(self):
        self.x.key(self.main, "ctrl+i", "ctrl+x")
        self.app.wait(15)
        self.check_childpf()
        self.start_app()
        self.x.key(self.main, "ctrl+c")   # the default setting came back
        self.wait_listing("reconnected", "hello.txt")
        self.x.key(self.main, "ctrl+x")
        self.app.wait(15)
        self.check_childpf()

    def twice_as_large(self):
        # At a device pixel ratio of 2 the fixed window is twice as large on the screen.
        normal = self.normal
        self.start_app(scale=2)
        self.x.key(self.main, "ctrl+c")
        self.wait_listing("reconnected at scale 2", "hello.txt")
        doubled = self.settled_geometry()
        self.x.screenshot_window(self.main, "scale2")
        self.x.key(self.main, "ctrl+x")
        self.app.wait(15)
        # The frame stays as thin as the window manager draws it: the outside is what doubles.
        frame = (600 - normal[2], 450 - normal[3])
        if abs(doubled[2] + frame[0] - 1200) > 3 or abs(doubled[3] + frame[1] - 900) > 3:
            raise SessionError("at scale 2 the inside is %r, normally %r" % (doubled[2:], normal[2:]))

    def steps(self):
        return (self.enter_setting, self.connect_and_browse, self.screen_sizes, self.move_local_folder,
                self.progress_while_downloading, self.download_and_upload,
                self.change_remote_files, self.exit_and_restart, self.twice_as_large)

    def run(self):
        if tools_missing():
            raise SkipTest("missing tools: " + ", ".join(tools_missing()))
        shutil.rmtree(self.args.artifacts, ignore_errors=True)   # this run's screenshots only
        os.makedirs(self.args.artifacts)
        self.prepare()
        self.x.start()
        self.managed = self.x.start_window_manager()
        self.start_app()
        for step in self.steps():
            print("step:", step.__name__, flush=True)
            try:
                step()
            except (SessionError, subprocess.TimeoutExpired):
                self.x.screenshot("failed-" + step.__name__)
                raise


def main(session_class=UserSession):
    parser = argparse.ArgumentParser()
    parser.add_argument("--exe", required=True)
    parser.add_argument("--lang", choices=("en", "ja"), default="en")
    parser.add_argument("--artifacts", required=True)
    args = parser.parse_args()
    args.exe = os.path.abspath(args.exe)
    session = session_class(args)
    try:
        session.run()
        print("passed; screenshots in", args.artifacts)
        return 0
    except SkipTest as skip:
        print("SKIPPED:", skip)
        return 77
    except (SessionError, subprocess.TimeoutExpired) as error:
        print("FAILED:", error)
        return 1
    finally:
        session.stop_all()
        shutil.rmtree(session.work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
