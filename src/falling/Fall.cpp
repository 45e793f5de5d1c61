#include "falling/Fall.h"

#include <algorithm>
#include <cmath>

namespace tc {

namespace {

double TargetLeft(const FallState& state, const Landing& landing) {
    return landing.centerX - state.width / 2.0;
}

// Eases the object towards the middle of the head, so it follows a head that moves.
void KeepOver(FallState& state, const Landing& landing, double dt) {
    const double share = std::min(1.0, kFollowRate * dt);
    state.x += (TargetLeft(state, landing) - state.x) * share;
}

// The bottom may pass the surface by this much in one step and still land on it; further
// below, the head has moved up past the object, which then falls on.
double LandingTolerance(const FallState& state) { return std::max(24.0, state.height / 2.0); }

void Land(FallState& state, const Landing& landing, const FallKnobs& knobs) {
    state.y = landing.surfaceY - state.height;
    ++state.landings;
    const double up = state.vy * knobs.bouncePercent / 100.0;
    if (state.landings <= knobs.bounces && up >= kSmallestBounce) {
        state.vy = -up;  // a bounce
        return;
    }
    if (knobs.leave == Leave::Fade) {
        state.vy = 0;
        state.phase = FallPhase::Resting;
        return;
    }
    // Tips off the head with a little hop and falls past it.
    state.vy = -std::max(up * 0.5, kSmallestBounce);
    state.vx = kTipOffSpeed * state.tipDirection;
    state.phase = FallPhase::Leaving;
}

bool StepFalling(FallState& state, const Landing& landing, const FallKnobs& knobs, double dt) {
    const double bottomBefore = state.y + state.height;
    state.vy += knobs.gravity * dt;
    state.y += state.vy * dt;
    KeepOver(state, landing, dt);
    const double bottom = state.y + state.height;
    const bool reaches = state.vy > 0 && bottom >= landing.surfaceY;
    const bool notPast = bottomBefore <= landing.surfaceY + LandingTolerance(state);
    if (!reaches || !notPast) return false;
    const bool first = state.landings == 0;
    Land(state, landing, knobs);
    return first;
}

void StepResting(FallState& state, const Landing& landing, double dt) {
    state.y = landing.surfaceY - state.height;  // rides on the head while it fades
    KeepOver(state, landing, dt);
    state.opacity -= dt / kFadeSeconds;
    if (state.opacity <= 0) {
        state.opacity = 0;
        state.phase = FallPhase::Gone;
    }
}

void StepLeaving(FallState& state, const FallKnobs& knobs, const Rect& screen, double dt) {
    state.vy += knobs.gravity * dt;
    state.y += state.vy * dt;
    state.x += state.vx * dt;
    if (state.y >= screen.bottom) state.phase = FallPhase::Gone;
}

}  // namespace

FallState StartFall(int width, int height, const Landing& landing, const Rect& screen, int gap, int tipDirection) {
    FallState state;
    state.width = width;
    state.height = height;
    state.x = TargetLeft(state, landing);
    state.y = screen.top - height - std::max(gap, 0);
    state.tipDirection = tipDirection < 0 ? -1 : 1;
    return state;
}

bool StepFall(FallState& state, const Landing& landing, const FallKnobs& knobs, const Rect& screen, double dt) {
    if (state.phase == FallPhase::Gone) return false;
    dt = std::clamp(dt, 0.0, kMaxStepSeconds);
    state.elapsed += dt;
    bool hit = false;
    switch (state.phase) {
    case FallPhase::Falling:
        hit = StepFalling(state, landing, knobs, dt);
        // Nothing to land on any more (a head that moved up past it, say): off the screen.
        if (state.phase == FallPhase::Falling && state.y >= screen.bottom) state.phase = FallPhase::Gone;
        break;
    case FallPhase::Resting:
        StepResting(state, landing, dt);
        break;
    case FallPhase::Leaving:
        StepLeaving(state, knobs, screen, dt);
        break;
    case FallPhase::Gone:
        break;
    }
    if (state.elapsed >= kMaxFallSeconds) state.phase = FallPhase::Gone;
    return hit;
}

Point FallPosition(const FallState& state) {
    return {static_cast<int>(std::lround(state.x)), static_cast<int>(std::lround(state.y))};
}

}  // namespace tc
