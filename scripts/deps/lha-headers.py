#!/usr/bin/env python3
"""Makes libarchive's LHA reader take the valid LZH headers it refuses (checked up to 3.7.4):

- a level-1 or level-2 header whose attribute byte is not 0x20: Amiga, MorphOS, X68000 and
  OS/2 archivers keep their own attribute bits there, and the reader's header test (used to
  find the archive and to accept each member) asked for the MS-DOS value 0x20. Such a
  header is taken when its declared size can hold its fixed part;
- a level-2 header without the header-CRC extension (Atari archivers write none): the CRC is
  checked only when the header carries one.

    lha-headers.py <libarchive source folder>

Each change is made once, by exact text; the script fails when the text is not found."""
import sys

FILE = "libarchive/archive_read_support_format_lha.c"

CHANGES = [
    ("#define CRC_IS_SET\t\t8\n",
     "#define CRC_IS_SET\t\t8\n#define HEADER_CRC_IS_SET\t16\n"),
    ("\t\t\tif (p[H_LEVEL_OFFSET] <= 3 && p[H_ATTR_OFFSET] == 0x20)\n\t\t\t\treturn (0);\n",
     "\t\t\tif (p[H_LEVEL_OFFSET] <= 3 && p[H_ATTR_OFFSET] == 0x20)\n\t\t\t\treturn (0);\n"
     "\t\t\t/* Other attribute bytes: levels 1 and 2 of non-DOS archivers. */\n"
     "\t\t\tif (p[H_LEVEL_OFFSET] == 1 && p[0] >= 25)\n\t\t\t\treturn (0);\n"
     "\t\t\tif (p[H_LEVEL_OFFSET] == 2 && (p[0] | (p[1] << 8)) >= 24)\n\t\t\t\treturn (0);\n"),
    ("\t\t\t\tlha->header_crc = archive_le16dec(extdheader);\n",
     "\t\t\t\tlha->header_crc = archive_le16dec(extdheader);\n\t\t\t\tlha->setflag |= HEADER_CRC_IS_SET;\n"),
    ("\t}\n\n\tif (header_crc != lha->header_crc) {\n#ifndef DONT_FAIL_ON_CRC_ERROR\n"
     "\t\tarchive_set_error(&a->archive, ARCHIVE_ERRNO_FILE_FORMAT,\n\t\t    \"LHa header CRC error\");\n"
     "\t\treturn (ARCHIVE_FATAL);\n#endif\n\t}\n\treturn (err);\n}\n\n/*\n * Header 3 format",
     "\t}\n\n\tif ((lha->setflag & HEADER_CRC_IS_SET) && header_crc != lha->header_crc) {\n"
     "#ifndef DONT_FAIL_ON_CRC_ERROR\n"
     "\t\tarchive_set_error(&a->archive, ARCHIVE_ERRNO_FILE_FORMAT,\n\t\t    \"LHa header CRC error\");\n"
     "\t\treturn (ARCHIVE_FATAL);\n#endif\n\t}\n\treturn (err);\n}\n\n/*\n * Header 3 format"),
]


def main():
    path = sys.argv[1] + "/" + FILE
    text = open(path, encoding="latin-1").read()
    for old, new in CHANGES:
        if text.count(old) != 1:
            sys.exit("lha-headers.py: the text to change was not found once in " + FILE + ":\n" + old)
        text = text.replace(old, new)
    open(path, "w", encoding="latin-1").write(text)


if __name__ == "__main__":
    main()
