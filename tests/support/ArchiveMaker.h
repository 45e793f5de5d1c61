// Small LZH and ZIP archives made in memory for the tests, the fuzz seeds and the benchmark,
// with exactly the names (Shift_JIS or UTF-8 bytes), kinds and flags a case needs, including
// the hostile ones real archivers refuse to make. LZH members are stored (-lh0-, -lhd- for
// folders); ZIP members are stored or deflated.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tc::test {

struct LzhMember {
    std::string name;       // '/' separates folders (level 2 puts them in the folder field)
    std::string data;
    int level = 2;          // 0: the whole name as stored bytes, backslashes included
    bool directory = false;
    std::uint16_t unixMode = 0;  // level 2: a UNIX mode field (0120777 makes a link)
};
std::string MakeLzh(const std::vector<LzhMember>& members);

struct ZipMember {
    std::string name;
    std::string data;
    bool utf8Flag = false;  // general purpose bit 11: the name is UTF-8
    bool deflate = false;
    bool symlink = false;   // made on UNIX with a link's mode
    bool encrypted = false; // the traditional encryption flag (the data is not really encrypted)
};
std::string MakeZip(const std::vector<ZipMember>& members);

// CRC-16 (LZH) and CRC-32 (ZIP) of bytes.
std::uint16_t Crc16(const std::string& bytes);
std::uint32_t Crc32(const std::string& bytes);

}  // namespace tc::test
