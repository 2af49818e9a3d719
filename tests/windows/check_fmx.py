#!/usr/bin/env python3
"""Checks the built plug-in module Loomvane.fmx.

    check_fmx.py LOOMVANE_FMX [--objdump OBJDUMP] [--function-list FunctionList.h]
                 [--art-dir FMWinRsc/art]

The file format, the exports and the imports are read both from objdump's
report and from the PE headers directly; the resources are read from the
.rsrc data by the small PE reader below. Every check prints one line; the
exit status is 1 when any of them failed.
"""

import argparse
import os
import re
import struct
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.normpath(os.path.join(HERE, "..", ".."))

# What the module must hold.
MODULE_NAME = "Loomvane.fmx"
EXPORTS = ["FMExternCallProc"]
# The system DLLs alone: the module has no C runtime of its own to need.
# GDI frees the picture the MDI client makes for a document's window menu.
IMPORTS = {"kernel32.dll", "user32.dll", "advapi32.dll", "gdi32.dll"}
LANG_EN_US = 1033

FUNCTION_NAME_BASE = 144
FUNCTION_COUNT = 27
FIXED_STRINGS = {
    128: "Loomvane",
    129: "Provides utility functions for controling the display of interface elements.",
    131: "Kwzr1YYYYnn",
    22320: "Loomvane Plugin Error",
    22321: "error %li at %li",
}

VERSION_NUMBERS = (1, 1, 1, 32)
VERSION_TABLE = "040904e4"
VERSION_STRINGS = {
    "FileDescription": "Loomvane",
    "FileVersion": "1.1v1 04/06/2000",
    "InternalName": "Loomvane",
    "OriginalFilename": "Loomvane.FMX",
    "ProductName": "Loomvane Plug-in",
    "ProductVersion": "1.1v1 04/06/2000",
    "SpecialBuild": "x32",
}

RT_BITMAP, RT_ICON, RT_DIALOG, RT_STRING, RT_GROUP_ICON, RT_VERSION = 2, 3, 5, 6, 14, 16
RESOURCE_TYPES = {RT_BITMAP: "bitmap", RT_ICON: "icon", RT_DIALOG: "dialog",
                  RT_STRING: "string table", RT_GROUP_ICON: "icon group",
                  RT_VERSION: "version"}

IDB_PREFS_PICTURE = 22301
IDD_PREFERENCES = 22310
IDI_PLUGIN = 22311
IDC_PREF_TEXT = 22313
IDC_PREF_PICTURE = 0xFFFF
IDOK, IDCANCEL = 1, 2

WS_POPUP, WS_CHILD, WS_VISIBLE = 0x80000000, 0x40000000, 0x10000000
WS_BORDER, WS_TABSTOP = 0x00800000, 0x00010000
DS_SETFONT = 0x40
ES_AUTOHSCROLL = 0x80
BS_TYPEMASK, BS_PUSHBUTTON, BS_DEFPUSHBUTTON = 0xF, 0, 1
DIALOG_STYLE = 0x90C800C4
PICTURE_STYLE = 0x5000000E
CLASS_BUTTON, CLASS_EDIT, CLASS_STATIC = 0x80, 0x81, 0x82
# The static control takes the size of its bitmap, 230 x 157 pixels. With
# the 8-point dialog font that is 97 units high where the font's base unit is
# 13 pixels high and 105 where it is 12, so the controls added below the
# picture must start at 105 or lower; the dialog must be taller than 97.
PICTURE_BASE_HEIGHT = 97
PICTURE_BOTTOM = 105


class Checks:
    def __init__(self):
        self.failures = 0
        self.passes = 0

    def expect(self, ok, what, expected, found):
        if ok:
            self.passes += 1
            print("ok    %s" % what)
        else:
            self.failures += 1
            print("FAIL  %s: expected %s, found %s" % (what, expected, found))
        return ok

    def equal(self, what, expected, found):
        return self.expect(expected == found, what, fmt(expected), fmt(found))

    def fail(self, what, message):
        self.failures += 1
        print("FAIL  %s: %s" % (what, message))


