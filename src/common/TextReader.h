// Reading text files the way the C runtime reads them in text mode with fgets: CR LF
// becomes LF, a line is read up to and including its line feed or until the buffer is
// full (a longer line comes in pieces), and the end-of-file flag is set only by a read
// that ran into the end of the data. The file formats of the system depend on exactly
// these rules (for instance, a last line without a line feed is often not applied).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tc {

class TextReader {
public:
    // rawBytes: the whole file as stored; line ends are translated here.
    explicit TextReader(std::string_view rawBytes);

    // Reads one line of at most bufferSize - 1 bytes into line, as fgets with a buffer of
    // bufferSize bytes does. Returns false, leaving line untouched, when no byte was left.
    bool ReadLine(std::string& line, std::size_t bufferSize = 1024);

    // As ReadLine, for texts that are shown or said: a piece of a longer line ends between
    // two characters, so a lead byte that would end it starts the next piece instead (its
    // trail byte may be 0x5C, which alone would read as a backslash).
    bool ReadTextLine(std::string& line, std::size_t bufferSize = 1024);

    // True once a read has run into the end of the data (feof).
    bool AtEnd() const { return m_atEnd; }

private:
    std::string m_text;
    std::size_t m_pos = 0;
    bool m_atEnd = false;
};

// Removes one trailing line feed, if there is one.
void DropTrailingLineFeed(std::string& line);

// The first line of a text file (at most 1023 bytes), without its line feed; empty for an
// empty file.
std::string FirstLineOf(std::string_view rawBytes);

// Reads a number as atoi does: leading white space, an optional sign, decimal digits up to
// the first other character; no digits gives 0. Values beyond the int range are clamped.
int ParseLenientInt(std::string_view text);

// Text written "in text mode": every LF becomes CR LF.
std::string ToCrLf(std::string_view text);

}  // namespace tc
