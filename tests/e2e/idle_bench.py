#!/usr/bin/python3
"""Benchmark (a figure, no pass or fail): how often the client's UI thread
wakes while nothing happens. The client logs in to a game page; once the game
window is shown, the pointer is put where no window of the client is and the
UI thread's context switches are counted from /proc over 10 s.

    idle_bench.py [SECONDS]     (inside the Wine set-up that scripts/bench makes)
"""
import os
import sys
import subprocess
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
from operator_site import OperatorSite  # noqa: E402
from test_login import LOGIN_PATH, page, refresh_to  # noqa: E402
from test_mainwindow import main_window, page_texts  # noqa: E402


def client_pids():
    """The Linux processes running the client's Windows process."""
    name = os.path.basename(harness.CLIENT).lower()
    pids = []
    for entry in os.listdir("/proc"):
        try:
            with open("/proc/%s/cmdline" % entry, "rb") as f:
                first = f.read().split(b"\0")[0].decode("utf-8", "replace").lower()
        except (OSError, ValueError):
            continue
        if first.replace("\\", "/").endswith("/" + name):
            pids.append(int(entry))
    return pids


def switches(pid, tid):
    """Voluntary and involuntary context switches of one thread so far."""
    counts = {}
    with open("/proc/%d/task/%d/status" % (pid, tid)) as f:
        for line in f:
            key, _, value = line.partition(":")
            if key.endswith("ctxt_switches"):
                counts[key] = int(value)
    return counts.get("voluntary_ctxt_switches", 0) + counts.get("nonvoluntary_ctxt_switches", 0)


def main(argv):
    seconds = float(argv[1]) if len(argv) > 1 else 10.0
    site = OperatorSite().start()
    client = None
    try:
        site.answer("gamespace", "/play/one.html", page("第一服", "<p>码头</p>"))
        site.answer("login", LOGIN_PATH, page("登录", head=refresh_to(
            "app://loadgame|%s" % site.url("gamespace", "/play/one.html"), delay=1)))
        client = harness.Client()
        main = harness.wait_for("the game window", lambda: (main_window() or {}).get("visible") == 1 and main_window(),
                                60)
        harness.wait_for("the game page", lambda: len(page_texts()) == 1, 30)
        # Off every window of the client: the screen's far corner, beyond the game window.
        width, height = harness.screen_size()
        x = width - 2 if main["x"] + main["w"] < width - 2 else 1
        y = height - 2 if main["y"] + main["h"] < height - 2 else 1
        subprocess.run(["xdotool", "mousemove", str(x), str(y)], check=True)
        time.sleep(2.0)  # what the load and the move set going settles
        pids = client_pids()
        if len(pids) != 1:
            raise SystemExit("idle bench: %d processes run the client" % len(pids))
        pid = pids[0]
        # The process's first thread is its UI thread: it runs WinMain and every window.
        start = switches(pid, pid)
        time.sleep(seconds)
        woke = switches(pid, pid) - start
        print("UI thread wake-ups per second, game window shown, pointer off every button: %.1f (%d in %.0f s)"
              % (woke / seconds, woke, seconds))
    finally:
        if client:
            client.stop()
        site.stop()
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
