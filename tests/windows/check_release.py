#!/usr/bin/env python3
"""Checks the release ZIP: exactly the module, the README, the function
reference and the license; the module is the built (and tested) one; the
checksum file beside it is right."""
import hashlib
import sys
import zipfile


def main():
    archive, built_fmx, source = sys.argv[1], sys.argv[2], sys.argv[3]
    problems = []
    expected = {
        "Loomvane.fmx": open(built_fmx, "rb").read(),
        "README.md": open(f"{source}/README.md", "rb").read(),
        "LICENSE": open(f"{source}/LICENSE", "rb").read(),
        "functions.md": open(f"{source}/docs/functions.md", "rb").read(),
    }
    with zipfile.ZipFile(archive) as z:
        names = sorted(z.namelist())
        if names != sorted(expected):
            problems.append(f"archive holds {names}, expected {sorted(expected)}")
        for name, data in expected.items():
            if name in names and z.read(name) != data:
                problems.append(f"{name} in the archive differs from {name} of the build")
    digest = hashlib.sha256(open(archive, "rb").read()).hexdigest()
    line = open(archive + ".sha256").read()
    name = archive.rsplit("/", 1)[-1]
    if line != f"{digest}  {name}\n":
        problems.append(f"checksum file says {line!r}, the archive's SHA-256 is {digest}")
    for p in problems:
        print(p)
    print(f"{archive}: {len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
