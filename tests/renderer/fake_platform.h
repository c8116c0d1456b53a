// A RendererPlatform that records every call with its arguments and answers
// from settings the test chooses. Messages come from a script: each entry is a
// message, or "nothing waiting" (a frame); when the script is used up the fake
// delivers WM_QUIT so no test can loop for ever.
#pragma once

#include <cstdint>
#include <cstring>
#include <deque>
#include <functional>
#include <initializer_list>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "Kelbrin.h"

namespace kelbrin_test {

using Kelbrin::Handle;

inline Handle H(std::uintptr_t value) {
    return reinterpret_cast<Handle>(value);
}

struct Call {
    std::string name;
    std::vector<double> args;
};

// A screen picture of 4-byte pixels, rows from the top.
class FakeBitmap final : public Kelbrin::ScreenBitmap {
  public:
    FakeBitmap(int width, int height)
        : width_(width), height_(height), bytes_(static_cast<std::size_t>(width) * height * 4) {}
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    void ConvertTo32Bits() override { converted = true; }
    const std::uint8_t* ScanLine(int row) const override {
        return bytes_.data() + static_cast<std::size_t>(row) * width_ * 4;
    }
    void SetPixel(int x, int y, std::uint8_t b, std::uint8_t g, std::uint8_t r, std::uint8_t x4) {
        std::uint8_t* p = bytes_.data() + (static_cast<std::size_t>(y) * width_ + x) * 4;
        p[0] = b;
        p[1] = g;
        p[2] = r;
        p[3] = x4;
    }
    bool converted = false;

  private:
    int width_;
    int height_;
    std::vector<std::uint8_t> bytes_;
};

class FakePlatform final : public Kelbrin::RendererPlatform {
  public:
    // Answers.
    int screenWidth = 1024;
    int screenHeight = 768;
    Handle module = H(0x400000);
    Handle crossCursor = H(0x7F07);
    bool registerOk = true;
    std::int32_t displayResult = 0;
    Handle window = H(0x100);
    Handle dc = H(0x200);
    int format = 7;
    bool setFormatOk = true;
    Handle context = H(0x300);
    bool makeCurrentOk = true;
    Kelbrin::Point cursor;
    std::intptr_t defaultResult = 0x5A5A;
    std::uint32_t tick = 0;
    std::uint32_t textureName = 42;
    bool captureThrows = false; // resources exhausted while taking the picture
    std::deque<std::optional<Kelbrin::Message>> script;
    std::function<void()> onSwap;
    bool quiet = false; // record nothing (for counting the renderer's own allocations)

    // What was handed over.
    std::vector<Call> calls;
    Kelbrin::WindowClassRecord windowClass;
    std::optional<Kelbrin::DisplayModeRequest> mode;
    Kelbrin::WindowRequest windowRequest;
    std::string className, title;
    std::vector<Kelbrin::PixelFormatRequest> pixelFormats;
    std::vector<std::uint8_t> uploaded;
    int uploadWidth = -1, uploadHeight = -1;
    int frames = 0;

