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
    arch = os.environ.get("VELMORA_WINE_ARCH") or "win32"
    if os.environ.get("VELMORA_WINE_JOINED") != arch:
        # Join the Wine set-up of the client's architecture: the one
        # scripts/test made, else the shared per-user one.
        env = dict(os.environ, VELMORA_WINE_JOINED=arch)
        return subprocess.call([os.path.join(TOP, "scripts", "wine-run"), arch, "--", sys.executable, __file__] + argv,
                               env=env)
    suite = unittest.defaultTestLoader.loadTestsFromNames(argv)
    result = unittest.TextTestRunner(verbosity=2).run(suite)
    return 0 if result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
