#!/usr/bin/env python3
"""The device program's start-up, a poll tick, a gauge paint and its quitting,
run on an emulated ARM CPU (unicorn, an XScale PXA270 as in Windows Mobile
devices).

    startup_run.py EXE MAP [--vga] [--style=N]

The image is mapped at its base as its sections say; each import's address
slot points at a stub of its own, which records the call, checks its
arguments and answers as a small world would: a registry holding the ten
settings (one colour the screen cannot hold), a taskbar of 240x26 on a screen
of 16 bits per pixel (RGB 565), a battery at 73 %, GDI objects as numbers,
windows as records whose procedures are the program's own, a message queue
that delivers a script. Calls the path should not make have no stub and fail
the run.

What this proves: the code generation, the calling convention with the
device's DLLs (arguments in registers and on the stack, 16-bit wchar_t,
record layouts as the stubs read them), the static constructors, the entry
point, the calls and their key arguments along the path, the exit code.
What it does not: that the CE loader accepts the file (it maps the sections
itself and never relocates), how the device answers (every answer is the
stub's own), what ends up on the screen (nothing is drawn), timing.

Prints the instructions the program's own code executed (the map's .text of
src/'s objects; import thunks and stubs excluded) and the calls it made into
the system (those of a message: within its procedure; the loop's own
GetMessageW, TranslateAcceleratorW and DispatchMessageW apart) for
docs/costs.md: on a
240x320 screen's taskbar, or with --vga a 480x640 one's (480x52, the gauge
44x36); in the stored style "WM6", or another by its number.
"""
import re
import struct
import sys

from unicorn import UcError
from unicorn.arm_const import UC_ARM_REG_PC

from ce_machine import Device, Failure, check

HKCU, KEY, TASKBAR, STATIC_PROC, SCREEN_DC = 0x8000_0001, 0x5000, 0x7000, 0x0120_0000, 0x9000
SETTINGS = {"Position": 4, "LifeTime": 350, "Style": 1, "Align": 1, "Background": 0xFF0000,
            "Percentage": 0xFFFFFF, "Frame_charging": 0x0000FF, "Frame_not_charging": 0xFFFFFF,
            "Full_Part": 0x123456, "Empty_Part": 0x400080}
WM_CREATE, WM_PAINT, WM_COMMAND, WM_TIMER, WM_QUIT = 0x01, 0x0F, 0x111, 0x113, 0x12
IDM_QUIT, GWL_WNDPROC = 40006, 0xFFFF_FFFC


def rgb565(color):
    """A COLORREF as a screen of 16 bits per pixel holds it, read back."""
    def channel(value, bits):
        kept = value >> (8 - bits)
        return (kept << (8 - bits)) | (kept >> (2 * bits - 8))
    r, g, b = color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF
    return channel(r, 5) | channel(g, 6) << 8 | channel(b, 5) << 16


