#!/usr/bin/python3
"""A fair benchmark of the SFTP engine beside OpenSSH's sftp and scp (run by hand, not a test).

Server: Debian's OpenSSH sshd (/usr/sbin/sshd), started twice on free loopback ports with
configurations of their own: one with its default ciphers, one with aes128-gcm@openssh.com
as its only cipher, so that every client is held to that cipher there. The clients log in
as the user running the bench with a key of the bench's own (ours finds it in HOME/.ssh,
the peers are given it with -i); all of them check the same known_hosts.

Fair means:
- runs interleave (ours, sftp, scp, ours, ...), with `sync` and a dropped page cache
  (where the system allows) before every run;
- the same work: every download is on disk when the run ends (ours commits through a
  flushed temporary file; the peers are followed by `sync FILE` inside the timed run);
- sftp keeps its default 64 requests in flight; scp is OpenSSH 9's, which speaks SFTP;
- every run is a child process timed from start to exit (login included), reported as the
  min and median wall time of --runs runs, with its CPU time (user+sys);
- every transferred file is checked by SHA-256, every listing by its count of entries.

Work: a --size-mib file down and up, under each of the two servers, and a listing of
100,000 entries (ours `dir`, sftp `ls -l`). ratio = peer's median / ours (above 1: ours is faster).

  bench/sftp_bench.py [--console PATH] [--size-mib 1024] [--runs 3] [--work DIR] [--only list|transfer|down]
"""
import argparse
import os
import pwd
import shutil
import socket
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
from ftp_bench import free_port, make_file, settle, sha256  # noqa: E402  (shared with the FTP bench)

TIME = "/usr/bin/time"
GCM = "aes128-gcm@openssh.com"
LIST_ENTRIES = 100_000


