// The renderer over Win32, WGL, OpenGL 1.1 and GLU, and the program entry.
//
// Timing for benchmarks: when the environment variable ORVANEL_RENDERER_TIMING
// names a file, the renderer appends to it
//   first_frame_ms N      process creation to the return of the first SwapBuffers
//   capture_upload_ms N   screen copy, conversion and texture upload
//   frames N seconds S    on exit: frames drawn, and seconds from the first one
// Without the variable nothing is measured or written and nothing else changes.
#include "Kelbrin.h"
#include "ScreenCopy_win32.h"

#include <windows.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include <float.h>
#include <xmmintrin.h>

#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

// The platform class uses the plain names; the ANSI calls are made explicitly.
#undef RegisterClass
#undef GetModuleHandle
#undef LoadCursor
#undef ChangeDisplaySettings
#undef CreateWindowEx
#undef PeekMessage
#undef DispatchMessage
#undef DefWindowProc

namespace Kelbrin {

static_assert(kWmDestroy == WM_DESTROY && kWmSize == WM_SIZE && kWmQuit == WM_QUIT &&
              kWmKeyDown == WM_KEYDOWN && kWmTimer == WM_TIMER && kWmMouseMove == WM_MOUSEMOVE &&
              kWmLButtonDown == WM_LBUTTONDOWN);
static_assert(kSmCxScreen == SM_CXSCREEN && kSmCyScreen == SM_CYSCREEN &&
              kSwShowNormal == SW_SHOWNORMAL);
static_assert(kCsVRedraw == CS_VREDRAW && kCsHRedraw == CS_HREDRAW && kCsOwnDc == CS_OWNDC);
static_assert(kWsPopup == WS_POPUP && kWsClipSiblings == WS_CLIPSIBLINGS &&
              kWsClipChildren == WS_CLIPCHILDREN && kWsOverlappedWindow == WS_OVERLAPPEDWINDOW &&
              kWsExAppWindow == WS_EX_APPWINDOW && kWsExWindowEdge == WS_EX_WINDOWEDGE);
static_assert(kDmBitsPerPel == DM_BITSPERPEL && kDmPelsWidth == DM_PELSWIDTH &&
              kDmPelsHeight == DM_PELSHEIGHT && kCdsFullScreen == CDS_FULLSCREEN &&
              kDispChangeFailed == DISP_CHANGE_FAILED);
static_assert(kPfdDoubleBuffer == PFD_DOUBLEBUFFER && kPfdDrawToWindow == PFD_DRAW_TO_WINDOW &&
              kPfdSupportOpenGl == PFD_SUPPORT_OPENGL && kPfdTypeRgba == PFD_TYPE_RGBA);
static_assert(kGlDepthBufferBit == GL_DEPTH_BUFFER_BIT &&
              kGlColorBufferBit == GL_COLOR_BUFFER_BIT && kGlQuads == GL_QUADS &&
              kGlLess == GL_LESS && kGlOneMinusSrcColor == GL_ONE_MINUS_SRC_COLOR &&
              kGlSrcAlpha == GL_SRC_ALPHA && kGlDepthTest == GL_DEPTH_TEST &&
              kGlBlend == GL_BLEND &&
              kGlPerspectiveCorrectionHint == GL_PERSPECTIVE_CORRECTION_HINT &&
              kGlTexture2D == GL_TEXTURE_2D && kGlNicest == GL_NICEST &&
              kGlModelView == GL_MODELVIEW && kGlProjection == GL_PROJECTION &&
              kGlSmooth == GL_SMOOTH);
static_assert(sizeof(DEVMODEA) == 156, "the display-mode request is the 156-byte DEVMODEA");
static_assert(sizeof(PIXELFORMATDESCRIPTOR) == 40);

namespace {

// Optional figures for benchmarks; see the top of this file.
class RunTiming {
  public:
    RunTiming() {
        const char* path = std::getenv("ORVANEL_RENDERER_TIMING");
        if (!path || !*path) {
            return;
        }
        path_ = path;
        LARGE_INTEGER frequency, now;
        ::QueryPerformanceFrequency(&frequency);
        ::QueryPerformanceCounter(&now);
        frequency_ = static_cast<double>(frequency.QuadPart);
        start_ = now.QuadPart;
        // The counter starts here; the process was created a little earlier.
        FILETIME creation, exit, kernel, user, wallClock;
        if (::GetProcessTimes(::GetCurrentProcess(), &creation, &exit, &kernel, &user)) {
            ::GetSystemTimePreciseAsFileTime(&wallClock);
            beforeStartMs_ = static_cast<double>(Ticks(wallClock) - Ticks(creation)) / 10000.0;
        }
    }