class World(Device):
    """The stubs: a method per import, named as the import."""

    def __init__(self, exe, map_file, vga=False, style=1):
        super().__init__(exe, map_file)
        self.system_calls = {}
        self.settings = dict(SETTINGS, Style=style)
        self.gauge_size, self.gauge_top = ((44, 36), 8) if vga else ((22, 18), 4)
        taskbar = (0, 0, 480, 52) if vga else (0, 0, 240, 26)
        self.windows = {TASKBAR: {"class": "HHTaskBar", "rect": taskbar, "proc": None}}
        self.handles, self.objects, self.dcs = 0x10000, {}, {SCREEN_DC}
        # What the stubs keep of drawing: brushes' colours, the pixels that
        # FillRect puts into memory DCs and BitBlt onto windows.
        self.brushes, self.canvas, self.screen, self.paint_dcs = {}, {}, {}, {}
        self.queue, self.invalid, self.classes, self.key_open = [], [], {}, False
        self.battery = 73
        self.reads, self.main, self.painting, self.drawn_text = [], None, None, None
        self.strings = {1: "ZemloBattery", 3: "ZemloBattery", 105: "Hide", 104: "Tools"}

    def new_handle(self, kind=None):
        self.handles += 4
        if kind:
            self.objects[self.handles] = kind
        return self.handles

    # --- run time -------------------------------------------------------------
    def calloc(self, a):
        check(0 < a[0] * a[1] < 0x10000, f"calloc({a[0]}, {a[1]})")
        address = self.alloc(a[0] * a[1])
        self.uc.mem_write(address, bytes(a[0] * a[1]))
        return address

    def memset(self, a):
        check(a[2] < 0x10000, f"memset of {a[2]} bytes")
        self.uc.mem_write(a[0], bytes([a[1] & 0xFF]) * a[2])
        return a[0]

    def wcscmp(self, a):
        x, y = self.text(a[0]), self.text(a[1])
        return (x > y) - (x < y)

    def _vsnwprintf(self, a):
        buffer, count, form, args = a[0], a[1], self.text(a[2]), a[3]
        out, pos = [], 0
        for m in re.finditer(r"%(0?\d*)(I64d|d|s|%)|%[^%]*?[a-zA-Z]", form):
            out.append(form[pos:m.start()])
            pos = m.end()
            check(m.group(2), f"_vsnwprintf format {m.group(0)!r}: not one CE documents")
            if m.group(2) == "%":
                out.append("%")
                continue
            if m.group(2) == "I64d":
                low, high = self.get32(args), self.get32(args + 4)
                value, args = struct.unpack("<q", struct.pack("<II", low, high))[0], args + 8
            else:
                value, args = self.get32(args), args + 4
            if m.group(2) == "s":
                value = self.text(value)
            elif m.group(2) == "d" and value >= 0x8000_0000:
                value -= 1 << 32
            out.append(f"{value:{m.group(1)}}" if m.group(1) else str(value))
        text = "".join(out) + form[pos:]
        check(len(text) < count, f"_vsnwprintf overflows {count} units with {text!r}")
        self.put_text(buffer, text)
        return len(text)

    def TerminateProcess(self, a):
        check(a[0] == 0x42, f"TerminateProcess of {a[0]:#x}, not GetCurrentProcess()")
        self.exit_code = a[1]

    # --- resources, instance ------------------------------------------------
    def LoadStringW(self, a):
        check(a[3] > 0, "LoadStringW into no buffer")
        text = self.strings.get(a[1], "")
        self.put_text(a[2], text[: a[3] - 1])
        return len(text)

    def CreateMutexW(self, a):
        check(self.text(a[2]) == "tavrel.ZemloBattery.Instance", "the instance name")
        return self.new_handle("mutex")

    def GetLastError(self, a):
        return 0

    def FindWindowW(self, a):
        return TASKBAR if a[0] and self.text(a[0]) == "HHTaskBar" else 0

    def LoadIconW(self, a):
        check(a[1] == 101, "the icon IDI_ZEMLO")
        return self.new_handle("icon")

    def GetStockObject(self, a):
        return 0x100 + a[0]

    def LoadAcceleratorsW(self, a):
        check(a[1] == 3, "the accelerators IDR_ACCELERATORS")
        return self.new_handle("accelerators")

    # --- registry -------------------------------------------------------------
    def RegCreateKeyExW(self, a):
        check(a[0] == HKCU and self.text(a[1]) == r"Software\tavrel\ZemloBattery",
              "the settings key")
        check(not self.key_open, "a second open key")
        self.key_open = True
        self.put32(a[7], KEY)
        return 0

    def RegQueryValueExW(self, a):
        check(a[0] == KEY and self.key_open, "a query on no open key")
        name, data, size = self.text(a[1]), a[4], a[5]
        check(data and size and self.get32(size) == 4, f"{name}: a four-byte buffer")
        self.reads.append(name)
        if name not in self.settings:
            return 2
        self.put32(data, self.settings[name])
        return 0

    def RegSetValueExW(self, a):
        raise Failure(f"{self.text(a[1])} written back though the registry holds it")

    def RegCloseKey(self, a):
        check(a[0] == KEY and self.key_open, "closing no open key")
        self.key_open = False
        return 0

    # --- windows ------------------------------------------------------------
    def RegisterClassW(self, a):
        style, proc, _, _, instance, icon, _, brush, _, name = struct.unpack(
            "<10I", self.uc.mem_read(a[0], 40))
        check(icon in self.objects and proc, "the class's icon and procedure")
        self.classes[self.text(name)] = proc
        return 0xC000 + len(self.classes)

    def CreateWindowExW(self, a):
        cls = self.text(a[1])
        x, y, w, h, parent = [v - (1 << 32) if v >= 0x8000_0000 else v for v in a[4:9]]
        hwnd = self.new_handle()
        if cls == "ZemloBattery":
            self.main = hwnd
        proc = self.classes.get(cls)
        check(proc or cls in ("BUTTON", "STATIC"), f"window class {cls}")
        self.windows[hwnd] = {"class": cls, "rect": (0, 0, w, h) if w > 0 else (0, 0, 240, 294),
                              "proc": proc, "parent": parent, "style": a[3], "at": (x, y)}
        if proc and self.call(proc, hwnd, WM_CREATE, 0, 0) == 0xFFFF_FFFF:
            del self.windows[hwnd]
            return 0
        return hwnd

    def InSendMessage(self, a):
        return 0

    def window(self, hwnd):
        check(hwnd in self.windows, f"window {hwnd:#x} does not exist")
        return self.windows[hwnd]

    def GetClientRect(self, a):
        self.put32(a[1], *self.window(a[0])["rect"])
        return 1

    def GetWindowRect(self, a):
        self.put32(a[1], *self.window(a[0])["rect"])
        return 1

    def IsWindow(self, a):
        return int(a[0] in self.windows)

    def SHCreateMenuBar(self, a):
        size, parent, _, toolbar, instance = struct.unpack("<5I", self.uc.mem_read(a[0], 20))
        check(size == 36 and self.window(parent)["class"] == "ZemloBattery" and toolbar == 102,
              "SHMENUBARINFO of the main window and IDR_MAINMENU")
        bar = self.new_handle()
        self.windows[bar] = {"class": "menu_worker", "rect": (0, 268, 240, 294), "proc": None}
        self.put32(a[0] + 28, bar)
        return 1

    def GetWindowLongW(self, a):
        check(a[1] == GWL_WNDPROC, "GetWindowLongW of the procedure")
        return self.window(a[0])["proc"] or STATIC_PROC

    def SetWindowLongW(self, a):
        check(a[1] == GWL_WNDPROC, "SetWindowLongW of the procedure")
        old, self.window(a[0])["proc"] = self.window(a[0])["proc"] or STATIC_PROC, a[2]
        return old

    def CallWindowProcW(self, a):
        check(a[0] == STATIC_PROC, "CallWindowProcW to the static control's own procedure")
        return 0

    def MoveWindow(self, a):
        self.window(a[0])["rect"] = (0, 0, a[3], a[4])
        return 1

    def ShowWindow(self, a):
        self.window(a[0])["shown"] = a[1]
        return 1

    def UpdateWindow(self, a):
        return int(a[0] in self.windows)

    def SetTimer(self, a):
        self.window(a[0])
        return a[1]

    def SendMessageW(self, a):
        return self.call(self.window(a[0])["proc"], *a[:4])

    def InvalidateRect(self, a):
        self.window(a[0])
        if a[0] not in self.invalid:
            self.invalid.append(a[0])
        return 1

    def GetMessageW(self, a):
        if not self.queue and self.invalid:
            self.queue.append((self.invalid.pop(0), WM_PAINT, 0, 0))
        if not self.queue:
            self.queue.append(self.script.pop(0)())
        hwnd, message, wparam, lparam = self.queue.pop(0)
        self.put32(a[0], hwnd, message, wparam, lparam, 0, 0, 0)
        return int(message != WM_QUIT)

    def TranslateAcceleratorW(self, a):
        check(self.objects.get(a[1]) == "accelerators", "the loaded accelerators")
        return 0

    def TranslateMessage(self, a):
        return 0

    def DispatchMessageW(self, a):
        hwnd, message, wparam, lparam = struct.unpack("<4I", self.uc.mem_read(a[0], 16))
        if self.phase == "start-up":
            self.system_calls["start-up"] = len(self.calls) - 1
        self.phase = self.phase_of(hwnd, message)
        before = len(self.calls)
        result = self.call(self.window(hwnd)["proc"], hwnd, message, wparam, lparam)
        if self.phase:
            self.system_calls[self.phase] = len(self.calls) - before
        return result

    def PostQuitMessage(self, a):
        self.queue.append((0, WM_QUIT, a[0], 0))

    def DefWindowProcW(self, a):
        return 0

    # --- power ------------------------------------------------------------------
    def GetSystemPowerStatusEx(self, a):
        check(a[1] == 1, "GetSystemPowerStatusEx asks for a fresh reading")
        self.uc.mem_write(a[0], self.power_record())
        return 1

    def power_record(self):
        # Off the mains, high, the charge, 4 h left; no backup battery.
        return struct.pack("<4B2I4B2I", 0, 1, self.battery, 0, 14400, 0xFFFF_FFFF, 0, 0, 0, 0,
                           0xFFFF_FFFF, 0xFFFF_FFFF)

    def GetSystemPowerStatusEx2(self, a):
        check(a[1] == 56 and a[2] == 1, "GetSystemPowerStatusEx2's length and a fresh reading")
        self.uc.mem_write(a[0], self.power_record() + bytes(56 - 24))
        return 56

    # --- GDI ------------------------------------------------------------------
    def dc(self, handle):
        check(handle in self.dcs, f"device context {handle:#x} was never made")
        return handle

    def gdi(self, handle, kinds):
        kind = self.objects.get(handle) if handle not in range(0x100, 0x120) else "stock"
        check(kind in kinds + ("stock",), f"GDI object {handle:#x} is no {'/'.join(kinds)}")
        return handle

    def GetDC(self, a):
        check(a[0] == 0, "GetDC of a window")
        return SCREEN_DC

    def ReleaseDC(self, a):
        self.dc(a[1])
        return 1

    def BeginPaint(self, a):
        self.window(a[0])
        dc = self.new_handle("dc")
        self.dcs.add(dc)
        self.paint_dcs[dc] = a[0]
        self.put32(a[1], dc)
        self.painting = (a[0], dc)
        return dc

    def EndPaint(self, a):
        check((a[0], self.get32(a[1])) == self.painting, "EndPaint of another BeginPaint")
        self.dcs.discard(self.painting[1])
        self.painting = None
        return 1

    def CreateCompatibleDC(self, a):
        self.dc(a[0])
        dc = self.new_handle("dc")
        self.dcs.add(dc)
        self.canvas[dc] = {}
        return dc

    def DeleteDC(self, a):
        self.dcs.remove(self.dc(a[0]))
        return 1

    def CreateCompatibleBitmap(self, a):
        self.dc(a[0])
        check(0 < a[1] <= 240 and 0 < a[2] <= 320, f"a {a[1]}x{a[2]} bitmap")
        return self.new_handle("bitmap")

    def CreateDIBSection(self, a):
        size, width, height, planes_bits = struct.unpack("<IiiI", self.uc.mem_read(a[1], 16))
        check(size == 40 and planes_bits == 1 | 32 << 16 and width > 0 and height < 0,
              "a top-down 32-bit DIB section")
        bits = self.alloc(4 * width * -height)
        self.uc.mem_write(bits, struct.pack("<I", 0x103050) * (width * -height))
        self.put32(a[3], bits)
        return self.new_handle("bitmap")

    def GetClipBox(self, a):
        self.dc(a[0])
        self.put32(a[1], 0, 0, 240, 320)
        return 2  # SIMPLEREGION

    def IntersectRect(self, a):
        r1, r2 = struct.unpack("<4i", self.uc.mem_read(a[1], 16)), struct.unpack(
            "<4i", self.uc.mem_read(a[2], 16))
        out = (max(r1[0], r2[0]), max(r1[1], r2[1]), min(r1[2], r2[2]), min(r1[3], r2[3]))
        self.uc.mem_write(a[0], struct.pack("<4i", *out))
        return int(out[0] < out[2] and out[1] < out[3])

    def SetRect(self, a):
        self.uc.mem_write(a[0], struct.pack("<4I", *a[1:5]))
        return 1

    def CopyRect(self, a):
        self.uc.mem_write(a[0], bytes(self.uc.mem_read(a[1], 16)))
        return 1

    def OffsetRect(self, a):
        r = struct.unpack("<4i", self.uc.mem_read(a[0], 16))
        dx, dy = struct.unpack("<2i", struct.pack("<2I", a[1], a[2]))
        self.uc.mem_write(a[0], struct.pack("<4i", r[0] + dx, r[1] + dy, r[2] + dx, r[3] + dy))
        return 1

    def SetRectEmpty(self, a):
        self.put32(a[0], 0, 0, 0, 0)
        return 1

    def PtInRect(self, a):
        left, top, right, bottom = struct.unpack("<4i", self.uc.mem_read(a[0], 16))
        x, y = [v - (1 << 32) if v >= 0x8000_0000 else v for v in a[1:3]]
        return int(left <= x < right and top <= y < bottom)

    def SelectObject(self, a):
        self.dc(a[0])
        self.gdi(a[1], ("bitmap", "brush", "font"))
        return 0x101  # the previous one: a stock object

    def DeleteObject(self, a):
        self.gdi(a[0], ("bitmap", "brush", "font"))
        del self.objects[a[0]]
        return 1

    def CreateSolidBrush(self, a):
        check(a[0] <= 0xFFFFFF, f"brush colour {a[0]:#x}")
        brush = self.new_handle("brush")
        self.brushes[brush] = a[0]
        return brush

    def CreateFontIndirectW(self, a):
        check(self.text(a[0] + 28) == "Tahoma", "a Tahoma font")
        return self.new_handle("font")

    def GetNearestColor(self, a):
        self.dc(a[0])
        check(a[1] <= 0xFFFFFF, f"a colour without bits above blue: {a[1]:#x}")
        return rgb565(a[1])

    def GetPixel(self, a):
        self.dc(a[0])
        return self.screen.get(self.paint_dcs.get(a[0]), {}).get((a[1], a[2]), 0)

    def FillRect(self, a):
        self.dc(a[0])
        self.gdi(a[2], ("brush",))
        left, top, right, bottom = struct.unpack("<4i", self.uc.mem_read(a[1], 16))
        if a[0] in self.canvas:
            self.canvas[a[0]].update({(x, y): self.brushes.get(a[2]) for x in range(left, right)
                                      for y in range(top, bottom)})
        return 1

    def GradientFill(self, a):
        self.dc(a[0])
        check(a[2] == 2 and a[4] == 1 and a[5] == 0, "one horizontal gradient rectangle")
        return 1

    def SetBkMode(self, a):
        self.dc(a[0])
        return 2

    def SetTextColor(self, a):
        self.dc(a[0])
        return 0

    def DrawTextW(self, a):
        self.dc(a[0])
        self.drawn_text = self.text(a[1])
        return 10

    def BitBlt(self, a):
        self.dc(a[0])
        self.dc(a[5])
        if a[0] in self.paint_dcs and a[5] in self.canvas:
            x, y, w, h, sx, sy = a[1], a[2], a[3], a[4], a[6], a[7]
            self.screen.setdefault(self.paint_dcs[a[0]], {}).update(
                {(x + p - sx, y + q - sy): rgb565(c) for (p, q), c in self.canvas[a[5]].items()
                 if sx <= p < sx + w and sy <= q < sy + h})
        return 1

    # --- the script -----------------------------------------------------------
    def phase_of(self, hwnd, message):
        if message == WM_TIMER:
            return f"tick {self.ticks}"
        if message == WM_PAINT:
            return f"paint {self.ticks}"
        return None

    def tick(self, battery=None):
        def message():
            self.ticks += 1
            if battery is not None:
                self.battery = battery
            return (self.main, WM_TIMER, 1, 0)
        return message

    def run(self):
        self.ticks = 0
        self.script = [self.tick(), self.tick(), self.tick(battery=72), self.tick(),
                       lambda: (self.main, WM_COMMAND, IDM_QUIT, 0)]
        self.phase = "start-up"
        self.call(self.entry, 0x10000, 0, self.alloc(2), 5)
        check(self.exit_code is not None, "the program returned from its entry point")


