// The renderer's frame: set-up and its failure paths, the records handed to
// the system, the message loop, the window procedure and the mouse rule.
#include <gtest/gtest.h>

#include "fake_platform.h"

namespace {

using kelbrin_test::FakePlatform;
using kelbrin_test::H;
using Names = std::vector<std::string>;

constexpr std::uint32_t kWmClose = 0x0010;
constexpr std::uint32_t kWmKeyUp = 0x0101;
constexpr std::uint32_t kWmChar = 0x0102;
constexpr std::uint32_t kWmSysKeyDown = 0x0104;
constexpr std::uint32_t kWmSysKeyUp = 0x0105;
constexpr std::uint32_t kWmSysChar = 0x0106;
constexpr std::uint32_t kWmLButtonUp = 0x0202;
constexpr std::uint32_t kWmRButtonDown = 0x0204;
constexpr std::uint32_t kWmMButtonDown = 0x0207;
constexpr std::uint32_t kWmMouseWheel = 0x020A;

class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Kelbrin::ResetState();
        Kelbrin::UsePlatform(fake);
    }
    // Call names from the first call named `from` on.
    Names NamesFrom(const std::string& from) const {
        Names all = fake.Names();
        const int start = fake.Find(from);
        return start < 0 ? Names() : Names(all.begin() + start, all.end());
    }
    FakePlatform fake;
};

// Everything set-up does when every call succeeds, up to the loop.
const Names kSetUpCalls = {"GetSystemMetrics", "GetSystemMetrics", "GetSystemMetrics",
                           "GetSystemMetrics", "GetModuleHandle", "LoadCursor", "RegisterClass",
                           "ChangeDisplaySettings", "ShowCursor(FALSE)", "CreateWindowEx", "GetDC",
                           "ChoosePixelFormat", "SetPixelFormat", "CreateContext", "MakeCurrent",
                           "SetTimer", "ShowWindow", "SetForegroundWindow", "SetFocus",
                           // ResizeView
                           "glViewport", "glMatrixMode", "glLoadIdentity", "gluPerspective",
                           "glMatrixMode", "glLoadIdentity",
                           // SetUpScene and the capture
                           "glClearColor", "glShadeModel", "glClearDepth", "glEnable",
                           "glDepthFunc", "glEnable", "glBlendFunc", "glHint", "glEnable",
                           "GetSystemMetrics", "GetSystemMetrics", "CaptureScreen", "CreateTexture",
                           // the mouse start, then the loop
                           "GetCursorPos", "PeekMessage"};

