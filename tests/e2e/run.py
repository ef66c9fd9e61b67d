#!/usr/bin/python3
"""Lists and runs the end-to-end tests, one unittest id at a time.

    run.py --list        every test id (module.Class.method), one a line
    run.py ID [ID...]    runs those tests under the project's Wine set-up
"""
import os
import subprocess
import sys
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
TOP = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, HERE)


def all_ids():
    suite = unittest.defaultTestLoader.discover(HERE, pattern="test_*.py", top_level_dir=HERE)
    stack, ids = [suite], []
    while stack:
        item = stack.pop()
        if isinstance(item, unittest.TestSuite):
            stack.extend(reversed(list(item)))
        else:
            ids.append(item.id())
    return ids


# Where the 32-bit suite runs too, the 64-bit one runs only these of the e2e
# tests (each of them once more, built for x86-64): start-up and screen, DDE
# and the tabs, the hot key and the tray, the skinned controls' hooks, the
# whole update, the game on the x64 WebView2 runtime. Everything else they share is the same source, run by the
# 32-bit suite; its Wine GoogleTests run in full. VELMORA_E2E_ALL=1 runs all.
WIN64_SMOKE = {
    "test_harness.HarnessTest.test_first_window_found_screenshot_and_clean_end",
    "test_demo.DemoSiteTest.test_entering_the_game_from_the_demo_login",
    "test_mainwindow.MainWindowTest.test_second_logins_and_dde_commands_open_one_tab_per_address",
    "test_webview2.WebView2Test.test_login_game_tab_new_window_menu_refresh_and_cache_clearing",
    "test_mainwindow.MainWindowTest.test_f10_and_the_tray_icon_hide_and_show_the_window",
    "test_update.WholeUpdateTest.test_the_updater_replaces_only_the_clients_own_file",
}
SKIPPED = 77


def left_to_the_32_bit_suite(arch, ids):
    if arch != "win64" or os.environ.get("VELMORA_E2E_ALL") == "1" or set(ids) <= WIN64_SMOKE:
        return False
    return subprocess.call([os.path.join(TOP, "scripts", "wine-arch"), "check", "win32"],
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL) == 0


def main(argv):
    if argv[:1] == ["--list"]:
        print("\n".join(all_ids()))
        return 0
    arch = os.environ.get("VELMORA_WINE_ARCH") or "win32"
    if left_to_the_32_bit_suite(arch, argv):
        print("skipped: the 32-bit suite runs this test on this machine; the 64-bit suite runs its smoke tests "
              "only (VELMORA_E2E_ALL=1 runs all)")
        return SKIPPED
    if os.environ.get("VELMORA_WINE_JOINED") != arch:
        # Join the Wine set-up of the client's architecture: the one
        # scripts/test made, else the shared per-user one.
        env = dict(os.environ, VELMORA_WINE_JOINED=arch)
        return subprocess.call([os.path.join(TOP, "scripts", "wine-run"), arch, "--", sys.executable, __file__] + argv,
                               env=env)
    import harness
    ok = True
    for name in argv:
        ok = run_once_more_if_not_started(name, harness) and ok
    return 0 if ok else 1


def run_once_more_if_not_started(name, harness):
    """Runs one test; a failed one runs once more when a Wine program it
    started never ran (harness.start_failures), never for a failure of its own."""
    del harness.start_failures[:]
    result = unittest.TextTestRunner(verbosity=2).run(unittest.defaultTestLoader.loadTestsFromName(name))
    if result.wasSuccessful() or not harness.start_failures:
        return result.wasSuccessful()
    line = "harness: %s, in %s; retrying once" % (harness.start_failures[0], name)
    print(line, file=sys.stderr, flush=True)
    home = os.environ.get("VELMORA_WINE_HOME")
    if home:
        with open(os.path.join(home, "start-failures.log"), "a") as f:
            f.write("%s %s\n" % (time.strftime("%H:%M:%S", time.gmtime()), line))
    del harness.start_failures[:]
    return unittest.TextTestRunner(verbosity=2).run(unittest.defaultTestLoader.loadTestsFromName(name)).wasSuccessful()


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
