#include "common/TextReader.h"

#include <climits>

#include "common/Sjis.h"

namespace tc {

TextReader::TextReader(std::string_view rawBytes) {
    m_text.reserve(rawBytes.size());
    for (std::size_t i = 0; i < rawBytes.size(); ++i) {
        if (rawBytes[i] == '\r' && i + 1 < rawBytes.size() && rawBytes[i + 1] == '\n') continue;
        m_text.push_back(rawBytes[i]);
    }
}

bool TextReader::ReadLine(std::string& line, std::size_t bufferSize) {
    if (bufferSize < 2) return false;
    const std::size_t limit = bufferSize - 1;
    std::string piece;
    while (piece.size() < limit) {
        if (m_pos >= m_text.size()) {
            m_atEnd = true;
            break;
        }
        const char c = m_text[m_pos++];
        piece.push_back(c);
        if (c == '\n') break;
    }
    if (piece.empty()) return false;
    line = std::move(piece);
    return true;
}

bool TextReader::ReadTextLine(std::string& line, std::size_t bufferSize) {
    if (!ReadLine(line, bufferSize)) return false;
    if (line.size() < 2 || line.back() == '\n' || m_pos >= m_text.size() || m_text[m_pos] == '\n') return true;
    std::size_t i = 0;
    while (i + 1 < line.size()) i += IsSjisLeadByte(static_cast<unsigned char>(line[i])) ? 2 : 1;
    if (i + 1 == line.size() && IsSjisLeadByte(static_cast<unsigned char>(line.back()))) {
        line.pop_back();
        --m_pos;
    }
    return true;
}

void DropTrailingLineFeed(std::string& line) {
    if (!line.empty() && line.back() == '\n') line.pop_back();
}

std::string FirstLineOf(std::string_view rawBytes) {
    TextReader reader(rawBytes);
    std::string line;
    reader.ReadLine(line);
    DropTrailingLineFeed(line);
    return line;
}

int ParseLenientInt(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

std::string ToCrLf(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (char c : text) {
        if (c == '\n') out.push_back('\r');
        out.push_back(c);
    }
    return out;
}

}  // namespace tc
