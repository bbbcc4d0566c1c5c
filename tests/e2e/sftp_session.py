#!/usr/bin/python3
# Corvexo over SFTP as a user meets it: the FTP run's user session, in the same
# private X session, against a local OpenSSH sshd that a system user logs in to
# with a password; plus the host-key question, a link to a folder, a folder
# downloaded through the queue, a stopped download, a folder deleted and the
# disconnection. Exit codes: 0 passed, 1 failed, 77 skipped (with the reason).
import os
import pwd
import socket
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import user_session  # noqa: E402
from user_session import SkipTest, UserSession, read_bytes  # noqa: E402
from xsession import SessionError, wait_for  # noqa: E402

USER, PASSWORD = "corvexoe2e", "e2e pass word"
SSHD = "/usr/sbin/sshd"


def quietly(args, stdin=None):
    return subprocess.run(args, input=stdin, text=True, capture_output=True).returncode == 0


def tree_of(root):   # every file below root with its content, and every folder (None)
    return {os.path.relpath(os.path.join(folder, name), root): read_bytes(os.path.join(folder, name))
            for folder, dirs, names in os.walk(root) for name in dirs + names}


def runs_as(uid):   # whether any process runs as that user
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            if os.stat("/proc/" + pid).st_uid == uid:
                return True
        except OSError:
            pass
    return False


def listening(port):
    with socket.socket() as s:
        return s.connect_ex(("127.0.0.1", port)) == 0