TEST_F(WindowTest, SetUpRunsInOrderAndHandsOverItsRecords) {
    fake.screenWidth = 1280;
    fake.screenHeight = 1024;
    EXPECT_EQ(Kelbrin::RendererMain(fake), 0); // empty script: WM_QUIT at once
    EXPECT_EQ(fake.Names(), kSetUpCalls);
    EXPECT_EQ(fake.frames, 0);
    EXPECT_FLOAT_EQ(Kelbrin::AspectRatio, 1.25f);

    const Kelbrin::WindowClassRecord& wc = fake.windowClass;
    EXPECT_EQ(wc.style, 0x23u);
    EXPECT_EQ(wc.windowProcedure, &Kelbrin::WindowProc);
    EXPECT_EQ(wc.classExtraBytes, 0);
    EXPECT_EQ(wc.windowExtraBytes, 0);
    EXPECT_EQ(wc.instance, fake.module);
    EXPECT_EQ(wc.icon, nullptr);
    EXPECT_EQ(wc.cursor, fake.crossCursor);
    EXPECT_EQ(wc.backgroundBrush, nullptr);
    EXPECT_EQ(wc.menuName, nullptr);
    EXPECT_EQ(fake.className, "OpenGL");
    EXPECT_EQ(fake.calls[fake.Find("LoadCursor")].args, std::vector<double>{32515});

    ASSERT_TRUE(fake.mode.has_value());
    EXPECT_EQ(fake.mode->dmSize, 156);
    EXPECT_EQ(fake.mode->dmFields, 0x1C0000u);
    EXPECT_EQ(fake.mode->dmBitsPerPel, 32u);
    EXPECT_EQ(fake.mode->dmPelsWidth, 1280u);
    EXPECT_EQ(fake.mode->dmPelsHeight, 1024u);
    EXPECT_EQ(fake.calls[fake.Find("ChangeDisplaySettings")].args, std::vector<double>{4});

    const Kelbrin::WindowRequest& w = fake.windowRequest;
    EXPECT_EQ(w.style, 0x86000000u);
    EXPECT_EQ(w.exStyle, 0x40000u);
    EXPECT_EQ(fake.title, "Orvanel_Vexon");
    EXPECT_STREQ(w.className, "OpenGL");
    EXPECT_EQ(w.x, 0);
    EXPECT_EQ(w.y, 0);
    EXPECT_EQ(w.width, 1280);
    EXPECT_EQ(w.height, 1024);
    EXPECT_EQ(w.parent, nullptr);
    EXPECT_EQ(w.menu, nullptr);
    EXPECT_EQ(w.instance, fake.module);
    EXPECT_EQ(w.creationData, nullptr);

    ASSERT_EQ(fake.pixelFormats.size(), 2u); // choose, then set with the same request
    for (const Kelbrin::PixelFormatRequest& pfd : fake.pixelFormats) {
        EXPECT_EQ(pfd.nSize, 40);
        EXPECT_EQ(pfd.nVersion, 1);
        EXPECT_EQ(pfd.dwFlags, 0x25u);
        EXPECT_EQ(pfd.iPixelType, 0);
        EXPECT_EQ(pfd.cColorBits, 32);
        EXPECT_EQ(pfd.cDepthBits, 16);
    }

    // The handles flow from call to call.
    const auto args = [&](const char* name) {
        const int i = fake.Find(name);
        return i < 0 ? std::vector<double>() : fake.calls[i].args;
    };
    EXPECT_EQ(args("GetDC"), (std::vector<double>{0x100}));
    EXPECT_EQ(args("SetPixelFormat"), (std::vector<double>{0x200, 7}));
    EXPECT_EQ(args("CreateContext"), (std::vector<double>{0x200}));
    EXPECT_EQ(args("MakeCurrent"), (std::vector<double>{0x200, 0x300}));
    EXPECT_EQ(args("SetTimer"), (std::vector<double>{0x100, 1, 1000}));
    EXPECT_EQ(args("ShowWindow"), (std::vector<double>{0x100, 1}));
    EXPECT_EQ(args("SetForegroundWindow"), (std::vector<double>{0x100}));
    EXPECT_EQ(args("SetFocus"), (std::vector<double>{0x100}));
    EXPECT_EQ(args("glViewport"), (std::vector<double>{0, 0, 1280, 1024}));
    EXPECT_EQ(args("CaptureScreen"), (std::vector<double>{1280, 1024}));
    EXPECT_EQ(Kelbrin::RenderWindow, H(0x100));
    EXPECT_EQ(Kelbrin::RenderDC, H(0x200));
    EXPECT_EQ(Kelbrin::RenderContext, H(0x300));
    EXPECT_EQ(Kelbrin::TextureId, 42u);
}

TEST_F(WindowTest, OnlyAnOutrightRefusalFallsBackToAWindow) {
    const struct {
        std::int32_t result;
        bool windowed;
    } cases[] = {{0, false},  {1, false},  {-1, true}, {-2, false},
                 {-3, false}, {-4, false}, {-5, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.result);
        FakePlatform f;
        f.displayResult = c.result;
        Kelbrin::ResetState();
        EXPECT_EQ(Kelbrin::RendererMain(f), 0);
        EXPECT_EQ(f.windowRequest.style, c.windowed ? 0x06CF0000u : 0x86000000u);
        EXPECT_EQ(f.windowRequest.exStyle, c.windowed ? 0x40100u : 0x40000u);
        EXPECT_EQ(f.windowRequest.width, 1024);
        EXPECT_EQ(f.windowRequest.height, 768);
        // The cursor is hidden in both modes, and the run goes on to the loop.
        EXPECT_EQ(f.Count("ShowCursor(FALSE)"), 1);
        EXPECT_EQ(f.Count("ShowCursor(TRUE)"), 0);
        EXPECT_EQ(f.Names(), kSetUpCalls);
        EXPECT_EQ(f.calls[f.Find("glViewport")].args, (std::vector<double>{0, 0, 1024, 768}));
    }
}