def fmt(value):
    if isinstance(value, int) and not isinstance(value, bool) and value > 9:
        return "%d (0x%X)" % (value, value)
    return repr(value)


# ---------------------------------------------------------------------------
# The PE reader.

class PEError(Exception):
    pass


class PE:
    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise PEError("no MZ header")
        (pe_offset,) = struct.unpack_from("<I", data, 0x3C)
        if data[pe_offset:pe_offset + 4] != b"PE\0\0":
            raise PEError("no PE signature at 0x%X" % pe_offset)
        coff = pe_offset + 4
        (self.machine, sections, _, _, _, optional_size,
         self.characteristics) = struct.unpack_from("<HHIIIHH", data, coff)
        optional = coff + 20
        (self.magic,) = struct.unpack_from("<H", data, optional)
        if self.magic != 0x10B:
            raise PEError("optional header magic 0x%X is not PE32" % self.magic)
        (count,) = struct.unpack_from("<I", data, optional + 92)
        self.directories = [struct.unpack_from("<II", data, optional + 96 + 8 * i)
                            for i in range(count)]
        self.sections = []
        table = optional + optional_size
        for i in range(sections):
            name, vsize, rva, raw_size, raw_ptr = struct.unpack_from("<8sIIII", data, table + 40 * i)
            (flags,) = struct.unpack_from("<I", data, table + 40 * i + 36)
            self.sections.append((name.rstrip(b"\0").decode("ascii", "replace"),
                                  rva, max(vsize, raw_size), raw_ptr, raw_size, flags))

    def section_of(self, rva):
        for section in self.sections:
            if section[1] <= rva < section[1] + section[2]:
                return section
        return None

    def offset(self, rva):
        section = self.section_of(rva)
        if section is None:
            raise PEError("RVA 0x%X lies in no section" % rva)
        delta = rva - section[1]
        if delta >= section[4]:
            raise PEError("RVA 0x%X is past the section's data" % rva)
        return section[3] + delta

    def read(self, rva, size):
        start = self.offset(rva)
        return self.data[start:start + size]

    def cstring(self, rva):
        start = self.offset(rva)
        end = self.data.index(b"\0", start)
        return self.data[start:end].decode("ascii", "replace")

    def directory(self, index):
        if index >= len(self.directories):
            return (0, 0)
        return self.directories[index]

    def exports(self):
        """(module name, [(name, rva)], number of functions)"""
        rva, size = self.directory(0)
        if not rva:
            return None, [], 0
        (_, _, _, _, name_rva, _, functions, names, functions_rva,
         names_rva, ordinals_rva) = struct.unpack("<IIHHIIIIIII", self.read(rva, 40))
        out = []
        for i in range(names):
            (name,) = struct.unpack("<I", self.read(names_rva + 4 * i, 4))
            (ordinal,) = struct.unpack("<H", self.read(ordinals_rva + 2 * i, 2))
            (target,) = struct.unpack("<I", self.read(functions_rva + 4 * ordinal, 4))
            out.append((self.cstring(name), target))
        return self.cstring(name_rva), out, functions

    def imports(self):
        rva, _ = self.directory(1)
        out = []
        while rva:
            lookup, _, _, name, thunk = struct.unpack("<IIIII", self.read(rva, 20))
            if not (lookup or name or thunk):
                break
            out.append(self.cstring(name))
            rva += 20
        return out

    def resources(self):
        """{(type, name, language): data}; type and name are ints or strings."""
        base, _ = self.directory(2)
        if not base:
            return {}
        out = {}

        def entries(offset):
            _, _, _, _, named, ids = struct.unpack("<IIHHHH", self.read(base + offset, 16))
            for i in range(named + ids):
                key, target = struct.unpack("<II", self.read(base + offset + 16 + 8 * i, 8))
                if key & 0x80000000:
                    (length,) = struct.unpack("<H", self.read(base + (key & 0x7FFFFFFF), 2))
                    key = self.read(base + (key & 0x7FFFFFFF) + 2, 2 * length).decode("utf-16-le")
                yield key, target

        for rtype, t1 in entries(0):
            if not t1 & 0x80000000:
                raise PEError("resource type %r has data where a directory belongs" % (rtype,))
            for name, t2 in entries(t1 & 0x7FFFFFFF):
                if not t2 & 0x80000000:
                    raise PEError("resource %r/%r has data where a directory belongs" % (rtype, name))
                for lang, t3 in entries(t2 & 0x7FFFFFFF):
                    if t3 & 0x80000000:
                        raise PEError("resource %r/%r/%r nests too deep" % (rtype, name, lang))
                    data_rva, size, _, _ = struct.unpack("<IIII", self.read(base + t3, 16))
                    out[(rtype, name, lang)] = self.read(data_rva, size)
        return out


