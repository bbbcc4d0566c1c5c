#!/usr/bin/python3
"""A fair benchmark of the FTP engine beside curl and lftp (run by hand, not a test).

Servers: pyftpdlib (tests/support/ftp_server.py) and a local vsftpd unpacked from
its Debian package (skipped, with the reason, when that fails). Peers: curl and
lftp, installed by --install when missing. Ours is corvexo-ftp-console --bench.

Fair means:
- runs interleave (ours, curl, lftp, ours, ...), with `sync` and a dropped page
  cache (where the system allows) before every run;
- the same work: every download is fsynced by every tool (ours commits through
  QSaveFile; the peers are followed by `sync FILE` inside the timed run);
  listings are parsed by ours and lftp (cls), while curl only copies the bytes;
- every run is measured as a child process: wall time, CPU time (user+sys) and
  peak memory (/usr/bin/time), reported as min and median of --runs runs;
- every transferred file is checked (size and SHA-256; listings by their count).

Work: a large file down (to disk and to tmpfs) and up, listings of 10,000 and
100,000 entries by MLSD and by LIST, and 1,000 files of 10 KB in one session.
The window's own rows (bench/window_bench.py, needs Xvfb and xdotool; --no-window
skips them): start-up to a shown window, and the longest event-loop stall while a
100,000-entry folder is shown and while the large file downloads.
One table; ratio = peer's median wall time / ours (above 1: ours is faster).

  bench/ftp_bench.py [--console PATH] [--size-mib 1024] [--runs 3] [--install]
                     [--servers pyftpdlib,vsftpd] [--skip-small-files] [--only list]
(--only list: the listing rows alone, without preparing or moving the large files)
"""
import argparse
import hashlib
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
PYFTPD = os.path.join(HERE, "..", "tests", "support", "ftp_server.py")
USER, PASSWORD = "user", "secret"
TIME = "/usr/bin/time"
SMALL_NAME = "small%04d.bin"   # no blanks: the console reads blank-separated operands


# --- preparation -------------------------------------------------------------

def install_peers(wanted):
    missing = [p for p in wanted if not shutil.which(p)]
    if os.path.exists(TIME) is False:
        missing.append("time")
    if missing:
        print("installing", " ".join(missing), flush=True)
        subprocess.run(["apt-get", "install", "-y"] + missing, check=False, stdout=subprocess.DEVNULL)


def make_file(path, size):
    block = os.urandom(1024 * 1024)
    with open(path, "wb") as f:
        left = size
        while left > 0:
            f.write(block[:min(left, len(block))])
            left -= len(block)


def sha256(path):
    digest = hashlib.sha256()
    with open(path, "rb") as f:
        for block in iter(lambda: f.read(1 << 20), b""):
            digest.update(block)
    return digest.hexdigest()


def make_folder(path, count, size=0, pattern="entry number %06d.txt"):
    os.makedirs(path, exist_ok=True)
    payload = os.urandom(size)
    for i in range(count):
        with open(os.path.join(path, pattern % i), "wb") as f:
            f.write(payload)


def settle():
    """Writes of one run must not land on the next: flush, then drop the page cache."""
    subprocess.run(["sync"])
    try:
        with open("/proc/sys/vm/drop_caches", "w") as f:
            f.write("3\n")
    except OSError:
        pass


# --- servers ------------------------------------------------------------------

class Server:
    def __init__(self, name, process, port, root, user, password, mlsd):
        self.name, self.process, self.port, self.root = name, process, port, root
        self.user, self.password, self.mlsd = user, password, mlsd

    def url(self, path=""):
        return "ftp://%s:%s@127.0.0.1:%d/%s" % (self.user, self.password, self.port, path)

    def stop(self):
        self.process.kill()
        self.process.wait()


