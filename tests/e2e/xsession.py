"""A private X session (Xvfb) and a user's hands in it (xdotool).

There is no window manager, so keyboard focus is given with XSetInputFocus
(xdotool windowfocus) and keys go through XTEST, as a real keyboard's would.
"""
import os
import shutil
import subprocess
import time


class SessionError(Exception):
    pass


def tools_missing():
    return [t for t in ("Xvfb", "xdotool", "import") if shutil.which(t) is None]


class XSession:
    def __init__(self, artifacts):
        self.artifacts = artifacts
        self.display = None
        self.process = None
        self.shots = 0

    def start(self):
        # Xvfb picks a free display itself and tells it through a pipe, so two
        # sessions started at once never share one.
        read_end, write_end = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, pass_fds=(write_end,))
        os.close(write_end)
        number = b""
        deadline = time.time() + 15
        while time.time() < deadline and not number.endswith(b"\n"):
            chunk = os.read(read_end, 16)
            if not chunk:
                break
            number += chunk
        os.close(read_end)
        if not number.strip():
            raise SessionError("Xvfb did not start")
        self.display = ":" + number.decode().strip()
        while time.time() < deadline:
            if self._run(["xdotool", "getmouselocation"], check=False).returncode == 0:
                return
            time.sleep(0.1)
        raise SessionError("Xvfb did not answer on %s" % self.display)

    def stop(self):
        if self.process:
            self.process.terminate()
            try:
                self.process.wait(5)
            except subprocess.TimeoutExpired:
                self.process.kill()

    def env(self):
        return {"DISPLAY": self.display}

    def _run(self, args, check=True):
        env = dict(os.environ)
        env["DISPLAY"] = self.display
        result = subprocess.run(args, env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, timeout=30)
        if check and result.returncode != 0:
            raise SessionError("%s failed: %s" % (" ".join(args), result.stderr.strip()))
        return result

    # --- windows ---
    def visible_windows(self, pid=None):
        args = ["xdotool", "search", "--onlyvisible"]
        if pid:
            args += ["--pid", str(pid)]
        args += ["--name", ""]
        result = self._run(args, check=False)
        return [w for w in result.stdout.split() if w]

    def window_name(self, window):
        result = self._run(["xdotool", "getwindowname", window], check=False)
        return result.stdout.rstrip("\n") if result.returncode == 0 else None

    def find_window(self, name, pid=None, timeout=20):
        """The visible window whose title is exactly `name`."""
        deadline = time.time() + timeout
        while time.time() < deadline:
            for window in self.visible_windows(pid):
                if self.window_name(window) == name:
                    return window
            time.sleep(0.1)
        titles = [self.window_name(w) for w in self.visible_windows(pid)]
        raise SessionError("no window titled %r (visible: %r)" % (name, titles))

    def wait_gone(self, window, timeout=20):
        deadline = time.time() + timeout
        while time.time() < deadline:
            if window not in self.visible_windows():
                return
            time.sleep(0.1)
        raise SessionError("window %s stayed open" % window)

    def wait_title(self, window, title, timeout=30):
        deadline = time.time() + timeout
        name = None
        while time.time() < deadline:
            name = self.window_name(window)
            if name == title:
                return
            time.sleep(0.05)
        raise SessionError("title stayed %r, expected %r" % (name, title))

    def geometry(self, window):
        out = self._run(["xdotool", "getwindowgeometry", "--shell", window]).stdout
        values = dict(line.split("=", 1) for line in out.split() if "=" in line)
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])

    # --- hands ---
    def focus(self, window):
        self._run(["xdotool", "windowfocus", window], check=False)
        time.sleep(0.2)

    def key(self, window, *keys):
        self.focus(window)
        for k in keys:
            self._run(["xdotool", "key", "--clearmodifiers", k])
            time.sleep(0.15)

    def type(self, window, text):
        self.focus(window)
        self._run(["xdotool", "type", "--delay", "30", "--clearmodifiers", text])
        time.sleep(0.2)

    def click(self, window, x, y, button=1):
        self._run(["xdotool", "mousemove", "--window", window, str(x), str(y)])
        time.sleep(0.1)
        self._run(["xdotool", "click", str(button)])
        time.sleep(0.3)

    def screenshot(self, label):
        self.shots += 1
        path = os.path.join(self.artifacts, "%02d-%s.png" % (self.shots, label))
        self._run(["import", "-window", "root", path], check=False)
        return path
