#!/usr/bin/python3
"""Benchmark of the FTP engine beside curl, against a local pyftpdlib server.

Runs the same work with corvexo-ftp-console --bench and with curl in the same
run: download and upload of a large file, listings of 10,000 and 100,000
entries. Prints each time, the throughput ratio (curl's time / ours; 1.0 means
as fast as curl), the engine's longest event-loop stall and its peak memory.

  bench/ftp_bench.py [--console build/tools/corvexo-ftp-console] [--size-mib 1024]
"""
import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
SERVER = os.path.join(HERE, "..", "tests", "support", "ftp_server.py")
USER, PASSWORD = "user", "secret"


def make_file(path, size):
    block = os.urandom(1024 * 1024)
    with open(path, "wb") as f:
        for _ in range(size // len(block)):
            f.write(block)


def make_folder(path, count):
    os.makedirs(path)
    for i in range(count):
        open(os.path.join(path, "entry number %06d.txt" % i), "wb").close()


def start_server(root):
    server = subprocess.Popen(["/usr/bin/python3", SERVER, "--root", root],
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    line = server.stdout.readline()
    if not line.startswith("PORT "):
        raise SystemExit("the FTP server did not start")
    return server, int(line.split()[1])


def run_ours(console, port, commands):
    start = time.perf_counter()
    done = subprocess.run([console, "--bench", "127.0.0.1", str(port), USER, PASSWORD], input=commands,
                          capture_output=True, text=True)
    seconds = time.perf_counter() - start
    if done.returncode != 0 or any(l.startswith("error ") for l in done.stdout.splitlines()):
        raise SystemExit("corvexo-ftp-console failed:\n" + done.stdout[-2000:] + done.stderr[-2000:])
    stall = int(re.search(r"^longest-stall-ms (\d+)", done.stdout, re.M).group(1))
    memory = re.search(r"^peak-memory (.*)$", done.stdout, re.M).group(1)
    lines = sum(1 for l in done.stdout.splitlines() if l.startswith("entry number"))
    return seconds, stall, memory, lines


def run_curl(arguments):
    start = time.perf_counter()
    subprocess.run(["curl", "-s", "-S"] + arguments, check=True, stdout=subprocess.DEVNULL)
    return time.perf_counter() - start


def best(runs, function):
    results = [function() for _ in range(runs)]
    return min(results, key=lambda r: r[0] if isinstance(r, tuple) else r)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--console", default=os.path.join(HERE, "..", "build", "tools", "corvexo-ftp-console"))
    parser.add_argument("--size-mib", type=int, default=1024)
    parser.add_argument("--runs", type=int, default=2)
    args = parser.parse_args()
    console = os.path.abspath(args.console)

    work = tempfile.mkdtemp(prefix="corvexo-bench-")
    root, local = os.path.join(work, "root"), os.path.join(work, "local")
    os.makedirs(root)
    os.makedirs(local)
    try:
        size = args.size_mib * 1024 * 1024
        print("preparing %d MiB file and listings..." % args.size_mib, flush=True)
        make_file(os.path.join(root, "big.bin"), size)
        make_file(os.path.join(local, "up.bin"), size)
        make_folder(os.path.join(root, "list10k"), 10000)
        make_folder(os.path.join(root, "list100k"), 100000)
        server, port = start_server(root)
        url = "ftp://%s:%s@127.0.0.1:%d/" % (USER, PASSWORD, port)
        rows = []
        try:
            ours = best(args.runs, lambda: run_ours(console, port, "get big.bin %s/ours.bin\n" % local))
            curl = best(args.runs, lambda: run_curl(["-o", local + "/curl.bin", url + "big.bin"]))
            rows.append(("download %d MiB" % args.size_mib, ours, curl))
            ours = best(args.runs, lambda: run_ours(console, port, "put %s/up.bin up_ours.bin\n" % local))
            curl = best(args.runs, lambda: run_curl(["-T", local + "/up.bin", url + "up_curl.bin"]))
            rows.append(("upload %d MiB" % args.size_mib, ours, curl))
            for folder, count in (("list10k", 10000), ("list100k", 100000)):
                ours = best(args.runs, lambda: run_ours(console, port, "cd %s\ndir\n" % folder))
                if ours[3] != count:
                    raise SystemExit("the listing of %s held %d entries" % (folder, ours[3]))
                # The engine lists with MLSD where offered, so curl is asked for the same.
                curl = best(args.runs, lambda: run_curl(["-X", "MLSD", url + folder + "/"]))
                rows.append(("listing %d entries" % count, ours, curl))
                curl_list = best(args.runs, lambda: run_curl([url + folder + "/"]))
                rows.append(("  (curl with LIST)", ours, curl_list))
        finally:
            server.kill()
            server.wait()
        print("%-24s %10s %10s %8s %10s %12s" % ("task", "ours s", "curl s", "ratio", "stall ms", "peak memory"))
        for name, (seconds, stall, memory, _), curl in rows:
            print("%-24s %10.3f %10.3f %8.2f %10d %12s" % (name, seconds, curl, curl / seconds, stall, memory))
        print("ratio = curl's time / ours (throughput relative to curl); times include login")
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
