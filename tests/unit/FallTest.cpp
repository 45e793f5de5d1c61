// The fall of an object step by step: it lands on the head it aims at, bounces, leaves, and
// always ends; and where targets are and how hit characters are told.
#include <gtest/gtest.h>

#include "falling/Fall.h"
#include "falling/HitRequests.h"
#include "falling/Targets.h"

namespace tc {
namespace {

const Rect kScreen{0, 0, 1024, 768};
constexpr double kFrame = 1.0 / 60;

struct FallRun {
    int hitFrame = -1;
    double hitBottom = 0;
    double hitMiddle = 0;
    int frames = 0;
    double lowestBottomBeforeHit = -1e9;
};

// Steps until the object is gone, with the landing given per frame.
template <typename LandingAt>
FallRun RunFall(FallState& state, LandingAt landingAt, const FallKnobs& knobs = {}, double dt = kFrame) {
    FallRun run;
    while (state.phase != FallPhase::Gone && run.frames < 100000) {
        const bool hit = StepFall(state, landingAt(run.frames), knobs, kScreen, dt);
        if (run.hitFrame < 0) run.lowestBottomBeforeHit = std::max(run.lowestBottomBeforeHit, state.y + state.height);
        if (hit) {
            EXPECT_LT(run.hitFrame, 0) << "one hit per fall";
            run.hitFrame = run.frames;
            run.hitBottom = state.y + state.height;
            run.hitMiddle = state.x + state.width / 2.0;
        }
        ++run.frames;
    }
    return run;
}

TEST(FallTest, StartsOutOfSightAboveTheHead) {
    const FallState state = StartFall(40, 30, {500, 300}, kScreen, 20, 1);
    EXPECT_EQ(FallPosition(state), (Point{280, -50}));
    EXPECT_EQ(state.phase, FallPhase::Falling);
}

TEST(FallTest, LandsOnTheHeadOnceAndEndsBelowTheScreen) {
    const Landing head{500, 300};
    FallState state = StartFall(40, 30, head, kScreen, 0, 1);
    const FallRun run = RunFall(state, [&](int) { return head; });
    ASSERT_GE(run.hitFrame, 0);
    EXPECT_DOUBLE_EQ(run.hitBottom, 500) << "the object's bottom rests on the head";
    EXPECT_LE(run.lowestBottomBeforeHit, 500.0) << "never sinks into the head before the hit";
    EXPECT_EQ(state.landings, FallKnobs{}.bounces + 1);
    EXPECT_GE(state.y, kScreen.bottom) << "it fell off the bottom";
    EXPECT_GT(state.x, 300 - 20) << "tipped off to the right";
    EXPECT_LT(state.elapsed, 4.0);
}

TEST(FallTest, FallsForAboutTheTimeGravityGives) {
    // From just above the screen to 500 px below its top: sqrt(2 * 500 / 2000) s.
    FallState state = StartFall(40, 30, {500, 300}, kScreen, 0, 1);
    const FallRun run = RunFall(state, [](int) { return Landing{500, 300}; });
    EXPECT_NEAR((run.hitFrame + 1) * kFrame, 0.707, 0.02);
}

TEST(FallTest, FadesWhereItRestsWhenTheSetSaysSo) {
    FallKnobs knobs;
    knobs.leave = Leave::Fade;
    knobs.bounces = 1;
    FallState state = StartFall(40, 30, {500, 300}, kScreen, 0, 1);
    const FallRun run = RunFall(state, [](int) { return Landing{500, 300}; }, knobs);
    EXPECT_GE(run.hitFrame, 0);
    EXPECT_DOUBLE_EQ(state.y + state.height, 500) << "still on the head";
    EXPECT_EQ(state.opacity, 0);
}

TEST(FallTest, FollowsAHeadThatMoves) {
    FallState state = StartFall(40, 30, {500, 300}, kScreen, 0, 1);
    const FallRun run = RunFall(state, [](int frame) { return Landing{500, frame < 20 ? 300 : 600}; });
    ASSERT_GE(run.hitFrame, 0);
    EXPECT_NEAR(run.hitMiddle, 600, 10) << "it hit the head where the head went";
}

TEST(FallTest, AHeadThatJumpsAboveTheObjectLetsItFallOffTheScreen) {
    FallState state = StartFall(40, 30, {500, 300}, kScreen, 0, 1);
    const FallRun run = RunFall(state, [](int frame) { return Landing{frame < 30 ? 500 : 100, 300}; });
    EXPECT_LT(run.hitFrame, 0) << "no hit";
    EXPECT_EQ(state.phase, FallPhase::Gone);
}

TEST(FallTest, SlowAndStalledFramesLandOnTheSameHead) {
    for (double dt : {1.0 / 240, 1.0 / 30, 0.5}) {
        FallState state = StartFall(40, 30, {700, 300}, kScreen, 0, -1);
        const FallRun run = RunFall(state, [](int) { return Landing{700, 300}; }, FallKnobs{}, dt);
        EXPECT_DOUBLE_EQ(run.hitBottom, 700) << dt;
        EXPECT_EQ(state.phase, FallPhase::Gone) << dt;
    }
}

TEST(FallTest, EveryFallEndsWithinTheBound) {
    // A surface below the screen that the object can never pass: only the bound ends it.
    FallKnobs knobs;
    knobs.gravity = kMinGravity;
    FallState state = StartFall(40, 30, {100000, 300}, {0, 0, 1024, 100000000}, 0, 1);
    const FallRun run = RunFall(state, [](int) { return Landing{100000, 300}; }, knobs);
    EXPECT_EQ(state.phase, FallPhase::Gone);
    EXPECT_LE(run.frames * kFrame, kMaxFallSeconds + kFrame);
}

TEST(TargetsTest, NamesResolveToShownCharactersAndTheCatToItsWindow) {
    const std::vector<CharacterWindow> characters = {
        {"A", 11, false}, {"A", 12, true}, {"B", 13, true}, {"Gone", 0, true}};
    EXPECT_EQ(ResolveTarget("A", characters, 99), (ResolvedTarget{TargetKind::Character, 12}));
    EXPECT_EQ(ResolveTarget("B", characters, 99), (ResolvedTarget{TargetKind::Character, 13}));
    EXPECT_EQ(ResolveTarget("b", characters, 99), ResolvedTarget{}) << "byte for byte";
    EXPECT_EQ(ResolveTarget("Gone", characters, 99), ResolvedTarget{});
    EXPECT_EQ(ResolveTarget("%nek:whiskerby", characters, 99), (ResolvedTarget{TargetKind::Cat, 99}));
    EXPECT_EQ(ResolveTarget("%nek:whiskerby", characters, 0), ResolvedTarget{});
}

TEST(TargetsTest, ACharacterIsHitOnTheTopOfItsShapeAcrossItsMiddle) {
    const Rect window{100, 200, 200, 300};
    EXPECT_EQ(ShapeLanding(window, {}).surfaceY, 200) << "an unshaped window: its top";
    // An ear at the left edge reaches higher than the head in the middle.
    const std::vector<Rect> shape = {{0, 5, 10, 6}, {20, 15, 80, 16}, {0, 16, 100, 100}};
    const Landing landing = ShapeLanding(window, shape);
    EXPECT_EQ(landing.surfaceY, 215);
    EXPECT_EQ(landing.centerX, 150);
    EXPECT_EQ(HeadLanding(window, {29, 11, 133, 99}).surfaceY, 211);
    EXPECT_EQ(HeadLanding(window, {29, 11, 133, 99}).centerX, 181);
    EXPECT_EQ(FloorLanding(kScreen, 40).surfaceY, 768);
}

TEST(TargetsTest, TheRectangleAnswerIsFourNumbers) {
    EXPECT_EQ(ParseRectangleAnswer("29,11,133,99"), (Rect{29, 11, 133, 99}));
    EXPECT_EQ(ParseRectangleAnswer("-5,-6,7,8"), (Rect{-5, -6, 7, 8}));
    for (const char* bad : {"", "1,2,3", "1,2,3,4,5", "1,2,3,x", "a,b,c,d", "1, 2,3,4", "0,0,0,0", "5,5,1,9",
                            "1,2,3,12345678"}) {
        EXPECT_FALSE(ParseRectangleAnswer(bad)) << bad;
    }
}

TEST(HitRequestsTest, SendCarriesTheLineFromTheSet) {
    const HitReport hit{"Yarn", "yarn", "A", "Ouch"};
    EXPECT_EQ(FormatHitSend(hit, 1234),
              "SEND SSTP/1.1\r\nSender: Yarn\r\nScript: Ouch\\e\r\nCharset: SJIS\r\nHWnd: 1234\r\n\r\n");
    EXPECT_EQ(FormatHitSend({"Yarn", "yarn", "A", "Ouch\\e"}, 0),
              "SEND SSTP/1.1\r\nSender: Yarn\r\nScript: Ouch\\e\r\nCharset: SJIS\r\n\r\n")
        << "no second \\e, and no HWnd over TCP";
    // 表 (0x95 0x5C) then "e": a backslash byte that is no backslash.
    EXPECT_NE(FormatHitSend({"Y", "y", "A", "\x95\x5C" "e"}, 0).find("Script: \x95\x5C" "e\\e\r\n"), std::string::npos);
}

TEST(HitRequestsTest, NotifyNamesTheEventAndItsReferences) {
    EXPECT_EQ(FormatHitNotify({"Yarn", "yarn", "%nek:whiskerby", "Ouch"}, 7),
              "NOTIFY SSTP/1.1\r\nSender: Yarn\r\nEvent: OnDroplingHit\r\nReference0: Yarn\r\nReference1: yarn\r\n"
              "Reference2: %nek:whiskerby\r\nReference3: Ouch\r\nCharset: SJIS\r\nHWnd: 7\r\n\r\n");
}

TEST(HitRequestsTest, ValuesCannotAddHeadersAndLongScriptsAreCutWhole) {
    const std::string send = FormatHitSend({"Y\r\nHWnd: 1", "y", "A", "a\nb"}, 0);
    EXPECT_EQ(send, "SEND SSTP/1.1\r\nSender: Y  HWnd: 1\r\nScript: a b\\e\r\nCharset: SJIS\r\n\r\n");
    std::string longLine(999, 'x');
    longLine += "\x82\xA0";  // a double-byte character across the limit
    const std::string cut = FormatHitSend({"Y", "y", "A", longLine}, 0);
    EXPECT_NE(cut.find("Script: " + std::string(998, 'x') + "\\e\r\n"), std::string::npos);
}

}  // namespace
}  // namespace tc
