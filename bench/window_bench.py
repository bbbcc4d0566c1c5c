#!/usr/bin/python3
"""Benchmark of the window itself, run by hand under a private X server.

Starts corvexo with CORVEXO_STALL_LOG (the window then logs when it is shown,
every caption, and every event-loop stall over 20 ms) against a local
pyftpdlib server, drives it with keys through xdotool, and prints:
  - start-up to a shown window, in an empty folder and in one of --local files;
  - remote folders of --entries entries (100,000 and 1,000,000 by default):
    the time from Enter on the folder to the caption "Completed.", beside
    curl's time for the same LIST, and the longest stall meanwhile;
  - the longest stall while a --size-mib file downloads;
  - with --queue N: a remote folder of N empty files (in folders of 1,000)
    downloaded through the transfer queue: the longest stall over the first
    --queue-seconds after Download, and the program's peak memory.

  bench/window_bench.py [--exe build/corvexo] [--entries 100000 1000000] [--size-mib 512] [--queue 100000]
Needs Xvfb, xdotool and curl.
"""
import argparse
import os
import shutil
import socket
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.join(HERE, "..")
sys.path.insert(0, os.path.join(SOURCE, "tests", "e2e"))
from xsession import XSession  # noqa: E402
from user_session import free_port  # noqa: E402

USER, PASSWORD = "user", "secret"
TITLE = "Corvexo1.0 Beta2"
RECEIVED = "Please wait few more minutes. The process is being executing."




def make_files(folder, count, prefix):
    os.makedirs(folder, exist_ok=True)
    if len(os.listdir(folder)) == count:
        return  # made by an earlier run (--work)
    for i in range(count):
        open(os.path.join(folder, "%s%07d.txt" % (prefix, i)), "wb").close()


