#!/usr/bin/env python3
"""The setup DLL's steps on the emulated ARM CPU, against the running device
program: two processes, each a CPU of its own, the program's the start-up
world of startup_run.py, the installer's the DLL with stubs that reach the
program's windows and message queue.

    setup_run.py EXE MAP SETUP_DLL SETUP_MAP

The DLL's entry point accepts its loading. Uninstall_Init, called while the
program waits in its message loop, must find its main window by class, post
it the Quit command, which the program's own window procedure and loop handle
until it exits with code 0, and wait for its process to end (a bounded
wait; where the process cannot be opened, for its window to go), then
continue the uninstall. The program runs only while the DLL waits, as if the
two took one CPU in turn.
Install_Init finds no program once it has ended and continues at once;
Install_Exit starts the program from the folder it was installed into, and
not after a file failed.

The installer's side is stubbed as the program's is: what this proves and
does not is what startup_run.py says, and that the device's installer calls
the DLL so is Microsoft's documentation, not tried here.
"""
import os
import threading

import pefile

from ce_machine import Device, Failure, check, run_check
from startup_run import IDM_QUIT, WM_COMMAND, World

PROGRAM_PID, PROGRAM_TID, PROCESS, THREAD, STARTED = 0x4A0, 0x4A4, 0x7700, 0x7704, 0x7708
WAIT_OBJECT_0, WAIT_TIMEOUT, INFINITE = 0, 0x102, 0xFFFF_FFFF
INSTALLER_WINDOW = 0x6600
FOLDER = r"\Program Files\ZemloBattery"
# The host's time for the other process to act; a slow host gets more.
DEADLINE = 60 * float(os.environ.get("ZB_DEADLINE_SCALE", "1"))


class Program(World):
    """The program's process: once its script is done, its message loop waits
    for what another process posts."""

    def __init__(self, exe, map_file):
        super().__init__(exe, map_file)
        self.lock = threading.Condition()
        # The program runs only while the installer waits, as one CPU
        # would take them in turn: what the installer sees does not race it.
        self.waiting = self.turn = False
        self.error = None

    def GetMessageW(self, a):
        with self.lock:
            while not (self.queue or self.invalid or self.script):
                self.waiting = True
                self.lock.notify_all()
                check(self.lock.wait_for(lambda: self.queue and self.turn, DEADLINE),
                      f"the program waited {DEADLINE:.0f} s for a message")
            self.waiting = False
            return super().GetMessageW(a)

    def TerminateProcess(self, a):
        with self.lock:
            super().TerminateProcess(a)
            self.lock.notify_all()

    def start(self):
        self.ticks = 0
        self.script = [self.tick()]
        self.phase = "start-up"

        def run():
            try:
                self.call(self.entry, 0x10000, 0, self.alloc(2), 5)
            except Exception as error:  # reported by the installer's side
                with self.lock:
                    self.error = error
                    self.lock.notify_all()

        self.thread = threading.Thread(target=run, daemon=True)
        self.thread.start()
        with self.lock:
            check(self.lock.wait_for(lambda: self.waiting or self.error, DEADLINE),
                  f"the program reached its message loop within {DEADLINE:.0f} s")
        self.raise_error()

    def raise_error(self):
        if self.error:
            raise Failure(f"the program: {self.error}")


