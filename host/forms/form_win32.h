// Forms, their timers, and what every container of controls shares.
//
// A form is a class derived from forms::Form that sets its design properties
// in its constructor and overrides the handlers it needs:
//
//   class Orvanel_X : public forms::Form {
//     public:
//       Orvanel_X() : Form(L"Orvanel_Main") {
//           SetBorderStyle(forms::BorderStyle::None);
//           SetShowInTaskbar(false);
//           Watch.SetInterval(100);
//           Watch.SetEnabled(true);             // starts when the window exists
//           Watch.onTick = [this] { OnWatch(); };
//       }
//       forms::Timer Watch{*this};
//     protected:
//       void OnLoad() override { ... }
//       bool OnQueryUnload(forms::UnloadReason) override { ...; return false; }
//   };
//
//   Load()       creates the window, hidden, with its child controls, starts
//                its enabled timers and runs OnLoad (their ticks wait until
//                OnLoad has returned). Loading a loaded form does nothing.
//   Show()       loads if needed and shows the window (modeless).
//   ShowModal()  loads if needed, disables the process's other windows, shows
//                the form and runs a nested message loop until it unloads.
//   Unload()     runs OnQueryUnload (which may cancel) and then OnUnload, and
//                destroys the window. A close request from outside (the close
//                box, WM_CLOSE, the end of the Windows session) goes the same way.
//                A window destroyed from outside (its parent went) leaves the
//                form unloaded without running a handler.
//   forms::Run() (app.h) runs the message loop until no form is loaded;
//   forms::End() ends the process at once and runs no further handler.
//
// Positions and sizes of forms are in twips (outer frame, screen coordinates;
// coordinates in the parent's client area once the window is made a child).
// Everything inside a form (controls, drawing) is in pixels.
//
// Handlers run one at a time: a handler called from another (Load from a
// handler, say) runs nested, but a timer tick never runs inside another
// handler or inside itself; see handler_gate.h. An exception leaving a
// handler is swallowed there, so that it never unwinds through the system's
// message dispatch.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "font_description.h"
#include "handler_gate.h"
#include "handles_win32.h"
#include "window_win32.h"

namespace forms {

class Container;
class Timer;
class ChildWindow;

// Button codes of mouse events: 1 left, 2 right, 4 middle (for a move, the
// buttons held). Shift codes: 1 Shift, 2 Ctrl, 4 Alt. Positions in pixels,
// relative to whatever receives the event.
struct MouseArgs {
    int button = 0;
    int shift = 0;
    int x = 0;
    int y = 0;
};

namespace detail {
HandlerGate& Gate();
// Called after every handler: lets pending ticks through once the gate is at rest.
void AfterHandler();

template <typename F> void RunHandler(F&& handler) {
    Gate().Enter();
    try {
        handler();
    } catch (...) {
        // A failing handler ends there; the program goes on.
    }
    Gate().Leave();
    AfterHandler();
}
} // namespace detail

// A control without a window of its own (label, image, shape): its container
// draws it, in the order the controls were made, over the container's own
// picture, and hands it the mouse events over its rectangle.
class Graphic {
  public:
    explicit Graphic(Container& container);
    virtual ~Graphic();
    Graphic(const Graphic&) = delete;
    Graphic& operator=(const Graphic&) = delete;

    // Pixels, in the container's client area.
    void Move(int x, int y, int width, int height);
    int Left() const { return rect_.left; }
    int Top() const { return rect_.top; }
    int Width() const { return rect_.right - rect_.left; }
    int Height() const { return rect_.bottom - rect_.top; }
    void SetVisible(bool visible);
    bool Visible() const { return visible_; }

    // Mouse events over the control (positions relative to it). A control that
    // takes the mouse keeps its events from the container.
    std::function<void(const MouseArgs&)> onMouseDown;
    std::function<void(const MouseArgs&)> onMouseMove;
    std::function<void(const MouseArgs&)> onMouseUp;
    std::function<void()> onClick;

    Container& Parent() const { return container_; }

  protected:
    friend class Container;
    virtual void Paint(HDC dc) = 0;
    virtual bool TakesMouse() const { return true; }
    // Redraws the control's rectangle in the container.
    void Invalidate() const;

