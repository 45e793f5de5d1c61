// What the cat and the falling-object program agree on, written by the one and read by the
// other: the program's file, the mutex it holds while it runs, and its parameter string
// "set~reaction~port~opacity~targets". Opacity is the alpha (0 to 255) plus kOpacityFlag when
// the objects are to be drawn with it; the targets are names each followed by "^", the cat's
// own being kCatTargetPrefix followed by its skin folder name.
#pragma once

#include <string_view>

namespace tc {

constexpr const char* kDroplingProgram = "dropling.exe";
constexpr const char* kDroplingMutex = "dropling";

constexpr char kDropFieldMark = '~';
constexpr char kTargetEndMark = '^';
constexpr std::string_view kCatTargetPrefix = "%nek:";
constexpr int kOpaque = 255;
constexpr int kOpacityFlag = 256;

}  // namespace tc