def make_tree(folder, count, per_folder=1000):
    marker = os.path.join(folder, ".made-%d" % count)
    if os.path.exists(marker):
        return  # made by an earlier run (--work)
    shutil.rmtree(folder, ignore_errors=True)
    for i in range(count):
        sub = os.path.join(folder, "camera %03d" % (i // per_folder))
        if i % per_folder == 0:
            os.makedirs(sub)
        open(os.path.join(sub, "IMG_%07d.JPG" % i), "wb").close()
    open(marker, "wb").close()


def peak_rss_mb(pid):
    try:
        with open("/proc/%d/status" % pid) as f:
            for line in f:
                if line.startswith("VmHWM:"):
                    return int(line.split()[1]) / 1024
    except OSError:
        pass
    return None


def make_big_file(path, size):
    if os.path.exists(path) and os.path.getsize(path) == size:
        return
    block = os.urandom(1024 * 1024)
    with open(path, "wb") as f:
        for _ in range(size // len(block)):
            f.write(block)


class Log:
    """The lines the window wrote: (kind, wall ms, rest)."""

    def __init__(self, path):
        self.path = path

    def lines(self):
        try:
            with open(self.path, encoding="utf-8") as f:
                raw = f.read().splitlines()
        except OSError:
            return []
        out = []
        for line in raw:
            parts = line.split(" ", 2)
            if len(parts) >= 2:
                out.append((parts[0], int(parts[1]), parts[2] if len(parts) > 2 else ""))
        return out

    def wait_for(self, kind, after_ms, text=None, timeout=600, nth=1):
        deadline = time.time() + timeout
        while time.time() < deadline:
            found = [ms for k, ms, rest in self.lines() if k == kind and ms >= after_ms and (text is None or rest == text)]
            if len(found) >= nth:
                return found[nth - 1]
            time.sleep(0.02)
        raise SystemExit("the window never logged %s %r" % (kind, text))

    def last_title_before(self, text, end_ms):
        times = [ms for k, ms, rest in self.lines() if k == "title" and rest == text and ms <= end_ms]
        return max(times, default=end_ms)

    def longest_stall_begun(self, start_ms, end_ms):
        stalls = [int(rest) for k, ms, rest in self.lines()
                  if k == "stall" and start_ms <= ms - int(rest) and ms - int(rest) <= end_ms]
        return max(stalls, default=0)

    def longest_stall(self, start_ms, end_ms):
        # A stall is logged when it ends; one that ends up to its own length after the span still began in it.
        stalls = [int(rest) for k, ms, rest in self.lines() if k == "stall" and start_ms <= ms <= end_ms + int(rest)]
        return max(stalls, default=0)


class App:
    def __init__(self, x, exe, work, start_dir, port, name):
        self.x = x
        self.data = os.path.join(work, "data-" + name)
        os.makedirs(os.path.join(self.data, "Corvexo"), exist_ok=True)
        with open(os.path.join(self.data, "Corvexo", "Sfile"), "wb") as f:
            f.write(('"127.0.0.1","%s","%s","%d","bench"\r\n' % (PASSWORD, USER, port)).encode())
        self.log = Log(os.path.join(work, "stall-%s.log" % name))
        runtime = os.path.join(work, "runtime")
        os.makedirs(runtime, mode=0o700, exist_ok=True)
        env = dict(os.environ)
        env["DISPLAY"] = x.display
        env.update({"XDG_DATA_HOME": self.data, "HOME": work, "XDG_RUNTIME_DIR": runtime, "QT_QPA_PLATFORM": "xcb",
                    "LANG": "C.UTF-8", "LC_ALL": "C.UTF-8", "CORVEXO_STALL_LOG": self.log.path})
        self.launched = int(time.time() * 1000)
        self.process = subprocess.Popen([exe], cwd=start_dir, env=env, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        self.shown = self.log.wait_for("shown", self.launched, timeout=120)
        self.window = x.find_window(TITLE, pid=self.process.pid, timeout=60)

    def startup_ms(self):
        return self.shown - self.launched

    def press(self, key):
        """Sends one key to the window; returns the wall ms just before it went."""
        self.x.focus(self.window)
        sent = int(time.time() * 1000)
        self.x._run(["xdotool", "key", "--clearmodifiers", key])
        return sent

    def until_completed(self, sent):
        return self.log.wait_for("title", sent, "Completed.")

    def open_by_first_letter(self, letter):
        self.press(letter)
        time.sleep(0.3)
        sent = self.press("Return")
        # CD completes first, then the listing that follows it.
        return sent, self.log.wait_for("title", sent, "Completed.", nth=2)

    def quit(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                self.process.kill()


def curl_list(url, runs=3):
    times = []
    for _ in range(runs):
        start = time.perf_counter()
        subprocess.run(["curl", "-s", "-S", url], check=True, stdout=subprocess.DEVNULL)
        times.append(time.perf_counter() - start)
    return statistics.median(times)


def measure(exe, work, entries, local_count, size_mib, print_progress=print, queue_count=0, queue_seconds=30):
    """The window's figures, as rows (task, window s, curl s or None, longest stall ms or None).

    entries: remote folder sizes to show; local_count: local files to start up in (0: none);
    size_mib: the download whose stalls are measured. work keeps the folders for a later run."""
    missing = [t for t in ("Xvfb", "xdotool", "curl") if shutil.which(t) is None]
    if missing:
        raise SystemExit("missing: " + ", ".join(missing))
    served, empty, local = (os.path.join(work, d) for d in ("served", "empty", "local"))
    os.makedirs(empty, exist_ok=True)
    os.makedirs(served, exist_ok=True)
    x, server, apps = XSession(work), None, []
    try:
        print_progress("preparing folders and a %d MiB file..." % size_mib)
        folders = []
        for index, count in enumerate(entries):
            letter = "abcdefgh"[index]
            folders.append((letter, "%s%d" % (letter, count), count))
            make_files(os.path.join(served, folders[-1][1]), count, "entry number ")
        # A folder an earlier run (--work) left under the same first letter would be opened instead.
        wanted = {name for _, name, _ in folders}
        for name in os.listdir(served):
            if name[0] in "abcdefgh" and name not in wanted and os.path.isdir(os.path.join(served, name)):
                shutil.rmtree(os.path.join(served, name))
        make_big_file(os.path.join(served, "zfile.bin"), size_mib * 1024 * 1024)
        if queue_count:
            print_progress("preparing a tree of %d files..." % queue_count)
            make_tree(os.path.join(served, "queued"), queue_count)
        if local_count:
            make_files(local, local_count, "local file ")

        port = free_port()
        server = subprocess.Popen(["/usr/bin/python3", os.path.join(SOURCE, "tests/support/ftp_server.py"),
                                   "--root", served, "--port", str(port)],
                                  stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        if not server.stdout.readline().startswith("PORT"):
            raise SystemExit("the FTP server did not start")
        url = "ftp://%s:%s@127.0.0.1:%d/" % (USER, PASSWORD, port)
        x.start()

        rows = []

        def connected_window(name):
            app = App(x, exe, work, empty, port, name)
            apps.append(app)
            app.until_completed(app.press("ctrl+c"))
            time.sleep(0.5)
            return app

        for letter, name, count in folders:
            curl = curl_list(url + name + "/", runs=3 if count <= 100000 else 1)
            app = connected_window(name)
            if not rows:
                rows.append(("start-up to a shown window (empty folder)", app.startup_ms() / 1000, None, None))
            sent, done = app.open_by_first_letter(letter)
            rows.append(("remote folder of %d entries" % count, (done - sent) / 1000, curl,
                         app.log.longest_stall(sent, done)))
            # Stalls that began once the control reported the answer received: the window's own work on it.
            received = app.log.last_title_before(RECEIVED, done)
            rows.append(("  after the answer was in (%.3f s)" % ((done - received) / 1000), None, None,
                         app.log.longest_stall_begun(received, done)))
            app.quit()
        # A file left by an earlier run would be asked about before it is replaced.
        if os.path.exists(os.path.join(empty, "zfile.bin")):
            os.remove(os.path.join(empty, "zfile.bin"))
        app = connected_window("download")
        app.press("z")
        time.sleep(0.3)
        sent = app.press("ctrl+w")
        done = app.until_completed(sent)
        rows.append(("download of %d MiB" % size_mib, (done - sent) / 1000, None,
                     app.log.longest_stall(sent, done)))
        app.quit()

        if queue_count:
            rows.append(queue_row(x, exe, work, port, queue_count, queue_seconds, print_progress, apps))

        if local_count:
            app = App(x, exe, work, local, port, "local")
            apps.append(app)
            time.sleep(1)
            rows.append(("start-up with %d local files" % local_count, app.startup_ms() / 1000, None,
                         app.log.longest_stall(app.shown, app.shown + 1000)))
            app.quit()
        return rows
    finally:
        for app in apps:
            app.quit()
        if server:
            server.kill()
        x.stop()


def queue_row(x, exe, work, port, count, seconds, print_progress, apps):
    """Downloads the remote folder "queued" through the queue; the longest stall over the first seconds."""
    target = os.path.join(work, "queue-target")
    shutil.rmtree(target, ignore_errors=True)
    os.makedirs(target)
    # A queue an earlier run left would be offered at start.
    shutil.rmtree(os.path.join(work, "data-queue"), ignore_errors=True)
    app = App(x, exe, work, target, port, "queue")
    apps.append(app)
    app.until_completed(app.press("ctrl+c"))
    time.sleep(0.5)
    app.press("q")
    time.sleep(0.3)
    before = peak_rss_mb(app.process.pid) or 0
    sent = app.press("ctrl+w")
    print_progress("queue of %d files running for %d s..." % (count, seconds))
    peak = 0
    end = time.time() + seconds
    while time.time() < end and app.process.poll() is None:
        peak = max(peak, peak_rss_mb(app.process.pid) or 0)
        time.sleep(0.5)
    stopped = int(time.time() * 1000)
    files = sum(len(names) for _, _, names in os.walk(target))
    row = ("queue of %d files, %d s (%d in; peak %.0f MB, %.0f before)" % (count, seconds, files, peak, before), None, None,
           app.log.longest_stall(sent, stopped))
    app.quit()
    return row


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--exe", default=os.path.join(SOURCE, "build", "corvexo"))
    parser.add_argument("--entries", type=int, nargs="*", default=[100000, 1000000])
    parser.add_argument("--local", type=int, default=100000)
    parser.add_argument("--size-mib", type=int, default=512)
    parser.add_argument("--queue", type=int, default=0, help="files of the folder downloaded through the queue")
    parser.add_argument("--queue-seconds", type=int, default=30)
    parser.add_argument("--work", help="keep the folders here for the next run instead of a fresh temporary folder")
    args = parser.parse_args()
    work = os.path.abspath(args.work) if args.work else tempfile.mkdtemp(prefix="corvexo-window-bench-")
    try:
        rows = measure(os.path.abspath(args.exe), work, args.entries, args.local, args.size_mib,
                       lambda text: print(text, flush=True), args.queue, args.queue_seconds)
        print("%-44s %9s %9s %8s %10s" % ("task", "window s", "curl s", "x curl", "stall ms"))
        for task, ours, curl, stall in rows:
            print("%-44s %9s %9s %8s %10s" % (task, "" if ours is None else "%.3f" % ours,
                                               "%.3f" % curl if curl else "", "%.1f" % (ours / curl) if curl else "",
                                               "" if stall is None else stall))
        print("window s: from the key to the caption \"Completed.\" (or from launch to the shown window);")
        print("curl s: median of 3 LISTs of the same folder, login included; stall: longest event-loop stall")
    finally:
        if not args.work:
            shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
