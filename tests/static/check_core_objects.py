#!/usr/bin/env python3
"""Checks the plug-in's compiled objects: they call no heap allocator of
their own, and every function's stack frame is bounded and small. Prints the
largest frames."""
import pathlib
import subprocess
import sys

# Symbols through which code takes heap memory or throws.
HEAP = ("malloc", "calloc", "realloc", "free", "strdup", "_Znwm", "_Znam", "_Znwj", "_Znaj",
        "_ZdlPv", "_ZdaPv", "__cxa_allocate_exception", "__cxa_throw", "HeapAlloc",
        "LocalAlloc", "GlobalAlloc", "VirtualAlloc")
LARGEST_FRAME = 1024


def main():
    objects_dir, nm = pathlib.Path(sys.argv[1]), sys.argv[2]
    objects = sorted(objects_dir.rglob("*.o"))
    problems = []
    if len(objects) < 15:
        problems.append(f"only {len(objects)} objects found under {objects_dir}")
    for obj in objects:
        undefined = subprocess.run([nm, "-u", str(obj)], capture_output=True, text=True,
                                   check=True).stdout.split()
        for symbol in undefined:
            if symbol.startswith(HEAP):
                problems.append(f"{obj.name} uses {symbol}")
    frames = []
    for su in sorted(objects_dir.rglob("*.su")):
        for line in su.read_text().splitlines():
            where, size, kind = line.rsplit("\t", 2)
            frames.append((int(size), kind, where))
            if kind not in ("static", "dynamic,bounded"):
                problems.append(f"{where}: stack frame is unbounded ({kind})")
            if int(size) > LARGEST_FRAME:
                problems.append(f"{where}: stack frame of {size} bytes")
    if not frames:
        problems.append("no stack usage files (.su) found")
    frames.sort(reverse=True)
    print("largest stack frames:")
    for size, kind, where in frames[:8]:
        print(f"  {size:5} bytes  {kind:8} {where.split(':')[-1]}")
    for p in problems:
        print(p)
    print(f"{len(objects)} objects, {len(frames)} functions, {len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
