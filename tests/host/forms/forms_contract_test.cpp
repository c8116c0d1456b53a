// The forms layer against the real window manager: load and unload order,
// close requests from outside, modal shows, timers and their gate, the
// immediate end, program start, message box and screen figures.
//
// Run with "--scenario=end LOGFILE" the program is the subject of the
// immediate-end test instead: it loads two forms, ends from a timer tick and
// logs what ran.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "app.h"
#include "form_win32.h"
#include "handles_win32.h"
#include "wide_win32.h"

namespace {

std::vector<std::string> g_log;

void Log(const std::string& s) {
    g_log.push_back(s);
}

std::string Joined() {
    std::string out;
    for (const auto& s : g_log) {
        out += (out.empty() ? "" : " ") + s;
    }
    return out;
}

// A form whose handlers log, under a name.
class LogForm : public forms::Form {
  public:
    explicit LogForm(std::wstring caption, std::string name = "f")
        : Form(std::move(caption)), name_(std::move(name)) {
        SetShowInTaskbar(false);
    }
    bool cancelQuery = false;
    std::function<void()> onLoad;
    std::function<void()> onUnload;

  protected:
    void OnLoad() override {
        Log(name_ + ".load");
        if (onLoad) {
            onLoad();
        }
    }
    bool OnQueryUnload(forms::UnloadReason reason) override {
        Log(name_ + ".query" + std::to_string(static_cast<int>(reason)));
        return cancelQuery;
    }
    void OnUnload() override {
        Log(name_ + ".unload");
        if (onUnload) {
            onUnload();
        }
    }

  private:
    std::string name_;
};

// Runs the messages of the thread for a while, as a loop of the system would
// (a message box, a menu).
void PumpFor(int milliseconds) {
    DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
    MSG msg;
    while (static_cast<int>(end - GetTickCount()) > 0) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(1);
    }
}

std::string ExePath() {
    char buf[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, buf, MAX_PATH);
    return std::string(buf, n);
}

