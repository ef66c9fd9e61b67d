#!/usr/bin/python3
"""Lists and runs the end-to-end tests, one unittest id at a time.

    run.py --list        every test id (module.Class.method), one a line
    run.py ID [ID...]    runs those tests under the project's Wine set-up
"""
import os
import subprocess
import sys
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


def main(argv):
    if argv[:1] == ["--list"]:
        print("\n".join(all_ids()))
        return 0
    if not os.environ.get("VELMORA_WINE_ROOT") or not os.environ.get("DISPLAY"):
        # Started outside scripts/test: borrow the shared per-user Wine set-up.
        root = os.environ.get("VELMORA_WINE_ROOT") or "/tmp/velmora-wine-shared-%d" % os.getuid()
        os.makedirs(root, exist_ok=True)
        script = 'exec 9>"$VELMORA_WINE_ROOT/.lock"; flock 9; source "$1" >&2; flock -u 9; shift; exec "$@"'
        env = dict(os.environ, VELMORA_WINE_ROOT=root)
        return subprocess.call(["bash", "-c", script, "bash", os.path.join(TOP, "scripts", "wine-env"),
                                sys.executable, __file__] + argv, env=env)
    suite = unittest.defaultTestLoader.loadTestsFromNames(argv)
    result = unittest.TextTestRunner(verbosity=2).run(suite)
    return 0 if result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
