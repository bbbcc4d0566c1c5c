#!/usr/bin/python3
"""Many files at once: the console's transfer queue beside lftp's mirror (run by hand, not a test).

Work: a tree of 1,000 files of 10 KB in 10 folders, downloaded (get -r / mirror)
and uploaded (put -r / mirror -R) with 2 sessions and with 4, against pyftpdlib
and a local vsftpd (unpacked from its Debian package: the .deb files in --debs,
else `apt-get download`; skipped, with the reason, when that fails). Then a
large download (--size-mib, 1 GiB by default) broken at about half by stopping
the server, which comes back a second later on the same port: the console's own
retry continues with REST; the row says how many bytes the second server sent.

Fair means: runs interleave (ours, lftp, ours, ...), with `sync` and a dropped
page cache before each; every tool's run ends with its files on disk (ours
syncs each file before it takes its name; lftp is followed by `sync` inside the
timed run); every run's tree is compared with the source (names and sizes, and
the content of every file); targets are removed before each run.
Ratio = lftp's median wall time / ours (above 1: ours is faster).

  bench/queue_bench.py [--console PATH] [--runs 3] [--servers pyftpdlib,vsftpd]
                       [--debs /tmp] [--size-mib 1024] [--skip-resume] [--skip-trees]
                       [--only down|up] [--sessions 2,4]
"""
import argparse
import filecmp
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import ftp_bench  # noqa: E402  (servers, measured runs, settling)


def make_tree(root, folders=10, per_folder=100, size=10 * 1024):
    for f in range(folders):
        folder = os.path.join(root, "folder %02d" % f)
        os.makedirs(folder, exist_ok=True)
        for i in range(per_folder):
            with open(os.path.join(folder, "file %03d.bin" % i), "wb") as out:
                out.write(os.urandom(size))


def same_tree(a, b):
    compared = filecmp.dircmp(a, b)
    if compared.left_only or compared.right_only or compared.diff_files or compared.funny_files:
        return False
    _, mismatch, errors = filecmp.cmpfiles(a, b, compared.common_files, shallow=False)
    if mismatch or errors:
        return False
    return all(same_tree(os.path.join(a, d), os.path.join(b, d)) for d in compared.common_dirs)


def ours(console, server, line):
    def run():
        result = ftp_bench.measured([console, "--bench", "127.0.0.1", str(server.port), server.user, server.password],
                                    line + "\n")
        if "failed 0," not in result[3]:
            raise RuntimeError("ours failed: " + result[3][-800:])
        return result
    return run


def lftp_mirror(server, script):
    login = ("set net:max-retries 1; set xfer:clobber on; set ftp:use-mlsd %s; open -u %s,%s -p %d 127.0.0.1; "
             % ("on" if server.mlsd else "off", server.user, server.password, server.port))
    return lambda: ftp_bench.measured(["sh", "-c", "lftp -c '%s' && sync" % (login + script)])


def timed_rows(server, console, args, source_tree, local):
    rows = []
    remote_up = os.path.join(server.root, "w", "up")
    for sessions in (int(n) for n in args.sessions.split(",")):
        down = os.path.join(local, "down")
        runners = {
            "ours": ours(console, server, 'get -r --parallel %d tree "%s"' % (sessions, down)),
            "lftp": lftp_mirror(server, "mirror --parallel=%d tree \"%s\"" % (sessions, down)),
        }
        if args.only != "up":
            rows.append(run_rows("%s: 1,000 x 10 KB down, %d sessions" % (server.name, sessions), runners,
                                 lambda: same_tree(source_tree, down), lambda: shutil.rmtree(down, True), args.runs))
        if args.only == "down":
            continue
        runners = {
            "ours": ours(console, server, 'put -r --parallel %d "%s" /w/up' % (sessions, source_tree)),
            "lftp": lftp_mirror(server, "mirror -R --parallel=%d \"%s\" /w/up" % (sessions, source_tree)),
        }
        rows.append(run_rows("%s: 1,000 x 10 KB up, %d sessions" % (server.name, sessions), runners,
                             lambda: same_tree(source_tree, remote_up), lambda: shutil.rmtree(remote_up, True),
                             args.runs))
    return rows


def run_rows(name, runners, check, clean, runs):
    print(name, flush=True)
    samples = {tool: [] for tool in runners}
    for _ in range(runs):
        for tool, runner in runners.items():
            clean()
            ftp_bench.settle()
            wall, cpu, peak, _ = runner()
            if not check():
                raise RuntimeError("%s: %s left a tree that differs" % (name, tool))
            samples[tool].append((wall, cpu, peak))
            print("  %s %.2f s" % (tool, wall), flush=True)
    clean()
    return name, samples


