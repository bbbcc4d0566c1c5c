#!/usr/bin/python3
# Corvexo over SFTP as a user meets it: the real program in a private X session,
# driven only by keys and mouse, against a local OpenSSH sshd that a system user
# logs in to with a password. Exit codes: 0 passed, 1 failed, 77 skipped (with
# the reason printed). Screenshots go to --artifacts.
import argparse
import os
import pwd
import shutil
import socket
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from user_session import MENU_BAR, ROW_HEIGHT, ROW_TOP, free_port, load_texts, read_bytes  # noqa: E402
from xsession import SessionError, XSession, tools_missing, wait_for  # noqa: E402

USER, PASSWORD = "corvexoe2e", "e2e pass word"
SSHD = "/usr/sbin/sshd"


class SkipTest(Exception):
    pass


def run_quietly(args, stdin=None):
    return subprocess.run(args, input=stdin, text=True, stdout=subprocess.PIPE, stderr=subprocess.PIPE).returncode == 0


def tree_of(root):   # every file and folder below root, with its content
    tree = {}
    for folder, dirs, names in os.walk(root):
        for name in dirs + names:
            path = os.path.join(folder, name)
            tree[os.path.relpath(path, root)] = read_bytes(path) if os.path.isfile(path) else "/"
    return tree


class Sshd:
    """An sshd of the run's own: its configuration, host key and served folder."""

    def __init__(self, work, served):
        self.dir, self.served, self.process = work, served, None
        self.port = free_port()
        self.host_key = os.path.join(work, "host_key")

    def start(self):
        if not os.access(SSHD, os.X_OK):
            raise SkipTest("no " + SSHD)
        os.makedirs("/run/sshd", exist_ok=True)
        subprocess.run(["ssh-keygen", "-q", "-t", "ed25519", "-N", "", "-f", self.host_key], check=True)
        config = os.path.join(self.dir, "sshd_config")
        with open(config, "w") as f:
            f.write("\n".join([
                "Port %d" % self.port, "ListenAddress 127.0.0.1", "HostKey " + self.host_key,
                "PidFile " + os.path.join(self.dir, "sshd.pid"), "AuthorizedKeysFile none", "StrictModes no",
                "UsePAM yes", "PasswordAuthentication yes", "KbdInteractiveAuthentication yes",
                "PermitRootLogin no", "Subsystem sftp internal-sftp -d " + self.served, ""]))
        self.log = open(os.path.join(self.dir, "sshd.log"), "w")
        self.process = subprocess.Popen([SSHD, "-D", "-e", "-f", config], stdout=subprocess.DEVNULL, stderr=self.log)
        wait_for("sshd on port %d" % self.port, self.listening, 15)

    def listening(self):
        with socket.socket() as s:
            return s.connect_ex(("127.0.0.1", self.port)) == 0

    def fingerprint(self):
        out = subprocess.run(["ssh-keygen", "-l", "-f", self.host_key], stdout=subprocess.PIPE, text=True).stdout
        return out.split()[1]

    def stop(self):
        if self.process and self.process.poll() is None:
            self.process.kill()
            self.process.wait(5)


