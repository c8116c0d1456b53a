#include "Kelbrin.h"

#include <cmath>

namespace Kelbrin {

Handle RenderWindow = nullptr;
Handle RenderDC = nullptr;
Handle RenderContext = nullptr;
bool Done = false;
float AspectRatio = 0.0f;
std::uint16_t MouseStartX = 0;
std::uint16_t MouseStartY = 0;
Point CursorPos;

float AngleX = 0.0f, AngleY = 0.0f, AngleZ = 0.0f;
float SpeedX = 0.0f, SpeedY = 0.0f, SpeedZ = 0.0f;
float BobY = 0.0f;
std::uint32_t TimerTicks = 0;
bool Animating = false;
bool StepArmed = false;
std::uint32_t StepDue = 0;
std::uint32_t FrameTime = 0;
std::uint32_t TextureId = 0;

std::uint32_t RandomState = 0;

namespace {

RendererPlatform* Platform = nullptr;

constexpr const char* kClassName = "OpenGL";
constexpr const char* kWindowTitle = "Orvanel_Vexon";
constexpr std::uintptr_t kTimerId = 1;
constexpr std::uint32_t kTimerPeriod = 1000; // ms
constexpr std::uint32_t kStepInterval = 10;  // ms of tick count between steps
constexpr std::int64_t kMouseThreshold = 30; // pixels, on both axes
constexpr float kSceneDistance = -18.1f;     // quad's z; on 4:3 it just fills the view

// Animation values are kept as 32-bit floats but computed in double.
void DampSpeed(float& speed) {
    const double s = speed;
    if (std::fabs(s) > 0.6) {
        speed = static_cast<float>(-(s / 3.0));
    }
}

double SpeedChange() {
    return (static_cast<double>(RandomBelow(100)) - 50.0) / 500.0;
}

void RunStep() {
    if (TimerTicks > 3) {
        TimerTicks = 0;
        SpeedX = static_cast<float>(static_cast<double>(SpeedX) + SpeedChange());
        // Both follow the new SpeedX, so the three rotations stay close.
        SpeedY = static_cast<float>(static_cast<double>(SpeedX) + SpeedChange());
        SpeedZ = static_cast<float>(static_cast<double>(SpeedX) + SpeedChange());
    }
    // The angle (degrees to glRotatef) goes to the sine as radians, before
    // this step moves it, so the bob lags the spin by a step.
    BobY = static_cast<float>(std::sin(static_cast<double>(AngleZ)) / 15.0);
    AngleX = static_cast<float>(static_cast<double>(AngleX) + SpeedX);
    AngleY = static_cast<float>(static_cast<double>(AngleY) + SpeedY);
    AngleZ = static_cast<float>(static_cast<double>(AngleZ) + SpeedZ);
}

std::int64_t Distance(std::int32_t position, std::uint16_t start) {
    // 32-bit signed difference, as the position and start are compared.
    const auto d = static_cast<std::int32_t>(static_cast<std::uint32_t>(position) -
                                             static_cast<std::uint32_t>(start));
    return d < 0 ? -static_cast<std::int64_t>(d) : d;
}

void MouseRule() {
    Platform->GetCursorPos(CursorPos);
    if (Distance(CursorPos.x, MouseStartX) > kMouseThreshold &&
        Distance(CursorPos.y, MouseStartY) > kMouseThreshold) {
        Done = true;
    }
}

} // namespace

std::uint32_t RandomBelow(std::uint32_t n) {
    RandomState = RandomState * 134775813u + 1u;
    return static_cast<std::uint32_t>((static_cast<std::uint64_t>(RandomState) * n) >> 32);
}

void UsePlatform(RendererPlatform& platform) {
    Platform = &platform;
}

void ResetState() {
    RenderWindow = RenderDC = RenderContext = nullptr;
    Done = false;
    AspectRatio = 0.0f;
    MouseStartX = MouseStartY = 0;
    CursorPos = Point();
    AngleX = AngleY = AngleZ = 0.0f;
    SpeedX = SpeedY = SpeedZ = 0.0f;
    BobY = 0.0f;
    TimerTicks = 0;
    Animating = StepArmed = false;
    StepDue = FrameTime = 0;
    TextureId = 0;
    RandomState = 0;
}

int RendererMain(RendererPlatform& platform) {
    UsePlatform(platform);
    try {
        RunRenderer();
    } catch (...) {
        // Resources ran out during set-up: end quietly like any other run.
    }
    return 0;
}

void RunRenderer() {
    const int width = Platform->GetSystemMetrics(kSmCxScreen);
    const int height = Platform->GetSystemMetrics(kSmCyScreen);
    AspectRatio = static_cast<float>(static_cast<double>(width) / static_cast<double>(height));
    if (!CreateRenderWindow(Platform->GetSystemMetrics(kSmCxScreen),
                            Platform->GetSystemMetrics(kSmCyScreen), true, 32)) {
        return;
    }
    Platform->GetCursorPos(CursorPos);
    MouseStartX = static_cast<std::uint16_t>(CursorPos.x);
    MouseStartY = static_cast<std::uint16_t>(CursorPos.y);

    // Messages always go before frames; a frame is drawn only when none waits.
    while (!Done) {
        Message message;
        if (Platform->PeekMessage(message)) {
            if (message.message == kWmQuit) {
                Done = true;
            } else {
                Platform->TranslateMessage(message);
                Platform->DispatchMessage(message);
            }
        } else {
            RenderFrame();
        }
    }
}

bool CreateRenderWindow(std::int32_t width, std::int32_t height, bool fullScreen,
                        std::int32_t colorBits) {
    WindowClassRecord windowClass;
    windowClass.instance = Platform->GetModuleHandle();
    windowClass.style = kCsVRedraw | kCsHRedraw | kCsOwnDc;
    windowClass.windowProcedure = WindowProc;
    windowClass.cursor = Platform->LoadCursor(kIdcCross);
    windowClass.className = kClassName;
    if (!Platform->RegisterClass(windowClass)) {
        return false;
    }

    if (fullScreen) {
        DisplayModeRequest mode;
        mode.dmSize = 156;
        mode.dmFields = kDmBitsPerPel | kDmPelsWidth | kDmPelsHeight;
        mode.dmBitsPerPel = static_cast<std::uint32_t>(colorBits);
        mode.dmPelsWidth = static_cast<std::uint32_t>(width);
        mode.dmPelsHeight = static_cast<std::uint32_t>(height);
        // Only an outright refusal falls back to a window; other errors do not.
        if (Platform->ChangeDisplaySettings(&mode, kCdsFullScreen) == kDispChangeFailed) {
            fullScreen = false;
        }
    }

    WindowRequest window;
    if (fullScreen) {
        window.style = kWsPopup | kWsClipSiblings | kWsClipChildren;
        window.exStyle = kWsExAppWindow;
    } else {
        window.style = kWsOverlappedWindow | kWsClipSiblings | kWsClipChildren;
        window.exStyle = kWsExAppWindow | kWsExWindowEdge;
    }
    Platform->ShowCursor(false);

    window.className = kClassName;
    window.title = kWindowTitle;
    window.width = width;
    window.height = height;
    window.instance = windowClass.instance;

    PixelFormatRequest pixelFormat;
    pixelFormat.nSize = 40;
    pixelFormat.nVersion = 1;
    pixelFormat.dwFlags = kPfdDrawToWindow | kPfdSupportOpenGl | kPfdDoubleBuffer;
    pixelFormat.iPixelType = kPfdTypeRgba;
    pixelFormat.cColorBits = static_cast<std::uint8_t>(colorBits);
    pixelFormat.cDepthBits = 16;

    bool ready = (RenderWindow = Platform->CreateWindowEx(window)) != nullptr;
    ready = ready && (RenderDC = Platform->GetDC(RenderWindow)) != nullptr;
    int format = 0;
    ready = ready && (format = Platform->ChoosePixelFormat(RenderDC, pixelFormat)) != 0;
    ready = ready && Platform->SetPixelFormat(RenderDC, format, pixelFormat);
    ready = ready && (RenderContext = Platform->CreateContext(RenderDC)) != nullptr;
    ready = ready && Platform->MakeCurrent(RenderDC, RenderContext);
    if (!ready) {
        // A window already made is left to the end of the process.
        RestoreDisplay(fullScreen);
        return false;
    }

    Platform->SetTimer(RenderWindow, kTimerId, kTimerPeriod);
    Platform->ShowWindow(RenderWindow, kSwShowNormal);
    Platform->SetForegroundWindow(RenderWindow);
    Platform->SetFocus(RenderWindow);
    ResizeView(width, height);
    SetUpScene();
    return true;
}

void RestoreDisplay(bool fullScreen) {
    if (fullScreen) {
        Platform->ChangeDisplaySettings(nullptr, 0);
        Platform->ShowCursor(true);
    }
}

std::intptr_t WindowProc(Handle window, std::uint32_t message, std::uintptr_t wParam,
                         std::intptr_t lParam) {
    const auto word = [](std::uintptr_t value) {
        return static_cast<std::int32_t>(value & 0xFFFF);
    };
    switch (message) {
    case kWmSize:
        ResizeView(word(static_cast<std::uintptr_t>(lParam)),
                   word(static_cast<std::uintptr_t>(lParam) >> 16));
        return 0;
    case kWmTimer:
        if (wParam == kTimerId) {
            OnTimerTick();
        }
        return 0;
    case kWmKeyDown:
    case kWmLButtonDown:
        Done = true;
        return 0;
    case kWmMouseMove:
        // Right after start and after each speed change the mouse is not read.
        if (TimerTicks != 0) {
            MouseRule();
        }
        return 0;
    case kWmDestroy:
        // The system's close key or the fallback window's close box took the
        // window away: end the loop too, never run on without a window.
        Platform->PostQuitMessage(0);
        break;
    }
    return Platform->DefWindowProc(window, message, wParam, lParam);
}

void SetUpScene() {
    Platform->ClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    Platform->ShadeModel(kGlSmooth);
    Platform->ClearDepth(1.0);
    Platform->Enable(kGlDepthTest);
    Platform->DepthFunc(kGlLess);
    Platform->Enable(kGlBlend);
    Platform->BlendFunc(kGlSrcAlpha, kGlOneMinusSrcColor);
    Platform->Hint(kGlPerspectiveCorrectionHint, kGlNicest);
    Platform->Enable(kGlTexture2D);
    CaptureDesktop();
}

void ResizeView(std::int32_t width, std::int32_t height) {
    if (height == 0) {
        height = 1;
    }
    Platform->Viewport(0, 0, width, height);
    Platform->MatrixMode(kGlProjection);
    Platform->LoadIdentity();
    // The screen's proportion, whatever the client area is.
    Platform->Perspective(45.0, AspectRatio, 0.01, 100.0);
    Platform->MatrixMode(kGlModelView);
    Platform->LoadIdentity();
}

void OnTimerTick() {
    ++TimerTicks;
    Animating = true;
    DampSpeed(SpeedX);
    DampSpeed(SpeedY);
    DampSpeed(SpeedZ);
}

void RenderFrame() {
    Platform->Clear(kGlColorBufferBit | kGlDepthBufferBit);
    Platform->LoadIdentity();
    FrameTime = Platform->GetTickCount();
    if (Animating) {
        if (!StepArmed) {
            StepDue = FrameTime + kStepInterval;
            StepArmed = true;
        } else if (FrameTime >= StepDue) {
            StepArmed = false;
            RunStep();
        }
    }

    const auto halfHeight = static_cast<float>(10.0 / static_cast<double>(AspectRatio));
    Platform->PushMatrix();
    Platform->Translatef(0.0f, BobY, kSceneDistance);
    Platform->Rotatef(AngleZ, 0.0f, 0.0f, 1.0f);
    Platform->Rotatef(AngleY, 0.0f, 1.0f, 0.0f);
    Platform->Rotatef(AngleX, 1.0f, 0.0f, 0.0f);
    Platform->BindTexture(kGlTexture2D, TextureId);
    Platform->Color3f(1.0f, 1.0f, 1.0f);
    Platform->Begin(kGlQuads);
    Platform->TexCoord2f(0.0f, 0.0f);
    Platform->Vertex2f(-10.0f, -halfHeight);
    Platform->TexCoord2f(1.0f, 0.0f);
    Platform->Vertex2f(10.0f, -halfHeight);
    Platform->TexCoord2f(1.0f, 1.0f);
    Platform->Vertex2f(10.0f, halfHeight);
    Platform->TexCoord2f(0.0f, 1.0f);
    Platform->Vertex2f(-10.0f, halfHeight);
    Platform->End();
    Platform->PopMatrix();
    Platform->SwapBuffers(RenderDC);
}

void CaptureDesktop() {
    const int width = Platform->GetSystemMetrics(kSmCxScreen);
    const int height = Platform->GetSystemMetrics(kSmCyScreen);
    const std::unique_ptr<ScreenBitmap> bitmap = Platform->CaptureScreen(width, height);
    if (bitmap) {
        BitmapToTexture(*bitmap, TextureId, *Platform);
    }
}

} // namespace Kelbrin