def utf16z(data, offset):
    """A zero-terminated UTF-16 string and the offset just past it."""
    end = offset
    while data[end:end + 2] != b"\0\0":
        end += 2
        if end >= len(data):
            raise PEError("unterminated string at %d" % offset)
    return data[offset:end].decode("utf-16-le"), end + 2


def id_order(key):
    """Sort key for resource names and types: numbers first, then strings."""
    return (1, 0, key) if isinstance(key, str) else (0, key, "")


def first_difference(a, b):
    """Where two byte strings first differ, for failure messages."""
    for i, (x, y) in enumerate(zip(a, b)):
        if x != y:
            return "bytes differing first at offset %d (%d and %d bytes long)" % (i, len(a), len(b))
    return "%d bytes against %d" % (len(a), len(b))


def align4(n):
    return (n + 3) & ~3


# ---------------------------------------------------------------------------
# The sources the expectations come from.

def function_names(path):
    """The names of LOOMVANE_FUNCTIONS in id order, with the header's count
    and name base."""
    with open(path, encoding="utf-8") as f:
        text = f.read()
    body = re.search(r"#define\s+LOOMVANE_FUNCTIONS\(X\)((?:[^\n]*\\\n)*[^\n]*)", text)
    if not body:
        raise ValueError("no LOOMVANE_FUNCTIONS definition in %s" % path)
    entries = [(int(i), name) for i, name in
               re.findall(r"\bX\(\s*(\d+)\s*,\s*\"([^\"]*)\"", body.group(1))]
    count = re.search(r"#define\s+LOOMVANE_FUNCTION_COUNT\s+(\d+)", text)
    base = re.search(r"#define\s+LOOMVANE_FUNCTION_NAME_BASE\s+(\d+)", text)
    return entries, int(count.group(1)) if count else None, int(base.group(1)) if base else None


# ---------------------------------------------------------------------------
# The checks.

def run_objdump(objdump, flag, path):
    result = subprocess.run([objdump, flag, path], stdout=subprocess.PIPE,
                            stderr=subprocess.PIPE, universal_newlines=True)
    if result.returncode:
        raise RuntimeError("%s %s failed: %s" % (objdump, flag, result.stderr.strip()))
    return result.stdout


