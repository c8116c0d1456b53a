// The scene: random speed changes, damping at each tick, step pacing, the bob,
// the GL state, the projection and what a frame draws.
#include <gtest/gtest.h>

#include <cmath>

#include "fake_platform.h"

namespace {

using kelbrin_test::Call;
using kelbrin_test::FakePlatform;

class SceneTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Kelbrin::ResetState();
        Kelbrin::UsePlatform(fake);
    }
    // A frame at the given tick count.
    void FrameAt(std::uint32_t tick) {
        fake.tick = tick;
        Kelbrin::RenderFrame();
    }
    // Two frames far enough apart: one arms, the next steps.
    void Step() {
        FrameAt(fake.tick);
        FrameAt(fake.tick + 10);
    }
    FakePlatform fake;
};

TEST_F(SceneTest, GeneratorStartsFromZeroAndNeverFromTheClock) {
    // state := state * 134775813 + 1; draw := upper half of state * n.
    const struct {
        std::uint32_t state;
        std::uint32_t draw;
    } expected[] = {{1u, 0u},          {134775814u, 3u},   {3698175007u, 86u},
                    {870078620u, 20u}, {1172187917u, 27u}, {2884733762u, 67u}};
    for (const auto& e : expected) {
        EXPECT_EQ(Kelbrin::RandomBelow(100), e.draw);
        EXPECT_EQ(Kelbrin::RandomState, e.state);
    }
    // The draw is the upper half of the full 64-bit product, whatever n is.
    Kelbrin::RandomState = 0;
    EXPECT_EQ(Kelbrin::RandomBelow(0xFFFFFFFFu), 0u);
    EXPECT_EQ(Kelbrin::RandomBelow(0xFFFFFFFFu), 134775813u);
}

TEST_F(SceneTest, FirstSpeedChangeFollowsTheUpdatedSpeedX) {
    // Draws 0, 3, 86: SpeedX = -0.1; SpeedY and SpeedZ start from that SpeedX,
    // not from their own old values.
    Kelbrin::Animating = true;
    Kelbrin::TimerTicks = 4;
    Kelbrin::SpeedY = 0.5f;
    Kelbrin::SpeedZ = 0.5f;
    Step();
    EXPECT_EQ(Kelbrin::TimerTicks, 0u);
    EXPECT_FLOAT_EQ(Kelbrin::SpeedX, -0.1f);
    EXPECT_FLOAT_EQ(Kelbrin::SpeedY, static_cast<float>(-0.1f + (3 - 50) / 500.0));
    EXPECT_FLOAT_EQ(Kelbrin::SpeedZ, static_cast<float>(-0.1f + (86 - 50) / 500.0));
    EXPECT_FLOAT_EQ(Kelbrin::SpeedY, -0.194f);
    EXPECT_FLOAT_EQ(Kelbrin::SpeedZ, -0.028f);
    // The same step already turns the quad by the new speeds.
    EXPECT_FLOAT_EQ(Kelbrin::AngleX, -0.1f);
    EXPECT_FLOAT_EQ(Kelbrin::AngleY, -0.194f);
    EXPECT_FLOAT_EQ(Kelbrin::AngleZ, -0.028f);
}

TEST_F(SceneTest, SpeedChangesOnlyAfterFourTicks) {
    const struct {
        std::uint32_t ticks;
        bool changes;
    } cases[] = {{0, false}, {3, false}, {4, true}, {9, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ticks);
        Kelbrin::ResetState();
        Kelbrin::Animating = true;
        Kelbrin::TimerTicks = c.ticks;
        Step();
        EXPECT_EQ(Kelbrin::RandomState != 0, c.changes);
        EXPECT_EQ(Kelbrin::TimerTicks, c.changes ? 0u : c.ticks);
        EXPECT_EQ(Kelbrin::SpeedX != 0.0f, c.changes);
    }
}

