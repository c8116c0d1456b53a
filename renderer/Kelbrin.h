// Kelbrin: the renderer program behind Orvanel.dll. It switches to a 32-bit
// full-screen mode, shows the desktop picture taken at start-up as one
// textured quad that starts to tumble after a few seconds, and ends on the
// first key press, left click or large mouse movement.
//
// Everything here is plain C++: the window system, WGL, OpenGL and GLU are
// reached only through RendererPlatform, which Kelbrin_win32.cpp implements
// over Win32 and the unit tests implement with a recorder.
//
// Units: angles in degrees (but see BobY), speeds in degrees per step, tick
// counts in milliseconds, sizes in pixels, scene distances in scene units.
#pragma once

#include <cstdint>
#include <memory>

#include "Kelbrin_V103.h"

namespace Kelbrin {

using Handle = void*;

// Window system and GL values the renderer hands to its platform; the Win32
// binding checks them against the system headers.
constexpr std::uint32_t kWmDestroy = 0x0002;
constexpr std::uint32_t kWmSize = 0x0005;
constexpr std::uint32_t kWmQuit = 0x0012;
constexpr std::uint32_t kWmKeyDown = 0x0100;
constexpr std::uint32_t kWmTimer = 0x0113;
constexpr std::uint32_t kWmMouseMove = 0x0200;
constexpr std::uint32_t kWmLButtonDown = 0x0201;

constexpr int kSmCxScreen = 0;
constexpr int kSmCyScreen = 1;
constexpr int kSwShowNormal = 1;
constexpr int kIdcCross = 32515;

constexpr std::uint32_t kCsVRedraw = 0x0001;
constexpr std::uint32_t kCsHRedraw = 0x0002;
constexpr std::uint32_t kCsOwnDc = 0x0020;

constexpr std::uint32_t kWsPopup = 0x80000000;
constexpr std::uint32_t kWsClipSiblings = 0x04000000;
constexpr std::uint32_t kWsClipChildren = 0x02000000;
constexpr std::uint32_t kWsOverlappedWindow = 0x00CF0000;
constexpr std::uint32_t kWsExAppWindow = 0x00040000;
constexpr std::uint32_t kWsExWindowEdge = 0x00000100;

constexpr std::uint32_t kDmBitsPerPel = 0x00040000;
constexpr std::uint32_t kDmPelsWidth = 0x00080000;
constexpr std::uint32_t kDmPelsHeight = 0x00100000;
constexpr std::uint32_t kCdsFullScreen = 4;
constexpr std::int32_t kDispChangeFailed = -1;

constexpr std::uint32_t kPfdDoubleBuffer = 0x01;
constexpr std::uint32_t kPfdDrawToWindow = 0x04;
constexpr std::uint32_t kPfdSupportOpenGl = 0x20;
constexpr std::uint8_t kPfdTypeRgba = 0;

constexpr std::uint32_t kGlDepthBufferBit = 0x0100;
constexpr std::uint32_t kGlColorBufferBit = 0x4000;
constexpr std::uint32_t kGlQuads = 0x0007;
constexpr std::uint32_t kGlLess = 0x0201;
constexpr std::uint32_t kGlOneMinusSrcColor = 0x0301;
constexpr std::uint32_t kGlSrcAlpha = 0x0302;
constexpr std::uint32_t kGlDepthTest = 0x0B71;
constexpr std::uint32_t kGlBlend = 0x0BE2;
constexpr std::uint32_t kGlPerspectiveCorrectionHint = 0x0C50;
constexpr std::uint32_t kGlTexture2D = 0x0DE1;
constexpr std::uint32_t kGlNicest = 0x1102;
constexpr std::uint32_t kGlModelView = 0x1700;
constexpr std::uint32_t kGlProjection = 0x1701;
constexpr std::uint32_t kGlSmooth = 0x1D01;

using WindowProcedure = std::intptr_t (*)(Handle window, std::uint32_t message,
                                          std::uintptr_t wParam, std::intptr_t lParam);

// The class record; the binding copies every field into a WNDCLASSA.
struct WindowClassRecord {
    std::uint32_t style = 0;
    WindowProcedure windowProcedure = nullptr;
    int classExtraBytes = 0;
    int windowExtraBytes = 0;
    Handle instance = nullptr;
    Handle icon = nullptr;
    Handle cursor = nullptr;
    Handle backgroundBrush = nullptr;
    const char* menuName = nullptr;
    const char* className = nullptr;
};

// The fields of the 156-byte DEVMODEA the renderer sets; all others are 0.
struct DisplayModeRequest {
    std::uint16_t dmSize = 0;
    std::uint32_t dmFields = 0;
    std::uint32_t dmBitsPerPel = 0;
    std::uint32_t dmPelsWidth = 0;
    std::uint32_t dmPelsHeight = 0;
};

// The fields of the PIXELFORMATDESCRIPTOR the renderer sets; all others are 0.
struct PixelFormatRequest {
    std::uint16_t nSize = 0;
    std::uint16_t nVersion = 0;
    std::uint32_t dwFlags = 0;
    std::uint8_t iPixelType = 0;
    std::uint8_t cColorBits = 0;
    std::uint8_t cDepthBits = 0;
};

struct WindowRequest {
    std::uint32_t exStyle = 0;
    const char* className = nullptr;
    const char* title = nullptr;
    std::uint32_t style = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    Handle parent = nullptr;
    Handle menu = nullptr;
    Handle instance = nullptr;
    void* creationData = nullptr;
};

struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

struct Message {
    Handle window = nullptr;
    std::uint32_t message = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
    std::uint32_t time = 0;
    Point pt;
};

// One virtual call per system operation the renderer uses. Results follow the
// system's own conventions (zero handle or false on failure).
class RendererPlatform : public TextureUploader {
  public:
    // Window system.
    virtual int GetSystemMetrics(int index) = 0;
    virtual Handle GetModuleHandle() = 0;
    virtual Handle LoadCursor(int id) = 0;
    virtual bool RegisterClass(const WindowClassRecord& record) = 0;
    virtual std::int32_t ChangeDisplaySettings(const DisplayModeRequest* mode,
                                               std::uint32_t flags) = 0;
    virtual int ShowCursor(bool show) = 0;
    virtual Handle CreateWindowEx(const WindowRequest& request) = 0;
    virtual Handle GetDC(Handle window) = 0;
    virtual int ChoosePixelFormat(Handle dc, const PixelFormatRequest& request) = 0;
    virtual bool SetPixelFormat(Handle dc, int format, const PixelFormatRequest& request) = 0;
    virtual Handle CreateContext(Handle dc) = 0;
    virtual bool MakeCurrent(Handle dc, Handle context) = 0;
    virtual void SetTimer(Handle window, std::uintptr_t id, std::uint32_t milliseconds) = 0;
    virtual void ShowWindow(Handle window, int command) = 0;
    virtual void SetForegroundWindow(Handle window) = 0;
    virtual void SetFocus(Handle window) = 0;
    virtual bool GetCursorPos(Point& position) = 0;
    // Any message of the thread, removed from the queue; false when none waits.
    virtual bool PeekMessage(Message& message) = 0;
    virtual void TranslateMessage(const Message& message) = 0;
    virtual void DispatchMessage(const Message& message) = 0;
    virtual std::intptr_t DefWindowProc(Handle window, std::uint32_t message, std::uintptr_t wParam,
                                        std::intptr_t lParam) = 0;
    virtual void PostQuitMessage(int exitCode) = 0;
    virtual std::uint32_t GetTickCount() = 0;