TEST(Form, LoadCreatesTheWindowHiddenWithItsCaptionAndStyle) {
    g_log.clear();
    LogForm form(L"Orvanel_Main");
    form.SetBorderStyle(forms::BorderStyle::None);
    form.SetMinButton(false);
    form.SetMaxButton(false);
    EXPECT_EQ(FindWindowA(nullptr, "Orvanel_Main"), nullptr);
    ASSERT_TRUE(form.Load());
    EXPECT_EQ(Joined(), "f.load");
    HWND hwnd = FindWindowA(nullptr, "Orvanel_Main");
    ASSERT_EQ(hwnd, form.Hwnd());
    EXPECT_FALSE(IsWindowVisible(hwnd));
    LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    EXPECT_FALSE(style & WS_CAPTION);
    EXPECT_TRUE(style & WS_POPUP);
    // Kept out of the taskbar: owned by a hidden window, no app-window flag.
    EXPECT_NE(GetWindow(hwnd, GW_OWNER), nullptr);
    EXPECT_FALSE(GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    EXPECT_TRUE(form.Load()); // loading again runs nothing
    EXPECT_EQ(Joined(), "f.load");
    EXPECT_EQ(forms::LoadedFormCount(), 1);
    EXPECT_TRUE(form.Unload());
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(forms::LoadedFormCount(), 0);
}

TEST(Form, DialogStyleTitleAndPlacementInTwips) {
    LogForm form(L"<Orvanel>");
    form.SetBorderStyle(forms::BorderStyle::FixedSingle);
    form.SetMinButton(false);
    form.SetMaxButton(false);
    form.SetShowInTaskbar(true);
    form.Move(1500, 750, 7215, 3465);
    ASSERT_TRUE(form.Load());
    LONG style = GetWindowLongW(form.Hwnd(), GWL_STYLE);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_EQ(GetWindow(form.Hwnd(), GW_OWNER), nullptr);
    RECT r;
    GetWindowRect(form.Hwnd(), &r);
    // 15 twips per pixel here: 7215 x 3465 twips is 481 x 231 pixels.
    EXPECT_EQ(r.left, 100);
    EXPECT_EQ(r.top, 50);
    EXPECT_EQ(r.right - r.left, 481);
    EXPECT_EQ(r.bottom - r.top, 231);
    EXPECT_DOUBLE_EQ(form.WidthTwips(), 7215);
    form.Move(0, 0, 2280, 1680);
    EXPECT_DOUBLE_EQ(form.LeftTwips(), 0);
    EXPECT_DOUBLE_EQ(form.HeightTwips(), 1680);
    wchar_t title[32];
    GetWindowTextW(form.Hwnd(), title, 32);
    EXPECT_STREQ(title, L"<Orvanel>");
    form.Unload();
}

TEST(Form, EveryCloseRouteRunsQueryUnloadThenUnload) {
    struct Case {
        const char* route;
        bool cancel;
        std::function<void(forms::Form&)> close;
        const char* expected;
        bool gone;
    } cases[] = {
        {"code", false, [](forms::Form& f) { f.Unload(); }, "f.load f.query1 f.unload", true},
        {"code cancelled", true, [](forms::Form& f) { f.Unload(); }, "f.load f.query1", false},
        {"WM_CLOSE", false, [](forms::Form& f) { SendMessageW(f.Hwnd(), WM_CLOSE, 0, 0); },
         "f.load f.query0 f.unload", true},
        {"close box", false,
         [](forms::Form& f) { SendMessageW(f.Hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0); },
         "f.load f.query0 f.unload", true},
        {"session end", false,
         [](forms::Form& f) {
             EXPECT_EQ(SendMessageW(f.Hwnd(), WM_QUERYENDSESSION, 0, 0), TRUE);
             SendMessageW(f.Hwnd(), WM_ENDSESSION, TRUE, 0);
         },
         "f.load f.query2 f.unload", true},
        {"session end refused", true,
         [](forms::Form& f) {
             EXPECT_EQ(SendMessageW(f.Hwnd(), WM_QUERYENDSESSION, 0, 0), FALSE);
             SendMessageW(f.Hwnd(), WM_ENDSESSION, FALSE, 0);
         },
         "f.load f.query2", false},
        {"session end without query", false,
         [](forms::Form& f) { SendMessageW(f.Hwnd(), WM_ENDSESSION, TRUE, 0); },
         "f.load f.query2 f.unload", true},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.route);
        g_log.clear();
        LogForm form(L"Close route");
        form.cancelQuery = c.cancel;
        ASSERT_TRUE(form.Load());
        HWND hwnd = form.Hwnd();
        c.close(form);
        EXPECT_EQ(Joined(), c.expected);
        EXPECT_EQ(!form.Loaded(), c.gone);
        EXPECT_EQ(!IsWindow(hwnd), c.gone);
        form.cancelQuery = false;
        form.Unload();
    }
    EXPECT_EQ(forms::LoadedFormCount(), 0);
}

TEST(Form, ParentWindowGoneUnloadsTheChildFormWithoutHandlers) {
    g_log.clear();
    LogForm pane(L"Pane", "pane");
    LogForm preview(L"Preview Window", "r");
    ASSERT_TRUE(pane.Load());
    ASSERT_TRUE(preview.Load());
    SetWindowLongW(preview.Hwnd(), GWL_STYLE, GetWindowLongW(preview.Hwnd(), GWL_STYLE) | WS_CHILD);
    SetParent(preview.Hwnd(), pane.Hwnd());
    preview.Move(0, 0, 2280, 1680);
    EXPECT_DOUBLE_EQ(preview.LeftTwips(), 0);
    DestroyWindow(pane.Hwnd()); // not through the unload: the pane's owner closed it
    EXPECT_FALSE(preview.Loaded());
    EXPECT_FALSE(pane.Loaded());
    EXPECT_EQ(Joined(), "pane.load r.load");
    EXPECT_EQ(forms::LoadedFormCount(), 0);
}

TEST(Run, ReturnsWhenTheLastFormUnloads) {
    g_log.clear();
    forms::Run(); // nothing loaded: returns at once
    LogForm a(L"A", "a"), b(L"B", "b");
    a.Load();
    b.Load();
    forms::Timer t1(a), t2(b);
    t1.SetInterval(30);
    t1.onTick = [&] {
        t1.SetEnabled(false);
        a.Unload();
    };
    t2.SetInterval(80);
    t2.onTick = [&] {
        t2.SetEnabled(false);
        b.Unload();
    };
    t1.SetEnabled(true);
    t2.SetEnabled(true);
    forms::Run();
    EXPECT_EQ(Joined(), "a.load b.load a.query1 a.unload b.query1 b.unload");
}