def resume_row(console, work, size_mib):
    """A large download broken at about half by stopping the server, then continued."""
    root = os.path.join(work, "resume-root")
    os.makedirs(os.path.join(root, "big"), exist_ok=True)
    source = os.path.join(root, "big", "large file.bin")
    if not os.path.exists(source) or os.path.getsize(source) != size_mib << 20:
        ftp_bench.make_file(source, size_mib << 20)
    target_dir = os.path.join(work, "resume-down")
    shutil.rmtree(target_dir, True)
    part = os.path.join(target_dir, ".large file.bin.corvexo-part")
    port = ftp_bench.free_port()

    def serve(log):
        return subprocess.Popen(["/usr/bin/python3", ftp_bench.PYFTPD, "--root", root, "--port", str(port),
                                 "--log-commands"], stdout=log, stderr=log)

    def listening(path):
        deadline = time.time() + 10
        while time.time() < deadline:
            with open(path) as log:
                if "PORT " in log.read():
                    return
            time.sleep(0.05)
        raise RuntimeError("pyftpdlib did not start")

    first_log_path = os.path.join(work, "resume-first.log")
    first_log = open(first_log_path, "w")
    first = serve(first_log)
    listening(first_log_path)
    start = time.perf_counter()
    client = subprocess.Popen([console, "127.0.0.1", str(port), "user", "secret"], stdin=subprocess.PIPE,
                              stdout=subprocess.PIPE, text=True)
    client.stdin.write('get -r big "%s"\n' % target_dir)
    client.stdin.close()
    while not os.path.exists(part) or os.path.getsize(part) < (size_mib << 20) // 2:
        if client.poll() is not None:
            raise RuntimeError("the download ended before half: " + client.stdout.read()[-500:])
        time.sleep(0.01)
    first.kill()
    first.wait()
    broken_at = os.path.getsize(part)
    time.sleep(1)
    second_log_path = os.path.join(work, "resume-second.log")
    with open(second_log_path, "w") as second_log:
        second = serve(second_log)
        output = client.stdout.read()
        client.wait(timeout=600)
        wall = time.perf_counter() - start
        second.kill()
        second.wait()
    sent_after = 0
    rest_seen = False
    with open(second_log_path) as log:
        for line in log:
            rest_seen |= "CMD REST" in line
            if " RETR " in line and "bytes=" in line:
                sent_after += int(line.split("bytes=")[1].split()[0])
    target = os.path.join(target_dir, "large file.bin")
    identical = os.path.exists(target) and filecmp.cmp(source, target, shallow=False)
    shutil.rmtree(target_dir, True)
    return {"size": size_mib << 20, "broken_at": broken_at, "sent_after": sent_after, "rest": rest_seen,
            "identical": identical, "wall": wall, "summary": output.strip().splitlines()[-1:]}


def print_table(rows, runs):
    print("\n| work | ours median s | lftp median s | ratio | ours CPU s | lftp CPU s | ours peak MiB | lftp peak MiB |")
    print("|---|---|---|---|---|---|---|---|")
    for name, samples in rows:
        med = {t: statistics.median(s[0] for s in v) for t, v in samples.items()}
        cpu = {t: statistics.median(s[1] for s in v) for t, v in samples.items()}
        peak = {t: max(s[2] for s in v) / 1024 for t, v in samples.items()}
        print("| %s | %.2f | %.2f | %.2f | %.2f | %.2f | %.0f | %.0f |" % (
            name, med["ours"], med["lftp"], med["lftp"] / med["ours"], cpu["ours"], cpu["lftp"], peak["ours"],
            peak["lftp"]))
    print("(%d runs each, interleaved; wall times are medians)" % runs)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--console", default=os.path.join(HERE, "..", "build", "tools", "corvexo-ftp-console"))
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--servers", default="pyftpdlib,vsftpd")
    parser.add_argument("--debs", default="/tmp")
    parser.add_argument("--size-mib", type=int, default=1024)
    parser.add_argument("--skip-resume", action="store_true")
    parser.add_argument("--skip-trees", action="store_true")
    parser.add_argument("--only", choices=["down", "up"], help="the tree rows of one direction alone")
    parser.add_argument("--sessions", default="2,4")
    args = parser.parse_args()
    console = os.path.abspath(args.console)
    work = tempfile.mkdtemp(prefix="queue-bench-")
    os.chmod(work, 0o755)   # vsftpd's served folder needs traversable parents
    rows = []
    try:
        for name in [] if args.skip_trees else args.servers.split(","):
            root = os.path.join(work, name + "-root")
            # vsftpd refuses a writable root: uploads go to a writable folder below it.
            os.makedirs(os.path.join(root, "w"))
            os.chmod(os.path.join(root, "w"), 0o777)
            make_tree(os.path.join(root, "tree"))
            source_tree = os.path.join(work, name + "-source")
            shutil.copytree(os.path.join(root, "tree"), source_tree)
            if name == "vsftpd":
                server, why = ftp_bench.start_vsftpd(root, work, args.debs)
                if not server:
                    print("vsftpd skipped: " + why, flush=True)
                    continue
            else:
                server = ftp_bench.start_pyftpdlib(root, False)
            try:
                rows += timed_rows(server, console, args, source_tree, os.path.join(work, name + "-local"))
            finally:
                server.stop()
        if rows:
            print_table(rows, args.runs)
        if not args.skip_resume:
            r = resume_row(console, work, args.size_mib)
            print("\nResume (pyftpdlib): %d MiB, server stopped at %.1f%%, second server sent %d bytes "
                  "(the rest: %d), REST seen: %s, byte-identical: %s, whole run %.1f s, %s" % (
                      r["size"] >> 20, 100.0 * r["broken_at"] / r["size"], r["sent_after"],
                      r["size"] - r["broken_at"], r["rest"], r["identical"], r["wall"], " ".join(r["summary"])))
    finally:
        shutil.rmtree(work, True)


if __name__ == "__main__":
    main()