TEST_F(SceneTest, TimerTickDampsFastSpeeds) {
    const struct {
        float before;
        float after;
    } cases[] = {
        {0.7f, -0.2333333f}, {0.6f, -0.2f}, // the float 0.6 is 0.6000000238, above 0.6
        {0.59f, 0.59f},      {-0.7f, 0.2333333f}, {-0.6f, 0.2f}, {0.0f, 0.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.before);
        Kelbrin::ResetState();
        Kelbrin::SpeedX = Kelbrin::SpeedY = Kelbrin::SpeedZ = c.before;
        Kelbrin::OnTimerTick();
        EXPECT_FLOAT_EQ(Kelbrin::SpeedX, c.after);
        EXPECT_FLOAT_EQ(Kelbrin::SpeedY, c.after);
        EXPECT_FLOAT_EQ(Kelbrin::SpeedZ, c.after);
        EXPECT_EQ(Kelbrin::TimerTicks, 1u);
        EXPECT_TRUE(Kelbrin::Animating);
    }
    // Each speed is judged on its own.
    Kelbrin::SpeedX = 0.1f;
    Kelbrin::SpeedY = 0.9f;
    Kelbrin::SpeedZ = -0.61f;
    Kelbrin::OnTimerTick();
    EXPECT_FLOAT_EQ(Kelbrin::SpeedX, 0.1f);
    EXPECT_FLOAT_EQ(Kelbrin::SpeedY, -0.3f);
    EXPECT_FLOAT_EQ(Kelbrin::SpeedZ, static_cast<float>(0.61f / 3.0));
    EXPECT_EQ(Kelbrin::TimerTicks, 2u);
}

TEST_F(SceneTest, BobFollowsAngleZAsRadiansOneStepLate) {
    Kelbrin::Animating = true;
    Kelbrin::SpeedZ = 0.5f;
    Step(); // AngleZ 0 -> 0.5
    EXPECT_FLOAT_EQ(Kelbrin::AngleZ, 0.5f);
    EXPECT_EQ(Kelbrin::BobY, 0.0f);
    Step(); // AngleZ 0.5 -> 1.0, BobY from 0.5 taken as radians
    EXPECT_FLOAT_EQ(Kelbrin::AngleZ, 1.0f);
    EXPECT_FLOAT_EQ(Kelbrin::BobY, static_cast<float>(std::sin(0.5) / 15.0));
    EXPECT_NEAR(Kelbrin::BobY, 0.0320, 5e-5);
}

