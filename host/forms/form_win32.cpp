#include "form_win32.h"

#include <windowsx.h>

#include <algorithm>

#include "app.h"
#include "twips.h"
#include "wide_win32.h"

namespace forms {

namespace {

const wchar_t kFormClass[] = L"OrvanelForm";
const wchar_t kOwnerClass[] = L"OrvanelFormsOwner";
// A tick that had to wait is let through by this message (lParam: the timer).
const UINT kPendingTickMessage = WM_APP + 0x3F0;

HandlerGate g_gate;
std::vector<Timer*> g_pending;
int g_loadedForms = 0;

void WakeLoops() {
    // The loops test their condition after every message; a thread message is
    // enough to make them look again.
    PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
}

// Forms kept out of the taskbar are owned by this hidden window, as owned
// windows get no taskbar button.
HWND OwnerWindow() {
    static UniqueWindow owner;
    if (!owner) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = ModuleInstance();
        wc.lpszClassName = kOwnerClass;
        RegisterClassExW(&wc);
        owner.reset(CreateWindowExW(0, kOwnerClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                    ModuleInstance(), nullptr));
    }
    return owner.get();
}

bool IsFormWindow(HWND hwnd) {
    wchar_t name[32];
    return hwnd && GetClassNameW(hwnd, name, 32) > 0 && lstrcmpW(name, kFormClass) == 0;
}

struct DisableList {
    HWND keep;
    std::vector<HWND>* out;
};

BOOL CALLBACK DisableOne(HWND hwnd, LPARAM lParam) {
    auto* list = reinterpret_cast<DisableList*>(lParam);
    if (hwnd != list->keep && IsWindowEnabled(hwnd)) {
        EnableWindow(hwnd, FALSE);
        list->out->push_back(hwnd);
    }
    return TRUE;
}

int ShiftState(WPARAM wParam) {
    int shift = 0;
    if (wParam & MK_SHIFT) {
        shift |= 1;
    }
    if (wParam & MK_CONTROL) {
        shift |= 2;
    }
    if (GetKeyState(VK_MENU) < 0) {
        shift |= 4;
    }
    return shift;
}

int HeldButtons(WPARAM wParam) {
    int b = 0;
    if (wParam & MK_LBUTTON) {
        b |= 1;
    }
    if (wParam & MK_RBUTTON) {
        b |= 2;
    }
    if (wParam & MK_MBUTTON) {
        b |= 4;
    }
    return b;
}

} // namespace

