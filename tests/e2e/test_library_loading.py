"""Where the client and its updater take their libraries from. The updater is
written to the temporary folder, which any program may write, and started
from there: its import table names only libraries the system always takes
from its own folder, and both programs limit library loading to the system
folder at their entry point, before any library is loaded at run time. A
library planted beside the updater is never loaded, even where the system
would prefer a library found beside a program (as Windows does)."""
import ntpath
import os
import re
import shutil
import subprocess
import tempfile
import unittest

import harness
from operator_site import OperatorSite

BUILD = os.path.dirname(harness.CLIENT)
UPDATER = os.path.join(BUILD, "VelmoraUpdate.exe")
ARCH = os.environ.get("VELMORA_WINE_ARCH") or "win32"
WINE_DLLS = "/usr/lib/i386-linux-gnu/wine/i386-windows" if ARCH == "win32" else \
    "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows"
# What the system itself loads from its own folder whatever the program's folder holds.
SYSTEM_ONLY = {"kernel32.dll", "user32.dll", "msvcrt.dll"}
RESTRICTED = "SetDefaultDllDirectories(00000800)"
ENTRY = "the entry point starts"


def imported_libraries(exe):
    out = subprocess.run(["x86_64-w64-mingw32-objdump", "-p", exe], capture_output=True, check=True, timeout=30).stdout
    return {name.lower() for name in re.findall(r"DLL Name: (\S+)", out.decode())}


class LibraryLoadingTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp(dir=os.environ.get("VELMORA_WINE_ROOT", "/tmp"))
        self.addCleanup(shutil.rmtree, self.folder, True)
        harness.wine("reg", "add", r"HKCU\Software\Wine\Debug", "/v", "RelayInclude", "/d",
                     "SetDefaultDllDirectories", "/f", check=True)
        self.addCleanup(harness.wine, "reg", "delete", r"HKCU\Software\Wine\Debug", "/v", "RelayInclude", "/f")

    def traced(self, exe, *args, until, overrides=""):
        """Runs the program with Wine's record of library loads (and of the one
        call that restricts them) until `until` appears in it; the loads in order."""
        trace = os.path.join(self.folder, "trace.txt")
        env = dict(os.environ, WINEDEBUG="+loaddll,+relay", WINEDLLOVERRIDES=overrides)
        with open(trace, "wb") as out:
            program = subprocess.Popen(["wine", exe, *args], stdout=subprocess.DEVNULL, stderr=out,
                                       stdin=subprocess.DEVNULL, env=env)
        try:
            harness.wait_for(until, lambda: until in harness.read_text(trace).lower(), 60)
        finally:
            harness.wine("taskkill", "/f", "/im", os.path.basename(exe))
            harness.wine("taskkill", "/f", "/im", "Velmora.exe")
            program.wait(30)
        events = []
        for line in harness.read_text(trace).splitlines():
            loaded = re.search(r'Loaded L"([^"]+)"', line)
            if loaded:
                events.append(loaded.group(1).replace("\\\\", "\\"))
            elif "Call KERNEL32." + RESTRICTED in line:
                events.append(RESTRICTED)
            elif ":Starting thread proc" in line and ENTRY not in events:
                events.append(ENTRY)
        return events

    def test_the_updater_imports_only_what_the_system_takes_from_its_own_folder(self):
        self.assertLessEqual(imported_libraries(UPDATER), SYSTEM_ONLY)

    def test_the_client_takes_the_shell_and_the_common_controls_when_first_needed(self):
        # Neither is needed to start: the shell opens addresses and shows the
        # tray icon, the common controls make the strip's tooltip.
        self.assertFalse(imported_libraries(harness.CLIENT) & {"shell32.dll", "comctl32.dll", "msimg32.dll"})
        # Up to the splash's picture nothing loads the common controls (Wine's
        # WinINet brings the shell with it, so that one cannot be told here).
        site = OperatorSite().start()
        self.addCleanup(site.stop)
        events = self.traced(harness.CLIENT, until="windowscodecs.dll")
        self.assertFalse([e for e in events if ntpath.basename(e).lower() == "comctl32.dll"])

    def test_a_library_planted_beside_the_updater_is_never_loaded(self):
        updater = os.path.join(self.folder, "Update.exe")
        shutil.copyfile(UPDATER, updater)
        shutil.copyfile(harness.CLIENT, os.path.join(self.folder, "Velmora.exe"))
        for planted in ("wininet.dll", "bcrypt.dll", "comctl32.dll"):
            shutil.copyfile(os.path.join(WINE_DLLS, planted), os.path.join(self.folder, planted))
        folder = harness.wine_path(self.folder)
        # The update host has no manifest: the updater gets as far as its download.
        events = self.traced(updater, "%s|%s\\Velmora.exe" % (folder, folder), until="wininet.dll",
                             overrides="wininet,bcrypt,comctl32=n,b")
        self.assertIn(RESTRICTED, events)
        restricted_at = events.index(RESTRICTED)
        self.assertEqual(events.index(ENTRY) + 1, restricted_at, "the restriction is the entry point's first act")
        loaded = [ntpath.basename(e).lower() for e in events if e not in (RESTRICTED, ENTRY)]
        self.assertIn("wininet.dll", loaded)
        for path in events[restricted_at + 1:]:
            self.assertFalse(path.lower().startswith(folder.lower()), "loaded from the updater's folder: " + path)
        early = {ntpath.basename(e).lower() for e in events[:restricted_at]}
        self.assertFalse(early & {"wininet.dll", "bcrypt.dll", "comctl32.dll"}, "loaded before the restriction")

    def test_the_client_restricts_library_loading_as_its_first_act(self):
        # The libraries it loads at run time begin with those of its first download.
        events = self.traced(harness.CLIENT, until="dnsapi.dll")
        self.assertIn(ENTRY, events)
        self.assertIn(RESTRICTED, events)
        self.assertEqual(events.index(ENTRY) + 1, events.index(RESTRICTED),
                         "a library was loaded between the entry point and the restriction")
        self.assertFalse(any(e.lower().endswith("dnsapi.dll") for e in events[:events.index(RESTRICTED)]))

if __name__ == "__main__":
    unittest.main()
