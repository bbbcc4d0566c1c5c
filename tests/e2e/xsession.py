# A private X session (Xvfb) with a window manager (openbox, when installed) and
# a user's hands in it (xdotool). Keyboard focus is given with XSetInputFocus
# (xdotool windowfocus) and keys go through XTEST, as a real keyboard's would.
# The window manager maximises the focused window on Ctrl+Alt+Up and restores
# it on Ctrl+Alt+Down.
import os
import shutil
import subprocess
import time


class SessionError(Exception):
    pass


def tools_missing():
    return [t for t in ("Xvfb", "xdotool", "import") if shutil.which(t) is None]


def wait_for(what, predicate, timeout=30, step=0.1):
    deadline = time.time() + timeout
    while time.time() < deadline:
        if predicate():
            return
        time.sleep(step)
    raise SessionError("timed out waiting for " + what)


class XSession:
    def __init__(self, artifacts):
        self.artifacts, self.display, self.process, self.shots = artifacts, None, None, 0
        self.wm = None

    OPENBOX_CONFIG = """<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <focus><focusNew>yes</focusNew><followMouse>no</followMouse></focus>
  <keyboard>
    <keybind key="C-A-Up"><action name="Maximize"/></keybind>
    <keybind key="C-A-Down"><action name="Unmaximize"/></keybind>
  </keyboard>
</openbox_config>
"""

    def start_window_manager(self):
        if shutil.which("openbox") is None:
            return False
        config = os.path.join(self.artifacts, "openbox-rc.xml")
        with open(config, "w") as f:
            f.write(self.OPENBOX_CONFIG)
        self.wm = subprocess.Popen(["openbox", "--config-file", config], env=dict(os.environ, DISPLAY=self.display),
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        # Only a window mapped after the manager took the screen is framed at once; one that came
        # earlier would be framed late and change its inside size under the test.
        try:
            wait_for("the window manager", lambda: self.wm.poll() is not None or self._run(
                ["xdotool", "get_num_desktops"], check=False).returncode == 0, 15, 0.2)
        except SessionError:
            return False
        return self.wm.poll() is None

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
        wait_for("Xvfb on " + self.display,
                 lambda: self._run(["xdotool", "getmouselocation"], check=False).returncode == 0, 15)

    def stop(self):
        if self.wm and self.wm.poll() is None:
            self.wm.kill()
            self.wm.wait(5)
        if self.process:
            self.process.kill()
            self.process.wait(5)

    def _run(self, args, check=True):
        env = dict(os.environ, DISPLAY=self.display)
        result = subprocess.run(args, env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, timeout=30)
        if check and result.returncode != 0:
            raise SessionError("%s failed: %s" % (" ".join(args), result.stderr.strip()))
        return result

    # --- windows ---
    def windows(self, pid=None):  # the visible windows (of that process) by id, with their titles
        ids = self._run(["xdotool", "search", "--onlyvisible"] + (["--pid", str(pid)] if pid else []) + ["--name", ""],
                        check=False).stdout.split()
        return {w: self.title(w) for w in ids}

    def title(self, window):
        result = self._run(["xdotool", "getwindowname", window], check=False)
        return result.stdout.rstrip("\n") if result.returncode == 0 else None

    def find_window(self, name, pid=None, timeout=20):  # the visible window titled exactly `name`
        found = []
        wait_for("a window titled %r" % name,
                 lambda: found.extend(w for w, t in self.windows(pid).items() if t == name) or found, timeout)
        return found[0]

    def wait_gone(self, window, timeout=20):
        wait_for("window %s to close" % window, lambda: window not in self.windows(), timeout)

    def wait_title(self, window, title, timeout=30):
        wait_for("the title %r (it is %r)" % (title, self.title(window)), lambda: self.title(window) == title,
                 timeout, 0.05)

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

    def click(self, window, x, y):
        self._run(["xdotool", "mousemove", "--window", window, str(x), str(y)])
        time.sleep(0.1)
        self._run(["xdotool", "click", "1"])
        time.sleep(0.3)

    def geometry(self, window):  # the window's inside: (x, y, width, height)
        out = self._run(["xdotool", "getwindowgeometry", "--shell", window]).stdout
        values = dict(line.split("=", 1) for line in out.split() if "=" in line)
        return tuple(int(values[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))

    def screenshot_window(self, window, label):
        self.shots += 1
        self._run(["import", "-window", window, os.path.join(self.artifacts, "%02d-%s.png" % (self.shots, label))],
                  check=False)

    def screenshot(self, label):
        self.shots += 1
        self._run(["import", "-window", "root", os.path.join(self.artifacts, "%02d-%s.png" % (self.shots, label))],
                  check=False)
