#!/usr/bin/env python3
"""Makes the archives the install tests drop on the cat, with the real tools a user of the
cat would have made them with, in the folder given:

    三毛猫.zip   a skin made by Info-ZIP's zip from files whose names are Shift_JIS bytes
                 (folder 表, file 表紙.txt), as a Japanese Windows archiver stores them
    ぶち猫.lzh   a skin made by jlha (the Java LHA of jlha-utils), which stores Shift_JIS
    noinstall.zip  a skin without install.txt
    evil.zip     a skin with a member named ../evil.txt (Python's zipfile writes any name)
    corrupt.lzh  ぶち猫.lzh cut short in the middle of its second member
    large.zip    a skin with a member of 240 MB of zeros (small packed, slow to write)
    readme.txt   no archive at all

    make_archives.py <out folder> <folder with surface0.png and surface1.png>"""
import os
import shutil
import subprocess
import sys
import tempfile
import zipfile


def sjis(text):
    return text.encode("cp932")


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def skin_files(folder, surfaces, name, display):
    """The files of a skin in folder (bytes path); names of the members given in Shift_JIS."""
    write(os.path.join(folder, b"install.txt"), b"type,skin\r\ndirectory," + sjis(name) + b"\r\n")
    write(os.path.join(folder, b"profile.txt"), sjis(display) + b"\r\n" + sjis("テスト用のスキン") + b"\r\n")
    for n in (b"surface0.png", b"surface1.png"):
        shutil.copyfile(os.path.join(surfaces, n), os.path.join(folder, n))


def main():
    out, surfaces = os.fsencode(sys.argv[1]), os.fsencode(sys.argv[2])
    os.makedirs(out, exist_ok=True)
    work = os.fsencode(tempfile.mkdtemp())
    try:
        # Info-ZIP zip stores names as the bytes it is given when the locale is C.
        zipdir = os.path.join(work, b"zip")
        os.makedirs(os.path.join(zipdir, sjis("表")))
        skin_files(zipdir, surfaces, "三毛猫", "三毛ねこ")
        write(os.path.join(zipdir, sjis("表紙.txt")), sjis("表紙") + b"\r\n")
        write(os.path.join(zipdir, sjis("表"), sjis("説明.txt")), sjis("説明") + b"\r\n")
        env = dict(os.environ, LC_ALL="C")
        subprocess.run(["zip", "-q", "-r", "-X", os.path.join(out, "三毛猫.zip".encode()), "."], cwd=zipdir,
                       env=env, check=True)
        noinstall = os.path.join(work, b"noinstall")
        os.makedirs(noinstall)
        skin_files(noinstall, surfaces, "なし", "なし")
        os.remove(os.path.join(noinstall, b"install.txt"))
        subprocess.run(["zip", "-q", "-r", "-X", os.path.join(out, b"noinstall.zip"), "."], cwd=noinstall,
                       env=env, check=True)

        # jlha takes UTF-8 file names in a UTF-8 locale and stores them as Shift_JIS.
        lzhdir = os.path.join(work, b"lzh")
        skin = os.path.join(lzhdir, "ぶち猫".encode())
        os.makedirs(skin)
        skin_files(skin, surfaces, "ぶち猫", "ぶちねこ")
        write(os.path.join(skin, "表紙.txt".encode()), sjis("表紙") + b"\r\n")
        members = [os.path.join("ぶち猫".encode(), n) for n in
                   (b"install.txt", b"profile.txt", b"surface0.png", b"surface1.png", "表紙.txt".encode())]
        lzh = os.path.join(out, "ぶち猫.lzh".encode())
        subprocess.run(["jlha", "a", lzh] + members, cwd=lzhdir, env=dict(os.environ, LC_ALL="ja_JP.UTF-8"),
                       check=True, stdout=subprocess.DEVNULL)
        data = open(lzh, "rb").read()
        second = data.find(b"-lh", data.find(b"-lh") + 5)
        write(os.path.join(out, b"corrupt.lzh"), data[:second + 40])

        with zipfile.ZipFile(os.fsdecode(os.path.join(out, b"evil.zip")), "w") as z:
            z.writestr("install.txt", "type,skin\r\ndirectory,evil\r\n")
            z.writestr("profile.txt", "evil\r\n")
            z.writestr(zipfile.ZipInfo("../evil.txt"), "outside\r\n")
        with zipfile.ZipFile(os.fsdecode(os.path.join(out, b"large.zip")), "w", zipfile.ZIP_DEFLATED) as z:
            z.writestr("install.txt", "type,skin\r\ndirectory,large\r\n")
            z.writestr("profile.txt", "large\r\n")
            for name in (b"surface0.png", b"surface1.png"):
                z.write(os.path.join(surfaces, name), name.decode())
            with z.open("zeros.bin", "w", force_zip64=False) as member:
                block = bytes(1 << 20)
                for _ in range(240):
                    member.write(block)
        write(os.path.join(out, b"readme.txt"), b"not an archive\r\n")
    finally:
        shutil.rmtree(work)


if __name__ == "__main__":
    main()