    // The whole primary screen, Width x Height from its top left, copied 1:1.
    virtual std::unique_ptr<ScreenBitmap> CaptureScreen(int width, int height) = 0;

    // OpenGL 1.1 and GLU on the current context.
    virtual void ClearColor(float r, float g, float b, float a) = 0;
    virtual void ShadeModel(std::uint32_t mode) = 0;
    virtual void ClearDepth(double depth) = 0;
    virtual void Enable(std::uint32_t capability) = 0;
    virtual void DepthFunc(std::uint32_t func) = 0;
    virtual void BlendFunc(std::uint32_t source, std::uint32_t destination) = 0;
    virtual void Hint(std::uint32_t target, std::uint32_t mode) = 0;
    virtual void Viewport(int x, int y, int width, int height) = 0;
    virtual void MatrixMode(std::uint32_t mode) = 0;
    virtual void LoadIdentity() = 0;
    virtual void Perspective(double fovY, double aspect, double zNear, double zFar) = 0;
    virtual void Clear(std::uint32_t mask) = 0;
    virtual void PushMatrix() = 0;
    virtual void PopMatrix() = 0;
    virtual void Translatef(float x, float y, float z) = 0;
    virtual void Rotatef(float angle, float x, float y, float z) = 0;
    virtual void BindTexture(std::uint32_t target, std::uint32_t texture) = 0;
    virtual void Color3f(float r, float g, float b) = 0;
    virtual void Begin(std::uint32_t mode) = 0;
    virtual void End() = 0;
    virtual void TexCoord2f(float s, float t) = 0;
    virtual void Vertex2f(float x, float y) = 0;
    virtual void SwapBuffers(Handle dc) = 0;
};

// Program state (zero or false at start).
extern Handle RenderWindow;
extern Handle RenderDC;
extern Handle RenderContext;
extern bool Done;
extern float AspectRatio;
extern std::uint16_t MouseStartX;
extern std::uint16_t MouseStartY;
extern Point CursorPos;

// Scene state (zero or false at start).
extern float AngleX, AngleY, AngleZ; // degrees, never reduced to a range
extern float SpeedX, SpeedY, SpeedZ; // degrees per step
extern float BobY;                   // vertical offset of the quad
extern std::uint32_t TimerTicks;     // ticks since start or the last speed change
extern bool Animating;
extern bool StepArmed;
extern std::uint32_t StepDue;
extern std::uint32_t FrameTime;
extern std::uint32_t TextureId;

// The process-wide random generator: 0 at start and never seeded, so every run
// goes through the same speed changes.
extern std::uint32_t RandomState;
// A uniform integer in [0, n).
std::uint32_t RandomBelow(std::uint32_t n);

// Selects the platform every operation below works through.
void UsePlatform(RendererPlatform& platform);
// Puts all program and scene state back to its value at process start.
void ResetState();

// The program's whole run; the process exit code, always 0.
int RendererMain(RendererPlatform& platform);
void RunRenderer();
bool CreateRenderWindow(std::int32_t width, std::int32_t height, bool fullScreen,
                        std::int32_t colorBits);
void RestoreDisplay(bool fullScreen);
std::intptr_t WindowProc(Handle window, std::uint32_t message, std::uintptr_t wParam,
                         std::intptr_t lParam);

void SetUpScene();
void ResizeView(std::int32_t width, std::int32_t height);
void OnTimerTick();
void RenderFrame();
void CaptureDesktop();

} // namespace Kelbrin