def main(argv):
    options = [arg for arg in argv[1:] if arg.startswith("--")]
    files = [arg for arg in argv[1:] if not arg.startswith("--")]
    styles = [int(o.split("=", 1)[1]) for o in options if o.startswith("--style=")]
    if len(files) != 2 or set(options) - {"--vga"} - {f"--style={n}" for n in styles}:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    world = World(*files, vga="--vga" in options, style=(styles or [1])[-1])
    try:
        world.run()
        verify(world)
    except (Failure, UcError) as failure:
        where = f" at pc {world.reg(UC_ARM_REG_PC):#x}" if isinstance(failure, UcError) else ""
        print(f"FAILED: {failure}{where}", file=sys.stderr)
        print("calls: " + " ".join(name for name, _ in world.calls[-30:]), file=sys.stderr)
        return 1
    print(f"{len(world.calls)} calls; exit code {world.exit_code}")
    for phase, count in world.counts.items():
        print(f"own ARM instructions, {phase}: {count}; "
              f"calls into the system: {world.system_calls.get(phase, 0)}")
    return 0


def verify(world):
    first = {}
    for i, (name, _) in enumerate(world.calls):
        first.setdefault(name, i)
    check(first.get("GetDC", 1 << 30) < first["LoadStringW"] and
          first.get("calloc", 1 << 30) < first["LoadStringW"],
          "the static constructors (the screen DC, the colour table) ran before WinMain")
    check(sorted(set(world.reads)) == sorted(SETTINGS),
          f"the ten settings read: {sorted(set(world.reads))}")
    check("ZemloBattery" in world.classes, "the class ZemloBattery is registered")
    windows = {w["class"]: w for w in world.windows.values()}
    check(windows["STATIC"]["parent"] == TASKBAR and
          windows["STATIC"]["at"] == (4, world.gauge_top),
          "the gauge is a child of the taskbar at its stored position")
    check(windows["BUTTON"]["parent"] == world.main, "the Hide button is on the main window")
    check("menu_worker" in windows, "the menu bar")
    timers = [a for name, a in world.calls if name == "SetTimer"]
    check([(a[0], a[1], a[2], a[3]) for a in timers] == [(world.main, 1, 2300, 0)],
          f"one poll timer of 2300 ms: {timers}")
    gauge = next(h for h, w in world.windows.items() if w["class"] == "STATIC")
    blits = [a for name, a in world.calls
             if name == "BitBlt" and a[1:5] == [0, 0, *world.gauge_size]]
    check(len(blits) == 2, f"the gauge painted twice, each in one blit: {len(blits)}")
    check(world.drawn_text == "72%", f"the gauge shows the last charge: {world.drawn_text!r}")
    check(world.counts.get("tick 2") and "paint 2" not in world.counts,
          "a tick with nothing changed paints nothing")
    check("paint 3" in world.counts and gauge not in world.invalid, "a changed charge repaints")
    check(world.counts.get("tick 4") and "paint 4" not in world.counts,
          "then the next tick paints nothing: the probes find the picture as the screen holds it")
    shown = world.screen.get(gauge, {})
    check(shown.get((3, 2)) == rgb565(SETTINGS["Full_Part"]) and
          shown.get((3, 1)) == rgb565(SETTINGS["Frame_not_charging"]),
          "the gauge's picture is in the taskbar: its charge and its frame")
    check(world.exit_code == 0, f"exit code {world.exit_code}")


if __name__ == "__main__":
    sys.exit(main(sys.argv))
