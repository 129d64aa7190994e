"""quorvane.exe limits the DLL search to System32 before anything can load a
DLL, and still shows its window. Wine's relay trace lists, in order, the
DLLs the process loads and the program's calls into DLLs: between its first
call (the C runtime's start-up) and SetDefaultDllDirectories no DLL may load
and no DLL but the C runtime's be called. (A planted DLL would tell nothing:
Wine's own DLLs load their imports by Wine's rules, whatever the program set.)
The program runs in a Wine prefix of its own (tools/wine-run-relay), whose
every process is ended afterwards, so no traced process outlives the check.
Usage: check_dll_search_order.py QUORVANE_EXE   (needs DISPLAY)
"""
import os
import re
import select
import subprocess
import sys
import time

WINE_RUN_RELAY = os.path.join(os.path.dirname(os.path.abspath(__file__)), "../../../tools/wine-run-relay")

RUNTIME_DLLS = {"ntdll", "kernel32", "kernelbase", "msvcrt", "ucrtbase"}
LOADED = re.compile(r'^(\w+):trace:loaddll:\w+ Loaded L"(.*)" at (\w+)')
CALL = re.compile(r"^(\w+):(Call|Ret ) ([\w-]+)\.(\w+)\((.*)\) (?:retval=(\w+) )?ret=(\w+)$")


class Trace:
    def __init__(self, exe):
        self.name = "\\" + os.path.basename(exe).lower()
        # The trace also shows calls that other DLLs make on the program's thread.
        header = subprocess.run([os.environ.get("OBJDUMP", "x86_64-w64-mingw32-objdump"), "-p", exe],
                                capture_output=True, text=True, check=True).stdout
        self.size = int(re.search(r"^SizeOfImage\s+(\w+)", header, re.M).group(1), 16)
        self.thread = self.base = self.flags = None
        self.started = self.succeeded = self.shown = False
        self.faults = []

    def read(self, line):
        loaded, call = LOADED.match(line), CALL.match(line)
        if self.thread is None:
            if loaded and loaded.group(2).lower().endswith(self.name):
                self.thread, self.base = loaded.group(1), int(loaded.group(3), 16)
        elif loaded and loaded.group(1) == self.thread:
            if self.started and self.flags is None:
                self.faults.append("loads " + loaded.group(2))
        elif call and call.group(1) == self.thread and 0 <= int(call.group(7), 16) - self.base < self.size:
            entering, dll, function, arguments, returned = call.group(2) == "Call", *call.group(3, 4, 5, 6)
            dll = dll.lower()
            if function == "SetDefaultDllDirectories":
                if entering and self.flags is None:
                    self.flags = int(arguments, 16)
                elif not entering:
                    self.succeeded = int(returned, 16) != 0
            elif entering and self.flags is None and dll not in RUNTIME_DLLS:
                self.faults.append("calls %s.%s" % (dll, function))
            self.started = True
            self.shown = self.shown or function == "ShowWindow"


def follow(exe, seconds=120):
    program = subprocess.Popen([WINE_RUN_RELAY, exe], stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    trace, pending, deadline = Trace(exe), b"", time.monotonic() + seconds
    try:
        while not trace.shown and select.select([program.stderr], [], [], max(0, deadline - time.monotonic()))[0]:
            chunk = os.read(program.stderr.fileno(), 1 << 16)
            if not chunk:
                break
            *lines, pending = (pending + chunk).split(b"\n")
            for line in lines:
                trace.read(line.decode("utf-8", "replace"))
    finally:
        program.kill()
        # Wine's other processes share the pipe: closed, it cannot fill and block them.
        program.stderr.close()
        program.wait()
        subprocess.run([WINE_RUN_RELAY, "--kill"], check=False)
    return trace


def main():
    trace = follow(os.path.abspath(sys.argv[1]))
    checks = [
        ("the program's process shows in the trace", trace.thread is not None),
        ("no DLL loads and no Windows function is called before SetDefaultDllDirectories"
         + "".join("; " + fault for fault in trace.faults[:3]), trace.flags is not None and not trace.faults),
        ("SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32) succeeds", trace.flags == 0x800 and trace.succeeded),
        ("the program then shows its window", trace.shown),
    ]
    for name, passed in checks:
        print(("PASS " if passed else "FAIL ") + name)
    return 0 if all(passed for _, passed in checks) else 1


if __name__ == "__main__":
    sys.exit(main())