TEST(Timer, TicksAtItsIntervalAndNeverInsideAHandler) {
    // Timer A (20 ms) runs a message loop of 200 ms inside its first tick, as a
    // message box would; timer B (20 ms) and A itself must not tick in there.
    // B's waiting tick runs once A's handler has returned.
    g_log.clear();
    LogForm form(L"Timers");
    form.Load();
    forms::Timer a(form), b(form);
    int aTicks = 0, bTicks = 0, depth = 0, maxDepth = 0;
    std::vector<DWORD> times;
    bool insideA = false, bInsideA = false;
    a.SetInterval(20);
    a.onTick = [&] {
        maxDepth = std::max(maxDepth, ++depth);
        ++aTicks;
        times.push_back(GetTickCount());
        if (aTicks == 1) {
            insideA = true;
            PumpFor(200);
            insideA = false;
            Log("a.nested-done");
        }
        if (aTicks == 12) {
            a.SetEnabled(false);
            b.SetEnabled(false);
            form.Unload();
        }
        --depth;
    };
    b.SetInterval(20);
    b.onTick = [&] {
        maxDepth = std::max(maxDepth, ++depth);
        bInsideA = bInsideA || insideA;
        if (++bTicks == 1) {
            Log("b.first");
        }
        --depth;
    };
    a.SetEnabled(true);
    b.SetEnabled(true);
    forms::Run();
    EXPECT_EQ(maxDepth, 1);
    EXPECT_FALSE(bInsideA);
    EXPECT_EQ(aTicks, 12);
    EXPECT_GT(bTicks, 3);
    // The tick that waited comes after the nested loop, not inside it.
    EXPECT_EQ(Joined(), "f.load a.nested-done b.first f.query1 f.unload");
    // The ticks after the nested loop: none early, and on average near the interval.
    ASSERT_EQ(times.size(), 12u);
    DWORD span = times.back() - times[2];
    EXPECT_GE(span, 9u * 20u * 9u / 10u);
    EXPECT_LE(span, 9u * 20u * 4u);
}

TEST(Timer, DisabledOrZeroIntervalNeverTicksAndStartsWithTheWindow) {
    LogForm form(L"Quiet");
    forms::Timer off(form), zero(form), early(form);
    int offTicks = 0, zeroTicks = 0, earlyTicks = 0;
    off.SetInterval(10);
    off.onTick = [&] { ++offTicks; };
    zero.SetEnabled(true);
    zero.onTick = [&] { ++zeroTicks; };
    // Enabled before the form exists: ticks once it is loaded, after its load.
    early.SetInterval(10);
    early.SetEnabled(true);
    early.onTick = [&] { ++earlyTicks; };
    bool loadDone = false, tickDuringLoad = false;
    form.onLoad = [&] {
        PumpFor(50);
        tickDuringLoad = earlyTicks > 0;
        loadDone = true;
    };
    form.Load();
    EXPECT_TRUE(loadDone);
    EXPECT_FALSE(tickDuringLoad);
    PumpFor(100);
    EXPECT_EQ(offTicks, 0);
    EXPECT_EQ(zeroTicks, 0);
    EXPECT_GT(earlyTicks, 0);
    form.Unload();
    int after = earlyTicks;
    PumpFor(50);
    EXPECT_EQ(earlyTicks, after); // gone with the window
}