TEST_F(WindowTest, RefusedClassChangesNothing) {
    fake.registerOk = false;
    EXPECT_EQ(Kelbrin::RendererMain(fake), 0);
    EXPECT_EQ(fake.Names(),
              (Names{"GetSystemMetrics", "GetSystemMetrics", "GetSystemMetrics", "GetSystemMetrics",
                     "GetModuleHandle", "LoadCursor", "RegisterClass"}));
}

TEST_F(WindowTest, FailedWindowOrContextRestoresOnlyAChangedMode) {
    enum Step { kWindow, kDc, kChoose, kSet, kCreate, kMakeCurrent };
    const struct {
        Step step;
        const char* lastCall;
    } steps[] = {{kWindow, "CreateWindowEx"},    {kDc, "GetDC"},
                 {kChoose, "ChoosePixelFormat"}, {kSet, "SetPixelFormat"},
                 {kCreate, "CreateContext"},     {kMakeCurrent, "MakeCurrent"}};
    for (const auto& s : steps) {
        for (const bool windowed : {false, true}) {
            SCOPED_TRACE(std::string(s.lastCall) + (windowed ? " windowed" : " full screen"));
            FakePlatform f;
            f.displayResult = windowed ? -1 : 0;
            f.window = s.step == kWindow ? nullptr : f.window;
            f.dc = s.step == kDc ? nullptr : f.dc;
            f.format = s.step == kChoose ? 0 : f.format;
            f.setFormatOk = s.step != kSet;
            f.context = s.step == kCreate ? nullptr : f.context;
            f.makeCurrentOk = s.step != kMakeCurrent;
            Kelbrin::ResetState();
            EXPECT_EQ(Kelbrin::RendererMain(f), 0);

            // The failing call is the last of the set-up; after it only the
            // display and the cursor come back, and only from full screen.
            Names expected = f.Names();
            const int last = [&] {
                int i = -1;
                for (std::size_t k = 0; k < expected.size(); ++k) {
                    if (expected[k] == s.lastCall) {
                        i = static_cast<int>(k);
                    }
                }
                return i;
            }();
            ASSERT_GE(last, 0);
            const Names after(expected.begin() + last + 1, expected.end());
            EXPECT_EQ(after, windowed ? Names{}
                                      : (Names{"ChangeDisplaySettings(null)", "ShowCursor(TRUE)"}));
            if (!windowed) {
                EXPECT_EQ(f.calls[f.Find("ChangeDisplaySettings(null)")].args,
                          std::vector<double>{0});
            }
            EXPECT_EQ(f.Count("ShowCursor(FALSE)"), 1);
            EXPECT_EQ(f.Count("SetTimer"), 0);
            EXPECT_EQ(f.Count("ShowWindow"), 0);
            EXPECT_EQ(f.Count("CaptureScreen"), 0);
            EXPECT_EQ(f.Count("PeekMessage"), 0);
            // Everything before the failing step ran, in order.
            const Names prefix(kSetUpCalls.begin(), kSetUpCalls.begin() + last + 1);
            EXPECT_EQ(Names(expected.begin(), expected.begin() + last + 1), prefix);
        }
    }
}

TEST_F(WindowTest, ExhaustedResourcesDuringCaptureStillEndWithZero) {
    FakePlatform f;
    f.captureThrows = true;
    Kelbrin::ResetState();
    EXPECT_EQ(Kelbrin::RendererMain(f), 0);
    EXPECT_EQ(f.Count("PeekMessage"), 0);
}

TEST_F(WindowTest, LoopPutsMessagesBeforeFramesAndEndsOnQuit) {
    fake.Queue(Kelbrin::kWmTimer, 2);
    fake.QueueNothing();
    fake.QueueNothing();
    fake.Queue(Kelbrin::kWmTimer, 2);
    fake.Queue(Kelbrin::kWmQuit);
    fake.QueueNothing();
    Kelbrin::RendererMain(fake);
    EXPECT_EQ(NamesFrom("PeekMessage"),
              (Names{"PeekMessage",  "TranslateMessage", "DispatchMessage", // timer 2
                     "PeekMessage",  "glClear",          "glLoadIdentity",  "GetTickCount",
                     "glPushMatrix", "glTranslatef",     "glRotatef",       "glRotatef",
                     "glRotatef",    "glBindTexture",    "glColor3f",       "glBegin",
                     "glTexCoord2f", "glVertex2f",       "glTexCoord2f",    "glVertex2f",
                     "glTexCoord2f", "glVertex2f",       "glTexCoord2f",    "glVertex2f",
                     "glEnd",        "glPopMatrix",      "SwapBuffers", // frame 1
                     "PeekMessage",  "glClear",          "glLoadIdentity",  "GetTickCount",
                     "glPushMatrix", "glTranslatef",     "glRotatef",       "glRotatef",
                     "glRotatef",    "glBindTexture",    "glColor3f",       "glBegin",
                     "glTexCoord2f", "glVertex2f",       "glTexCoord2f",    "glVertex2f",
                     "glTexCoord2f", "glVertex2f",       "glTexCoord2f",    "glVertex2f",
                     "glEnd",        "glPopMatrix",      "SwapBuffers",     // frame 2
                     "PeekMessage",  "TranslateMessage", "DispatchMessage", // timer 2
                     "PeekMessage"}));                                      // WM_QUIT
    EXPECT_EQ(fake.frames, 2);
    EXPECT_EQ(fake.script.size(), 1u); // the "nothing waiting" after the quit never came
    EXPECT_TRUE(Kelbrin::Done);
}

