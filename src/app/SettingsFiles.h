// tumblecat.cfg and the four list files: the settings carried from one run to the next.
//
// tumblecat.cfg holds eleven lines, each read whole whatever its length (what is written
// reads back the same); some settings are packed into the bits of one number (line 2:
// automatic dropping in bit 7 and its minutes in bits 0-6; line 4: 1 when SSTP over TCP is
// turned off, 0 otherwise (a file from before it reads as on); line 8: opacity in bits 0-7,
// transparency in bit 8, "written by us" in bit 9, transparent falling objects in bit 10).
// A twelfth line, written only when it differs from its start value so that files of
// default settings stay as they were, holds the cat's size: 1, 2 or 3 times, or 0 to follow
// the display (older readers stop after eleven lines).
// A list file holds one record per line: id, text and folder joined by the byte 0x01.
#pragma once

#include <string>
#include <string_view>

#include "interop/Directory.h"
#include "skin/Element.h"

namespace tc {

constexpr int kSizeFollowDisplay = 0;
constexpr int kLargestSize = 3;

// The settings persisted in tumblecat.cfg, with their start values. The character window
// derives from this record, so these are members of the window as well.
struct CharacterSettings {
    int m_posX = 0;
    std::string m_skinName = "whiskerby";
    bool m_autoDrop = false;
    int m_autoDropMinutes = 10;
    int m_reactionMethod = 0;
    int m_sstpPort = 9801;
    bool m_sstpTcpDoor = true;  // SSTP requests are also taken on 127.0.0.1:9801
    bool m_noConsecutiveDrop = true;
    int m_alpha = 255;
    bool m_transparent = false;
    bool m_transparentDroplings = false;
    bool m_alwaysOnTop = true;
    std::string m_target = kTargetRandom;
    int m_size = kSizeFollowDisplay;  // 1 to 3 times the pictures' own size, or follow the display
};

// Applies the lines of a tumblecat.cfg (its stored bytes) to settings, which must hold the
// start values. Settings whose lines are missing keep them.
void ApplySettingsFile(std::string_view fileBytes, CharacterSettings& settings);

// The tumblecat.cfg text for settings, with CR LF line ends.
std::string FormatSettingsFile(const CharacterSettings& settings);

// Appends the records of a list file (its stored bytes) to list. Returns false when a line
// lacks its two 0x01 separators; the records before it stay appended.
bool ParseListFile(std::string_view fileBytes, ElementList& list);

// The list file text for list, with CR LF line ends.
std::string FormatListFile(const ElementList& list);

}  // namespace tc