namespace detail {

HandlerGate& Gate() {
    return g_gate;
}

void AfterHandler() {
    if (!g_gate.AtRest() || g_pending.empty()) {
        return;
    }
    std::vector<Timer*> waiting;
    waiting.swap(g_pending);
    for (Timer* t : waiting) {
        HWND hwnd = t->owner_.Hwnd();
        if (hwnd && t->pending_) {
            PostMessageW(hwnd, kPendingTickMessage, 0, reinterpret_cast<LPARAM>(t));
        } else {
            t->pending_ = false;
        }
    }
}

void DispatchLoopMessage(MSG& msg) {
    // Tab and the arrow keys move the focus between the controls of a form.
    if (msg.hwnd) {
        HWND root = GetAncestor(msg.hwnd, GA_ROOT);
        if (IsFormWindow(root) && IsDialogMessageW(root, &msg)) {
            return;
        }
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

} // namespace detail

int LoadedFormCount() {
    return g_loadedForms;
}

GdiFont CreateGdiFont(const FontDescription& desc) {
    WindowDc screen(nullptr);
    int dpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
    std::wstring name = WidenUtf8(desc.name);
    return GdiFont(CreateFontW(
        -FontHeightPixels(desc.size, dpi), 0, 0, 0, desc.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE,
        FALSE, static_cast<DWORD>(desc.charset), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
        DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, name.c_str()));
}

// ---------------------------------------------------------------- Graphic

Graphic::Graphic(Container& container) : container_(container) {
    container_.graphics_.push_back(this);
}

Graphic::~Graphic() {
    auto& list = container_.graphics_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    if (container_.pressed_ == this) {
        container_.pressed_ = nullptr;
    }
    Invalidate();
}

void Graphic::Move(int x, int y, int width, int height) {
    Invalidate();
    rect_ = RECT{x, y, x + std::max(width, 0), y + std::max(height, 0)};
    Invalidate();
}

void Graphic::SetVisible(bool visible) {
    if (visible != visible_) {
        visible_ = visible;
        Invalidate();
    }
}

void Graphic::Invalidate() const {
    if (HWND hwnd = container_.Hwnd()) {
        InvalidateRect(hwnd, &rect_, FALSE);
    }
}

// ---------------------------------------------------------------- ChildWindow

ChildWindow::ChildWindow(Container& parent) : parent_(parent) {
    parent_.children_.push_back(this);
}

ChildWindow::~ChildWindow() {
    auto& list = parent_.children_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

void ChildWindow::CreateIfParentReady() {
    if (parent_.Hwnd() && !ControlHwnd()) {
        CreateIn(parent_.Hwnd());
    }
}

DWORD ChildWindow::VisibilityStyle() const {
    return (visible_ ? WS_VISIBLE : 0) | (enabled_ ? 0 : WS_DISABLED);
}

void ChildWindow::Move(int x, int y, int width, int height) {
    rect_ = RECT{x, y, x + std::max(width, 0), y + std::max(height, 0)};
    Place();
}

void ChildWindow::Place() {
    if (HWND h = ControlHwnd()) {
        MoveWindow(h, rect_.left, rect_.top, Width(), Height(), TRUE);
    }
}

void ChildWindow::SetVisible(bool visible) {
    visible_ = visible;
    if (HWND h = ControlHwnd()) {
        ShowWindow(h, visible ? SW_SHOWNA : SW_HIDE);
    }
}

void ChildWindow::SetEnabled(bool enabled) {
    enabled_ = enabled;
    if (HWND h = ControlHwnd()) {
        EnableWindow(h, enabled ? TRUE : FALSE);
    }
}

// ---------------------------------------------------------------- Container

Container::~Container() {
    for (Timer* t : timers_) {
        t->Disarm();
    }
}

void Container::SetBackColor(COLORREF colour) {
    backColor_ = colour;
    if (Hwnd()) {
        InvalidateRect(Hwnd(), nullptr, FALSE);
    }
}

void Container::SetFont(const FontDescription& font) {
    font_ = font;
    // The old font may still be selected somewhere: it goes after the new one
    // has taken its place.
    GdiFont old = std::move(fontHandle_);
    OnFontChanged();
}

HFONT Container::FontHandle() {
    if (!fontHandle_) {
        fontHandle_ = CreateGdiFont(font_);
    }
    return fontHandle_.get();
}

int Container::ScaleWidth() const {
    RECT r{};
    if (Hwnd()) {
        GetClientRect(Hwnd(), &r);
    }
    return r.right - r.left;
}

int Container::ScaleHeight() const {
    RECT r{};
    if (Hwnd()) {
        GetClientRect(Hwnd(), &r);
    }
    return r.bottom - r.top;
}

void Container::Refresh() {
    if (Hwnd()) {
        RedrawWindow(Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
}

int Container::Level() const {
    return parent_ ? parent_->Level() : 0;
}

void Container::WindowReady() {
    for (ChildWindow* c : children_) {
        c->CreateIn(Hwnd());
    }
    for (Timer* t : timers_) {
        t->Arm();
    }
}

void Container::PaintContent(HDC dc, const RECT& area) {
    PaintBackground(dc, area);
    for (Graphic* g : graphics_) {
        if (g->visible_) {
            g->Paint(dc);
        }
    }
}

void Container::OnWindowGone() {
    for (ChildWindow* c : children_) {
        c->ParentGone();
    }
    for (Timer* t : timers_) {
        t->armed_ = false; // the system killed them with the window
        t->pending_ = false;
    }
    pressed_ = nullptr;
}

void Container::PaintBackground(HDC dc, const RECT& area) {
    GdiBrush brush(CreateSolidBrush(backColor_));
    FillRect(dc, &area, brush.get());
}

void Container::OnMouseDown(const MouseArgs& args) {
    if (onMouseDown) {
        onMouseDown(args);
    }
}

void Container::OnMouseMove(const MouseArgs& args) {
    if (onMouseMove) {
        onMouseMove(args);
    }
}

void Container::OnMouseUp(const MouseArgs& args) {
    if (onMouseUp) {
        onMouseUp(args);
    }
}

Graphic* Container::GraphicAt(POINT p) const {
    for (auto it = graphics_.rbegin(); it != graphics_.rend(); ++it) {
        Graphic* g = *it;
        if (g->visible_ && g->TakesMouse() && PtInRect(&g->rect_, p)) {
            return g;
        }
    }
    return nullptr;
}

void Container::MouseEvent(UINT message, WPARAM wParam, LPARAM lParam) {
    POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    MouseArgs args;
    args.shift = ShiftState(wParam);
    args.x = p.x;
    args.y = p.y;
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
        args.button = 1;
        break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        args.button = 2;
        break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        args.button = 4;
        break;
    default:
        args.button = HeldButtons(wParam);
    }
    bool down = message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN;
    bool up = message == WM_LBUTTONUP || message == WM_RBUTTONUP || message == WM_MBUTTONUP;

    // While a button is held, the control that got the press gets the rest.
    Graphic* target = (up || message == WM_MOUSEMOVE) && pressed_ ? pressed_ : GraphicAt(p);
    if (down) {
        detail::RunHandler([this] { OnButtonPressed(); });
        SetCapture(Hwnd());
        pressed_ = target;
    }
    if (target) {
        MouseArgs inside = args;
        inside.x -= target->rect_.left;
        inside.y -= target->rect_.top;
        const auto& handler = down ? target->onMouseDown
                              : up ? target->onMouseUp
                                   : target->onMouseMove;
        if (handler) {
            detail::RunHandler([&] { handler(inside); });
        }
        if (up && args.button == 1 && target->onClick && PtInRect(&target->rect_, p)) {
            detail::RunHandler([&] { target->onClick(); });
        }
    } else if (down) {
        detail::RunHandler([&] { OnMouseDown(args); });
    } else if (up) {
        detail::RunHandler([&] { OnMouseUp(args); });
        RECT client{};
        GetClientRect(Hwnd(), &client);
        if (args.button == 1 && onClick && PtInRect(&client, p)) {
            detail::RunHandler([&] { onClick(); });
        }
    } else {
        detail::RunHandler([&] { OnMouseMove(args); });
    }
    if (up && HeldButtons(wParam) == 0) {
        pressed_ = nullptr;
        if (GetCapture() == Hwnd()) {
            ReleaseCapture();
        }
    }
}

LRESULT Container::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1; // WM_PAINT covers every pixel
    case WM_PAINT: {
        PaintDc paint(Hwnd());
        PaintContent(paint.get(), paint.dirty());
        return 0;
    }
    case WM_TIMER:
        for (Timer* t : timers_) {
            if (reinterpret_cast<UINT_PTR>(t) == wParam) {
                t->Fire();
                break;
            }
        }
        return 0;
    case kPendingTickMessage:
        for (Timer* t : timers_) {
            if (reinterpret_cast<LPARAM>(t) == lParam) {
                if (t->pending_) {
                    t->Arm(); // the period starts again from the tick that waited
                    t->Fire();
                }
                break;
            }
        }
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MOUSEMOVE:
        MouseEvent(message, wParam, lParam);
        return 0;
    case WM_CAPTURECHANGED:
        pressed_ = nullptr;
        return 0;
    case WM_DESTROY:
        for (ChildWindow* c : children_) {
            c->ParentClosing();
        }
        break;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT) {
            if (ScreenMousePointer() == MousePointer::Hourglass) {
                SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)));
                return TRUE;
            }
            if (cursor_) {
                SetCursor(cursor_);
                return TRUE;
            }
        }
        break;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

