#!/usr/bin/env python3
"""Writes the fuzz target's seed corpus: inputs that build a desktop and
then start the plug-in and call each function with a meaningful parameter,
restart it, send other message codes, load stored texts, open the
preferences, and a few random ones. Deterministic: the same files every run.
With --check it writes nothing and fails when the committed corpus differs."""
import os
import random
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))

# The function ids by handler name ("HideTaskBar" for DoHideTaskBar), from
# the one function list.
with open(os.path.join(HERE, "..", "..", "FMPlugin", "host", "FunctionList.h")) as _list:
    ID = {m.group(2): int(m.group(1))
          for m in re.finditer(r'X\((\d+), "[^"]+", Do(\w+),', _list.read())}

TOKENS = {"Orders": 0, "Customers": 1, "|": 3, "A": 4, "R": 5, "-": 8, "10": 9,
          "-20": 10, "ab1": 14, "p": 16, "#": 20, "\0": 21}


def text(*pieces):
    out = bytearray([len(pieces)])
    for p in pieces:
        out.append(TOKENS[p] if p in TOKENS else ord(p))
    return bytes(out)


def desktop(shape=0x10, docs=1):
    out = bytearray([shape])
    for _ in range(1 + (shape >> 1) % 3):
        out.append(docs - 1)
        for d in range(docs):
            out += bytes([10 + 30 * d, 20 + 10 * d, 1, 0])
    out += bytes([0, 0])  # cursor, registry
    return bytes(out)


def startup(version=33):
    return bytes([0, version & 0xFF, version >> 8])


def call(function, parameter, flags=0):
    return bytes([1, function]) + parameter + bytes([flags])


def call_seeds(seeds):
    """A call of each function from a started plug-in, twice, then a shut-down."""
    parameters = {
        ID["Version"]: text("p"), ID["HideMenuBar"]: text(), ID["ShowMenuBar"]: text(),
        ID["HideBackground"]: text(), ID["ShowBackground"]: text(), ID["HideCursor"]: text(),
        ID["ShowCursor"]: text(),
        ID["WindowResize"]: text("Orders", "|", "R", "|", "10", "|", "-20"),
        ID["WindowRelocate"]: text("Orders", "|", "A", "|", "10", "|", "10"),
        ID["GetWindowSize"]: text("Orders"), ID["GetWindowSizeABS"]: text("Orders", "|", "ab1"),
        ID["SetWindowTitle"]: text("Orders", "|", "|", "p"),
    }
    for function in range(len(ID)):
        parameter = parameters.get(function, text("Orders"))
        seeds[f"call-{function:02}"] = desktop() + startup() + call(function, parameter) + \
            call(function, parameter) + bytes([4])