class SftpSession(UserSession):
    def prepare(self):
        if not os.access(SSHD, os.X_OK):
            raise SkipTest("no " + SSHD)
        quietly(["userdel", USER])
        if not quietly(["useradd", "-M", "-s", "/bin/sh", USER]):
            raise SkipTest("a test user cannot be made here (not root)")
        self.user_made = True
        if not quietly(["chpasswd"], "%s:%s\n" % (USER, PASSWORD)):
            raise SessionError("chpasswd failed")
        os.environ.pop("SSH_AUTH_SOCK", None)   # only the password may log in
        os.chmod(self.work, 0o755)              # the test user walks through it
        folder = os.path.dirname(self.work)
        while folder != "/":                      # and through every folder above it
            if not os.stat(folder).st_mode & 0o001:
                raise SkipTest("the test user cannot reach %s (TMPDIR)" % self.work)
            folder = os.path.dirname(folder)
        for d in ("data", "start", "local", "runtime"):
            os.makedirs(self.path(d), mode=0o700, exist_ok=True)
        self.readme, self.upload = os.urandom(3_000_000), os.urandom(2_000_000)
        for name, content in (("readme.txt", self.readme), ("pub/inner.txt", b"inside pub\n"),
                              ("pub/deeper/more.bin", os.urandom(500_000)), ("pub/deeper/empty", b""),
                              ("old.txt", b"to be renamed\r\n"), ("gone.txt", b"to be deleted\r\n")):
            os.makedirs(os.path.dirname(self.path("served", name)), exist_ok=True)
            with open(self.path("served", name), "wb") as f:
                f.write(content)
        with open(self.path("local", "hello.txt"), "wb") as f:
            f.write(self.upload)
        os.symlink("pub", self.path("served", "publink"))
        with open(self.path("served", "big.bin"), "wb") as f:   # long enough to be stopped midway
            f.truncate(4 << 30)
        account = pwd.getpwnam(USER)
        for folder, dirs, names in os.walk(self.path("served")):
            for name in [folder] + [os.path.join(folder, n) for n in dirs + names]:
                os.lchown(name, account.pw_uid, account.pw_gid)
        self.start_sshd()

    def start_sshd(self):
        os.makedirs("/run/sshd", exist_ok=True)
        self.host_key = self.path("host_key")
        subprocess.run(["ssh-keygen", "-q", "-t", "ed25519", "-N", "", "-f", self.host_key], check=True)
        with socket.socket() as s:
            s.bind(("127.0.0.1", 0))
            self.port = s.getsockname()[1]
        with open(self.path("sshd_config"), "w") as f:
            f.write("\n".join(["Port %d" % self.port, "ListenAddress 127.0.0.1", "HostKey " + self.host_key,
                               "PidFile " + self.path("sshd.pid"), "AuthorizedKeysFile none", "UsePAM yes",
                               "PasswordAuthentication yes", "PermitRootLogin no",
                               "Subsystem sftp internal-sftp -d " + self.path("served"), ""]))
        self.server = subprocess.Popen([SSHD, "-D", "-e", "-f", self.path("sshd_config")],
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wait_for("sshd", lambda: listening(self.port), 15)

    def stop_all(self):
        super().stop_all()
        if getattr(self, "user_made", False):
            quietly(["userdel", USER])

    # --- the steps beyond the FTP run's ---
    def enter_setting(self):
        self.x.key(self.main, "ctrl+s")
        self.type_default_setting("sftp server", "sftp://127.0.0.1", USER, PASSWORD)
        line = ('"sftp://127.0.0.1","%s","%s","%d","sftp server"\r\n' % (PASSWORD, USER, self.port)).encode()
        if read_bytes(os.path.join(self.app_data, "Sfile")) != line:
            raise SessionError("Sfile holds %r" % read_bytes(os.path.join(self.app_data, "Sfile")))

    def connect_trusting_the_key(self):
        self.x.key(self.main, "ctrl+c")
        self.x.wait_gone(self.in_dialog("Corvexo", ["key:alt+y"]))   # the unknown host key: Yes
        self.wait_listing("connect", "readme.txt")
        found = subprocess.run(["ssh-keygen", "-l", "-F", "[127.0.0.1]:%d" % self.port,
                                "-f", self.path(".ssh", "known_hosts")], capture_output=True, text=True).stdout
        fingerprint = subprocess.run(["ssh-keygen", "-l", "-f", self.host_key], capture_output=True, text=True).stdout
        if fingerprint.split()[1] not in found:
            raise SessionError("known_hosts does not hold the host key: %r" % found)

    def browse(self):
        for folder in ("pub/", "publink/"):   # a folder and a link to it, both opened as folders
            self.click_remote(folder)
            self.x.key(self.main, "Return")
            self.wait_listing(folder.rstrip("/"), "inner.txt")
            self.x.key(self.main, "ctrl+u")
            self.wait_listing("up from " + folder.rstrip("/"), "readme.txt")

    def download_replacing(self):   # the local file is older: asked first, then replaced
        with open(self.path("local", "readme.txt"), "wb") as f:
            f.write(b"older")
        self.click_remote("readme.txt")
        self.x.key(self.main, "ctrl+w")
        self.x.wait_gone(self.in_dialog("Corvexo", ["key:alt+y"]))
        wait_for("the replaced file", lambda: read_bytes(self.path("local", "readme.txt")) == self.readme)
        self.x.wait_title(self.main, self.t[166])

    def download_a_folder(self):   # through the queue, named by the remote folder the window shows
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
        if sorted(os.listdir(self.path("local"))) != local_before:
            raise SessionError("the stopped download left %r" % os.listdir(self.path("local")))
        self.x.key(self.main, "ctrl+r")   # the session is still there
        self.wait_listing("after the stop", "big.bin")

    def delete_a_folder(self):
        self.click_remote("newdir/")
        self.x.key(self.main, "Delete")
        self.x.wait_gone(self.in_dialog("Corvexo", ["key:alt+y"]))   # delete it? Yes
        self.wait_listing("deleted newdir", lacks="newdir/")
        names = sorted(os.listdir(self.path("served")))
        if names != ["big.bin", "hello.txt", "pub", "publink", "readme.txt", "renamed file.txt"]:
            raise SessionError("the served folder holds %r" % names)

    def disconnect(self):
        self.x.key(self.main, "ctrl+i")
        uid = pwd.getpwnam(USER).pw_uid
        wait_for("the server's session to end", lambda: not runs_as(uid), 15)
        self.x.screenshot("disconnected")
        self.x.key(self.main, "ctrl+x")
        self.app.wait(15)

    def steps(self):
        return (self.enter_setting, self.connect_trusting_the_key, self.browse, self.move_local_folder,
                self.download_and_upload, self.download_replacing, self.download_a_folder, self.stop_a_download,
                self.change_remote_files, self.delete_a_folder, self.disconnect)


if __name__ == "__main__":
    sys.exit(user_session.main(SftpSession))