// ---------------------------------------------------------------- Timer

Timer::Timer(Container& owner) : owner_(owner) {
    owner_.timers_.push_back(this);
}

Timer::~Timer() {
    Disarm();
    auto& list = owner_.timers_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    g_pending.erase(std::remove(g_pending.begin(), g_pending.end(), this), g_pending.end());
}

void Timer::SetInterval(unsigned milliseconds) {
    if (milliseconds == interval_) {
        return;
    }
    interval_ = milliseconds;
    Arm();
}

void Timer::SetEnabled(bool enabled) {
    if (enabled == enabled_) {
        return;
    }
    enabled_ = enabled;
    Arm();
}

void Timer::Arm() {
    HWND hwnd = owner_.Hwnd();
    if (hwnd && enabled_ && interval_ > 0) {
        armed_ = SetTimer(hwnd, reinterpret_cast<UINT_PTR>(this), interval_, nullptr) != 0;
    } else {
        Disarm();
    }
}

void Timer::Disarm() {
    if (armed_) {
        if (HWND hwnd = owner_.Hwnd()) {
            KillTimer(hwnd, reinterpret_cast<UINT_PTR>(this));
        }
        armed_ = false;
    }
    pending_ = false;
}

void Timer::Fire() {
    if (!armed_ || !enabled_) {
        pending_ = false;
        return;
    }
    // The gate keeps a tick out of any running handler and out of this timer's
    // own handler; such a tick waits and runs once when the gate is at rest.
    if (!g_gate.MayTick(owner_.Level(), running_)) {
        if (!pending_) {
            pending_ = true;
            g_pending.push_back(this);
        }
        return;
    }
    if (pending_) {
        pending_ = false;
        g_pending.erase(std::remove(g_pending.begin(), g_pending.end(), this), g_pending.end());
    }
    running_ = true;
    detail::RunHandler([this] {
        if (onTick) {
            onTick();
        }
    });
    running_ = false;
}