def message_seeds(seeds):
    """Restarts, other message codes, stored texts, the preferences, a failing call,
    a hidden cursor, further application windows, a second host process, several
    monitors, zero bytes, and what shut-down gives back."""
    seeds["generation3"] = desktop(shape=0x11) + startup(12) + call(ID["HideWindow"], text("Orders"))
    seeds["memory-error"] = desktop() + startup() + call(ID["GetWindowSize"], text("Orders"), flags=2)
    seeds["prefs-accept"] = desktop() + startup() + bytes([5, 2, 0]) + text("a", "#", "c") + bytes([1])
    seeds["prefs-close"] = desktop() + startup() + bytes([5, 1, 3])
    seeds["fault"] = desktop() + startup() + bytes([7, 3, 2]) + call(ID["DialogWindow"], text("Orders"))
    # A desktop's shape: bit 0 a generation-3 host, (shape >> 1) % 3 further
    # application windows, bit 3 no menu bar on the first, bits 4 and 5 the
    # task bars, bit 6 a Start button, bit 7 a second copy of the host in a
    # process of its own. The registry byte's bits 4 and 5 add monitors.
    three_apps = 0x16
    seeds["relocate-relative"] = desktop() + startup() + \
        call(ID["WindowRelocate"], text("Orders", "|", "R", "|", "10", "|", "-20")) + \
        call(ID["WindowResize"], text("Orders", "|", "A", "|", "-", "|", "10"))
    seeds["restart"] = desktop() + startup() + call(ID["HideBackground"], text()) + startup() + \
        call(ID["ShowBackground"], text()) + bytes([4]) + startup()
    seeds["messages"] = desktop() + bytes([6, 1, 6, 2, 6, 0]) + startup() + \
        bytes([6, 200, 6, 255, 6, 3, 6, 0, 6, 4, 6, 5])
    seeds["registry-text"] = desktop()[:-1] + bytes([0x03]) + text("a", "#", "b") + startup()
    seeds["registry-long"] = desktop()[:-1] + bytes([0x07, 1, 22]) + startup()
    seeds["registry-changing"] = desktop()[:-1] + bytes([0x0B]) + text("x", "#") + \
        text("y", "y", "y") + startup()
    seeds["cursor-hidden"] = desktop()[:-2] + bytes([0xE0, 0]) + startup() + \
        call(ID["ShowCursor"], text()) + call(ID["HideCursor"], text()) + call(ID["HideCursor"], text())
    seeds["three-apps"] = desktop(shape=three_apps, docs=3) + startup() + \
        call(ID["HideMenuBar"], text("ab1")) + call(ID["ShowMenuBar"], text()) + call(ID["GetWindowSizeABS"], text("Customers", "|", "ab1")) + \
        call(ID["HideTaskBar"], text()) + call(ID["ShowTaskBar"], text())
    seeds["prefs-cancel"] = desktop() + startup() + bytes([5, 3, 0]) + text("n", "o") + \
        bytes([2, 1])
    seeds["give-back"] = desktop(shape=0x10 | 0x40) + startup() + call(ID["HideMenuBar"], text()) + \
        call(ID["HideTaskBar"], text()) + call(ID["HideCursor"], text()) + call(ID["HideWindowTitle"], text("Orders")) + bytes([4])
    seeds["second-host"] = desktop(shape=0x10 | 0x80) + startup() + call(ID["HideWindow"], text("Orders")) + \
        call(ID["WindowRelocate"], text("Orders", "|", "A", "|", "10", "|", "10")) + call(ID["HideMenuBar"], text()) + \
        call(ID["ShowTaskBar"], text())
    seeds["monitors"] = desktop()[:-1] + bytes([0x30]) + startup() + call(ID["HideBackground"], text()) + \
        call(ID["ShowBackground"], text())
    seeds["zero-bytes"] = desktop() + startup() + call(ID["HideWindow"], text("Orders", "\0")) + \
        call(ID["SetWindowTitle"], text("Orders", "|", "|", "a", "\0")) + call(ID["HideMenuBar"], text("a", "\0"))
    seeds["menu-elsewhere"] = desktop(shape=three_apps) + startup() + call(ID["HideMenuBar"], text()) + \
        call(ID["ShowMenuBar"], text("ab1")) + call(ID["ShowMenuBar"], text()) + bytes([4])
    # Shut-down meets a refused DestroyWindow (its 2nd call) with the cover shown.
    seeds["cover-kept"] = desktop() + startup() + call(ID["HideBackground"], text()) + bytes([7, 3, 1, 4])
    seeds["value-missing"] = desktop()[:-1] + bytes([0x01]) + startup()