TEST_F(WindowTest, InputThatEndsTheRunStopsTheLoopWithoutAnotherFrame) {
    const struct {
        const char* what;
        std::uint32_t message;
        bool ends;
    } cases[] = {
        {"key", Kelbrin::kWmKeyDown, true},
        {"left button", Kelbrin::kWmLButtonDown, true},
        {"system key", kWmSysKeyDown, false},
        {"right button", kWmRButtonDown, false},
        {"middle button", kWmMButtonDown, false},
        {"wheel", kWmMouseWheel, false},
        // The close box or the system's close key: the default processing
        // destroys the window, and then the run ends.
        {"window destroyed", Kelbrin::kWmDestroy, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FakePlatform f;
        Kelbrin::ResetState();
        f.QueueNothing();
        f.Queue(c.message);
        f.QueueNothing();
        f.QueueNothing();
        Kelbrin::RendererMain(f);
        // A run that does not end draws the two frames queued after the input.
        EXPECT_EQ(f.frames, c.ends ? 1 : 3);
        EXPECT_EQ(f.script.size(), c.ends ? 2u : 0u);
    }
}

TEST_F(WindowTest, WindowProcTable) {
    const struct {
        const char* what;
        std::uint32_t message;
        std::uintptr_t wParam;
        std::intptr_t lParam;
        bool done;
        bool toDefault;
        std::uint32_t ticksAfter;
    } cases[] = {
        {"key down", Kelbrin::kWmKeyDown, 'A', 0x001E0001, true, false, 0},
        {"left button", Kelbrin::kWmLButtonDown, 1, 0, true, false, 0},
        {"system key", kWmSysKeyDown, 0x12, 0x20380001, false, true, 0},
        {"system key up", kWmSysKeyUp, 0x73, 0, false, true, 0},
        {"system char", kWmSysChar, 'x', 0, false, true, 0},
        {"key up", kWmKeyUp, 'A', 0, false, true, 0},
        {"char", kWmChar, 'a', 0, false, true, 0},
        {"left button up", kWmLButtonUp, 0, 0, false, true, 0},
        {"right button", kWmRButtonDown, 2, 0, false, true, 0},
        {"middle button", kWmMButtonDown, 0x10, 0, false, true, 0},
        {"wheel", kWmMouseWheel, 0x00780000, 0, false, true, 0},
        {"close", kWmClose, 0, 0, false, true, 0},
        {"timer 1", Kelbrin::kWmTimer, 1, 0, false, false, 1},
        {"other timer", Kelbrin::kWmTimer, 2, 0, false, false, 0},
        {"mouse before the first tick", Kelbrin::kWmMouseMove, 0, 0x01000100, false, false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FakePlatform f;
        Kelbrin::ResetState();
        Kelbrin::UsePlatform(f);
        f.cursor = {5000, 5000}; // far from the start: would end the run if read
        const std::intptr_t result = Kelbrin::WindowProc(H(0x100), c.message, c.wParam, c.lParam);
        EXPECT_EQ(Kelbrin::Done, c.done);
        EXPECT_EQ(result, c.toDefault ? f.defaultResult : 0);
        EXPECT_EQ(Kelbrin::TimerTicks, c.ticksAfter);
        if (c.toDefault) {
            ASSERT_EQ(f.Names(), Names{"DefWindowProc"});
            EXPECT_EQ(f.calls[0].args, (std::vector<double>{0x100, double(c.message),
                                                            double(c.wParam), double(c.lParam)}));
        } else {
            EXPECT_EQ(f.Count("DefWindowProc"), 0);
        }
        EXPECT_EQ(f.Count("GetCursorPos"), 0);
    }
}

TEST_F(WindowTest, SizeMessageSetsTheViewportFromTheClientSize) {
    Kelbrin::AspectRatio = 4.0f / 3.0f;
    const struct {
        std::intptr_t lParam;
        double width, height;
    } cases[] = {{(768 << 16) | 1024, 1024, 768},
                 {(0 << 16) | 640, 640, 1},
                 {(0xFFFF << 16) | 0xFFFF, 0xFFFF, 0xFFFF}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lParam);
        fake.calls.clear();
        EXPECT_EQ(Kelbrin::WindowProc(H(0x100), Kelbrin::kWmSize, 0, c.lParam), 0);
        ASSERT_EQ(fake.Find("glViewport"), 0);
        EXPECT_EQ(fake.calls[0].args, (std::vector<double>{0, 0, c.width, c.height}));
        EXPECT_EQ(fake.calls[fake.Find("gluPerspective")].args,
                  (std::vector<double>{45.0, double(4.0f / 3.0f), 0.01, 100.0}));
        EXPECT_EQ(fake.Count("DefWindowProc"), 0);
    }
}

TEST_F(WindowTest, MouseMustMoveMoreThanThirtyPixelsOnBothAxes) {
    const struct {
        std::int32_t x, y;
        bool ends;
    } cases[] = {
        {131, 131, true},  {69, 69, true},    {131, 69, true},   {300, 100, false},
        {100, 300, false}, {130, 130, false}, {131, 130, false}, {130, 131, false},
        {70, 70, false},   {100, 100, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        Kelbrin::ResetState();
        Kelbrin::MouseStartX = 100;
        Kelbrin::MouseStartY = 100;
        Kelbrin::TimerTicks = 1;
        fake.cursor = {c.x, c.y};
        // The message's own coordinates are not what counts.
        EXPECT_EQ(Kelbrin::WindowProc(H(0x100), Kelbrin::kWmMouseMove, 0, 0), 0);
        EXPECT_EQ(Kelbrin::Done, c.ends);
        EXPECT_EQ(Kelbrin::CursorPos.x, c.x);
        EXPECT_EQ(Kelbrin::CursorPos.y, c.y);
    }
}

TEST_F(WindowTest, NegativeStartCoordinateIsStoredPlus65536) {
    fake.cursor = {-50, 10}; // on a screen left of the primary one
    Kelbrin::RendererMain(fake);
    EXPECT_EQ(Kelbrin::MouseStartX, 65486);
    EXPECT_EQ(Kelbrin::MouseStartY, 10);
    // So x always counts as moved: standing still on x, 31 down ends the run.
    Kelbrin::Done = false;
    Kelbrin::TimerTicks = 1;
    fake.cursor = {-50, 40};
    Kelbrin::WindowProc(H(0x100), Kelbrin::kWmMouseMove, 0, 0);
    EXPECT_FALSE(Kelbrin::Done);
    fake.cursor = {-50, 41};
    Kelbrin::WindowProc(H(0x100), Kelbrin::kWmMouseMove, 0, 0);
    EXPECT_TRUE(Kelbrin::Done);
}

TEST_F(WindowTest, MouseIsIgnoredAfterASpeedChangeUntilTheNextTick) {
    Kelbrin::AspectRatio = 4.0f / 3.0f;
    Kelbrin::Animating = true;
    Kelbrin::TimerTicks = 4;
    fake.cursor = {500, 500};
    fake.tick = 0;
    Kelbrin::RenderFrame();
    fake.tick = 10;
    Kelbrin::RenderFrame(); // speed change: TimerTicks back to 0
    ASSERT_EQ(Kelbrin::TimerTicks, 0u);
    Kelbrin::WindowProc(H(0x100), Kelbrin::kWmMouseMove, 0, 0);
    EXPECT_FALSE(Kelbrin::Done);
    Kelbrin::WindowProc(H(0x100), Kelbrin::kWmTimer, 1, 0);
    Kelbrin::WindowProc(H(0x100), Kelbrin::kWmMouseMove, 0, 0);
    EXPECT_TRUE(Kelbrin::Done);
}

} // namespace