class Installer(Device):
    """The installer's process with the setup DLL loaded: a method per import."""

    def __init__(self, dll, map_file, program):
        super().__init__(dll, map_file)
        self.program = program
        self.posted, self.waits, self.started, self.handles = [], [], [], set()
        self.refuse_process = False
        pe = pefile.PE(dll)
        self.exports = {e.name.decode(): pe.OPTIONAL_HEADER.ImageBase + e.address
                        for e in pe.DIRECTORY_ENTRY_EXPORT.symbols}

    def FindWindowW(self, a):
        check(a[0] and (not a[1] or self.text(a[1]) == "ZemloBattery"),
              "FindWindowW by the class, with the program's title or none")
        program, name = self.program, self.text(a[0])
        with program.lock:
            if program.exit_code is not None:
                return 0
            return next((h for h, w in program.windows.items()
                         if w["class"] == name and not w.get("parent")), 0)

    def main_window(self, hwnd):
        check(hwnd and hwnd == self.program.main, f"window {hwnd:#x} is not the program's")

    def GetWindowThreadProcessId(self, a):
        self.main_window(a[0])
        if a[1]:
            self.put32(a[1], PROGRAM_PID)
        return PROGRAM_TID

    def OpenProcess(self, a):
        # CE: no access rights nor inheritance, both documented as zero.
        check(a[:3] == [0, 0, PROGRAM_PID], f"OpenProcess({a[0]}, {a[1]}, {a[2]:#x})")
        if self.refuse_process:
            return 0
        self.handles.add(PROCESS)
        return PROCESS

    def PostMessageW(self, a):
        self.main_window(a[0])
        self.posted.append(tuple(a[1:4]))
        with self.program.lock:
            self.program.queue.append(tuple(a[:4]))
            self.program.waiting = False
            self.program.lock.notify_all()
        return 1

    def let_program_run(self):
        """Whether the program has ended. Nothing else happens in this world:
        a program that waits for messages again without having ended will
        not end."""
        program = self.program
        with program.lock:
            program.turn = True
            program.lock.notify_all()
            check(program.lock.wait_for(lambda: program.exit_code is not None or
                                        program.error or program.waiting, DEADLINE),
                  f"the program neither ended nor waited again within {DEADLINE:.0f} s")
            program.turn = False
        program.raise_error()
        return program.exit_code is not None

    def WaitForSingleObject(self, a):
        check(a[0] in self.handles, f"a wait on handle {a[0]:#x}, which is not open")
        check(a[1] != INFINITE and a[1] <= 30000, f"a wait of {a[1]} ms: the installer hangs")
        self.waits.append(a[1])
        return WAIT_OBJECT_0 if self.let_program_run() else WAIT_TIMEOUT

    def Sleep(self, a):
        check(0 < a[0] <= 1000, f"a sleep of {a[0]} ms")
        self.waits.append(a[0])
        self.let_program_run()

    def IsWindow(self, a):
        self.main_window(a[0])
        return int(self.program.exit_code is None)

    def CloseHandle(self, a):
        check(a[0] in self.handles, f"CloseHandle of {a[0]:#x}, which is not open")
        self.handles.remove(a[0])
        return 1

    def CreateProcessW(self, a):
        check(a[2:9] == [0, 0, 0, 0, 0, 0, 0], "CreateProcessW with CE's nulls and zeros")
        self.started.append((self.text(a[0]), self.text(a[1]) if a[1] else None))
        self.put32(a[9], STARTED, THREAD, 0x500, 0x504)
        self.handles |= {STARTED, THREAD}
        return 1

    def entry_point(self, name, *args):
        strings = [self.alloc(2 * len(s) + 2) if isinstance(s, str) else s for s in args]
        for address, value in zip(strings, args):
            if isinstance(value, str):
                self.put_text(address, value)
        return self.call(self.exports[name], *strings)


def uninstall(exe, map_file, dll, dll_map, by_process):
    """Uninstall_Init against a running program, which the DLL waits for by its
    process, or, where the process cannot be opened, by its window."""
    program = Program(exe, map_file)
    program.start()
    installer = Installer(dll, dll_map, program)
    installer.refuse_process = not by_process
    check(installer.call(installer.entry, 0x1000_0000, 1, 0) == 1,  # DLL_PROCESS_ATTACH
          "the DLL's entry point accepts its loading")
    result = installer.entry_point("Uninstall_Init", INSTALLER_WINDOW, FOLDER)
    program.raise_error()
    check(result == 0, f"Uninstall_Init returned {result}, not codeUNINSTALL_INIT_CONTINUE")
    check(installer.posted == [(WM_COMMAND, IDM_QUIT, 0)],
          f"the DLL posted the program's Quit, and only it: {installer.posted}")
    check(program.exit_code == 0, f"the program ended while the DLL waited, with exit code 0: "
          f"{program.exit_code}")
    program.thread.join(DEADLINE)
    quits = [n for n, _ in program.calls if n == "PostQuitMessage"]
    check(quits, "the program's own Quit (PostQuitMessage) ended its loop")
    waited = [n for n, _ in installer.calls if n in ("WaitForSingleObject", "Sleep")]
    check(waited == (["WaitForSingleObject"] if by_process else ["Sleep"]),
          f"the DLL waited for the program's end by its {'process' if by_process else 'window'}:"
          f" {waited}")
    check(not installer.handles, "the DLL closed the process handle")
    return installer, program


def main(exe, map_file, dll, dll_map):
    by_window, _ = uninstall(exe, map_file, dll, dll_map, by_process=False)
    installer, program = uninstall(exe, map_file, dll, dll_map, by_process=True)
    uninstall_calls = [n for n, _ in installer.calls]

    installer.calls.clear()
    result = installer.entry_point("Install_Init", INSTALLER_WINDOW, 1, 1, FOLDER)
    check(result == 0 and not installer.posted[1:] and
          [n for n, _ in installer.calls] == ["FindWindowW"],
          f"Install_Init with no program running: {result}, {installer.calls}")

    card = r"\Storage Card\Program Files\ZemloBattery"
    check(installer.entry_point("Install_Exit", INSTALLER_WINDOW, card, 0, 1, 0, 0, 0) == 0 and
          not installer.started, "a file that failed to install: the program is not started")
    check(installer.entry_point("Install_Exit", INSTALLER_WINDOW, card, 0, 0, 0, 0, 0) == 0,
          "Install_Exit returns codeINSTALL_EXIT_DONE")
    check(installer.started == [(card + r"\ZemloBattery.exe", None)],
          f"Install_Exit starts the installed program: {installer.started}")
    check(not installer.handles, "the started process's handles closed")
    print(f"Uninstall_Init: {' '.join(uninstall_calls)}; the program ended with exit code 0 "
          f"after {len(program.calls)} calls; where its process cannot be opened: "
          f"{' '.join(n for n, _ in by_window.calls)}; Install_Exit started "
          f"{installer.started[0][0]}")


if __name__ == "__main__":
    run_check(main, 4, __doc__)