    Container& container_;
    RECT rect_{0, 0, 0, 0};
    bool visible_ = true;
};

// A control with a window of its own inside a container (picture box, combo
// box, user control). Its window is made when the container's window is (at
// the form's load, before the load handler), or at once when that exists
// already; a derived class calls CreateIfParentReady() at the end of its
// constructor for that.
class ChildWindow {
  public:
    explicit ChildWindow(Container& parent);
    // A derived class destroys its window in its own destructor.
    virtual ~ChildWindow();
    ChildWindow(const ChildWindow&) = delete;
    ChildWindow& operator=(const ChildWindow&) = delete;

    // Pixels, in the container's client area.
    void Move(int x, int y, int width, int height);
    int Left() const { return rect_.left; }
    int Top() const { return rect_.top; }
    int Width() const { return rect_.right - rect_.left; }
    int Height() const { return rect_.bottom - rect_.top; }
    void SetVisible(bool visible);
    bool Visible() const { return visible_; }
    // The platform's enabled state of the window.
    void SetEnabled(bool enabled);
    bool Enabled() const { return enabled_; }

    Container& Parent() const { return parent_; }
    virtual HWND ControlHwnd() const = 0;

  protected:
    friend class Container;
    // Makes the window inside `parentHwnd`, with rect_, visible_, enabled_.
    virtual void CreateIn(HWND parentHwnd) = 0;
    // The container's window is being destroyed; this one still exists.
    virtual void ParentClosing() {}
    // The container's window went, and this one with it.
    virtual void ParentGone() {}
    // Puts the window at rect_.
    virtual void Place();
    void CreateIfParentReady();
    DWORD VisibilityStyle() const;

    Container& parent_;
    RECT rect_{0, 0, 100, 100};
    bool visible_ = true;
    bool enabled_ = true;
};

// Creates a GDI font for a font description on the screen.
GdiFont CreateGdiFont(const FontDescription& desc);

// What forms, picture boxes and user controls share: a window with a back
// colour, a font (the ambient font of the user controls inside), windowless
// controls drawn over it, timers, and mouse events.
class Container : public Window {
  public:
    COLORREF BackColor() const { return backColor_; }
    void SetBackColor(COLORREF colour);
    const FontDescription& Font() const { return font_; }
    // Changes the font; picture boxes select it into their drawing surface.
    void SetFont(const FontDescription& font);
    // The container's font as a GDI object (valid while the font is unchanged).
    HFONT FontHandle();

    // Client area in pixels.
    int ScaleWidth() const;
    int ScaleHeight() const;

    // Repaints the window now.
    void Refresh();
    // The mouse pointer over this window; null gives the arrow.
    void SetMouseIcon(HCURSOR cursor) { cursor_ = cursor; }

    // Paints what the container shows in `area` (its coordinates) into `dc`:
    // how a transparent control inside it shows what lies behind it.
    void PaintContentFor(HDC dc, const RECT& area) { PaintContent(dc, area); }

    // The modal level of the form this container belongs to (handler_gate.h).
    virtual int Level() const;
    Container* ParentContainer() const { return parent_; }

    // Own mouse events (pixels, client coordinates), after the windowless
    // controls had theirs.
    std::function<void(const MouseArgs&)> onMouseDown;
    std::function<void(const MouseArgs&)> onMouseMove;
    std::function<void(const MouseArgs&)> onMouseUp;
    std::function<void()> onClick;

  protected:
    explicit Container(Container* parent) : parent_(parent) {}
    ~Container() override;

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Paints what lies under the windowless controls: by default the back colour.
    virtual void PaintBackground(HDC dc, const RECT& area);
    virtual void OnMouseDown(const MouseArgs& args);
    virtual void OnMouseMove(const MouseArgs& args);
    virtual void OnMouseUp(const MouseArgs& args);
    // The window exists: the child windows are made and the enabled timers start.
    void WindowReady();
    // Paints the container's picture and its windowless controls in `area`.
    void PaintContent(HDC dc, const RECT& area);
    virtual void OnFontChanged() {}
    // A mouse button went down on the window, before any event of it runs.
    virtual void OnButtonPressed() {}
    void OnWindowGone() override;

