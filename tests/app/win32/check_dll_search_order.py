"""quorvane.exe limits where Windows looks for DLLs before anything can load
one, and its window still comes up.

Runs the program under Wine with the relay trace, which shows, in order, the
DLLs the process loads and each call the program makes into a DLL. Between
the program's first call (the C runtime's start-up) and
SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32) no DLL may load and
no function outside the C runtime's DLLs may be called; the call must
succeed, and the program must then go on to show its window.

A DLL planted beside the program would tell nothing here: Wine's own DLLs
load the DLLs they import by Wine's rules, whatever the program asked for.

Usage: check_dll_search_order.py QUORVANE_EXE   (needs DISPLAY)
Prints PASS/FAIL lines; exits 1 when a check failed.
"""
import os
import re
import select
import signal
import struct
import subprocess
import sys
import time

DEADLINE_SECONDS = 120
LOAD_LIBRARY_SEARCH_SYSTEM32 = 0x800
# What the C runtime's start-up calls before wWinMain.
RUNTIME_DLLS = {"ntdll", "kernel32", "kernelbase", "msvcrt", "ucrtbase"}

LOADED = re.compile(r'^([0-9a-f]+):trace:loaddll:\w+ Loaded L"(.*)" at ([0-9A-Fa-f]+): \w+$')
CALL = re.compile(r"^([0-9a-f]+):Call ([\w-]+)\.(\w+)\((.*)\) ret=([0-9a-f]+)$")
RETURN = re.compile(r"^([0-9a-f]+):Ret  ([\w-]+)\.(\w+)\(\) retval=([0-9a-f]+) ret=([0-9a-f]+)$")


def image_size(exe):
    with open(exe, "rb") as f:
        data = f.read(4096)
    (pe_offset,) = struct.unpack_from("<I", data, 0x3C)
    # PE signature, file header, then SizeOfImage at offset 56 of the
    # optional header.
    (size,) = struct.unpack_from("<I", data, pe_offset + 4 + 20 + 56)
    return size


class Trace:
    """Follows the program's main thread through the trace, line by line."""

    def __init__(self, exe):
        self.name = os.path.basename(exe).lower()
        self.size = image_size(exe)
        self.thread = None
        self.base = None
        self.started = False  # the program has made its first call
        self.restricted = None  # the flags SetDefaultDllDirectories was given
        self.succeeded = False
        self.shown = False
        self.faults = []

    def own(self, return_address):
        return self.base <= int(return_address, 16) < self.base + self.size

    def read(self, line):
        loaded = LOADED.match(line)
        if loaded and self.thread is None:
            if loaded.group(2).lower().endswith("\\" + self.name):
                self.thread, self.base = loaded.group(1), int(loaded.group(3), 16)
            return
        if self.thread is None or not line.startswith(self.thread + ":"):
            return
        if loaded:
            if self.started and self.restricted is None:
                self.faults.append("loads %s before restricting the search" % loaded.group(2))
            return
        call = CALL.match(line)
        if call and self.own(call.group(5)):
            self.called(call.group(2).lower(), call.group(3), call.group(4))
            return
        returned = RETURN.match(line)
        if returned and returned.group(3) == "SetDefaultDllDirectories" and self.own(returned.group(5)):
            self.succeeded = int(returned.group(4), 16) != 0

    def called(self, dll, function, arguments):
        self.started = True
        if function == "SetDefaultDllDirectories" and self.restricted is None:
            self.restricted = int(arguments, 16)
        elif self.restricted is None and dll not in RUNTIME_DLLS:
            self.faults.append("calls %s.%s before restricting the search" % (dll, function))
        self.shown = self.shown or function == "ShowWindow"


def follow(exe):
    here = os.path.dirname(os.path.abspath(__file__))
    wine_run = os.path.join(here, "..", "..", "..", "tools", "wine-run")
    env = dict(os.environ, WINEDEBUG="+relay,+loaddll")
    program = subprocess.Popen([wine_run, exe], env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.PIPE)
    trace = Trace(exe)
    pending = b""
    deadline = time.monotonic() + DEADLINE_SECONDS
    try:
        while not trace.shown:
            left = deadline - time.monotonic()
            if left <= 0 or not select.select([program.stderr], [], [], left)[0]:
                break
            chunk = os.read(program.stderr.fileno(), 1 << 16)
            if not chunk:
                break
            *lines, pending = (pending + chunk).split(b"\n")
            for line in lines:
                trace.read(line.decode("utf-8", "replace"))
    finally:
        # Wine's other processes of the session share this pipe; closing it
        # keeps them from blocking on a full one.
        program.send_signal(signal.SIGKILL)
        program.stderr.close()
        program.wait()
    return trace


def main():
    trace = follow(os.path.abspath(sys.argv[1]))
    checks = [
        ("the program's process shows in the trace", trace.thread is not None),
        ("no DLL loads and no API call comes before SetDefaultDllDirectories"
         + "".join("; " + fault for fault in trace.faults[:3]), not trace.faults and trace.restricted is not None),
        ("SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32) succeeds",
         trace.restricted == LOAD_LIBRARY_SEARCH_SYSTEM32 and trace.succeeded),
        ("the program then shows its window", trace.shown),
    ]
    for name, passed in checks:
        print(("PASS " if passed else "FAIL ") + name)
    return 0 if all(passed for _, passed in checks) else 1


if __name__ == "__main__":
    sys.exit(main())