TEST(Timer, NoTickInsideAMessageBox) {
    LogForm form(L"Box owner");
    form.Load();
    forms::Timer t(form);
    int ticks = 0;
    bool boxShown = false, tickWhileBox = false;
    t.SetInterval(15);
    t.onTick = [&] {
        ++ticks;
        tickWhileBox = tickWhileBox || boxShown;
    };
    t.SetEnabled(true);
    // A plain system timer (not the layer's) closes the box after 300 ms.
    static HWND s_box;
    static std::wstring s_text;
    s_box = nullptr;
    UINT_PTR closer = SetTimer(nullptr, 0, 300, [](HWND, UINT, UINT_PTR, DWORD) {
        HWND box = FindWindowW(L"#32770", forms::AppTitle().c_str());
        if (box) {
            wchar_t text[128] = {};
            GetDlgItemTextW(box, 0xFFFF, text, 128);
            s_text = text;
            s_box = box;
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
    });
    form.onUnload = [] {};
    boxShown = true;
    forms::MsgBox(L"Orvanel.dll が同じﾌｫﾙﾀﾞに見つかりません！");
    boxShown = false;
    KillTimer(nullptr, closer);
    PumpFor(100);
    EXPECT_NE(s_box, nullptr) << "no box titled with the program's title";
    EXPECT_EQ(s_text, L"Orvanel.dll が同じﾌｫﾙﾀﾞに見つかりません！");
    EXPECT_FALSE(tickWhileBox);
    EXPECT_GT(ticks, 0);
    form.Unload();
}

TEST(Form, ModalShowReturnsWhenTheFormUnloadsAndDisablesTheOthers) {
    g_log.clear();
    LogForm main(L"Main form", "main");
    main.Load();
    LogForm dialog(L"<Orvanel>", "dlg");
    forms::Timer close(dialog), mainTimer(main);
    bool mainDisabled = false, mainTickInDialogHandler = false, inDialogHandler = false;
    int dialogTicks = 0;
    close.SetInterval(20);
    close.onTick = [&] {
        mainDisabled = !IsWindowEnabled(main.Hwnd());
        if (++dialogTicks == 5) {
            close.SetEnabled(false);
            inDialogHandler = true;
            dialog.Unload();
            inDialogHandler = false;
        }
    };
    close.SetEnabled(true);
    mainTimer.SetInterval(10);
    mainTimer.onTick = [&] { mainTickInDialogHandler |= inDialogHandler; };
    mainTimer.SetEnabled(true);
    Log("before");
    dialog.ShowModal();
    Log("after");
    EXPECT_EQ(Joined(), "main.load before dlg.load dlg.query1 dlg.unload after");
    EXPECT_TRUE(mainDisabled);
    EXPECT_TRUE(IsWindowEnabled(main.Hwnd()));
    EXPECT_FALSE(mainTickInDialogHandler);
    main.Unload();
}

TEST(Form, ModalShowFromAHandlerHoldsTheTimersBelow) {
    // A handler of form A shows B modally: A's timer must not tick while that
    // handler is suspended in the modal loop; B's timer ticks.
    g_log.clear();
    LogForm a(L"A", "a"), b(L"B", "b");
    forms::Timer aTimer(a), bTimer(b);
    int aTicksInModal = 0, bTicks = 0;
    bool inModal = false;
    aTimer.SetInterval(10);
    aTimer.onTick = [&] {
        if (inModal) {
            ++aTicksInModal;
        }
    };
    aTimer.SetEnabled(true);
    bTimer.SetInterval(10);
    bTimer.onTick = [&] {
        if (++bTicks == 10) {
            b.Unload();
        }
    };
    bTimer.SetEnabled(true);
    a.onLoad = [&] {
        inModal = true;
        b.ShowModal();
        inModal = false;
        Log("a.modal-returned");
    };
    a.Load();
    EXPECT_EQ(Joined(), "a.load b.load b.query1 b.unload a.modal-returned");
    EXPECT_EQ(bTicks, 10);
    EXPECT_EQ(aTicksInModal, 0);
    a.Unload();
}

TEST(End, EndsAtOnceAndRunsNoFurtherHandler) {
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    std::string log = std::string(dir) + "forms_end_log.txt";
    DeleteFileA(log.c_str());
    std::string cmd = "\"" + ExePath() + "\" --scenario=end \"" + log + "\"";
    std::vector<char> buf(cmd.begin(), cmd.end());
    buf.push_back('\0');
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessA(nullptr, buf.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &si, &pi));
    forms::KernelHandle process(pi.hProcess), thread(pi.hThread);
    ASSERT_EQ(WaitForSingleObject(process.get(), 30000), WAIT_OBJECT_0);
    DWORD code = 99;
    GetExitCodeProcess(process.get(), &code);
    EXPECT_EQ(code, 0u);
    std::ifstream in(log);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(),
              "command=[--scenario=end \"" + log + "\"] a.load b.load tick end-called ");
}

