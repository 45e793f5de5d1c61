#include "archivers/ArchiverCommand.h"

#include "archivers/ResultCodes.h"
#include "common/Sjis.h"

namespace tc::archivers {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

unsigned char Fold(unsigned char c) { return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c; }

// The pattern with every backslash that is a character of its own made a slash.
std::string NormalisePattern(std::string_view pattern) { return ReplaceSjisChar(pattern, '\\', '/'); }

// Wildcard match, character by character; '*' and '?' stand for whole characters.
bool Match(std::string_view pattern, std::string_view name) {
    std::size_t p = 0, n = 0;
    std::size_t starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = ++p;
            starN = n;
            continue;
        }
        if (p < pattern.size()) {
            const std::size_t pw = SjisCharWidth(pattern, p);
            const std::size_t nw = SjisCharWidth(name, n);
            bool same = false;
            if (pw == 1 && pattern[p] == '?') {
                same = true;
            } else if (pw == nw) {
                same = pw == 1 ? Fold(static_cast<unsigned char>(pattern[p])) == Fold(static_cast<unsigned char>(name[n]))
                               : pattern.substr(p, 2) == name.substr(n, 2);
            }
            if (same) {
                p += pw;
                n += nw;
                continue;
            }
        }
        if (starP == std::string_view::npos) return false;
        p = starP;
        starN += SjisCharWidth(name, starN);
        n = starN;
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

std::string Joined(const std::vector<std::string>& parts) {
    std::string path;
    for (const std::string& part : parts) {
        if (!path.empty()) path += '/';
        path += part;
    }
    return path;
}

bool IsSwitch(const std::string& word) { return !word.empty() && word[0] == '-'; }

}  // namespace

std::vector<std::string> SplitCommandWords(std::string_view text) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsBlank(text[i])) ++i;
        if (i >= text.size()) break;
        std::string word;
        bool quoted = false;
        while (i < text.size() && (quoted || !IsBlank(text[i]))) {
            const std::size_t width = SjisCharWidth(text, i);
            if (width == 1 && text[i] == '"') {
                quoted = !quoted;
            } else {
                word.append(text.substr(i, width));
            }
            i += width;
        }
        words.push_back(std::move(word));
    }
    return words;
}

bool EndsInSeparator(std::string_view text) {
    if (text.empty()) return false;
    std::size_t last = 0;
    for (std::size_t i = 0; i < text.size(); i += SjisCharWidth(text, i)) last = i;
    return SjisCharWidth(text, last) == 1 && (text[last] == '\\' || text[last] == '/');
}

ParsedCommand ParseLhaCommand(std::string_view text) {
    ParsedCommand parsed;
    ArchiverRequest& request = parsed.request;
    const std::vector<std::string> words = SplitCommandWords(text);
    if (words.empty() || words[0].size() != 1) return {kBadCommand, {}};
    switch (Fold(static_cast<unsigned char>(words[0][0]))) {
    case 'e': request.keepFolders = false; break;
    case 'x': request.keepFolders = true; break;
    case 't': request.mode = CommandMode::Test; break;
    case 'l': request.mode = CommandMode::List; break;
    default: return {kBadCommand, {}};
    }
    request.patternsMatchWholePath = false;
    bool haveDestination = false;
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (IsSwitch(word)) return {kBadCommand, {}};
        if (request.archive.empty()) {
            request.archive = word;
        } else if (!haveDestination && EndsInSeparator(word)) {
            request.destination = word;
            haveDestination = true;
        } else {
            request.patterns.push_back(word);
        }
    }
    if (request.archive.empty()) return {kNoArchiveName, {}};
    return parsed;
}

ParsedCommand ParseZipCommand(std::string_view text) {
    ParsedCommand parsed;
    ArchiverRequest& request = parsed.request;
    const std::vector<std::string> words = SplitCommandWords(text);
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (IsSwitch(word)) {
            if (word == "-l") {
                request.mode = CommandMode::List;
            } else if (word == "-t") {
                request.mode = CommandMode::Test;
            } else if (word == "-j") {
                request.keepFolders = false;
            } else if (word == "-d" && i + 1 < words.size() && !words[i + 1].empty()) {
                request.destination = words[++i];
            } else {
                return {kBadCommand, {}};
            }
        } else if (request.archive.empty()) {
            request.archive = word;
        } else {
            request.patterns.push_back(word);
        }
    }
    if (request.archive.empty()) return {kNoArchiveName, {}};
    return parsed;
}

ParsedCommand ParseCommand(ArchiverKind kind, std::string_view text) {
    return kind == ArchiverKind::Lzh ? ParseLhaCommand(text) : ParseZipCommand(text);
}

bool MatchesPattern(std::string_view pattern, const std::vector<std::string>& memberParts, bool wholePath) {
    const std::string normal = NormalisePattern(pattern);
    if (normal == "*.*" || normal == "*") return true;
    if (memberParts.empty()) return false;
    if (!wholePath && FindSjisChar(normal, '/') == std::string::npos) return Match(normal, memberParts.back());
    return Match(normal, Joined(memberParts));
}

bool IsChosen(const ArchiverRequest& request, const std::vector<std::string>& memberParts) {
    if (request.patterns.empty()) return true;
    for (const std::string& pattern : request.patterns) {
        if (MatchesPattern(pattern, memberParts, request.patternsMatchWholePath)) return true;
    }
    return false;
}

}  // namespace tc::archivers
