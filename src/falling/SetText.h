// dropling.txt, the descriptor of a falling-object set (Shift_JIS, CR LF), read as sections:
// a line "#word" opens the section named word (any case), and the lines up to the next such
// line belong to it. Sections read here:
//
//   #name       the display name on the next line; the cat's lists read it (with the older
//               "name,<name>" line before any section), this reader only skips it
//   #reaction   one SSTP script per line, sent to a character the object hits
//   #profile    free text about the set, kept line by line
//   #physics    "key,value" lines: gravity (pixels per second squared), bounce (percent of
//               the speed kept by a bounce), bounces (how often the object bounces before
//               it leaves), leave (fall: it tips off and falls off the screen; fade: it rests
//               and fades out)
//
// Lines before the first section other than "name," and every line of an unknown section are
// ignored, so older files and files written for a newer program read the same. Every line is
// read, the last one also without its line end.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tc {

enum class Leave { Fall, Fade };

struct FallKnobs {
    int gravity = 2000;      // pixels per second squared
    int bouncePercent = 45;  // of the landing speed, kept going up
    int bounces = 2;         // bounces on the head before the object leaves
    Leave leave = Leave::Fall;
    bool operator==(const FallKnobs&) const = default;
};

// Limits a knob read from a file is held to.
constexpr int kMinGravity = 300, kMaxGravity = 6000;
constexpr int kMinBouncePercent = 10, kMaxBouncePercent = 90;
constexpr int kMinBounces = 0, kMaxBounces = 3;

struct SetText {
    std::vector<std::string> reactions;  // non-blank lines, without line ends
    std::string profile;                 // every line followed by CR LF, blank tail lines dropped
    FallKnobs knobs;
    bool operator==(const SetText&) const = default;
};

SetText ReadSetText(std::string_view droplingTxt);

}  // namespace tc
