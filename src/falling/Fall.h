// The fall of one object as a pure step function: given where its target's head is this
// frame, one step moves the object by dt seconds of gravity, lands it on the head (the hit),
// bounces it, and lets it leave, by tipping off and falling off the screen or by fading
// where it rests. Frames of any length give the same path within a pixel or so, and every
// fall ends: the object is gone once it is below the screen, faded out, or kMaxFallSeconds
// have passed.
#pragma once

#include "falling/SetText.h"
#include "platform/Geometry.h"

namespace tc {

constexpr double kMaxFallSeconds = 12.0;
constexpr double kMaxStepSeconds = 0.05;  // a stalled frame is not a jump
constexpr double kFadeSeconds = 0.6;
constexpr double kTipOffSpeed = 160.0;    // sideways, pixels per second
constexpr double kFollowRate = 10.0;      // per second: how fast the object keeps over the head
constexpr double kSmallestBounce = 90.0;  // a slower bounce is a landing that stays

// Where the object is to land this frame, in screen pixels.
struct Landing {
    int surfaceY = 0;  // the line its bottom meets: the head's top, or the screen's bottom
    int centerX = 0;   // the middle of the head
};

enum class FallPhase { Falling, Resting, Leaving, Gone };

struct FallState {
    double x = 0, y = 0;    // top-left corner of the object's window
    double vx = 0, vy = 0;  // pixels per second, down positive
    int width = 0, height = 0;
    int landings = 0;
    FallPhase phase = FallPhase::Falling;
    double opacity = 1.0;  // of the object's own opacity, 1 down to 0 while it fades
    double elapsed = 0;
    int tipDirection = 1;  // which side it tips off: 1 right, -1 left
};

// An object of the given size held above the top of the screen over the landing, gap pixels
// higher than just out of sight.
FallState StartFall(int width, int height, const Landing& landing, const Rect& screen, int gap, int tipDirection);

// One step of dt seconds. Returns true when this step made the first landing: the hit.
bool StepFall(FallState& state, const Landing& landing, const FallKnobs& knobs, const Rect& screen, double dt);

// The object's window position, rounded.
Point FallPosition(const FallState& state);

}  // namespace tc
