#!/usr/bin/env python3
"""Makes the archive corpus the archiver tests run through UNLHA32.DLL and UNZIP32.DLL (the
end-to-end suite) and natively through the same code (the unit tests), in the folder given,
with expected.txt listing one archive a line:

    <file> TAB <expected result, hex> TAB <member> TAB <its bytes, hex> ...

The members listed must have arrived with those bytes after a successful extraction "x"
(LZH) or plain extraction (ZIP) into a fresh folder. LZH headers are written byte by byte
around data compressed by jlha (lh5, lh6, lh7), since no tool writes every header level with
every attribute byte; ZIP archives by Python's zipfile and then changed where the case says.

    make_corpus.py <out folder>"""
import os
import struct
import subprocess
import sys
import tempfile
import zipfile

TEXT = b"tumblecat corpus \x95\x5c\x8e\x86 " * 40  # 表紙 in Shift_JIS, 0x5C second byte


def crc16(data, crc=0):
    for byte in data:
        crc ^= byte
        for _ in range(8):
            crc = (crc >> 1) ^ 0xA001 if crc & 1 else crc >> 1
    return crc


def jlha_payloads(work):
    """The compressed bytes of TEXT for lh5, lh6 and lh7, taken from archives jlha makes."""
    path = os.path.join(work, "t.txt")
    with open(path, "wb") as f:
        f.write(TEXT)
    payloads = {}
    for method in ("5", "6", "7"):
        lzh = os.path.join(work, "t%s.lzh" % method)
        subprocess.run(["jlha", "a0o" + method, lzh, "t.txt"], cwd=work, check=True, stdout=subprocess.DEVNULL)
        data = open(lzh, "rb").read()
        assert data[20] == 0 and data[2:7] == b"-lh%s-" % method.encode(), data[:24]
        header = data[0] + 2
        size = struct.unpack_from("<I", data, 7)[0]
        payloads["lh" + method] = data[header:header + size]
    payloads["lh0"] = TEXT
    return payloads


def level0(method, name, data, original, attr):
    body = (b"-" + method + b"-" + struct.pack("<IIIBBB", len(data), len(original), 0x5A8C4E21, attr, 0, len(name))
            + name + struct.pack("<H", crc16(original)))
    return bytes([len(body), sum(body) & 0xFF]) + body + data


def ext(kind, payload):
    return struct.pack("<HB", 3 + len(payload), kind) + payload


def level1(method, name, data, original, attr, extensions=b""):
    exts = extensions + b"\x00\x00"
    body = (b"-" + method + b"-" + struct.pack("<IIIBBB", len(data) + len(exts) - 2, len(original), 0x5A8C4E21, attr, 1,
                                                 len(name)) + name + struct.pack("<HB", crc16(original), ord("U")))
    first = exts[:2] if not extensions else extensions[:2]
    head = body + first
    return bytes([len(head), sum(head) & 0xFF]) + head + exts[2:] + data


def level2(method, name, data, original, attr, with_crc=True, bad_crc=False, directory=None):
    exts = b""
    if with_crc:
        exts += ext(0x00, b"\x00\x00")
    if directory is not None:
        exts += ext(0x02, directory)
    exts += ext(0x01, name)
    fixed = struct.pack("<IIIBBHB", len(data), len(original), 1700000000, attr, 2, crc16(original), ord("U"))
    size = 2 + 5 + len(fixed) + len(exts) + 2
    if size & 0xFF == 0:
        size += 1  # a header never ends in a size whose low byte is zero (taken for the end)
    header = bytearray(struct.pack("<H", size) + b"-" + method + b"-" + fixed + exts + b"\x00\x00")
    header += b"\x00" * (size - len(header))
    if with_crc:
        at = 2 + 5 + len(fixed) + 3
        value = crc16(bytes(header)) ^ (0x1234 if bad_crc else 0)
        header[at:at + 2] = struct.pack("<H", value)
    return bytes(header) + data


def lzh_cases(payloads):
    name = b"\x95\x5c\x8e\x86.txt"  # 表紙.txt
    wanted = [(name, TEXT)]
    cases = []
    for level, make in ((0, level0), (1, level1), (2, level2)):
        for attr in (0x00, 0x02, 0x10, 0x20):
            cases.append(("lzh-level%d-attr%02x.lzh" % (level, attr), 0,
                          make(b"lh5", name, payloads["lh5"], TEXT, attr), wanted))
    for method in ("lh0", "lh6", "lh7"):
        for level, make in ((0, level0), (1, level1), (2, level2)):
            cases.append(("lzh-%s-level%d.lzh" % (method, level), 0,
                          make(method.encode(), name, payloads[method], TEXT, 0x20), wanted))
    cases.append(("lzh-level2-no-header-crc.lzh", 0, level2(b"lh5", name, payloads["lh5"], TEXT, 0x20, with_crc=False),
                  wanted))
    cases.append(("lzh-level2-bad-header-crc.lzh", 0x8017,
                  level2(b"lh5", name, payloads["lh5"], TEXT, 0x20, bad_crc=True), []))
    # A folder (lhd) and a file in it, at levels 1 and 2.
    for level in (1, 2):
        if level == 1:
            folder = level1(b"lhd", b"", b"", b"", 0x10, ext(0x02, b"dir\xff"))
            member = level1(b"lh5", name, payloads["lh5"], TEXT, 0x20, ext(0x02, b"dir\xff"))
        else:
            folder = level2(b"lhd", b"", b"", b"", 0x10, directory=b"dir\xff")
            member = level2(b"lh5", name, payloads["lh5"], TEXT, 0x20, directory=b"dir\xff")
        cases.append(("lzh-lhd-level%d.lzh" % level, 0, folder + member, [(b"dir\\" + name, TEXT)]))
    return [(file, code, data + b"\x00", members) for file, code, data, members in cases]


def write(folder, cases):
    with open(os.path.join(folder, "expected.txt"), "w") as manifest:
        for file, code, data, members in cases:
            with open(os.path.join(folder, file), "wb") as f:
                f.write(data)
            fields = [file, "%x" % code] + [x for n, b in members for x in (n.hex(), b.hex())]
            manifest.write("\t".join(fields) + "\n")


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    with tempfile.TemporaryDirectory() as work:
        payloads = jlha_payloads(work)
    write(out, lzh_cases(payloads))


if __name__ == "__main__":
    main()