def check_objdump(c, objdump, path):
    header = run_objdump(objdump, "-f", path)
    fmt_match = re.search(r"file format (\S+)", header)
    c.equal("objdump -f: file format", "pei-i386", fmt_match.group(1) if fmt_match else None)
    arch = re.search(r"architecture: ([^,\s]+)", header)
    c.equal("objdump -f: architecture", "i386", arch.group(1) if arch else None)

    private = run_objdump(objdump, "-p", path)
    magic = re.search(r"^Magic\s+(\w+)", private, re.M)
    c.equal("objdump -p: optional header magic", "010b", magic.group(1) if magic else None)
    chars = re.search(r"^Characteristics 0x\w+\n((?:\t.*\n)*)", private, re.M)
    flags = [line.strip() for line in chars.group(1).splitlines()] if chars else []
    c.expect("DLL" in flags, "objdump -p: characteristics include DLL", "'DLL'", flags)

    exports = re.search(r"^The Export Tables.*?\n\n(.*?)\n\n\n", private, re.M | re.S)
    if not c.expect(exports is not None, "objdump -p: export table present",
                    "an export table", "none"):
        return
    body = exports.group(0)
    name = re.search(r"^Name\s+[0-9a-fA-F]+ (.*)$", body, re.M)
    c.equal("objdump -p: module name in the export directory", MODULE_NAME,
            name.group(1).strip() if name else None)
    table = re.search(r"^\[Ordinal/Name Pointer\] Table\n((?:\t.*\n?)*)", body, re.M)
    names = re.findall(r"\[\s*\d+\]\s+(\S+)", table.group(1)) if table else []
    c.equal("objdump -p: exported names", EXPORTS, names)
    addresses = re.search(r"^Export Address Table -- Ordinal Base \d+\n((?:\t.*\n?)*)", body, re.M)
    count = len(re.findall(r"^\t\[\s*\d+\]", addresses.group(1), re.M)) if addresses else None
    c.equal("objdump -p: entries in the export address table", len(EXPORTS), count)

    imports = re.findall(r"^\tDLL Name: (\S+)", private, re.M)
    c.equal("objdump -p: imported DLLs", sorted(IMPORTS), sorted(n.lower() for n in imports))


def check_headers(c, pe):
    c.equal("COFF machine (i386)", 0x14C, pe.machine)
    c.expect(pe.characteristics & 0x2000, "COFF characteristics: IMAGE_FILE_DLL",
             "bit 0x2000 set", "0x%04X" % pe.characteristics)
    c.expect(pe.characteristics & 0x0100, "COFF characteristics: IMAGE_FILE_32BIT_MACHINE",
             "bit 0x0100 set", "0x%04X" % pe.characteristics)

    module, exports, functions = pe.exports()
    c.equal("export directory: module name", MODULE_NAME, module)
    c.equal("export directory: number of functions", len(EXPORTS), functions)
    c.equal("export directory: names", EXPORTS, [name for name, _ in exports])
    for name, rva in exports:
        section = pe.section_of(rva)
        # A forwarded export points into the export directory, not at code.
        executable = section is not None and section[5] & 0x20000000
        c.expect(executable, "export %s points at code" % name,
                 "an address in an executable section",
                 "0x%X in %s" % (rva, section[0] if section else "no section"))

    imports = pe.imports()
    c.equal("import directory: DLLs", sorted(IMPORTS), sorted(n.lower() for n in imports))


def check_strings(c, resources, function_list):
    entries, count, base = function_names(function_list)
    c.equal("FunctionList.h: LOOMVANE_FUNCTION_COUNT", FUNCTION_COUNT, count)
    c.equal("FunctionList.h: LOOMVANE_FUNCTION_NAME_BASE", FUNCTION_NAME_BASE, base)
    c.equal("FunctionList.h: function ids in order", list(range(FUNCTION_COUNT)),
            [i for i, _ in entries])

    expected = dict(FIXED_STRINGS)
    for i, name in entries:
        expected[FUNCTION_NAME_BASE + i] = name

    found = {}
    for (rtype, block, lang), data in sorted(resources.items(), key=lambda kv: tuple(id_order(k) for k in kv[0])):
        if rtype != RT_STRING:
            continue
        if not c.expect(isinstance(block, int), "string block name is a number",
                        "a numbered block", repr(block)):
            continue
        c.equal("string block %d language" % block, LANG_EN_US, lang)
        offset = 0
        for i in range(16):
            if offset + 2 > len(data):
                c.fail("string block %d" % block, "ends after %d of 16 strings" % i)
                break
            (length,) = struct.unpack_from("<H", data, offset)
            text = data[offset + 2:offset + 2 + 2 * length].decode("utf-16-le")
            offset += 2 + 2 * length
            if length:
                string_id = (block - 1) * 16 + i
                if string_id in found:
                    c.fail("string %d" % string_id, "present more than once")
                found[string_id] = text
        c.expect(not data[offset:].strip(b"\0"), "string block %d has nothing after its 16 strings" % block,
                 "only padding", "%d more bytes" % len(data[offset:]))

    c.equal("string table ids", sorted(expected), sorted(found))
    for string_id in sorted(expected):
        if string_id in found:
            c.equal("string %d" % string_id, expected[string_id], found[string_id])