    bool enabled() const { return !path_.empty(); }

    void CaptureStarted() {
        if (enabled()) {
            captureStart_ = Now();
        }
    }
    void UploadDone() {
        if (enabled() && captureStart_ != 0) {
            Append("capture_upload_ms %.1f\n", Milliseconds(captureStart_, Now()));
            captureStart_ = 0;
        }
    }
    void FrameShown() {
        ++frames_;
        if (frames_ == 1 && enabled()) {
            firstFrame_ = Now();
            Append("first_frame_ms %.1f\n", beforeStartMs_ + Milliseconds(start_, firstFrame_));
        }
    }
    void Finished() {
        if (enabled()) {
            const double seconds = frames_ ? Milliseconds(firstFrame_, Now()) / 1000.0 : 0.0;
            Append2("frames %lu seconds %.3f\n", static_cast<unsigned long>(frames_), seconds);
        }
    }

  private:
    static std::uint64_t Ticks(const FILETIME& t) {
        return (static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    }
    static std::int64_t Now() {
        LARGE_INTEGER now;
        ::QueryPerformanceCounter(&now);
        return now.QuadPart;
    }
    double Milliseconds(std::int64_t from, std::int64_t to) const {
        return static_cast<double>(to - from) * 1000.0 / frequency_;
    }
    void Append(const char* format, double value) const {
        if (std::FILE* f = std::fopen(path_.c_str(), "a")) {
            std::fprintf(f, format, value);
            std::fclose(f);
        }
    }
    void Append2(const char* format, unsigned long count, double value) const {
        if (std::FILE* f = std::fopen(path_.c_str(), "a")) {
            std::fprintf(f, format, count, value);
            std::fclose(f);
        }
    }

    std::string path_;
    double frequency_ = 1.0;
    std::int64_t start_ = 0;
    double beforeStartMs_ = 0.0;
    std::int64_t captureStart_ = 0;
    std::int64_t firstFrame_ = 0;
    std::uint64_t frames_ = 0;
};

WindowProcedure ClassProcedure = nullptr;

LRESULT CALLBACK ClassWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return ClassProcedure(window, message, wParam, lParam);
}

MSG ToMsg(const Message& m) {
    MSG msg = {};
    msg.hwnd = static_cast<HWND>(m.window);
    msg.message = m.message;
    msg.wParam = m.wParam;
    msg.lParam = m.lParam;
    msg.time = m.time;
    msg.pt.x = m.pt.x;
    msg.pt.y = m.pt.y;
    return msg;
}

Message FromMsg(const MSG& msg) {
    Message m;
    m.window = msg.hwnd;
    m.message = msg.message;
    m.wParam = msg.wParam;
    m.lParam = msg.lParam;
    m.time = msg.time;
    m.pt.x = msg.pt.x;
    m.pt.y = msg.pt.y;
    return m;
}

class Win32Platform final : public RendererPlatform {
  public:
    explicit Win32Platform(RunTiming& timing) : timing_(timing) {}

    int GetSystemMetrics(int index) override { return ::GetSystemMetrics(index); }
    Handle GetModuleHandle() override { return ::GetModuleHandleA(nullptr); }
    Handle LoadCursor(int id) override { return ::LoadCursorA(nullptr, MAKEINTRESOURCEA(id)); }

