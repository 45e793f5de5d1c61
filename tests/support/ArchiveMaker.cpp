#include "support/ArchiveMaker.h"

#include <zlib.h>

#include <stdexcept>

namespace tc::test {

namespace {

void Put16(std::string& out, unsigned value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void Put32(std::string& out, std::uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

void Patch16(std::string& out, std::size_t at, unsigned value) {
    out[at] = static_cast<char>(value & 0xFF);
    out[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}

std::string Deflated(const std::string& data) {
    z_stream z{};
    if (deflateInit2(&z, 6, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) throw std::runtime_error("deflate");
    std::string out(deflateBound(&z, static_cast<uLong>(data.size())), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

void LzhLevel0(std::string& out, const LzhMember& m) {
    std::string h;
    h += '\0';  // size, patched
    h += '\0';  // sum, patched
    h += m.directory ? "-lhd-" : "-lh0-";
    Put32(h, static_cast<std::uint32_t>(m.data.size()));
    Put32(h, static_cast<std::uint32_t>(m.data.size()));
    Put32(h, 0x5A210000);  // 2025-01-01 00:00 in MS-DOS form
    h += '\x20';
    h += '\0';  // level 0
    h += static_cast<char>(m.name.size());
    h += m.name;
    Put16(h, Crc16(m.data));
    h[0] = static_cast<char>(h.size() - 2);
    unsigned sum = 0;
    for (std::size_t i = 2; i < h.size(); ++i) sum += static_cast<unsigned char>(h[i]);
    h[1] = static_cast<char>(sum & 0xFF);
    out += h + m.data;
}

void LzhExtension(std::string& h, char type, const std::string& data) {
    Put16(h, static_cast<unsigned>(data.size() + 3));
    h += type;
    h += data;
}

void LzhLevel2(std::string& out, const LzhMember& m) {
    std::string folder, file = m.name;
    const std::size_t slash = m.name.rfind('/');
    if (slash != std::string::npos) {
        folder = m.name.substr(0, slash + 1);
        file = m.name.substr(slash + 1);
        for (char& c : folder) {
            if (c == '/') c = '\xFF';
        }
    }
    std::string h;
    Put16(h, 0);  // size, patched
    h += m.directory ? "-lhd-" : "-lh0-";
    Put32(h, static_cast<std::uint32_t>(m.data.size()));
    Put32(h, static_cast<std::uint32_t>(m.data.size()));
    Put32(h, 1735689600);  // 2025-01-01 00:00 UTC
    h += '\x20';
    h += '\x02';
    Put16(h, Crc16(m.data));
    h += 'M';
    const std::size_t crcAt = h.size() + 3;
    LzhExtension(h, '\x00', std::string(2, '\0'));
    if (!file.empty()) LzhExtension(h, '\x01', file);
    if (!folder.empty()) LzhExtension(h, '\x02', folder);
    if (m.unixMode) {
        std::string mode;
        Put16(mode, m.unixMode);
        LzhExtension(h, '\x50', mode);
    }
    Put16(h, 0);  // no further extension
    Patch16(h, 0, static_cast<unsigned>(h.size()));
    Patch16(h, crcAt, Crc16(h));
    out += h + m.data;
}

}  // namespace

std::uint16_t Crc16(const std::string& bytes) {
    unsigned crc = 0;
    for (unsigned char c : bytes) {
        crc ^= c;
        for (int i = 0; i < 8; ++i) crc = (crc & 1) ? (crc >> 1) ^ 0xA001 : crc >> 1;
    }
    return static_cast<std::uint16_t>(crc);
}

std::uint32_t Crc32(const std::string& bytes) {
    return static_cast<std::uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size())));
}

std::string MakeLzh(const std::vector<LzhMember>& members) {
    std::string out;
    for (const LzhMember& m : members) {
        if (m.level == 0) {
            LzhLevel0(out, m);
        } else {
            LzhLevel2(out, m);
        }
    }
    out += '\0';
    return out;
}

std::string MakeZip(const std::vector<ZipMember>& members) {
    std::string out, central;
    for (const ZipMember& m : members) {
        const std::string stored = m.deflate ? Deflated(m.data) : m.data;
        const unsigned flags = (m.utf8Flag ? 0x0800 : 0) | (m.encrypted ? 0x0001 : 0);
        const unsigned method = m.deflate ? 8 : 0;
        const std::uint32_t offset = static_cast<std::uint32_t>(out.size());
        out += "PK\x03\x04";
        Put16(out, 20);
        Put16(out, flags);
        Put16(out, method);
        Put16(out, 0);       // time
        Put16(out, 0x5A21);  // date 2025-01-01
        Put32(out, Crc32(m.data));
        Put32(out, static_cast<std::uint32_t>(stored.size()));
        Put32(out, static_cast<std::uint32_t>(m.data.size()));
        Put16(out, static_cast<unsigned>(m.name.size()));
        Put16(out, 0);
        out += m.name + stored;

        central += "PK\x01\x02";
        Put16(central, m.symlink ? (3 << 8) | 20 : 20);
        Put16(central, 20);
        Put16(central, flags);
        Put16(central, method);
        Put16(central, 0);
        Put16(central, 0x5A21);
        Put32(central, Crc32(m.data));
        Put32(central, static_cast<std::uint32_t>(stored.size()));
        Put32(central, static_cast<std::uint32_t>(m.data.size()));
        Put16(central, static_cast<unsigned>(m.name.size()));
        Put16(central, 0);
        Put16(central, 0);
        Put16(central, 0);
        Put16(central, 0);
        Put32(central, m.symlink ? (0120777u << 16) : 0);
        Put32(central, offset);
        central += m.name;
    }
    const std::uint32_t centralAt = static_cast<std::uint32_t>(out.size());
    out += central;
    out += "PK\x05\x06";
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, static_cast<unsigned>(members.size()));
    Put16(out, static_cast<unsigned>(members.size()));
    Put32(out, static_cast<std::uint32_t>(central.size()));
    Put32(out, centralAt);
    Put16(out, 0);
    return out;
}

}  // namespace tc::test