TEST(Shell, StartsAProgramAndReportsFailure) {
    EXPECT_FALSE(forms::Shell(forms::AppPath() + "\\no such program.exe"));
    EXPECT_FALSE(forms::Shell(""));
    // A program in a folder with blanks in its name, waited for until it is
    // ready for input: its window is there when the start returns.
    char tmp[MAX_PATH];
    GetTempPathA(MAX_PATH, tmp);
    std::string folder = std::string(tmp) + "forms shell test";
    CreateDirectoryA(folder.c_str(), nullptr);
    std::string child = folder + "\\forms child.dll"; // a program under a library's name
    ASSERT_TRUE(CopyFileA((forms::AppPath() + "\\forms_child.exe").c_str(), child.c_str(), FALSE));
    ASSERT_TRUE(forms::Shell(child, 10000));
    HWND w = FindWindowA(nullptr, "Forms child");
    EXPECT_NE(w, nullptr);
    if (w) {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        forms::KernelHandle p(OpenProcess(SYNCHRONIZE, FALSE, pid));
        PostMessageW(w, WM_CLOSE, 0, 0);
        if (p) {
            WaitForSingleObject(p.get(), 10000);
        }
    }
    DeleteFileA(child.c_str());
    RemoveDirectoryA(folder.c_str());
}

TEST(Screen, TwipsFiguresOfTheScreen) {
    // Wine's default resolution is 96 pixels per inch.
    EXPECT_DOUBLE_EQ(forms::TwipsPerPixelX(), 15);
    EXPECT_DOUBLE_EQ(forms::TwipsPerPixelY(), 15);
    EXPECT_DOUBLE_EQ(forms::ScreenWidthTwips(), GetSystemMetrics(SM_CXSCREEN) * 15.0);
    EXPECT_DOUBLE_EQ(forms::ScreenHeightTwips(), GetSystemMetrics(SM_CYSCREEN) * 15.0);
    EXPECT_EQ(forms::AppTitle(), L"forms_contract_test");
    forms::SetScreenMousePointer(forms::MousePointer::Hourglass);
    EXPECT_EQ(forms::ScreenMousePointer(), forms::MousePointer::Hourglass);
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)));
    forms::SetScreenMousePointer(forms::MousePointer::Default);
    EXPECT_EQ(forms::ScreenMousePointer(), forms::MousePointer::Default);
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW)));
    std::string path = forms::AppPath();
    EXPECT_NE(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(Text, ConversionsToAndFromUtf16) {
    EXPECT_EQ(forms::WidenUtf8("\xE8\xA8\xAD\xE5\xAE\x9A"), L"\u8A2D\u5B9A"); // 設定
    EXPECT_EQ(forms::NarrowUtf8(L"\u8A2D\u5B9A"), "\xE8\xA8\xAD\xE5\xAE\x9A");
    EXPECT_EQ(forms::WidenUtf8(""), L"");
    EXPECT_EQ(forms::WidenAnsi("C:\\Orvanel.ini"), L"C:\\Orvanel.ini");
    EXPECT_EQ(forms::NarrowAnsi(L"C:\\Orvanel.ini"), "C:\\Orvanel.ini");
    // The ANSI side follows the system's code page.
    std::string ansi = forms::NarrowAnsi(L"\u00E9");
    EXPECT_EQ(forms::WidenAnsi(ansi), GetACP() == 65001 || GetACP() == 1252 ? L"\u00E9" : L"?");
}

TEST(Form, UnloadFromItsOwnLoadHandler) {
    g_log.clear();
    LogForm form(L"Short-lived");
    form.onLoad = [&] { form.Unload(); };
    EXPECT_FALSE(form.Load());
    EXPECT_EQ(Joined(), "f.load f.query1 f.unload");
    EXPECT_EQ(forms::LoadedFormCount(), 0);
    form.onLoad = nullptr;
    EXPECT_TRUE(form.Load()); // a form can be loaded again
    EXPECT_TRUE(form.Loaded());
    EXPECT_NE(form.Hwnd(), nullptr);
    form.Unload();
}

// ---------------------------------------------------------------- end scenario

int EndScenario(const char* logPath) {
    static FILE* out = std::fopen(logPath, "w");
    auto log = [](const char* s) {
        std::fputs(s, out);
        std::fputc(' ', out);
        std::fflush(out);
    };
    std::fprintf(out, "command=[%s] ", forms::Command().c_str());
    static LogForm a(L"End A", "a"), b(L"End B", "b");
    static forms::Timer t(a);
    g_log.clear();
    a.onUnload = [&] { log("a.unload-ran"); };
    b.onUnload = [&] { log("b.unload-ran"); };
    a.Load();
    b.Load();
    for (const auto& s : g_log) {
        log(s.c_str());
    }
    t.SetInterval(20);
    t.onTick = [&] {
        log("tick");
        log("end-called");
        forms::End();
    };
    t.SetEnabled(true);
    forms::Run();
    log("run-returned");
    return 3;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--scenario=end") {
        return EndScenario(argv[2]);
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