    bool RegisterClass(const WindowClassRecord& record) override {
        ClassProcedure = record.windowProcedure;
        WNDCLASSA wc = {};
        wc.style = record.style;
        wc.lpfnWndProc = record.windowProcedure ? ClassWindowProc : nullptr;
        wc.cbClsExtra = record.classExtraBytes;
        wc.cbWndExtra = record.windowExtraBytes;
        wc.hInstance = static_cast<HINSTANCE>(record.instance);
        wc.hIcon = static_cast<HICON>(record.icon);
        wc.hCursor = static_cast<HCURSOR>(record.cursor);
        wc.hbrBackground = static_cast<HBRUSH>(record.backgroundBrush);
        wc.lpszMenuName = record.menuName;
        wc.lpszClassName = record.className;
        return ::RegisterClassA(&wc) != 0;
    }

    std::int32_t ChangeDisplaySettings(const DisplayModeRequest* mode,
                                       std::uint32_t flags) override {
        if (!mode) {
            return ::ChangeDisplaySettingsA(nullptr, flags);
        }
        DEVMODEA dm = {};
        dm.dmSize = mode->dmSize;
        dm.dmFields = mode->dmFields;
        dm.dmBitsPerPel = mode->dmBitsPerPel;
        dm.dmPelsWidth = mode->dmPelsWidth;
        dm.dmPelsHeight = mode->dmPelsHeight;
        return ::ChangeDisplaySettingsA(&dm, flags);
    }

    int ShowCursor(bool show) override { return ::ShowCursor(show ? TRUE : FALSE); }

    Handle CreateWindowEx(const WindowRequest& r) override {
        return ::CreateWindowExA(r.exStyle, r.className, r.title, r.style, r.x, r.y, r.width,
                                 r.height, static_cast<HWND>(r.parent), static_cast<HMENU>(r.menu),
                                 static_cast<HINSTANCE>(r.instance), r.creationData);
    }

    Handle GetDC(Handle window) override { return ::GetDC(static_cast<HWND>(window)); }

    static PIXELFORMATDESCRIPTOR ToDescriptor(const PixelFormatRequest& r) {
        PIXELFORMATDESCRIPTOR pfd = {};
        pfd.nSize = r.nSize;
        pfd.nVersion = r.nVersion;
        pfd.dwFlags = r.dwFlags;
        pfd.iPixelType = r.iPixelType;
        pfd.cColorBits = r.cColorBits;
        pfd.cDepthBits = r.cDepthBits;
        return pfd;
    }
    int ChoosePixelFormat(Handle dc, const PixelFormatRequest& request) override {
        const PIXELFORMATDESCRIPTOR pfd = ToDescriptor(request);
        return ::ChoosePixelFormat(static_cast<HDC>(dc), &pfd);
    }
    bool SetPixelFormat(Handle dc, int format, const PixelFormatRequest& request) override {
        const PIXELFORMATDESCRIPTOR pfd = ToDescriptor(request);
        return ::SetPixelFormat(static_cast<HDC>(dc), format, &pfd) != FALSE;
    }
    Handle CreateContext(Handle dc) override { return ::wglCreateContext(static_cast<HDC>(dc)); }
    bool MakeCurrent(Handle dc, Handle context) override {
        return ::wglMakeCurrent(static_cast<HDC>(dc), static_cast<HGLRC>(context)) != FALSE;
    }

    void SetTimer(Handle window, std::uintptr_t id, std::uint32_t milliseconds) override {
        ::SetTimer(static_cast<HWND>(window), id, milliseconds, nullptr);
    }
    void ShowWindow(Handle window, int command) override {
        ::ShowWindow(static_cast<HWND>(window), command);
    }
    void SetForegroundWindow(Handle window) override {
        ::SetForegroundWindow(static_cast<HWND>(window));
    }
    void SetFocus(Handle window) override { ::SetFocus(static_cast<HWND>(window)); }

    bool GetCursorPos(Point& position) override {
        POINT p;
        if (!::GetCursorPos(&p)) {
            return false;
        }
        position.x = p.x;
        position.y = p.y;
        return true;
    }

