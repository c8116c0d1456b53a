// bare_quad.exe SECONDS: the yardstick for the renderer's frame rate. A full
// screen GL window that draws one textured quad over the whole view per frame,
// with the renderer's GL state (depth test, blending, a texture of the size the
// desktop's becomes) and nothing else, as fast as the buffer swap allows, and
// prints "frames N seconds S".
#include <windows.h>
#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

LRESULT CALLBACK BareProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

} // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 3.0;
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    WNDCLASSA wc = {};
    wc.style = CS_OWNDC;
    wc.lpfnWndProc = BareProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "BareQuad";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(WS_EX_APPWINDOW, "BareQuad", "bare quad", WS_POPUP, 0, 0, width,
                                  height, nullptr, nullptr, wc.hInstance, nullptr);
    HDC dc = GetDC(window);
    PIXELFORMATDESCRIPTOR pfd = {};
    pfd.nSize = sizeof pfd;
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd.cColorBits = 32;
    pfd.cDepthBits = 16;
    SetPixelFormat(dc, ChoosePixelFormat(dc, &pfd), &pfd);
    HGLRC context = wglCreateContext(dc);
    wglMakeCurrent(dc, context);
    ShowWindow(window, SW_SHOWNORMAL);

    // The power-of-two sides the desktop picture is scaled to on upload.
    int side = 1;
    while (side * 2 <= (width > height ? width : height)) {
        side *= 2;
    }
    std::vector<unsigned> pixels(static_cast<size_t>(side) * side, 0xFF8040C0u);
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, side, side, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 pixels.data());
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_COLOR);
    glViewport(0, 0, width, height);

    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    long frames = 0;
    MSG msg;
    for (;;) {
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                break;
            }
            DispatchMessageA(&msg);
            continue;
        }
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glBegin(GL_QUADS);
        glTexCoord2f(0, 0), glVertex2f(-1.0f, -1.0f);
        glTexCoord2f(1, 0), glVertex2f(1.0f, -1.0f);
        glTexCoord2f(1, 1), glVertex2f(1.0f, 1.0f);
        glTexCoord2f(0, 1), glVertex2f(-1.0f, 1.0f);
        glEnd();
        SwapBuffers(dc);
        ++frames;
        QueryPerformanceCounter(&now);
        if (double(now.QuadPart - start.QuadPart) / double(frequency.QuadPart) >= seconds) {
            break;
        }
    }
    const double elapsed = double(now.QuadPart - start.QuadPart) / double(frequency.QuadPart);
    std::printf("frames %ld seconds %.3f\n", frames, elapsed);
    std::fflush(stdout);
    return 0;
}