TEST_F(SceneTest, StepsArePacedByTheTickCount) {
    // Each row: the frames' tick counts and which of them step.
    const struct {
        const char* what;
        std::vector<std::uint32_t> ticks;
        std::vector<bool> steps;
    } cases[] = {
        {"arming never steps", {100, 100}, {false, false}},
        {"due after 10 ms", {100, 109, 110}, {false, false, true}},
        {"stepping disarms", {100, 200, 201, 300}, {false, true, false, true}},
        {"late frame steps once", {100, 5000, 5001}, {false, true, false}},
        // Armed at 2^32 - 6: due at 4 after the wrap. The unsigned comparison
        // holds back a frame at 3 but lets one just before the wrap through.
        {"deadline wraps", {0xFFFFFFFAu, 3u, 4u}, {false, false, true}},
        {"wrap compared unsigned", {0xFFFFFFFAu, 0xFFFFFFFBu}, {false, true}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Kelbrin::ResetState();
        Kelbrin::Animating = true;
        Kelbrin::SpeedX = 1.0f;
        float angle = 0.0f;
        for (std::size_t i = 0; i < c.ticks.size(); ++i) {
            FrameAt(c.ticks[i]);
            EXPECT_EQ(Kelbrin::AngleX != angle, c.steps[i]) << "frame " << i;
            angle = Kelbrin::AngleX;
        }
    }
    // StepDue itself wraps.
    Kelbrin::ResetState();
    Kelbrin::Animating = true;
    FrameAt(0xFFFFFFFAu);
    EXPECT_EQ(Kelbrin::StepDue, 4u);
}

TEST_F(SceneTest, NoStepBeforeTheFirstTick) {
    Kelbrin::SpeedX = Kelbrin::SpeedY = Kelbrin::SpeedZ = 1.0f;
    Kelbrin::TimerTicks = 4;
    for (std::uint32_t t = 0; t < 100; t += 20) {
        FrameAt(t);
    }
    EXPECT_FALSE(Kelbrin::StepArmed);
    EXPECT_EQ(Kelbrin::AngleX, 0.0f);
    EXPECT_EQ(Kelbrin::RandomState, 0u);
    EXPECT_EQ(Kelbrin::FrameTime, 80u);
}

TEST_F(SceneTest, FrameDrawsOneTexturedQuadAndSwaps) {
    Kelbrin::AspectRatio = 4.0f / 3.0f;
    Kelbrin::RenderDC = kelbrin_test::H(0x200);
    Kelbrin::TextureId = 42;
    Kelbrin::AngleX = 1.5f;
    Kelbrin::AngleY = 2.5f;
    Kelbrin::AngleZ = 3.5f;
    Kelbrin::BobY = 0.25f;
    FrameAt(7);
    const float h = static_cast<float>(10.0 / (4.0f / 3.0f));
    const std::vector<Call> expected = {
        {"glClear", {double(Kelbrin::kGlColorBufferBit | Kelbrin::kGlDepthBufferBit)}},
        {"glLoadIdentity", {}},
        {"GetTickCount", {}},
        {"glPushMatrix", {}},
        {"glTranslatef", {0.0, 0.25, -18.1f}},
        {"glRotatef", {3.5, 0, 0, 1}},
        {"glRotatef", {2.5, 0, 1, 0}},
        {"glRotatef", {1.5, 1, 0, 0}},
        {"glBindTexture", {double(Kelbrin::kGlTexture2D), 42}},
        {"glColor3f", {1, 1, 1}},
        {"glBegin", {double(Kelbrin::kGlQuads)}},
        {"glTexCoord2f", {0, 0}},
        {"glVertex2f", {-10, -h}},
        {"glTexCoord2f", {1, 0}},
        {"glVertex2f", {10, -h}},
        {"glTexCoord2f", {1, 1}},
        {"glVertex2f", {10, h}},
        {"glTexCoord2f", {0, 1}},
        {"glVertex2f", {-10, h}},
        {"glEnd", {}},
        {"glPopMatrix", {}},
        {"SwapBuffers", {double(0x200)}},
    };
    ASSERT_EQ(fake.calls.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(fake.calls[i].name, expected[i].name);
        EXPECT_EQ(fake.calls[i].args, expected[i].args);
    }
    EXPECT_FLOAT_EQ(h, 7.5f);
    EXPECT_EQ(Kelbrin::FrameTime, 7u);
}

TEST_F(SceneTest, SetUpSceneFixesGlStateThenTakesThePicture) {
    Kelbrin::SetUpScene();
    const std::vector<Call> expected = {
        {"glClearColor", {0, 0, 0, 0}},
        {"glShadeModel", {double(Kelbrin::kGlSmooth)}},
        {"glClearDepth", {1.0}},
        {"glEnable", {double(Kelbrin::kGlDepthTest)}},
        {"glDepthFunc", {double(Kelbrin::kGlLess)}},
        {"glEnable", {double(Kelbrin::kGlBlend)}},
        // One minus the source colour, not the source alpha.
        {"glBlendFunc", {double(Kelbrin::kGlSrcAlpha), double(Kelbrin::kGlOneMinusSrcColor)}},
        {"glHint", {double(Kelbrin::kGlPerspectiveCorrectionHint), double(Kelbrin::kGlNicest)}},
        {"glEnable", {double(Kelbrin::kGlTexture2D)}},
        {"GetSystemMetrics", {0}},
        {"GetSystemMetrics", {1}},
        {"CaptureScreen", {1024, 768}},
        {"CreateTexture", {1024, 768}},
    };
    ASSERT_EQ(fake.calls.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(fake.calls[i].name, expected[i].name);
        EXPECT_EQ(fake.calls[i].args, expected[i].args);
    }
    EXPECT_EQ(Kelbrin::TextureId, 42u);
}

TEST_F(SceneTest, ResizeViewKeepsTheScreenAspect) {
    Kelbrin::AspectRatio = 16.0f / 9.0f;
    const struct {
        std::int32_t width, height;
        double viewportHeight;
    } cases[] = {{1920, 1080, 1080}, {800, 0, 1}, {300, 900, 900}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.height);
        fake.calls.clear();
        Kelbrin::ResizeView(c.width, c.height);
        const std::vector<Call> expected = {
            {"glViewport", {0, 0, double(c.width), c.viewportHeight}},
            {"glMatrixMode", {double(Kelbrin::kGlProjection)}},
            {"glLoadIdentity", {}},
            {"gluPerspective", {45.0, double(16.0f / 9.0f), 0.01, 100.0}},
            {"glMatrixMode", {double(Kelbrin::kGlModelView)}},
            {"glLoadIdentity", {}},
        };
        ASSERT_EQ(fake.calls.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(fake.calls[i].name, expected[i].name);
            EXPECT_EQ(fake.calls[i].args, expected[i].args);
        }
    }
}

} // namespace
