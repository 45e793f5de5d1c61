// The parameter string the cat starts the falling-object program with; its form is agreed
// with the program in common/DroplingContract.h.
#pragma once

#include <string>

#include "common/DroplingContract.h"

namespace tc {

constexpr int kLaunchDelay = 200;
constexpr int kReturnPoseDelay = 1500;

std::string SelfTargetToken(const std::string& skinName);

std::string FormatDropParams(const std::string& set, int reactionMethod, int sstpPort, bool transparentDroplings,
                             int alpha, const std::string& targets);

}  // namespace tc