    bool PeekMessage(Message& message) override {
        MSG msg;
        if (!::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            return false;
        }
        message = FromMsg(msg);
        return true;
    }
    void TranslateMessage(const Message& message) override {
        const MSG msg = ToMsg(message);
        ::TranslateMessage(&msg);
    }
    void DispatchMessage(const Message& message) override {
        const MSG msg = ToMsg(message);
        ::DispatchMessageA(&msg);
    }
    std::intptr_t DefWindowProc(Handle window, std::uint32_t message, std::uintptr_t wParam,
                                std::intptr_t lParam) override {
        return ::DefWindowProcA(static_cast<HWND>(window), message, wParam, lParam);
    }
    void PostQuitMessage(int exitCode) override { ::PostQuitMessage(exitCode); }
    std::uint32_t GetTickCount() override { return ::GetTickCount(); }

    std::unique_ptr<ScreenBitmap> CaptureScreen(int width, int height) override {
        timing_.CaptureStarted();
        return CopyScreen(width, height);
    }
    std::uint32_t CreateTexture(std::uint16_t width, std::uint16_t height,
                                const std::uint8_t* pixels) override {
        const std::uint32_t name = Kelbrin::CreateTexture(width, height, pixels);
        timing_.UploadDone();
        return name;
    }

    void ClearColor(float r, float g, float b, float a) override { ::glClearColor(r, g, b, a); }
    void ShadeModel(std::uint32_t mode) override { ::glShadeModel(mode); }
    void ClearDepth(double depth) override { ::glClearDepth(depth); }
    void Enable(std::uint32_t capability) override { ::glEnable(capability); }
    void DepthFunc(std::uint32_t func) override { ::glDepthFunc(func); }
    void BlendFunc(std::uint32_t source, std::uint32_t destination) override {
        ::glBlendFunc(source, destination);
    }
    void Hint(std::uint32_t target, std::uint32_t mode) override { ::glHint(target, mode); }
    void Viewport(int x, int y, int width, int height) override {
        ::glViewport(x, y, width, height);
    }
    void MatrixMode(std::uint32_t mode) override { ::glMatrixMode(mode); }
    void LoadIdentity() override { ::glLoadIdentity(); }
    void Perspective(double fovY, double aspect, double zNear, double zFar) override {
        ::gluPerspective(fovY, aspect, zNear, zFar);
    }
    void Clear(std::uint32_t mask) override { ::glClear(mask); }
    void PushMatrix() override { ::glPushMatrix(); }
    void PopMatrix() override { ::glPopMatrix(); }
    void Translatef(float x, float y, float z) override { ::glTranslatef(x, y, z); }
    void Rotatef(float angle, float x, float y, float z) override { ::glRotatef(angle, x, y, z); }
    void BindTexture(std::uint32_t target, std::uint32_t texture) override {
        ::glBindTexture(target, texture);
    }
    void Color3f(float r, float g, float b) override { ::glColor3f(r, g, b); }
    void Begin(std::uint32_t mode) override { ::glBegin(mode); }
    void End() override { ::glEnd(); }
    void TexCoord2f(float s, float t) override { ::glTexCoord2f(s, t); }
    void Vertex2f(float x, float y) override { ::glVertex2f(x, y); }
    void SwapBuffers(Handle dc) override {
        ::SwapBuffers(static_cast<HDC>(dc));
        timing_.FrameShown();
    }

  private:
    RunTiming& timing_;
};

} // namespace

} // namespace Kelbrin

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // Every floating-point exception stays masked for the whole run, before
    // anything of the renderer runs (x87 and SSE alike).
    _controlfp(_MCW_EM, _MCW_EM);
    _MM_SET_EXCEPTION_MASK(_MM_MASK_MASK);

    Kelbrin::RunTiming timing;
    Kelbrin::Win32Platform platform(timing);
    const int exitCode = Kelbrin::RendererMain(platform);
    timing.Finished();
    return exitCode;
}