def desktop_change_seeds(seeds):
    """The desktop changing under the plug-in: the displays, a return to the host,
    a hung shell, a runtime solution, documents maximized and minimized."""
    # The desktop changes under the cover: op 7 with bits 3 to 5 set, and
    # bits 6 and 7 for what changes: the displays (then a byte for the
    # layout), the user back from another program, a hung shell waking (the
    # registry byte's bit 6 makes the shell hang).
    displays, host_again, shell_wakes = 0x38, 0x78, 0xB8
    seeds["display-change"] = desktop()[:-1] + bytes([0x10]) + startup() + \
        call(ID["HideBackground"], text()) + bytes([7, displays, 0x05, 7, displays, 0x0A]) + \
        bytes([7, 3, 2, 7, displays, 0x00]) + call(ID["ShowBackground"], text())
    seeds["host-active-again"] = desktop(shape=0x10 | 0x80) + startup() + \
        call(ID["HideBackground"], text()) + bytes([7, host_again, 7, 3, 1, 7, host_again]) + \
        call(ID["HideTaskBar"], text()) + call(ID["ShowTaskBar"], text())
    seeds["hung-shell"] = desktop(shape=0x10 | 0x40)[:-1] + bytes([0x40]) + startup() + \
        call(ID["HideTaskBar"], text()) + call(ID["ShowTaskBar"], text()) + \
        call(ID["HideTaskBar"], text()) + bytes([4, 7, shell_wakes])
    # A runtime solution (the registry byte's bit 7): the host's windows are
    # all of its code's class, while a second copy has the standard one.
    seeds["runtime-solution"] = desktop(shape=0x12 | 0x10 | 0x80)[:-1] + bytes([0x80]) + \
        startup() + call(ID["HideTaskBar"], text()) + call(ID["ShowTaskBar"], text()) + \
        call(ID["HideWindow"], text("Orders", "|", "ab1"))
    # The user maximizes, minimizes or restores a document (by its number):
    # the sizing pair keeps its state, the menu bar comes back with the
    # buttons of the document maximized at that moment.
    maximize, minimize, restore = bytes([7, 0x06]), bytes([7, 0x0E]), bytes([7, 0x16])
    seeds["maximized"] = desktop(docs=2) + startup() + maximize + bytes([0]) + \
        call(ID["HideWindowSizing"], text("Orders")) + call(ID["ShowWindowSizing"], text("Orders")) + \
        call(ID["HideMenuBar"], text()) + restore + bytes([0]) + call(ID["ShowMenuBar"], text()) + \
        call(ID["HideMenuBar"], text()) + maximize + bytes([1]) + bytes([4])
    seeds["minimized"] = desktop(docs=2) + startup() + minimize + bytes([0]) + \
        call(ID["HideWindowSizing"], text("Orders")) + call(ID["GetWindowSize"], text("Orders")) + \
        call(ID["WindowRelocate"], text("Orders", "|", "R", "|", "10", "|", "-20")) + \
        call(ID["ShowWindow"], text("Orders"))


def random_seeds(seeds):
    rng = random.Random(1)
    for i in range(6):
        seeds[f"random-{i}"] = bytes(rng.randrange(256) for _ in range(rng.randrange(8, 120)))


def check_folder(folder, seeds):
    """The committed corpus is exactly what this script writes."""
    present = sorted(os.listdir(folder))
    problems = [f"missing or extra: {n}" for n in sorted(set(present) ^ set(seeds))]
    for name in sorted(set(present) & set(seeds)):
        with open(os.path.join(folder, name), "rb") as f:
            if f.read() != seeds[name]:
                problems.append(f"differs: {name}")
    for p in problems:
        print(p)
    print(f"{len(seeds)} seeds, {len(problems)} problems in {folder}")
    return 1 if problems else 0


def write_folder(folder, seeds):
    os.makedirs(folder, exist_ok=True)
    for name, data in seeds.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)
    print(f"{len(seeds)} seeds in {folder}")
    return 0


def main():
    args = sys.argv[1:]
    check = "--check" in args
    args = [a for a in args if a != "--check"]
    folder = args[0] if args else os.path.join(os.path.dirname(os.path.abspath(__file__)), "seeds")
    seeds = {}
    call_seeds(seeds)
    message_seeds(seeds)
    desktop_change_seeds(seeds)
    random_seeds(seeds)
    if check:
        return check_folder(folder, seeds)
    return write_folder(folder, seeds)


if __name__ == "__main__":
    sys.exit(main())
