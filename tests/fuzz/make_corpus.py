#!/usr/bin/env python3
"""Writes the fuzz target's seed corpus: inputs that build a desktop and
then start the plug-in and call each function with a meaningful parameter,
and a few random ones. Deterministic: the same files every run."""
import os
import random
import sys

TOKENS = {"Orders": 0, "Customers": 1, "|": 3, "A": 4, "R": 5, "-": 8, "10": 9,
          "-20": 10, "ab1": 14, "p": 16, "#": 20}


def text(*pieces):
    out = bytearray([len(pieces)])
    for p in pieces:
        out.append(TOKENS[p] if p in TOKENS else ord(p))
    return bytes(out)


def desktop(shape=0x10, docs=1):
    out = bytearray([shape])
    for _ in range(1 + (shape >> 1) % 3):
        out += bytes([docs - 1, 10, 20, 1, 0])
    out += bytes([0, 0])  # cursor, registry
    return bytes(out)


def startup(version=33):
    return bytes([0, version & 0xFF, version >> 8])


def call(function, parameter, flags=0):
    return bytes([1, function]) + parameter + bytes([flags])


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "corpus")
    os.makedirs(folder, exist_ok=True)
    seeds = {}
    parameters = {
        0: text("p"), 1: text(), 2: text(), 3: text(), 4: text(), 5: text(), 6: text(),
        7: text("Orders", "|", "R", "|", "10", "|", "-20"),
        8: text("Orders", "|", "A", "|", "10", "|", "10"),
        9: text("Orders"), 10: text("Orders", "|", "ab1"), 11: text("Orders", "|", "|", "p"),
    }
    for function in range(27):
        parameter = parameters.get(function, text("Orders"))
        seeds[f"call-{function:02}"] = desktop() + startup() + call(function, parameter) + \
            call(function, parameter) + bytes([4])
    seeds["generation3"] = desktop(shape=0x11) + startup(12) + call(19, text("Orders"))
    seeds["memory-error"] = desktop() + startup() + call(9, text("Orders"), flags=2)
    seeds["prefs-accept"] = desktop() + startup() + bytes([5, 2, 0]) + text("a", "#", "c") + bytes([1])
    seeds["prefs-close"] = desktop() + startup() + bytes([5, 1, 3])
    seeds["fault"] = desktop() + startup() + bytes([7, 3, 2]) + call(16, text("Orders"))
    rng = random.Random(1)
    for i in range(6):
        seeds[f"random-{i}"] = bytes(rng.randrange(256) for _ in range(rng.randrange(8, 120)))
    for name, data in seeds.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)
    print(f"{len(seeds)} seeds in {folder}")


if __name__ == "__main__":
    main()