    Container* parent_;
    COLORREF backColor_ = RGB(0xC0, 0xC0, 0xC0);
    FontDescription font_;
    GdiFont fontHandle_;
    HCURSOR cursor_ = nullptr;

  private:
    friend class Graphic;
    friend class Timer;
    friend class ChildWindow;
    void MouseEvent(UINT message, WPARAM wParam, LPARAM lParam);
    Graphic* GraphicAt(POINT p) const;

    std::vector<Graphic*> graphics_;
    std::vector<Timer*> timers_;
    std::vector<ChildWindow*> children_;
    Graphic* pressed_ = nullptr; // control that got the button press, for its release
};

// A window timer of a container: ticks every Interval() ms while Enabled() and
// the container's window exists. An interval of 0 never ticks.
class Timer {
  public:
    explicit Timer(Container& owner);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    void SetInterval(unsigned milliseconds);
    unsigned Interval() const { return interval_; }
    void SetEnabled(bool enabled);
    bool Enabled() const { return enabled_; }

    std::function<void()> onTick;

  private:
    friend class Container;
    friend void detail::AfterHandler();
    void Arm();
    void Disarm();
    // A WM_TIMER (or a pending tick let through) arrived.
    void Fire();

    Container& owner_;
    unsigned interval_ = 0;
    bool enabled_ = false;
    bool armed_ = false;
    bool running_ = false;
    bool pending_ = false;
};

enum class BorderStyle { None, FixedSingle, Sizable, FixedDialog };

// Why a form is asked to unload (the values the host's handlers compare).
enum class UnloadReason {
    ControlMenu = 0,    // the close box or a WM_CLOSE from outside
    Code = 1,           // Unload() called by the program
    WindowsSession = 2, // the Windows session ends
};

class Form : public Container {
  public:
    explicit Form(std::wstring caption);
    ~Form() override;

    // Design properties; set them before Load (the caption also later).
    void SetCaption(const std::wstring& caption);
    const std::wstring& Caption() const { return caption_; }
    void SetBorderStyle(BorderStyle style) { border_ = style; }
    void SetControlBox(bool on) { controlBox_ = on; }
    void SetMinButton(bool on) { minButton_ = on; }
    void SetMaxButton(bool on) { maxButton_ = on; }
    void SetShowInTaskbar(bool on) { showInTaskbar_ = on; }
    void SetIcon(HICON icon); // not owned: a resource icon lives with the program

    // Outer frame in twips.
    void Move(double left, double top, double width, double height);
    double LeftTwips() const;
    double TopTwips() const;
    double WidthTwips() const;
    double HeightTwips() const;

    bool Load();
    void Show();
    void ShowModal();
    void Hide();
    // True when the form is unloaded afterwards (not cancelled).
    bool Unload() { return UnloadFor(UnloadReason::Code); }

    bool Loaded() const { return loaded_; }
    bool Visible() const;
    int Level() const override { return level_; }

  protected:
    virtual void OnLoad() {}
    // True cancels the unload.
    virtual bool OnQueryUnload(UnloadReason reason) {
        (void)reason;
        return false;
    }
    virtual void OnUnload() {}

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnWindowGone() override;

  private:
    bool UnloadFor(UnloadReason reason);
    void Finish(); // after the unload handler: destroys the window
    void MarkUnloaded();
    void EnableOthers();

    std::wstring caption_;
    BorderStyle border_ = BorderStyle::Sizable;
    bool controlBox_ = true;
    bool minButton_ = true;
    bool maxButton_ = true;
    bool showInTaskbar_ = true;
    HICON icon_ = nullptr;
    double left_ = 0, top_ = 0, width_ = 4800, height_ = 3600; // twips, until loaded
    bool loaded_ = false;
    bool unloading_ = false;
    bool sessionQueried_ = false;
    int level_ = 0;
    std::vector<HWND> disabledByModal_;
};

// How many forms are loaded now.
int LoadedFormCount();

} // namespace forms
