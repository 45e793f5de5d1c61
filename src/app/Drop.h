// The parameter string of the falling-object program: "set~reaction~port~opacity~targets",
// where opacity carries the transparency switch in bit 8 and the targets are tokens each
// followed by "^". The cat's own token is "%nek:" followed by its skin folder name.
#pragma once

#include <string>

namespace tc {

constexpr const char* kDroplingProgram = "dropling.exe";
constexpr const char* kDroplingMutex = "dropling";
constexpr int kLaunchDelay = 200;
constexpr int kReturnPoseDelay = 1500;

std::string SelfTargetToken(const std::string& skinName);

std::string FormatDropParams(const std::string& set, int reactionMethod, int sstpPort, bool transparentDroplings,
                             int alpha, const std::string& targets);

}  // namespace tc