class Sshd:
    def __init__(self, work, name, root, authorized, extra):
        self.dir = os.path.join(work, name)
        os.makedirs(self.dir, exist_ok=True)
        os.makedirs("/run/sshd", exist_ok=True)
        self.host_key = os.path.join(self.dir, "host_key")
        subprocess.run(["ssh-keygen", "-q", "-t", "ed25519", "-N", "", "-f", self.host_key], check=True)
        self.port = free_port()
        config = os.path.join(self.dir, "sshd_config")
        with open(config, "w") as f:
            f.write("\n".join([
                "Port %d" % self.port, "ListenAddress 127.0.0.1", "HostKey " + self.host_key,
                "PidFile " + os.path.join(self.dir, "sshd.pid"), "AuthorizedKeysFile " + authorized,
                "StrictModes no", "PermitRootLogin yes", "UsePAM no", "LogLevel ERROR",
                "Subsystem sftp internal-sftp -d " + root] + extra + [""]))
        self.process = subprocess.Popen(["/usr/sbin/sshd", "-D", "-e", "-f", config],
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for _ in range(100):
            try:
                socket.create_connection(("127.0.0.1", self.port), 0.2).close()
                return
            except OSError:
                time.sleep(0.05)
        raise SystemExit("sshd did not come up")

    def known_hosts_line(self):
        with open(self.host_key + ".pub") as f:
            kind, key = f.read().split()[:2]
        return "[127.0.0.1]:%d %s %s\n" % (self.port, kind, key)

    def stop(self):
        self.process.kill()
        self.process.wait()


def measured(command, stdin_text=None, env=None):
    """Runs command under /usr/bin/time; returns (wall s, cpu s, stdout)."""
    report = tempfile.NamedTemporaryFile(delete=False)
    report.close()
    start = time.perf_counter()
    done = subprocess.run([TIME, "-o", report.name, "-f", "%U %S"] + command, input=stdin_text,
                          capture_output=True, text=True, env=env)
    wall = time.perf_counter() - start
    with open(report.name) as f:
        fields = f.read().split()[-2:]
    os.unlink(report.name)
    if done.returncode != 0 or "error " in done.stdout:
        raise RuntimeError("%s failed: %s %s" % (command[0], done.stdout[-400:], done.stderr[-400:]))
    return wall, float(fields[0]) + float(fields[1]), done.stdout


class Clients:
    def __init__(self, console, home, key, known_hosts, user):
        self.console, self.home, self.key, self.known_hosts, self.user = console, home, key, known_hosts, user

    def ours(self, server, lines):
        env = dict(os.environ, HOME=self.home)
        env.pop("SSH_AUTH_SOCK", None)
        return lambda: measured([self.console, "sftp://127.0.0.1", str(server.port), self.user, ""],
                                "".join(line + "\n" for line in lines), env)

    def ssh_options(self):
        return ["-i", self.key, "-o", "UserKnownHostsFile=" + self.known_hosts, "-o", "StrictHostKeyChecking=yes",
                "-o", "BatchMode=yes", "-o", "IdentitiesOnly=yes"]

    def sftp(self, server, lines, then=""):
        batch = "".join(line + "\n" for line in lines)
        command = ["sftp", "-q", "-b", "-", "-P", str(server.port)] + self.ssh_options() + [self.user + "@127.0.0.1"]
        if not then:
            return lambda: measured(command, batch)
        script = " ".join("'%s'" % c for c in command) + " >/dev/null && " + then
        return lambda: measured(["sh", "-c", script], batch)

    def scp(self, server, source, target, then=""):
        command = ["scp", "-q", "-P", str(server.port)] + self.ssh_options() + [source, target]
        script = " ".join("'%s'" % c for c in command) + (" && " + then if then else "")
        return lambda: measured(["sh", "-c", script])


def race(label, contenders, runs, check):
    results = {name: [] for name, _ in contenders}
    for _ in range(runs):
        for name, run in contenders:
            settle()
            wall, cpu, out = run()
            check(name, out)
            results[name].append((wall, cpu))
    ours = statistics.median(w for w, _ in results["ours"])
    rows = []
    for name, _ in contenders:
        walls = [w for w, _ in results[name]]
        cpus = [c for _, c in results[name]]
        median = statistics.median(walls)
        rows.append("| %s | %s | %.2f | %.2f | %.2f | %.2f |" % (
            label, name, min(walls), median, statistics.median(cpus), median / ours))
    for row in rows:
        print(row, flush=True)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--console", default=os.path.join(HERE, "..", "build", "tools", "corvexo-ftp-console"))
    parser.add_argument("--size-mib", type=int, default=1024)
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--work", default="/var/tmp")
    parser.add_argument("--only", choices=["list", "transfer", "down"])
    args = parser.parse_args()
    work = tempfile.mkdtemp(prefix="sftp-bench-", dir=args.work)
    user = pwd.getpwuid(os.getuid()).pw_name
    servers = []
    try:
        root = os.path.join(work, "root")
        home = os.path.join(work, "home")
        local = os.path.join(work, "local")
        for d in (root, os.path.join(home, ".ssh"), local):
            os.makedirs(d)
        key = os.path.join(home, ".ssh", "id_ed25519")
        subprocess.run(["ssh-keygen", "-q", "-t", "ed25519", "-N", "", "-f", key], check=True)
        authorized = os.path.join(work, "authorized_keys")
        shutil.copy(key + ".pub", authorized)
        plain = Sshd(work, "sshd-default", root, authorized, [])
        gcm = Sshd(work, "sshd-gcm", root, authorized, ["Ciphers " + GCM])
        servers = [plain, gcm]
        known_hosts = os.path.join(home, ".ssh", "known_hosts")
        with open(known_hosts, "w") as f:
            f.write(plain.known_hosts_line() + gcm.known_hosts_line())
        clients = Clients(os.path.abspath(args.console), home, key, known_hosts, user)
        print("| work | client | min s | median s | CPU s | ratio |")
        print("|---|---|---|---|---|---|")
        if args.only != "list":
            size = args.size_mib << 20
            source = os.path.join(local, "source.bin")
            make_file(source, size)
            shutil.copy(source, os.path.join(root, "big.bin"))
            wanted = sha256(source)
            down = os.path.join(local, "down.bin")

            def check_down(name, _):
                if sha256(down) != wanted:
                    raise SystemExit("%s: the download differs" % name)
                os.unlink(down)

            def check_up(name, _):
                if sha256(os.path.join(root, "up.bin")) != wanted:
                    raise SystemExit("%s: the upload differs" % name)
                os.unlink(os.path.join(root, "up.bin"))

            for server, cipher in ((plain, "defaults"), (gcm, GCM)):
                race("%d MiB down, %s" % (args.size_mib, cipher), [
                    ("ours", clients.ours(server, ["get big.bin " + down])),
                    ("sftp", clients.sftp(server, ["get big.bin " + down], "sync " + down)),
                    ("scp", clients.scp(server, "%s@127.0.0.1:%s/big.bin" % (user, root), down, "sync " + down)),
                ], args.runs, check_down)
                if args.only == "down":
                    continue
                race("%d MiB up, %s" % (args.size_mib, cipher), [
                    ("ours", clients.ours(server, ["put %s up.bin" % source])),
                    ("sftp", clients.sftp(server, ["put %s up.bin" % source])),
                    ("scp", clients.scp(server, source, "%s@127.0.0.1:%s/up.bin" % (user, root))),
                ], args.runs, check_up)
            os.unlink(os.path.join(root, "big.bin"))
        if args.only not in ("transfer", "down"):
            folder = os.path.join(root, "many")
            os.makedirs(folder)
            for i in range(LIST_ENTRIES):
                open(os.path.join(folder, "entry number %06d.txt" % i), "wb").close()

            def check_list(name, out):
                count = sum(1 for line in out.splitlines() if "entry number" in line)
                if count != LIST_ENTRIES:
                    raise SystemExit("%s listed %d entries" % (name, count))

            race("listing of %d entries" % LIST_ENTRIES, [
                ("ours", clients.ours(plain, ["cd many", "dir"])),
                ("sftp ls -l", clients.sftp(plain, ["cd many", "ls -l"])),
            ], args.runs, check_list)
    finally:
        for server in servers:
            server.stop()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
