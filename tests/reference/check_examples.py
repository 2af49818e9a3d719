#!/usr/bin/env python3
"""Checks that every example call of the function reference is run, in the
same order and with the same answer, by the reference scenario script, and
that every function of the function list has one.
Usage: check_examples.py FUNCTIONS.md SCRIPT.fmh FunctionList.h"""
import re
import sys

DOC_EXAMPLE = re.compile(r'^(Kwzr-[A-Za-z]+)\( "((?:[^"\\]|\\.)*)" \)\s+→\s+"((?:[^"\\]|\\.)*)"\s*$')
SCRIPT_CALL = re.compile(r'^call (Kwzr-[A-Za-z]+) "((?:[^"\\]|\\.)*)" expect "((?:[^"\\]|\\.)*)"\s*$')


def collect(path, pattern, in_code_blocks):
    found = []
    inside = not in_code_blocks
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            if in_code_blocks and line.startswith("```"):
                inside = not inside
                continue
            match = pattern.match(line.rstrip("\n")) if inside else None
            if match:
                found.append((match.groups(), number))
    return found


def function_count(function_list):
    with open(function_list, encoding="utf-8") as f:
        return int(re.search(r"#define\s+LOOMVANE_FUNCTION_COUNT\s+(\d+)", f.read()).group(1))


def main():
    doc, script, function_list = sys.argv[1], sys.argv[2], sys.argv[3]
    count = function_count(function_list)
    examples = collect(doc, DOC_EXAMPLE, True)
    # The reference documents the shipped module, the 32-bit one.
    calls = [(tuple(g.replace("${platform}", "x86") for g in groups), line)
             for groups, line in collect(script, SCRIPT_CALL, False)]
    failures = 0
    if len(examples) < count:
        print(f"{doc}: only {len(examples)} examples found")
        failures += 1
    functions = {e[0][0] for e in examples}
    if len(functions) != count:
        print(f"{doc}: examples cover {len(functions)} functions, not {count}")
        failures += 1
    for i, (example, line) in enumerate(examples):
        if i >= len(calls):
            print(f"{doc}:{line}: example {example} is not run by {script}")
            failures += 1
            continue
        call, call_line = calls[i]
        if call != example:
            print(f"{doc}:{line}: example {example} differs from {script}:{call_line}: {call}")
            failures += 1
    if len(calls) > len(examples):
        print(f"{script}: {len(calls) - len(examples)} calls more than the reference shows")
        failures += 1
    print(f"{len(examples)} examples checked, {failures} problems")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