class SftpSession:
    def __init__(self, args):
        self.args = args
        self.t = load_texts(args.lang)
        self.work = tempfile.mkdtemp(prefix="corvexo-e2e-sftp-")
        os.chmod(self.work, 0o755)   # the test user walks through it to the served folder
        self.path = lambda *parts: os.path.join(self.work, *parts)
        self.app_data = self.path("data", "Corvexo")
        self.x = XSession(args.artifacts)
        self.sshd = self.app = None
        self.user_made = False

    # --- the server side ---
    def make_user(self):
        run_quietly(["userdel", USER])
        if not run_quietly(["useradd", "-M", "-s", "/bin/sh", USER]):
            raise SkipTest("a test user cannot be made here (not root)")
        self.user_made = True
        if not run_quietly(["chpasswd"], "%s:%s\n" % (USER, PASSWORD)):
            raise SessionError("chpasswd failed")

    def prepare(self):
        for d in ("data", "start", "local", "runtime"):
            os.makedirs(self.path(d), mode=0o700, exist_ok=True)
        self.readme, self.upload = os.urandom(3_000_000), os.urandom(2_000_000)
        files = (("served/readme.txt", self.readme), ("served/pub/inner.txt", b"inside pub\n"),
                 ("served/pub/deeper/more.bin", os.urandom(500_000)), ("served/pub/deeper/empty", b""),
                 ("served/old.txt", b"to be renamed\n"), ("served/gone.txt", b"to be deleted\n"),
                 ("local/hello.txt", self.upload))
        for name, content in files:
            os.makedirs(os.path.dirname(self.path(name)), exist_ok=True)
            with open(self.path(name), "wb") as f:
                f.write(content)
        os.symlink("pub", self.path("served", "publink"))
        with open(self.path("served", "big.bin"), "wb") as f:   # long enough to be stopped midway
            f.truncate(4 << 30)
        self.make_user()
        account = pwd.getpwnam(USER)
        for root, dirs, names in os.walk(self.path("served")):
            for name in [root] + [os.path.join(root, n) for n in dirs + names]:
                os.lchown(name, account.pw_uid, account.pw_gid)
        self.sshd = Sshd(self.work, self.path("served"))
        self.sshd.start()

    # --- the program ---
    def start_app(self):
        locale = "ja_JP.UTF-8" if self.args.lang == "ja" else "C.UTF-8"
        env = {k: v for k, v in os.environ.items() if k not in ("SSH_AUTH_SOCK", "SSH_AGENT_PID")}
        env.update(DISPLAY=self.x.display, XDG_DATA_HOME=self.path("data"), HOME=self.work,
                   XDG_RUNTIME_DIR=self.path("runtime"), QT_QPA_PLATFORM="xcb", LANG=locale, LC_ALL=locale, LANGUAGE="")
        log = open(os.path.join(self.args.artifacts, "corvexo-stderr.txt"), "a")
        self.app = subprocess.Popen([self.args.exe], cwd=self.path("start"), env=env, stdout=subprocess.DEVNULL,
                                    stderr=log)
        self.main = self.x.find_window("Corvexo1.0 Beta2", pid=self.app.pid)
        time.sleep(0.5)
        self.x.screenshot("started")

    def stop_all(self):
        if self.app and self.app.poll() is None:
            self.app.kill()
        if self.sshd:
            self.sshd.stop()
        self.x.stop()
        if self.user_made:
            run_quietly(["userdel", USER])

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
        window = self.x.find_window(title, pid=self.app.pid, timeout=20)
        self.x.screenshot(title)
        for item in keys_or_text:
            (self.x.key if item.startswith("key:") else self.x.type)(window, item[4:] if item.startswith("key:") else item)
        return window

    def served_names(self):
        return sorted(os.listdir(self.path("served")))

    # --- the steps ---
    def enter_setting(self):
        self.x.key(self.main, "ctrl+s")
        fields = []
        for value in ("sftp server", "sftp://127.0.0.1", str(self.sshd.port), USER, PASSWORD):
            fields += [value, "key:Return"]
        settings = self.in_dialog(self.t[109], fields + ["key:alt+d"])   # Set this setting to default
        self.x.wait_gone(self.in_dialog("Corvexo", ["key:alt+y"]))         # add it to the list first: Yes
        self.x.key(settings, "alt+o")
        self.x.wait_gone(settings)
        line = ('"sftp://127.0.0.1","%s","%s","%d","sftp server"\r\n' % (PASSWORD, USER, self.sshd.port)).encode()
        stored = read_bytes(os.path.join(self.app_data, "Sfile"))
        if stored != line:
            raise SessionError("Sfile holds %r, expected %r" % (stored, line))

    def connect_trusting_the_key(self):
        self.x.key(self.main, "ctrl+c")
        self.x.wait_gone(self.in_dialog("Corvexo", ["key:alt+y"]))   # the unknown host key: Yes
        self.wait_listing("connect", "readme.txt")
        known = self.path(".ssh", "known_hosts")
        found = subprocess.run(["ssh-keygen", "-l", "-F", "[127.0.0.1]:%d" % self.sshd.port, "-f", known],
                               stdout=subprocess.PIPE, text=True).stdout
        if self.sshd.fingerprint() not in found:
            raise SessionError("known_hosts does not hold the host key: %r" % found)

    def browse(self):
        for folder in ("pub/", "publink/"):   # a folder and a link to it, both opened as folders
            self.click_remote(folder)
            self.x.key(self.main, "Return")
            self.wait_listing(folder.rstrip("/"), "inner.txt")
            self.x.key(self.main, "ctrl+u")
            self.wait_listing("up from " + folder.rstrip("/"), "readme.txt")

    def move_local_folder(self):
        self.x.click(self.main, 146, MENU_BAR + 112)
        self.x.key(self.main, "End", "shift+Home")
        self.x.type(self.main, self.path("local"))
        self.x.key(self.main, "Return")
        time.sleep(0.5)

    def download_and_upload(self):
        self.click_remote("readme.txt")
        self.x.key(self.main, "ctrl+w")
        wait_for("the downloaded file", lambda: read_bytes(self.path("local", "readme.txt")) == self.readme)
        self.x.wait_title(self.main, self.t[166])
        self.click_row(60, 0)   # the local list: hello.txt, then the file just downloaded
        self.x.key(self.main, "Return")
        wait_for("the uploaded file", lambda: read_bytes(self.path("served", "hello.txt")) == self.upload)
        self.wait_listing("uploaded", "hello.txt")

    def download_a_folder(self):
        # A folder goes through the queue, with the remote folder the window shows.
        self.click_remote("pub/")
        self.x.key(self.main, "ctrl+w")
        wait_for("the downloaded folder", lambda: tree_of(self.path("local", "pub")) == tree_of(self.path("served", "pub")))
        self.x.screenshot("folder downloaded")

    def stop_a_download(self):
        local_before = sorted(os.listdir(self.path("local")))
        self.click_remote("big.bin")
        self.x.key(self.main, "ctrl+w")
        self.x.wait_title(self.main, self.t[160])   # Executing...
        time.sleep(1.0)   # some of it on its way, far from all
        self.x.key(self.main, "Escape")
        self.x.wait_title(self.main, self.t[163])   # Stopped.
        self.x.screenshot("stopped")
        wait_for("the partial file to go", lambda: sorted(os.listdir(self.path("local"))) == local_before, 10)
        self.x.key(self.main, "ctrl+r")   # the session is still there
        self.wait_listing("after the stop", "big.bin")

    def change_remote_files(self):
        self.click_row(60, 10)   # the local list with no entry selected offers folder creation
        self.x.key(self.main, "ctrl+n")
        self.in_dialog(self.t[139], ["newdir", "key:Return"])
        self.wait_listing("folder created", "newdir/")
        if not os.path.isdir(self.path("served", "newdir")):
            raise SessionError("no folder made: %r" % self.served_names())
        self.click_remote("old.txt")
        self.x.key(self.main, "ctrl+a")
        self.in_dialog(self.t[152], ["renamed file.txt", "key:Return"])
        self.wait_listing("renamed", "renamed file.txt")
        for name in ("gone.txt", "newdir/"):
            self.click_remote(name)
            self.x.key(self.main, "Delete")
            self.x.wait_gone(self.in_dialog("Corvexo", ["key:alt+y"]))   # delete it? Yes
            self.wait_listing("deleted " + name.rstrip("/"), lacks=name)
        expected = ["big.bin", "hello.txt", "pub", "publink", "readme.txt", "renamed file.txt"]
        if self.served_names() != expected or read_bytes(self.path("served", "renamed file.txt")) != b"to be renamed\n":
            raise SessionError("the served folder holds %r" % self.served_names())

    def disconnect(self):
        self.x.key(self.main, "ctrl+i")
        wait_for("the remote list to empty", lambda: not self.sshd_sessions(), 15)
        self.x.screenshot("disconnected")
        self.x.key(self.main, "ctrl+x")
        self.app.wait(15)

    def sshd_sessions(self):   # the test user's sessions still open on the server
        return run_quietly(["pgrep", "-u", USER])

    def run(self):
        if tools_missing():
            raise SkipTest("missing tools: " + ", ".join(tools_missing()))
        shutil.rmtree(self.args.artifacts, ignore_errors=True)   # this run's screenshots only
        os.makedirs(self.args.artifacts)
        self.prepare()
        self.x.start()
        self.x.start_window_manager()
        self.start_app()
        for step in (self.enter_setting, self.connect_trusting_the_key, self.browse, self.move_local_folder,
                     self.download_and_upload, self.download_a_folder, self.stop_a_download, self.change_remote_files, self.disconnect):
            print("step:", step.__name__, flush=True)
            try:
                step()
            except (SessionError, subprocess.TimeoutExpired):
                self.x.screenshot("failed-" + step.__name__)
                raise


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--exe", required=True)
    parser.add_argument("--lang", choices=("en", "ja"), default="en")
    parser.add_argument("--artifacts", required=True)
    args = parser.parse_args()
    args.exe = os.path.abspath(args.exe)
    session = SftpSession(args)
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
