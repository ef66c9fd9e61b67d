"""Drives the built test client under Wine from outside, as a player would.

Windows are found by title (wintool, which asks the window system, and xdotool,
which asks X); screenshots come from `import` on the X root and are read with
PIL; every wait is bounded.
"""
import io
import os
import re
import subprocess
import sys
import tempfile
import time

from PIL import Image

HERE = os.path.dirname(os.path.abspath(__file__))
TOP = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.join(HERE, "site"))

CLIENT = os.environ.get("VELMORA_CLIENT", os.path.join(TOP, "build", "win32-test", "Velmora.exe"))
TOOLS = os.environ.get("VELMORA_TOOLS", os.path.join(TOP, "build", "win32-test", "tests", "win"))


def wait_for(what, probe, timeout=20.0, interval=0.1):
    """Polls `probe` until it returns something true; raises AssertionError naming `what`."""
    deadline = time.monotonic() + timeout
    while True:
        value = probe()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError("timed out after %.0f s waiting for %s" % (timeout, what))
        time.sleep(interval)


def wine(*args, timeout=30, check=False):
    """Runs a Windows program to its end. Output goes through files, not pipes:
    services that Wine starts on the way inherit the handles and would hold a
    pipe open long after the program has ended."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        code = subprocess.run(["wine"] + list(args), stdout=out, stderr=err, stdin=subprocess.DEVNULL,
                              timeout=timeout).returncode
        out.seek(0)
        err.seek(0)
        result = subprocess.CompletedProcess(args, code, out.read(), err.read())
    if check and code != 0:
        raise AssertionError("%s failed (%d): %s" % (args[0], code, result.stderr.decode("utf-8", "replace")))
    return result


class WindowFacts(dict):
    """One line of `wintool find`: hwnd, visible, x, y, w, h, style, exstyle, owner, taskbar, title..."""

    @staticmethod
    def parse(line):
        facts = WindowFacts()
        for key, value in re.findall(r"(\w+)=(\S*)", line.split(" title=")[0]):
            facts[key] = int(value) if re.fullmatch(r"-?\d+", value) else value
        facts["title"] = line.split(" title=", 1)[1] if " title=" in line else ""
        return facts


def window_facts(title):
    r = wine(os.path.join(TOOLS, "wintool.exe"), "find", title)
    if r.returncode != 0:
        return None
    return WindowFacts.parse(r.stdout.decode("utf-8", "replace").strip())


def visible_window(title, timeout=20.0):
    return wait_for("a visible window titled %r" % title,
                    lambda: (lambda f: f if f and f["visible"] == 1 else None)(window_facts(title)), timeout)


def list_windows():
    r = wine(os.path.join(TOOLS, "wintool.exe"), "list")
    return [WindowFacts.parse(line) for line in r.stdout.decode("utf-8", "replace").splitlines() if line.strip()]


def click(x, y, button=1):
    """A click with the real pointer (moved there first, then held still)."""
    subprocess.run(["xdotool", "mousemove", str(x), str(y)], check=True, timeout=10)
    time.sleep(0.2)
    subprocess.run(["xdotool", "click", str(button)], check=True, timeout=10)


def drag(start, end, steps=8):
    """A left-button drag with the real pointer, in small steps."""
    (x0, y0), (x1, y1) = start, end
    subprocess.run(["xdotool", "mousemove", str(x0), str(y0)], check=True, timeout=10)
    time.sleep(0.2)
    subprocess.run(["xdotool", "mousedown", "1"], check=True, timeout=10)
    for i in range(1, steps + 1):
        time.sleep(0.05)
        subprocess.run(["xdotool", "mousemove", str(x0 + (x1 - x0) * i // steps), str(y0 + (y1 - y0) * i // steps)],
                       check=True, timeout=10)
    time.sleep(0.2)
    subprocess.run(["xdotool", "mouseup", "1"], check=True, timeout=10)


def restore_window(title):
    """Restores a minimised window the way its taskbar button does (the
    system's restore command). Wine's unmanaged title icon of a layered window
    does not take the double click that restores other windows."""
    wine(os.path.join(TOOLS, "wintool.exe"), "restore", title, check=True)


def window_texts(title):
    r = wine(os.path.join(TOOLS, "wintool.exe"), "texts", title)
    return r.stdout.decode("utf-8", "replace").splitlines() if r.returncode == 0 else []


def press_key(*keys):
    subprocess.run(["xdotool", "key"] + list(keys), check=True, timeout=10)


def read_hosts():
    from operator_site import read_hosts as read
    return read()


def xdotool_search(title_regex, visible=True):
    args = ["xdotool", "search"] + (["--onlyvisible"] if visible else []) + ["--name", title_regex]
    r = subprocess.run(args, capture_output=True, timeout=10)
    return [int(x) for x in r.stdout.split()]


def x_geometry(xid):
    r = subprocess.run(["xwininfo", "-id", str(xid)], capture_output=True, text=True, timeout=10)
    values = dict(re.findall(r"^\s*(Absolute upper-left X|Absolute upper-left Y|Width|Height):\s*(-?\d+)",
                             r.stdout, re.M))
    return (int(values["Absolute upper-left X"]), int(values["Absolute upper-left Y"]),
            int(values["Width"]), int(values["Height"]))


def screenshot(box=None):
    """The screen (or the box x, y, w, h of it) as an RGB PIL image."""
    png = subprocess.run(["import", "-window", "root", "png:-"], capture_output=True, timeout=20, check=True).stdout
    image = Image.open(io.BytesIO(png)).convert("RGB")
    if box:
        x, y, w, h = box
        image = image.crop((x, y, x + w, y + h))
    return image


def set_root_colour(rgb):
    subprocess.run(["xsetroot", "-solid", "#%02x%02x%02x" % rgb], check=True, timeout=10)


def screen_size():
    r = subprocess.run(["xdpyinfo"], capture_output=True, text=True, timeout=10)
    w, h = re.search(r"dimensions:\s+(\d+)x(\d+)", r.stdout).groups()
    return int(w), int(h)


def read_text(path):
    """What a program has written to a file so far ("" before it exists)."""
    try:
        with open(path, encoding="utf-8", errors="replace") as f:
            return f.read()
    except FileNotFoundError:
        return ""


def browser_log():
    path = os.environ.get("VELMORA_BROWSER_LOG")
    if not path or not os.path.exists(path):
        return []
    with open(path, encoding="utf-8", errors="replace") as f:
        return [line.rstrip("\n") for line in f if line.strip()]


def clear_browser_log():
    path = os.environ.get("VELMORA_BROWSER_LOG")
    if path:
        open(path, "w").close()


def wine_path(unix_path):
    """The Windows path of a Unix path, as the programs under Wine see it."""
    return subprocess.run(["winepath", "-w", unix_path], capture_output=True, text=True, timeout=30,
                          check=True).stdout.strip()


def unix_path(windows_path):
    """The Unix path of a path as the programs under Wine see it."""
    return subprocess.run(["winepath", "-u", windows_path], capture_output=True, text=True, timeout=30).stdout.strip()


def wine_temp_folder():
    """The Unix path of the client's temporary folder (%TEMP% as Wine reports it)."""
    temp = wine("cmd", "/c", "echo", "%TEMP%").stdout.decode("utf-8", "replace").strip()
    unix = subprocess.run(["winepath", "-u", temp], capture_output=True, text=True, timeout=30).stdout.strip()
    if not unix or not os.path.isdir(unix):
        raise AssertionError("no temporary folder in the Wine prefix (%r)" % temp)
    return unix


# Wine programs that did not start during this test (see Client.stop); the
# runner runs a failed test once more when there is one (run.py).
start_failures = []


def keep_session():
    """Starts the keeper (tests/win/tools/wine_keeper.exe) and waits until it runs.
    A session's server is started first, the set-up's own with no end:
    a server that Wine starts by itself (Debian's, -p0) shuts the session down
    whenever its last program has ended, and a program starting then may never run."""
    # Not through pipes: the server runs on and would hold them open.
    subprocess.run(["wineserver", "-p"], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, timeout=30)
    keeper = os.path.join(TOOLS, "wine_keeper.exe")
    if not os.path.exists(keeper):
        return
    proc = subprocess.Popen(["wine", keeper], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    root = os.environ.get("VELMORA_WINE_ROOT")
    if root:
        with open(os.path.join(root, "keeper.pid"), "w") as f:
            f.write("%d\n" % proc.pid)

    def running():
        # Wine names the process after the program once the program runs.
        try:
            with open("/proc/%d/cmdline" % proc.pid, "rb") as f:
                return f.read().split(b"\0")[0].endswith(b"wine_keeper.exe")
        except OSError:
            return False
    wait_for("the wine keeper", running, timeout=30, interval=0.05)


def restart_wine_server(keep=True):
    subprocess.run(["wineserver", "-k"], capture_output=True, timeout=30)
    subprocess.run(["wineserver", "-w"], capture_output=True, timeout=30)
    if keep:
        # Holds the new session's system processes between the programs of the tests.
        keep_session()


class Client:
    """The test client as a process under Wine. Always ended by `stop`."""

    def __init__(self, *args, no_network=False, exe=CLIENT, env=None):
        self.log_path = os.path.join(os.environ.get("VELMORA_WINE_ROOT", "/tmp"), "client-%d.log" % time.monotonic_ns())
        self._log = open(self.log_path, "wb")
        command = ["wine", exe] + list(args)
        self.no_network = no_network
        if no_network:
            # A network namespace of its own with no interface but a downed
            # loopback: the system reports no connection to the client. Wine's
            # services answer the interface queries, so a wine server and its
            # services must start inside the namespace too: end the running one.
            restart_wine_server(keep=False)
            subprocess.run(["unshare", "-n", "sh", "-c", "wineserver -p && wine cmd /c exit"],
                           stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
            command = ["unshare", "-n"] + command
        self.proc = subprocess.Popen(command, stdout=self._log, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL,
                                     env=dict(os.environ, **(env or {})))

    def running(self):
        return self.proc.poll() is None

    def wait_exit(self, timeout=20.0):
        try:
            return self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError("the client did not end within %.0f s" % timeout)

    def close_window(self, title):
        r = wine(os.path.join(TOOLS, "wintool.exe"), "close", title)
        if r.returncode != 0:
            raise AssertionError("no window titled %r to close" % title)

    def log(self):
        self._log.flush()
        with open(self.log_path, "rb") as f:
            return f.read().decode("utf-8", "replace")

    def stop(self):
        if self._log.closed:
            return  # stopped already (a cleanup and a with block both stop)
        if not self.running() and self.proc.returncode not in (0, None) and not self.log().strip():
            # Ended with a failure and not one word: Wine never ran the client.
            start_failures.append("the client did not start (wine exited %d with no output)" % self.proc.returncode)
        if self.running():
            self.proc.kill()
            try:
                self.proc.wait(10)
            except subprocess.TimeoutExpired:
                pass
            # The Windows process may outlive the loader that started it.
            subprocess.run(["wine", "taskkill", "/f", "/im", os.path.basename(CLIENT)], capture_output=True, timeout=20)
        self._log.close()
        if self.no_network:
            # Leave the namespace's server behind: the next client starts a normal one.
            restart_wine_server()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()