def start_pyftpdlib(root, no_mlsd):
    args = ["/usr/bin/python3", PYFTPD, "--root", root] + (["--no-mlsd"] if no_mlsd else [])
    process = subprocess.Popen(args, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    line = process.stdout.readline()
    if not line.startswith("PORT "):
        raise SystemExit("pyftpdlib did not start")
    name = "pyftpdlib LIST" if no_mlsd else "pyftpdlib"
    return Server(name, process, int(line.split()[1]), root, USER, PASSWORD, not no_mlsd)


def start_vsftpd(root, work, debs=None):
    """vsftpd run from its own folder (the .deb files in debs, else apt-get download); anonymous, writable."""
    unpack = os.path.join(work, "vsftpd-pkg")
    os.makedirs(unpack, exist_ok=True)
    have = [n for n in (os.listdir(debs) if debs and os.path.isdir(debs) else [])
            if n.startswith(("vsftpd_", "libwrap0_")) and n.endswith(".deb")]
    for name in have:
        shutil.copy(os.path.join(debs, name), unpack)
    if len(have) < 2:
        fetched = subprocess.run(["apt-get", "download", "vsftpd", "libwrap0"], cwd=unpack,
                                 capture_output=True, text=True)
        if fetched.returncode != 0:
            return None, "apt-get download failed: " + fetched.stderr.strip()[-200:]
    for deb in [f for f in os.listdir(unpack) if f.endswith(".deb")]:
        subprocess.run(["dpkg", "-x", deb, "."], cwd=unpack, check=True)
    binary = os.path.join(unpack, "usr", "sbin", "vsftpd")
    libs = [os.path.join(unpack, d) for d in ("lib/x86_64-linux-gnu", "usr/lib/x86_64-linux-gnu")]
    empty = os.path.join(work, "vsftpd-empty")
    os.makedirs(empty, exist_ok=True)
    port = free_port()
    config = os.path.join(work, "vsftpd.conf")
    with open(config, "w") as f:
        f.write("\n".join([
            "listen=YES", "listen_address=127.0.0.1", "listen_port=%d" % port, "background=NO",
            "anonymous_enable=YES", "local_enable=NO", "no_anon_password=YES", "anon_root=" + root,
            "write_enable=YES", "anon_upload_enable=YES", "anon_mkdir_write_enable=YES",
            "anon_other_write_enable=YES", "anon_world_readable_only=NO", "anon_umask=022",
            "ftp_username=daemon", "secure_chroot_dir=" + empty, "seccomp_sandbox=NO", "isolate=NO",
            "isolate_network=NO", "pasv_enable=YES", "pasv_min_port=%d" % (port + 1),
            "pasv_max_port=%d" % (port + 50), "allow_writeable_chroot=YES", "xferlog_enable=NO",
            "use_sendfile=YES", "max_per_ip=0", "max_clients=0", ""]))
    env = dict(os.environ, LD_LIBRARY_PATH=":".join(libs))
    process = subprocess.Popen([binary, config], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    time.sleep(0.5)
    if process.poll() is not None:
        return None, "vsftpd exited: " + process.stderr.read().decode(errors="replace")[-200:]
    check = subprocess.run(["curl", "-s", "-S", "--max-time", "5", "ftp://127.0.0.1:%d/" % port],
                           capture_output=True, text=True)
    if check.returncode != 0:
        process.kill()
        return None, "vsftpd does not answer: " + check.stderr.strip()
    return Server("vsftpd", process, port, root, "anonymous", "bench", False), None


def free_port():
    import socket
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


# --- one measured run ---------------------------------------------------------

def measured(command, stdin_text=None):
    """Runs command under /usr/bin/time; returns (wall s, cpu s, peak KiB, stdout)."""
    report = tempfile.NamedTemporaryFile(delete=False)
    report.close()
    start = time.perf_counter()
    done = subprocess.run([TIME, "-o", report.name, "-f", "%U %S %M"] + command, input=stdin_text,
                          capture_output=True, text=True)
    wall = time.perf_counter() - start
    with open(report.name) as f:
        fields = f.read().split()[-3:]
    os.unlink(report.name)
    if done.returncode != 0:
        raise RuntimeError("%s failed: %s %s" % (command[0], done.stdout[-500:], done.stderr[-500:]))
    return wall, float(fields[0]) + float(fields[1]), int(fields[2]), done.stdout


def ours(console, server, commands):
    def run():
        result = measured([console, "--bench", "127.0.0.1", str(server.port), server.user, server.password],
                          "".join(line + "\n" for line in commands))
        if any(line.startswith("error ") for line in result[3].splitlines()):
            raise RuntimeError("ours failed: " + result[3][-500:])
        return result
    return run


def shell(script):
    return lambda: measured(["sh", "-c", script])


def lftp(server, script):
    login = "set ftp:use-mlsd %s; set net:max-retries 1; set xfer:clobber on; set xfer:make-backup off; open -u %s,%s -p %d 127.0.0.1; " % (
        "on" if server.mlsd else "off", server.user, server.password, server.port)
    return lambda: measured(["lftp", "-c", login + script])


# --- the work -----------------------------------------------------------------

def tasks(server, console, args, local, tmpfs, big_sha, upload_sha):
    """(name, {tool: run}, check) for one server."""
    size_name = "%d MiB" % args.size_mib
    out = []
    listings_only = args.only == "list"

    def check_file(path):
        return lambda: sha256(path) == big_sha or "content differs: " + path

    for where, folder in (("disk", local), ("tmpfs", tmpfs)):
        if folder is None or listings_only:
            continue
        target = os.path.join(folder, "down.bin")
        out.append(("down %s to %s" % (size_name, where), [target], {
            "ours": ours(console, server, ["GET big.bin " + target]),
            "curl": shell("curl -s -S -o %s %s && sync %s" % (target, server.url("big.bin"), target)),
            "lftp": lftp(server, "get big.bin -o %s; !sync %s" % (target, target)),
        }, check_file(target)))
    up_source = os.path.join(local, "up.bin")
    uploaded = os.path.join(server.root, "uploads", "up.bin")
    if not listings_only:
        out.append(("up " + size_name, [uploaded], {
            "ours": ours(console, server, ["put %s uploads/up.bin" % up_source]),
            "curl": shell("curl -s -S -T %s %s" % (up_source, server.url("uploads/up.bin"))),
            "lftp": lftp(server, "put %s -o uploads/up.bin" % up_source),
        }, lambda: sha256(uploaded) == upload_sha or "upload differs"))
    verbs = ["MLSD", "LIST"] if server.mlsd else ["LIST"]
    for count in (10000, 100000):
        folder = "list%dk" % (count // 1000)
        for verb in verbs:
            # Ours lists by MLSD wherever it is offered; LIST rows use a server without it.
            listing_server = server if verb == "MLSD" or not server.mlsd else server.list_only
            if listing_server is None:
                continue
            curl_args = ("-X MLSD " if verb == "MLSD" else "") + listing_server.url(folder + "/")
            out.append(("list %dk %s" % (count // 1000, verb), [], {
                "ours": ours(console, listing_server, ["CD " + folder, "Dir "]),
                "curl": shell("curl -s -S -o /dev/null " + curl_args),
                "lftp": lftp(listing_server, "cd %s; cls -1 > /dev/null" % folder),
            }, None, count))
    if not args.skip_small_files and not listings_only:
        names = [SMALL_NAME % i for i in range(1000)]
        dest = os.path.join(local, "small")
        os.makedirs(dest, exist_ok=True)
        curl_config = os.path.join(local, "small.curl")
        with open(curl_config, "w") as f:
            for n in names:
                f.write('url = "%s"\noutput = "%s/%s"\n' % (server.url("small/" + n), dest, n))
        out.append(("1000 x 10 KB down", [dest], {
            "ours": ours(console, server, ["CD small"] + ["GET %s %s/%s" % (n, dest, n) for n in names]),
            "curl": shell("curl -s -S -K %s && sync %s" % (curl_config, dest)),
            "lftp": lftp(server, "cd small; mget -O %s *; !sync %s" % (dest, dest)),
        }, lambda: len([n for n in os.listdir(dest) if os.path.getsize(os.path.join(dest, n)) == 10240]) == 1000
           or "small files missing"))
    return out


def run_task(name, runners, check, count, runs, leftovers):
    results = {tool: [] for tool in runners}
    for _ in range(runs):
        for tool, run in runners.items():   # interleaved: ours, curl, lftp, ours, ...
            for path in leftovers:   # each tool writes into an empty place
                if os.path.isdir(path):
                    shutil.rmtree(path)
                    os.makedirs(path)
                elif os.path.exists(path):
                    os.unlink(path)
            settle()
            try:
                wall, cpu, peak, output = run()
            except RuntimeError as failure:
                print("  %s %s: %s" % (name, tool, str(failure)[:300]), flush=True)
                continue
            if check:
                verdict = check()
                if verdict is not True:
                    print("  %s %s: CHECK FAILED %s" % (name, tool, verdict), flush=True)
                    continue
            if count and tool == "ours" and ("listing-lines %d" % (count + 1)) not in output:
                print("  %s ours: wrong entry count" % name, flush=True)
                continue
            results[tool].append((wall, cpu, peak))
    return results


def summary(samples):
    walls, cpus, peaks = zip(*samples)
    return min(walls), statistics.median(walls), min(cpus), statistics.median(cpus), max(peaks)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--console", default=os.path.join(HERE, "..", "build", "tools", "corvexo-ftp-console"))
    parser.add_argument("--size-mib", type=int, default=1024)
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--install", action="store_true", help="apt-get install curl, lftp and time when missing")
    parser.add_argument("--servers", default="pyftpdlib,vsftpd")
    parser.add_argument("--skip-small-files", action="store_true")
    parser.add_argument("--only", choices=["list"], default=None, help="run the listing rows alone")
    parser.add_argument("--exe", default=os.path.join(HERE, "..", "build", "corvexo"), help="the program, for the window rows")
    parser.add_argument("--no-window", action="store_true", help="skip the window rows (they need Xvfb and xdotool)")
    args = parser.parse_args()
    console = os.path.abspath(args.console)
    if args.install:
        install_peers(["curl", "lftp"])
    for tool in ("curl", "lftp", TIME):
        if not shutil.which(tool):
            raise SystemExit("%s is missing (run with --install)" % tool)

    work = tempfile.mkdtemp(prefix="corvexo-bench-")
    os.chmod(work, 0o755)
    root, local = os.path.join(work, "root"), os.path.join(work, "local")
    tmpfs = os.path.join(work, "tmpfs")
    os.makedirs(os.path.join(root, "uploads"))
    os.chmod(os.path.join(root, "uploads"), 0o777)
    os.makedirs(local)
    os.makedirs(tmpfs)
    mounted = subprocess.run(["mount", "-t", "tmpfs", "-o", "size=%dm" % (args.size_mib + 64), "tmpfs", tmpfs],
                             capture_output=True).returncode == 0
    if not mounted:
        print("tmpfs: not mounted (not allowed here); the tmpfs rows are skipped")
    servers = []
    try:
        size = args.size_mib * 1024 * 1024
        big_sha = upload_sha = None
        if args.only != "list":
            print("preparing %d MiB files, listings and small files..." % args.size_mib, flush=True)
            make_file(os.path.join(root, "big.bin"), size)
            make_file(os.path.join(local, "up.bin"), size)
            big_sha, upload_sha = sha256(os.path.join(root, "big.bin")), sha256(os.path.join(local, "up.bin"))
        make_folder(os.path.join(root, "list10k"), 10000)
        make_folder(os.path.join(root, "list100k"), 100000)
        make_folder(os.path.join(root, "small"), 1000, 10240, SMALL_NAME)
        rows = []
        for name in args.servers.split(","):
            if name == "pyftpdlib":
                server = start_pyftpdlib(root, False)
                server.list_only = start_pyftpdlib(root, True)
                servers += [server, server.list_only]
            else:
                server, why = start_vsftpd(root, work)
                if server is None:
                    print("vsftpd skipped: " + why, flush=True)
                    continue
                server.list_only = server
                servers.append(server)
            for task in tasks(server, console, args, local, tmpfs if mounted else None, big_sha, upload_sha):
                task_name, leftovers, runners, check = task[:4]
                count = task[4] if len(task) > 4 else None
                print("%s: %s" % (server.name, task_name), flush=True)
                rows.append((server.name, task_name, run_task(task_name, runners, check, count, args.runs, leftovers)))
        window_rows = []
        if not args.no_window and args.only != "list":
            print("window: start-up, a 100,000-entry folder, a %d MiB download" % args.size_mib, flush=True)
            import window_bench
            window_work = os.path.join(work, "window")
            os.makedirs(window_work)
            window_rows = window_bench.measure(os.path.abspath(args.exe), window_work, [100000], 0, args.size_mib,
                                               lambda text: print("  " + text, flush=True))
        print_table(rows, args.runs, window_rows)
    finally:
        for server in servers:
            server.stop()
        if mounted:
            subprocess.run(["umount", tmpfs])
        shutil.rmtree(work, ignore_errors=True)


def window_task(task):
    """The window benchmark's task in the table's narrow column."""
    words = task.split()
    if task.startswith("start-up"):
        return "start-up"
    if task.startswith("remote folder"):
        return "show %dk folder" % (int(words[3]) // 1000)
    if "answer" in task:
        return "  once received"
    return "down %s MiB" % words[2]


def print_table(rows, runs, window_rows=()):
    print()
    print("%d runs each; wall and CPU in seconds as min/median; peak memory in MiB (max); "
          "ratio = peer's median wall / ours" % runs)
    header = "%-10s %-20s %-5s %15s %15s %8s %7s %9s" % ("server", "work", "tool", "wall min/med", "cpu min/med",
                                                         "peak MiB", "ratio", "stall ms")
    print(header)
    print("-" * len(header))
    for server, task, results in rows:
        ours_wall = summary(results["ours"])[1] if results.get("ours") else None
        for tool, samples in results.items():
            if not samples:
                print("%-10s %-20s %-5s %15s" % (server, task, tool, "failed"))
                continue
            wmin, wmed, cmin, cmed, peak = summary(samples)
            ratio = "" if tool == "ours" or not ours_wall else "%.2f" % (wmed / ours_wall)
            print("%-10s %-20s %-5s %7.3f/%-7.3f %7.3f/%-7.3f %8.1f %7s" % (
                server, task, tool, wmin, wmed, cmin, cmed, peak / 1024.0, ratio))
    for task, wall, curl, stall in window_rows:
        print("%-10s %-20s %-5s %15s %15s %8s %7s %9s" % (
            "window", window_task(task), "ours", "" if wall is None else "%.3f" % wall, "", "",
            "%.2f" % (curl / wall) if curl and wall else "", "" if stall is None else stall))
    print("curl does not parse listings (it copies them); ours and lftp parse them.")
    if window_rows:
        print("window rows (pyftpdlib, one run each): the program under Xvfb, driven by keys; wall = from the key")
        print("to the caption \"Completed.\" (start-up: to the shown window); ratio = curl's LIST of the same folder /")
        print("ours; stall = the longest delay of a timer the window runs on its own thread, beyond its interval.")


if __name__ == "__main__":
    main()
