#!/usr/bin/env python3
"""Makes the archive corpus the archiver tests run through UNLHA32.DLL and UNZIP32.DLL (the
end-to-end suite) and natively through the same code (the unit tests), in the folder given,
with expected.txt listing one archive a line:

    <file> TAB <expected result, hex> TAB <member> TAB <its bytes, hex> ...

After a successful extraction ("x" for LZH, a plain extraction for ZIP) into a fresh folder,
the members listed, and no other file, must have arrived with those bytes. LZH headers are written byte by byte
around data compressed by jlha (lh5, lh6, lh7), since no tool writes every header level with
every attribute byte; ZIP archives by Python's zipfile and then changed where the case says.

    make_corpus.py <out folder>"""
import os
import struct
import subprocess
import sys
import tempfile

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


def zip_bytes(members, comment=b""):
    """A ZIP of (name, data) members, stored, names as the bytes given (no UTF-8 flag)."""
    import zlib
    local, central = b"", b""
    for name, data in members:
        fields = struct.pack("<HHHHHIIIHH", 20, 0, 0, 0, 0x5021, zlib.crc32(data), len(data), len(data), len(name), 0)
        central += (b"PK\x01\x02" + struct.pack("<H", 20) + fields + struct.pack("<HHHII", 0, 0, 0, 0, len(local))
                    + name)
        local += b"PK\x03\x04" + fields + name + data
    end = struct.pack("<HHHHIIH", 0, 0, len(members), len(members), len(central), len(local), len(comment))
    return local + central + b"PK\x05\x06" + end + comment


def with_extra(data, name, local_extra=None, central_extra=None):
    """The archive with the extra field of member name replaced in its local header and/or
    its central directory entry (offsets and sizes kept right)."""
    out = bytearray(data)
    def patch(sig, name_at, extra_len_at, header_len):
        nonlocal out
        at = out.find(sig)
        while at >= 0:
            n = struct.unpack_from("<H", out, at + name_at)[0]
            e = struct.unpack_from("<H", out, at + extra_len_at)[0]
            if bytes(out[at + header_len:at + header_len + n]) == name:
                return at, n, e
            at = out.find(sig, at + 4)
        raise ValueError(name)
    if local_extra is not None:
        at, n, e = patch(b"PK\x03\x04", 26, 28, 30)
        delta = len(local_extra) - e
        out[at + 30 + n:at + 30 + n + e] = local_extra
        struct.pack_into("<H", out, at + 28, len(local_extra))
        # every later offset moves: central entries' local offsets beyond at, and the EOCD's
        cd = out.find(b"PK\x01\x02")
        while cd >= 0:
            off = struct.unpack_from("<I", out, cd + 42)[0]
            if off > at:
                struct.pack_into("<I", out, cd + 42, off + delta)
            cd = out.find(b"PK\x01\x02", cd + 4)
        eocd = out.rfind(b"PK\x05\x06")
        struct.pack_into("<I", out, eocd + 16, struct.unpack_from("<I", out, eocd + 16)[0] + delta)
    if central_extra is not None:
        at, n, e = patch(b"PK\x01\x02", 28, 30, 46)
        c = struct.unpack_from("<H", out, at + 32)[0]
        delta = len(central_extra) - e
        out[at + 46 + n:at + 46 + n + e] = central_extra
        struct.pack_into("<H", out, at + 30, len(central_extra))
        eocd = out.rfind(b"PK\x05\x06")
        struct.pack_into("<I", out, eocd + 12, struct.unpack_from("<I", out, eocd + 12)[0] + delta)
    return bytes(out)


def unicode_path(for_name, path):
    import zlib
    payload = b"\x01" + struct.pack("<I", zlib.crc32(for_name)) + path.encode("utf-8")
    return struct.pack("<HH", 0x7075, len(payload)) + payload


def zip_cases():
    a, b = b"install.txt", b"\x95\x5c\x8e\x86.txt"
    members = [(a, b"type,skin\r\n"), (b, TEXT)]
    wanted = [(n, d) for n, d in members]
    plain = zip_bytes(members)
    eocd = plain.rfind(b"PK\x05\x06")
    cd = struct.unpack_from("<I", plain, eocd + 16)[0]
    cases = [("zip-plain.zip", 0, plain, wanted)]
    # The end record followed by a gap (bytes a tool appended after the archive).
    cases.append(("zip-eocd-gap.zip", 0, plain + b"\x00" * 64, wanted))
    cases.append(("zip-eocd-big-gap.zip", 0, plain + b"\x00" * 20000, wanted))
    # A zip64 end locator inside the archive comment, pointing nowhere.
    locator = b"PK\x06\x07" + struct.pack("<IQI", 0, 0x7FFFFFFF, 1)
    commented = zip_bytes(members, locator + b"   ")
    cases.append(("zip-zip64-locator-in-comment.zip", 0, commented, wanted))
    # A central directory with a bad signature, a wrong size, or at a wrong offset.
    bad_sig = bytearray(plain)
    bad_sig[cd:cd + 4] = b"PK\x01\x09"
    cases.append(("zip-cd-bad-signature.zip", 0, bytes(bad_sig), wanted))
    for name, delta in (("zip-cd-size-short.zip", -10), ("zip-cd-size-long.zip", 10)):
        wrong = bytearray(plain)
        struct.pack_into("<I", wrong, eocd + 12, struct.unpack_from("<I", plain, eocd + 12)[0] + delta)
        cases.append((name, 0, bytes(wrong), wanted))
    empty = bytearray(plain)
    struct.pack_into("<HHI", empty, eocd + 8, 0, 0, 0)
    cases.append(("zip-cd-empty.zip", 0, bytes(empty), wanted))
    after = bytearray(plain)
    struct.pack_into("<I", after, eocd + 16, eocd)
    struct.pack_into("<I", after, eocd + 12, 0)
    cases.append(("zip-cd-offset-at-end.zip", 0, bytes(after), wanted))
    displaced = bytearray(plain)
    struct.pack_into("<I", displaced, eocd + 16, cd + 7)
    cases.append(("zip-cd-displaced.zip", 0, bytes(displaced), wanted))
    # Extra fields with padding after the last whole field (as aligning tools leave them).
    for pad in (1, 2, 3):
        cases.append(("zip-extra-padding-%d.zip" % pad, 0,
                      with_extra(plain, b, local_extra=struct.pack("<HH", 0xCAFE, 0) + b"\x00" * pad), wanted))
    cases.append(("zip-extra-padding-central.zip", 0,
                  with_extra(plain, b, central_extra=b"\x00" * 3), wanted))
    # A Unicode-path field in the local header that disagrees with the central name.
    disagree = with_extra(plain, b, local_extra=unicode_path(b, "local.txt"),
                          central_extra=unicode_path(b, "\u8868\u7d19.txt"))
    cases.append(("zip-unicode-path-disagrees.zip", 0, disagree, wanted))
    # The directory's Unicode-path field names the member (its own name is the fallback).
    renamed = with_extra(plain, b, central_extra=unicode_path(b, "\u8868\u7d19\u0032.txt"))
    cases.append(("zip-unicode-path-central.zip", 0, renamed, [(a, members[0][1]), (b"\x95\x5c\x8e\x862.txt", TEXT)]))
    return cases


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
    write(out, lzh_cases(payloads) + zip_cases())


if __name__ == "__main__":
    main()