// ---------------------------------------------------------------- Form

Form::Form(std::wstring caption) : Container(nullptr), caption_(std::move(caption)) {}

Form::~Form() {
    if (loaded_) {
        MarkUnloaded();
    }
    EnableOthers();
}

void Form::SetCaption(const std::wstring& caption) {
    caption_ = caption;
    if (Hwnd()) {
        SetWindowTextW(Hwnd(), caption_.c_str());
    }
}

void Form::SetIcon(HICON icon) {
    icon_ = icon;
    if (Hwnd()) {
        SendMessageW(Hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
        SendMessageW(Hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    }
}

void Form::Move(double left, double top, double width, double height) {
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    if (Hwnd()) {
        double tx = TwipsPerPixelX(), ty = TwipsPerPixelY();
        SetWindowPos(Hwnd(), nullptr, TwipsToPixels(left, tx), TwipsToPixels(top, ty),
                     TwipsToPixels(width, tx), TwipsToPixels(height, ty),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

namespace {
// The window's rectangle, in its parent's client area when it is a child.
RECT PlacedRect(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    if (GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD) {
        if (HWND parent = GetParent(hwnd)) {
            MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
        }
    }
    return r;
}
} // namespace

double Form::LeftTwips() const {
    return Hwnd() ? PixelsToTwips(PlacedRect(Hwnd()).left, TwipsPerPixelX()) : left_;
}
double Form::TopTwips() const {
    return Hwnd() ? PixelsToTwips(PlacedRect(Hwnd()).top, TwipsPerPixelY()) : top_;
}
double Form::WidthTwips() const {
    if (!Hwnd()) {
        return width_;
    }
    RECT r = PlacedRect(Hwnd());
    return PixelsToTwips(r.right - r.left, TwipsPerPixelX());
}
double Form::HeightTwips() const {
    if (!Hwnd()) {
        return height_;
    }
    RECT r = PlacedRect(Hwnd());
    return PixelsToTwips(r.bottom - r.top, TwipsPerPixelY());
}

bool Form::Load() {
    if (loaded_) {
        return true;
    }
    if (!RegisterClassOnce(kFormClass, 0, nullptr)) {
        return false;
    }
    DWORD style = WS_CLIPCHILDREN;
    DWORD ex = WS_EX_CONTROLPARENT;
    switch (border_) {
    case BorderStyle::None:
        style |= WS_POPUP;
        break;
    case BorderStyle::FixedSingle:
    case BorderStyle::FixedDialog:
        style |= WS_OVERLAPPED | WS_CAPTION;
        if (border_ == BorderStyle::FixedDialog) {
            ex |= WS_EX_DLGMODALFRAME;
        }
        break;
    case BorderStyle::Sizable:
        style |= WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME;
        break;
    }
    if (border_ != BorderStyle::None && controlBox_) {
        style |= WS_SYSMENU;
        if (minButton_) {
            style |= WS_MINIMIZEBOX;
        }
        if (maxButton_) {
            style |= WS_MAXIMIZEBOX;
        }
    }
    HWND owner = nullptr;
    if (showInTaskbar_) {
        ex |= WS_EX_APPWINDOW;
    } else {
        owner = OwnerWindow();
    }
    double tx = TwipsPerPixelX(), ty = TwipsPerPixelY();
    level_ = g_gate.Level();
    if (!Create(kFormClass, ex, style, caption_, TwipsToPixels(left_, tx), TwipsToPixels(top_, ty),
                TwipsToPixels(width_, tx), TwipsToPixels(height_, ty), owner)) {
        return false;
    }
    loaded_ = true;
    ++g_loadedForms;
    if (icon_) {
        SetIcon(icon_);
    }
    WindowReady();
    detail::RunHandler([this] { OnLoad(); });
    return loaded_;
}

void Form::Show() {
    if (!Load()) {
        return;
    }
    if (Hwnd()) {
        ShowWindow(Hwnd(), SW_SHOW);
    }
}

void Form::ShowModal() {
    if (!Load() || !Hwnd()) {
        return;
    }
    level_ = g_gate.BeginModal();
    DisableList list{Hwnd(), &disabledByModal_};
    EnumThreadWindows(GetCurrentThreadId(), DisableOne, reinterpret_cast<LPARAM>(&list));
    ShowWindow(Hwnd(), SW_SHOW);
    SetForegroundWindow(Hwnd());
    MSG msg;
    while (loaded_) {
        BOOL r = GetMessageW(&msg, nullptr, 0, 0);
        if (r == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam)); // for the loop outside
            break;
        }
        if (r < 0) {
            break;
        }
        detail::DispatchLoopMessage(msg);
    }
    EnableOthers();
    g_gate.EndModal();
    detail::AfterHandler();
}

void Form::Hide() {
    if (Hwnd()) {
        ShowWindow(Hwnd(), SW_HIDE);
    }
}

bool Form::Visible() const {
    return Hwnd() && IsWindowVisible(Hwnd());
}

bool Form::UnloadFor(UnloadReason reason) {
    if (!loaded_) {
        return true;
    }
    if (unloading_) {
        return false; // asked again from inside its own unload handlers
    }
    unloading_ = true;
    bool cancel = false;
    detail::RunHandler([&] { cancel = OnQueryUnload(reason); });
    if (cancel || !loaded_) {
        unloading_ = false;
        return !loaded_;
    }
    detail::RunHandler([this] { OnUnload(); });
    Finish();
    return true;
}

void Form::Finish() {
    // Give the other windows back before this one goes, so the activation
    // passes to them and not to another program.
    EnableOthers();
    if (loaded_) {
        MarkUnloaded();
    }
    Destroy();
}

void Form::MarkUnloaded() {
    loaded_ = false;
    unloading_ = false;
    sessionQueried_ = false;
    --g_loadedForms;
    WakeLoops();
}

void Form::EnableOthers() {
    for (HWND h : disabledByModal_) {
        if (IsWindow(h)) {
            EnableWindow(h, TRUE);
        }
    }
    disabledByModal_.clear();
}

void Form::OnWindowGone() {
    // Destroyed from outside (its parent window went): no handler can run on a
    // window that is gone, so the form is simply no longer loaded.
    if (loaded_) {
        MarkUnloaded();
    }
    Container::OnWindowGone();
}

LRESULT Form::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        UnloadFor(UnloadReason::ControlMenu);
        return 0;
    case WM_QUERYENDSESSION: {
        if (!loaded_ || unloading_) {
            return TRUE;
        }
        bool cancel = false;
        unloading_ = true;
        detail::RunHandler([&] { cancel = OnQueryUnload(UnloadReason::WindowsSession); });
        unloading_ = false;
        sessionQueried_ = loaded_ && !cancel;
        return cancel ? FALSE : TRUE;
    }
    case WM_ENDSESSION:
        if (wParam && loaded_ && !unloading_) {
            if (!sessionQueried_) {
                UnloadFor(UnloadReason::WindowsSession);
            } else {
                unloading_ = true;
                detail::RunHandler([this] { OnUnload(); });
                Finish();
            }
        }
        sessionQueried_ = false;
        return 0;
    }
    return Container::HandleMessage(message, wParam, lParam);
}

} // namespace forms