def version_node(data, offset):
    length, value_length, kind = struct.unpack_from("<HHH", data, offset)
    if length < 6 or offset + length > len(data):
        raise PEError("version node at %d has length %d" % (offset, length))
    key, pos = utf16z(data, offset + 6)
    pos = align4(pos)
    size = value_length * 2 if kind == 1 else value_length
    value = data[pos:pos + size]
    if kind == 1:
        value = value.decode("utf-16-le")
        if value.endswith("\0"):
            value = value[:-1]
    pos = align4(pos + size)
    children = []
    while pos < offset + length:
        child = version_node(data, pos)
        children.append(child)
        pos = align4(pos + child["length"])
    return {"key": key, "kind": kind, "value": value, "children": children, "length": length}


def check_version(c, resources):
    found = [(name, lang) for (rtype, name, lang) in resources if rtype == RT_VERSION]
    if not c.equal("version records (name, language)", [(1, LANG_EN_US)], found):
        if not found:
            return
    data = resources[(RT_VERSION, found[0][0], found[0][1])]
    root = version_node(data, 0)
    c.equal("version root key", "VS_VERSION_INFO", root["key"])
    c.equal("version fixed info size", 52, len(root["value"]))
    if len(root["value"]) == 52:
        fields = struct.unpack("<13I", root["value"])
        names = ["signature", "structure version", "file version MS", "file version LS",
                 "product version MS", "product version LS", "flags mask", "flags",
                 "OS", "type", "subtype", "date MS", "date LS"]
        major, minor, build, patch = VERSION_NUMBERS
        expected = [0xFEEF04BD, 0x00010000, major << 16 | minor, build << 16 | patch,
                    major << 16 | minor, build << 16 | patch, 0x3F, 0x20, 4, 1, 0, 0, 0]
        for name, want, got in zip(names, expected, fields):
            c.equal("version fixed info: %s" % name, want, got)

    blocks = {child["key"]: child for child in root["children"]}
    c.equal("version blocks", ["StringFileInfo", "VarFileInfo"], sorted(b["key"] for b in root["children"]))
    strings = blocks.get("StringFileInfo")
    if strings:
        c.equal("StringFileInfo tables", [VERSION_TABLE], [t["key"] for t in strings["children"]])
        for table in strings["children"][:1]:
            values = {}
            for node in table["children"]:
                c.equal("version string %s is text" % node["key"], 1, node["kind"])
                values[node["key"]] = node["value"]
            c.equal("version string keys", sorted(VERSION_STRINGS), sorted(values))
            for key in sorted(VERSION_STRINGS):
                if key in values:
                    c.equal("version string %s" % key, VERSION_STRINGS[key], values[key])
    var = blocks.get("VarFileInfo")
    if var:
        c.equal("VarFileInfo entries", ["Translation"], [v["key"] for v in var["children"]])
        for node in var["children"][:1]:
            value = node["value"]
            pairs = list(struct.unpack("<%dH" % (len(value) // 2), value)) if isinstance(value, bytes) else value
            c.equal("VarFileInfo Translation", [0x0409, 0x04E4], pairs)


def sz_or_ord(data, offset):
    (first,) = struct.unpack_from("<H", data, offset)
    if first == 0:
        return None, offset + 2
    if first == 0xFFFF:
        return struct.unpack_from("<H", data, offset + 2)[0], offset + 4
    return utf16z(data, offset)


def parse_dialog(data):
    if struct.unpack_from("<HH", data, 0) == (1, 0xFFFF):
        raise PEError("the template is a DIALOGEX; a DIALOG template is wanted")
    style, exstyle, count, x, y, cx, cy = struct.unpack_from("<IIHhhhh", data, 0)
    pos = 18
    menu, pos = sz_or_ord(data, pos)
    window_class, pos = sz_or_ord(data, pos)
    title, pos = utf16z(data, pos)
    font = None
    if style & DS_SETFONT:
        (points,) = struct.unpack_from("<H", data, pos)
        face, pos = utf16z(data, pos + 2)
        font = (points, face)
    items = []
    for _ in range(count):
        pos = align4(pos)
        istyle, iexstyle, ix, iy, icx, icy, ident = struct.unpack_from("<IIhhhhH", data, pos)
        item_class, pos = sz_or_ord(data, pos + 18)
        text, pos = sz_or_ord(data, pos)
        (extra,) = struct.unpack_from("<H", data, pos)
        pos += 2 + extra
        if isinstance(item_class, str):
            item_class = {"button": CLASS_BUTTON, "edit": CLASS_EDIT,
                          "static": CLASS_STATIC}.get(item_class.lower(), item_class)
        items.append({"style": istyle, "exstyle": iexstyle, "rect": (ix, iy, icx, icy),
                      "id": ident, "class": item_class, "text": text})
    return {"style": style, "exstyle": exstyle, "count": count, "rect": (x, y, cx, cy),
            "menu": menu, "class": window_class, "title": title, "font": font,
            "items": items, "size": pos}


def check_dialog(c, resources):
    key = (RT_DIALOG, IDD_PREFERENCES, LANG_EN_US)
    dialogs = sorted(str(k[1:]) for k in resources if k[0] == RT_DIALOG)
    c.equal("dialog templates (name, language)", [str((IDD_PREFERENCES, LANG_EN_US))], dialogs)
    if key not in resources:
        return
    try:
        d = parse_dialog(resources[key])
    except PEError as e:
        c.fail("dialog %d" % IDD_PREFERENCES, str(e))
        return
    x, y, cx, cy = d["rect"]
    c.equal("dialog style", DIALOG_STYLE, d["style"])
    c.equal("dialog extended style", 0, d["exstyle"])
    c.equal("dialog position", (7, 7), (x, y))
    c.equal("dialog width", 154, cx)
    c.expect(cy > PICTURE_BASE_HEIGHT, "dialog height grown below the picture",
             "more than %d" % PICTURE_BASE_HEIGHT, cy)
    c.equal("dialog menu", None, d["menu"])
    c.equal("dialog window class", None, d["class"])
    c.equal("dialog caption", "", d["title"])
    c.equal("dialog font", (8, "MS Sans Serif"), d["font"])
    c.equal("dialog control ids", sorted([IDC_PREF_PICTURE, IDC_PREF_TEXT, IDOK, IDCANCEL]),
            sorted(item["id"] for item in d["items"]))

    by_id = {item["id"]: item for item in d["items"]}
    picture = by_id.get(IDC_PREF_PICTURE)
    if picture:
        c.equal("picture control class", CLASS_STATIC, picture["class"])
        c.equal("picture control style", PICTURE_STYLE, picture["style"])
        c.equal("picture control rectangle", (0, 0, 147, 90), picture["rect"])
        c.equal("picture control bitmap", IDB_PREFS_PICTURE, picture["text"])

    wanted = {
        IDC_PREF_TEXT: ("edit control", CLASS_EDIT, WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL),
        IDOK: ("OK button", CLASS_BUTTON, WS_CHILD | WS_VISIBLE | WS_TABSTOP),
        IDCANCEL: ("Cancel button", CLASS_BUTTON, WS_CHILD | WS_VISIBLE | WS_TABSTOP),
    }
    placed = []
    for ident, (label, wclass, bits) in sorted(wanted.items()):
        item = by_id.get(ident)
        if not item:
            continue
        c.equal("%s class" % label, wclass, item["class"])
        c.expect(item["style"] & bits == bits, "%s style bits" % label,
                 "0x%08X set" % bits, "0x%08X" % item["style"])
        ix, iy, icx, icy = item["rect"]
        c.expect(iy >= PICTURE_BOTTOM, "%s below the picture" % label,
                 "top at %d or lower" % PICTURE_BOTTOM, "top at %d" % iy)
        c.expect(ix >= 0 and iy >= 0 and icx > 0 and icy > 0 and ix + icx <= cx and iy + icy <= cy,
                 "%s inside the dialog" % label, "within 0,0 %dx%d" % (cx, cy), item["rect"])
        placed.append((label, item["rect"]))
    for i, (la, (ax, ay, aw, ah)) in enumerate(placed):
        for lb, (bx, by, bw, bh) in placed[i + 1:]:
            apart = ax + aw <= bx or bx + bw <= ax or ay + ah <= by or by + bh <= ay
            c.expect(apart, "%s and %s do not overlap" % (la, lb), "separate rectangles",
                     "%s and %s" % ((ax, ay, aw, ah), (bx, by, bw, bh)))
    if IDOK in by_id:
        c.equal("OK button kind", BS_DEFPUSHBUTTON, by_id[IDOK]["style"] & BS_TYPEMASK)
        c.equal("OK button text", "OK", by_id[IDOK]["text"])
    if IDCANCEL in by_id:
        c.equal("Cancel button kind", BS_PUSHBUTTON, by_id[IDCANCEL]["style"] & BS_TYPEMASK)
        c.equal("Cancel button text", "Cancel", by_id[IDCANCEL]["text"])
    if IDC_PREF_TEXT in by_id:
        c.equal("edit control text", None, by_id[IDC_PREF_TEXT]["text"] or None)


def check_bitmap(c, resources, art_dir):
    key = (RT_BITMAP, IDB_PREFS_PICTURE, LANG_EN_US)
    c.equal("bitmaps (name, language)", [str((IDB_PREFS_PICTURE, LANG_EN_US))],
            sorted(str(k[1:]) for k in resources if k[0] == RT_BITMAP))
    if key not in resources:
        return
    data = resources[key]
    (size, width, height, planes, bits, compression, image_size, _, _, used,
     _) = struct.unpack_from("<IiiHHIIiiII", data, 0)
    c.equal("bitmap header size", 40, size)
    c.equal("bitmap size", (230, 157), (width, abs(height)))
    c.equal("bitmap planes", 1, planes)
    c.equal("bitmap bits per pixel", 8, bits)
    c.equal("bitmap compression (BI_RGB)", 0, compression)
    entries = used if used else (1 << bits if bits <= 8 else 0)
    c.equal("bitmap palette entries", 256, entries)
    stride = (width * bits + 31) // 32 * 4
    c.equal("bitmap resource size", size + 4 * entries + stride * abs(height), len(data))
    path = os.path.join(art_dir, "prefs.bmp")
    with open(path, "rb") as f:
        committed = f.read()
    c.expect(committed[14:] == data, "bitmap is %s" % path, "the committed file's bytes",
             first_difference(committed[14:], data))


def check_icon(c, resources, art_dir):
    key = (RT_GROUP_ICON, IDI_PLUGIN, LANG_EN_US)
    c.equal("icon groups (name, language)", [str((IDI_PLUGIN, LANG_EN_US))],
            sorted(str(k[1:]) for k in resources if k[0] == RT_GROUP_ICON))
    if key not in resources:
        return
    data = resources[key]
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    c.equal("icon group header (reserved, type)", (0, 1), (reserved, kind))
    c.equal("icon group image count", 2, count)
    c.equal("icon group size", 6 + 14 * count, len(data))
    entries = [struct.unpack_from("<BBBBHHIH", data, 6 + 14 * i) for i in range(count)
               if 6 + 14 * (i + 1) <= len(data)]
    c.equal("icon group bits per pixel", [4, 8], sorted(e[5] for e in entries))

    path = os.path.join(art_dir, "plugin.ico")
    with open(path, "rb") as f:
        ico = f.read()
    committed = {}
    for i in range(struct.unpack_from("<H", ico, 4)[0]):
        _, _, _, _, _, bits, size, offset = struct.unpack_from("<BBBBHHII", ico, 6 + 16 * i)
        committed[bits] = ico[offset:offset + size]

    icons = {k[1]: v for k, v in resources.items() if k[0] == RT_ICON}
    c.equal("icon images present", sorted(e[7] for e in entries), sorted(icons))
    for width, height, colours, _, planes, bits, size, ident in entries:
        label = "icon %d-bit image" % bits
        c.equal("%s size in the group" % label, (32, 32), (width, height))
        c.equal("%s colour count" % label, 16 if bits == 4 else 0, colours)
        c.equal("%s planes" % label, 1, planes)
        image = icons.get(ident)
        if image is None:
            continue
        c.equal("%s length" % label, size, len(image))
        hsize, iw, ih, _, ibits = struct.unpack_from("<IiiHH", image, 0)
        c.equal("%s header" % label, (40, 32, 64, bits), (hsize, iw, ih, ibits))
        c.expect(committed.get(bits) == image, "%s is the one in %s" % (label, path),
                 "the committed image's bytes", first_difference(committed.get(bits, b""), image))


def check_resource_set(c, resources):
    types = sorted(set(k[0] for k in resources), key=id_order)
    c.equal("resource types", sorted(RESOURCE_TYPES), types)
    languages = sorted(set(k[2] for k in resources), key=id_order)
    c.equal("resource languages", [LANG_EN_US], languages)


def main(argv):
    parser = argparse.ArgumentParser(description="Check the built Loomvane.fmx.")
    parser.add_argument("module", help="path of Loomvane.fmx")
    parser.add_argument("--objdump", default="i686-w64-mingw32-objdump")
    parser.add_argument("--function-list", default=os.path.join(REPO, "FMPlugin", "host", "FunctionList.h"))
    parser.add_argument("--art-dir", default=os.path.join(REPO, "FMWinRsc", "art"))
    args = parser.parse_args(argv)

    c = Checks()
    c.equal("module file name", MODULE_NAME, os.path.basename(args.module))
    with open(args.module, "rb") as f:
        data = f.read()
    try:
        check_objdump(c, args.objdump, args.module)
    except (RuntimeError, OSError) as e:
        c.fail("objdump", str(e))
    try:
        pe = PE(data)
        check_headers(c, pe)
        resources = pe.resources()
    except (PEError, struct.error, ValueError) as e:
        c.fail("PE headers", str(e))
        resources = None
    if resources is not None:
        for check in (check_resource_set,
                      lambda c_, r: check_strings(c_, r, args.function_list),
                      check_version, check_dialog,
                      lambda c_, r: check_bitmap(c_, r, args.art_dir),
                      lambda c_, r: check_icon(c_, r, args.art_dir)):
            try:
                check(c, resources)
            except (PEError, struct.error, ValueError, IndexError) as e:
                c.fail("resources", "%s: %s" % (type(e).__name__, e))
    print("%d checks passed, %d failed" % (c.passes, c.failures))
    return 1 if c.failures or not c.passes else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
