#!/usr/bin/env python3
"""Zips a laid-out release folder reproducibly: every entry under one top folder, folders and
files in sorted order, one fixed time (the given epoch, as UTC) and MS-DOS attributes, so the
same files always give the same archive bytes.

usage: release-zip.py FOLDER ARCHIVE EPOCH
"""
import os
import sys
import time
import zipfile

DOS_DIRECTORY = 0x10


def entries(folder):
    """(name in the archive, path on disk or None for a folder), sorted by name."""
    top = os.path.basename(os.path.normpath(folder))
    found = [(top + "/", None)]
    for here, dirs, files in os.walk(folder):
        relative = os.path.relpath(here, folder)
        prefix = top + "/" if relative == "." else top + "/" + relative.replace(os.sep, "/") + "/"
        found += [(prefix + d + "/", None) for d in dirs]
        found += [(prefix + f, os.path.join(here, f)) for f in files]
    return sorted(found)


def main():
    folder, archive, epoch = sys.argv[1], sys.argv[2], int(sys.argv[3])
    stamp = time.gmtime(max(epoch, 315532800))[:6]  # zip times start in 1980
    with zipfile.ZipFile(archive + ".part", "w") as out:
        for name, path in entries(folder):
            info = zipfile.ZipInfo(name, stamp)
            info.create_system = 0
            if path is None:
                info.external_attr = DOS_DIRECTORY
                out.writestr(info, b"")
            else:
                info.compress_type = zipfile.ZIP_DEFLATED
                with open(path, "rb") as f:
                    out.writestr(info, f.read(), compresslevel=9)
    os.replace(archive + ".part", archive)


if __name__ == "__main__":
    main()