    // Helpers for tests.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const Call& c : calls) {
            names.push_back(c.name);
        }
        return names;
    }
    // Index of the first call with this name, or -1.
    int Find(const std::string& name) const {
        for (std::size_t i = 0; i < calls.size(); ++i) {
            if (calls[i].name == name) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }
    int Count(const std::string& name) const {
        int n = 0;
        for (const Call& c : calls) {
            n += c.name == name;
        }
        return n;
    }
    void Queue(std::uint32_t message, std::uintptr_t wParam = 0, std::intptr_t lParam = 0) {
        Kelbrin::Message m;
        m.window = window;
        m.message = message;
        m.wParam = wParam;
        m.lParam = lParam;
        script.push_back(m);
    }
    void QueueNothing() { script.push_back(std::nullopt); }

    // Window system.
    int GetSystemMetrics(int index) override {
        Log("GetSystemMetrics", {double(index)});
        return index == Kelbrin::kSmCxScreen ? screenWidth : screenHeight;
    }
    Handle GetModuleHandle() override {
        Log("GetModuleHandle");
        return module;
    }
    Handle LoadCursor(int id) override {
        Log("LoadCursor", {double(id)});
        return crossCursor;
    }
    bool RegisterClass(const Kelbrin::WindowClassRecord& record) override {
        Log("RegisterClass");
        windowClass = record;
        className = record.className ? record.className : "";
        return registerOk;
    }
    std::int32_t ChangeDisplaySettings(const Kelbrin::DisplayModeRequest* request,
                                       std::uint32_t flags) override {
        Log(request ? "ChangeDisplaySettings" : "ChangeDisplaySettings(null)", {double(flags)});
        if (request) {
            mode = *request;
        }
        return request ? displayResult : 0;
    }
    int ShowCursor(bool show) override {
        Log(show ? "ShowCursor(TRUE)" : "ShowCursor(FALSE)");
        return 0;
    }
    Handle CreateWindowEx(const Kelbrin::WindowRequest& request) override {
        Log("CreateWindowEx");
        windowRequest = request;
        title = request.title ? request.title : "";
        return window;
    }
    Handle GetDC(Handle w) override {
        Log("GetDC", {Num(w)});
        return dc;
    }
    int ChoosePixelFormat(Handle d, const Kelbrin::PixelFormatRequest& request) override {
        Log("ChoosePixelFormat", {Num(d)});
        pixelFormats.push_back(request);
        return format;
    }
    bool SetPixelFormat(Handle d, int f, const Kelbrin::PixelFormatRequest& request) override {
        Log("SetPixelFormat", {Num(d), double(f)});
        pixelFormats.push_back(request);
        return setFormatOk;
    }
    Handle CreateContext(Handle d) override {
        Log("CreateContext", {Num(d)});
        return context;
    }
    bool MakeCurrent(Handle d, Handle c) override {
        Log("MakeCurrent", {Num(d), Num(c)});
        return makeCurrentOk;
    }
    void SetTimer(Handle w, std::uintptr_t id, std::uint32_t ms) override {
        Log("SetTimer", {Num(w), double(id), double(ms)});
    }
    void ShowWindow(Handle w, int command) override {
        Log("ShowWindow", {Num(w), double(command)});
    }
    void SetForegroundWindow(Handle w) override { Log("SetForegroundWindow", {Num(w)}); }
    void SetFocus(Handle w) override { Log("SetFocus", {Num(w)}); }
    bool GetCursorPos(Kelbrin::Point& position) override {
        Log("GetCursorPos");
        position = cursor;
        return true;
    }
    bool PeekMessage(Kelbrin::Message& message) override {
        Log("PeekMessage");
        if (script.empty()) {
            message = Kelbrin::Message();
            message.message = Kelbrin::kWmQuit;
            return true;
        }
        const std::optional<Kelbrin::Message> next = script.front();
        script.pop_front();
        if (!next) {
            return false;
        }
        message = *next;
        return true;
    }
    void TranslateMessage(const Kelbrin::Message& m) override {
        Log("TranslateMessage", {double(m.message)});
    }
    void DispatchMessage(const Kelbrin::Message& m) override {
        Log("DispatchMessage", {double(m.message)});
        Kelbrin::WindowProc(m.window, m.message, m.wParam, m.lParam);
    }
    std::intptr_t DefWindowProc(Handle w, std::uint32_t message, std::uintptr_t wParam,
                                std::intptr_t lParam) override {
        Log("DefWindowProc", {Num(w), double(message), double(wParam), double(lParam)});
        return defaultResult;
    }
    void PostQuitMessage(int code) override {
        Log("PostQuitMessage", {double(code)});
        Kelbrin::Message m;
        m.message = Kelbrin::kWmQuit;
        script.push_front(m);
    }
    std::uint32_t GetTickCount() override {
        Log("GetTickCount");
        return tick;
    }

    std::unique_ptr<Kelbrin::ScreenBitmap> CaptureScreen(int width, int height) override {
        Log("CaptureScreen", {double(width), double(height)});
        if (captureThrows) {
            throw std::bad_alloc();
        }
        return std::make_unique<FakeBitmap>(width, height);
    }
    std::uint32_t CreateTexture(std::uint16_t width, std::uint16_t height,
                                const std::uint8_t* pixels) override {
        Log("CreateTexture", {double(width), double(height)});
        uploadWidth = width;
        uploadHeight = height;
        uploaded.assign(pixels, pixels + static_cast<std::size_t>(width) * height * 4);
        return textureName;
    }

    // OpenGL and GLU.
    void ClearColor(float r, float g, float b, float a) override {
        Log("glClearColor", {r, g, b, a});
    }
    void ShadeModel(std::uint32_t m) override { Log("glShadeModel", {double(m)}); }
    void ClearDepth(double d) override { Log("glClearDepth", {d}); }
    void Enable(std::uint32_t c) override { Log("glEnable", {double(c)}); }
    void DepthFunc(std::uint32_t f) override { Log("glDepthFunc", {double(f)}); }
    void BlendFunc(std::uint32_t s, std::uint32_t d) override {
        Log("glBlendFunc", {double(s), double(d)});
    }
    void Hint(std::uint32_t t, std::uint32_t m) override { Log("glHint", {double(t), double(m)}); }
    void Viewport(int x, int y, int w, int h) override {
        Log("glViewport", {double(x), double(y), double(w), double(h)});
    }
    void MatrixMode(std::uint32_t m) override { Log("glMatrixMode", {double(m)}); }
    void LoadIdentity() override { Log("glLoadIdentity"); }
    void Perspective(double fovY, double aspect, double zNear, double zFar) override {
        Log("gluPerspective", {fovY, aspect, zNear, zFar});
    }
    void Clear(std::uint32_t mask) override { Log("glClear", {double(mask)}); }
    void PushMatrix() override { Log("glPushMatrix"); }
    void PopMatrix() override { Log("glPopMatrix"); }
    void Translatef(float x, float y, float z) override { Log("glTranslatef", {x, y, z}); }
    void Rotatef(float a, float x, float y, float z) override { Log("glRotatef", {a, x, y, z}); }
    void BindTexture(std::uint32_t t, std::uint32_t name) override {
        Log("glBindTexture", {double(t), double(name)});
    }
    void Color3f(float r, float g, float b) override { Log("glColor3f", {r, g, b}); }
    void Begin(std::uint32_t m) override { Log("glBegin", {double(m)}); }
    void End() override { Log("glEnd"); }
    void TexCoord2f(float s, float t) override { Log("glTexCoord2f", {s, t}); }
    void Vertex2f(float x, float y) override { Log("glVertex2f", {x, y}); }
    void SwapBuffers(Handle d) override {
        Log("SwapBuffers", {Num(d)});
        ++frames;
        if (onSwap) {
            onSwap();
        }
    }

  private:
    static double Num(Handle h) { return double(reinterpret_cast<std::uintptr_t>(h)); }
    // Takes an initializer list, which lives on the stack, so a quiet fake
    // allocates nothing at all.
    void Log(const char* name, std::initializer_list<double> args = {}) {
        if (quiet) {
            return;
        }
        calls.push_back(Call{name, std::vector<double>(args)});
    }
};

} // namespace kelbrin_test
