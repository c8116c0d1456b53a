// Controls of the forms layer against the real API: user controls (property
// bag, ambient font, focus, mouse, resize, transparent background), picture
// boxes, labels and the combo box.
#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "app.h"
#include "controls_win32.h"
#include "form_win32.h"
#include "user_control_win32.h"

namespace {

std::vector<std::string> g_log;

std::string Joined() {
    std::string out;
    for (const auto& s : g_log) {
        out += (out.empty() ? "" : " ") + s;
    }
    return out;
}

class TestForm : public forms::Form {
  public:
    TestForm() : Form(L"Controls") {
        SetBorderStyle(forms::BorderStyle::None);
        SetShowInTaskbar(false);
        Move(0, 0, 400 * 15, 300 * 15);
    }
};

// A control with two stored properties under the button's rules: "Caption"
// written with the default "Command", read with "Command1"; "Enabled" True.
class Probe : public forms::UserControl {
  public:
    Probe(forms::Container& parent, std::optional<forms::PropertyBag> stored)
        : UserControl(parent, std::move(stored)) {
        caption.Move(0, 0, 40, 10);
        caption.onMouseDown = [](const forms::MouseArgs& a) {
            g_log.push_back("label.down" + std::to_string(a.button) + "@" + std::to_string(a.x));
        };
        CreateIfParentReady();
    }
    std::wstring captionText;
    bool enabled = false;
    forms::Label caption{*this};
    std::function<void()> Click;

  protected:
    void OnInitProperties() override { g_log.push_back("init"); }
    void OnReadProperties(const forms::PropertyBag& bag) override {
        g_log.push_back("read");
        enabled = bag.ReadBool("Enabled", true);
        std::string c = bag.Read("Caption", "Command1");
        captionText = std::wstring(c.begin(), c.end());
    }
    void OnWriteProperties(forms::PropertyBag& bag) override {
        bag.WriteBool("Enabled", enabled, true);
        bag.Write("Caption", std::string(captionText.begin(), captionText.end()), "Command");
    }
    void OnResize() override { g_log.push_back("resize" + std::to_string(ScaleWidth())); }
    void OnGotFocus() override { g_log.push_back("gotfocus"); }
    void OnLostFocus() override { g_log.push_back("lostfocus"); }
    void OnMouseDown(const forms::MouseArgs& a) override {
        g_log.push_back("down" + std::to_string(a.button));
    }
    void OnMouseMove(const forms::MouseArgs& a) override {
        g_log.push_back("move" + std::to_string(a.button));
    }
    void OnMouseUp(const forms::MouseArgs& a) override {
        g_log.push_back("up" + std::to_string(a.button));
        RaiseEvent(Click);
    }
};

LPARAM At(int x, int y) {
    return MAKELPARAM(x, y);
}

TEST(UserControl, PropertyBagRoundTripKeepsDefaultsOut) {
    TestForm form;
    form.Load();
    struct Case {
        std::wstring caption;
        bool enabled;
        std::string stored;
        std::wstring readBack;
        bool enabledBack;
    } cases[] = {
        {L"Command", true, "", L"Command1", true},
        {L"OK", true, "Caption=OK\n", L"OK", true},
        {L"Command", false, "Enabled=0\n", L"Command1", false},
        {L"", true, "Caption=\n", L"", true},
    };
    for (const auto& c : cases) {
        g_log.clear();
        Probe first(form, std::nullopt);
        EXPECT_EQ(Joined(), "init resize100");
        first.captionText = c.caption;
        first.enabled = c.enabled;
        std::string text = first.SaveProperties().ToText();
        EXPECT_EQ(text, c.stored);
        // The layout keeps the text; the next load reads it back.
        auto bag = forms::PropertyBag::FromText(text);
        ASSERT_TRUE(bag);
        g_log.clear();
        Probe again(form, *bag);
        EXPECT_EQ(Joined(), "read resize100");
        EXPECT_EQ(again.captionText, c.readBack);
        EXPECT_EQ(again.enabled, c.enabledBack);
    }
    form.Unload();
}

TEST(UserControl, MadeWithTheFormAndTakesTheAmbientFont) {
    g_log.clear();
    TestForm form;
    forms::PictureBox panel(form), plain(form);
    Probe onForm(form, std::nullopt);
    Probe onPanel(panel, std::nullopt);
    forms::Label onPlain(plain);
    EXPECT_EQ(Joined(), ""); // nothing before the form's window exists
    // Fonts set after the controls were declared still reach them.
    panel.SetFont(forms::FontDescription{"Tahoma", 8.25, false, 0});
    form.SetFont(forms::FontDescription{"DejaVu Serif", 9.75, false, 0});
    onForm.Move(10, 10, 80, 30);
    form.Load();
    // The panel was made first, and its control with it.
    EXPECT_EQ(Joined(), "init resize100 init resize80");
    ASSERT_NE(onForm.Hwnd(), nullptr);
    EXPECT_EQ(GetParent(onForm.Hwnd()), form.Hwnd());
    EXPECT_EQ(GetParent(onPanel.Hwnd()), panel.Hwnd());
    EXPECT_EQ(onForm.AmbientFont().name, "DejaVu Serif");
    EXPECT_EQ(onPanel.AmbientFont().name, "Tahoma");
    EXPECT_EQ(onPanel.caption.Font().name, "Tahoma"); // a label uses its container's
    EXPECT_EQ(onPlain.Font().name, "DejaVu Serif");   // through a picture box
    wchar_t face[64] = {};
    GetTextFaceW(plain.Dc(), 64, face);
    EXPECT_STREQ(face, L"DejaVu Serif");
    onPlain.SetFont(forms::FontDescription{"Other", 12, true, 0});
    EXPECT_EQ(onPlain.Font().name, "Other");
    EXPECT_DOUBLE_EQ(onForm.WidthTwips(), 1200);
    g_log.clear();
    onForm.Move(10, 10, 120, 30);
    EXPECT_EQ(Joined(), "resize120");
    form.Unload();
    EXPECT_EQ(onForm.Hwnd(), nullptr);
}

TEST(UserControl, FocusAndMouseEventsInOrder) {
    TestForm form;
    form.Load();
    form.Show();
    Probe a(form, std::nullopt), b(form, std::nullopt);
    a.Move(0, 100, 100, 40);
    b.Move(120, 100, 100, 40);
    int clicks = 0;
    a.Click = [&] { ++clicks; };
    struct Step {
        const char* what;
        std::function<void()> act;
        const char* logged;
    } steps[] = {
        {"move", [&] { SendMessageW(a.Hwnd(), WM_MOUSEMOVE, 0, At(50, 20)); }, "move0"},
        {"left press gives the focus first",
         [&] { SendMessageW(a.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At(50, 20)); }, "gotfocus down1"},
        {"drag", [&] { SendMessageW(a.Hwnd(), WM_MOUSEMOVE, MK_LBUTTON, At(60, 20)); }, "move1"},
        {"release", [&] { SendMessageW(a.Hwnd(), WM_LBUTTONUP, 0, At(60, 20)); }, "up1"},
        {"right click, focus kept",
         [&] {
             SendMessageW(a.Hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, At(50, 20));
             SendMessageW(a.Hwnd(), WM_RBUTTONUP, 0, At(50, 20));
         },
         "down2 up2"},
        {"middle", [&] { SendMessageW(a.Hwnd(), WM_MBUTTONDOWN, MK_MBUTTON, At(50, 30)); },
         "down4"},
        {"middle up", [&] { SendMessageW(a.Hwnd(), WM_MBUTTONUP, 0, At(50, 30)); }, "up4"},
        {"press on the caption label",
         [&] { SendMessageW(b.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At(25, 5)); },
         "lostfocus gotfocus label.down1@25"},
        {"focus set by the program", [&] { a.SetFocus(); }, "lostfocus gotfocus"},
    };
    for (const auto& s : steps) {
        g_log.clear();
        s.act();
        EXPECT_EQ(Joined(), s.logged) << s.what;
    }
    SendMessageW(b.Hwnd(), WM_LBUTTONUP, 0, At(25, 5));
    EXPECT_EQ(clicks, 3); // raised from each release on a
    EXPECT_TRUE(a.HasFocus());
    // A disabled caption takes no mouse: the control gets the press itself.
    b.caption.SetEnabled(false);
    g_log.clear();
    SendMessageW(b.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At(25, 5));
    SendMessageW(b.Hwnd(), WM_LBUTTONUP, 0, At(25, 5));
    EXPECT_EQ(Joined(), "lostfocus gotfocus down1 up1");
    form.Unload();
}

TEST(UserControl, TabMovesTheFocusBetweenControls) {
    TestForm form;
    Probe a(form, std::nullopt), b(form, std::nullopt);
    a.Move(0, 0, 50, 20);
    b.Move(60, 0, 50, 20);
    forms::Timer press(form);
    int step = 0;
    bool bFocused = false, aFocused = false;
    std::string events;
    press.SetInterval(50);
    press.onTick = [&] {
        HWND focus = GetFocus();
        switch (++step) {
        case 1:
            a.SetFocus();
            g_log.clear();
            PostMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
            break;
        case 2:
            bFocused = focus == b.Hwnd();
            PostMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, MAKELPARAM(1, 0));
            break;
        default:
            aFocused = focus == a.Hwnd();
            events = Joined();
            form.Unload();
        }
    };
    press.SetEnabled(true);
    form.Show();
    SetForegroundWindow(form.Hwnd());
    forms::Run();
    EXPECT_TRUE(bFocused);
    EXPECT_TRUE(aFocused);
    EXPECT_EQ(events, "lostfocus gotfocus lostfocus gotfocus");
}

TEST(UserControl, TransparentBackgroundShowsTheContainer) {
    TestForm form;
    form.SetBackColor(RGB(10, 20, 30));
    Probe c(form, std::nullopt);
    c.Move(20, 20, 50, 20);
    c.SetBackColor(RGB(200, 0, 0));
    form.Load();
    c.Cls();
    EXPECT_EQ(GetPixel(c.Dc(), 5, 5), RGB(200, 0, 0));
    c.SetBackStyle(forms::BackStyle::Transparent);
    c.Cls();
    EXPECT_EQ(GetPixel(c.Dc(), 5, 5), RGB(10, 20, 30));
    form.Unload();
}

TEST(UserControl, ItsTimersTick) {
    TestForm form;
    Probe c(form, std::nullopt);
    forms::Timer poll(c);
    int ticks = 0;
    poll.SetInterval(20);
    poll.onTick = [&] {
        if (++ticks == 3) {
            form.Unload();
        }
    };
    poll.SetEnabled(true);
    form.Load();
    forms::Run();
    EXPECT_EQ(ticks, 3);
}

TEST(PictureBox, PersistentImageKeepsDrawingAndTakesPictureSize) {
    TestForm form;
    forms::PictureBox box(form);
    box.SetAutoRedraw(true);
    box.SetBackColor(RGB(0, 0, 0));
    box.Move(0, 0, 30, 20);
    form.Load();
    HDC dc = box.Dc();
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(GetPixel(dc, 29, 19), RGB(0, 0, 0));
    SetPixel(dc, 3, 4, RGB(1, 2, 3));
    EXPECT_EQ(GetPixel(dc, 3, 4), RGB(1, 2, 3));
    // Resized: the drawing stays, the new part takes the back colour.
    box.SetBackColor(RGB(0, 0, 255));
    box.Move(0, 0, 309, 25);
    EXPECT_EQ(box.ScaleWidth(), 309);
    EXPECT_EQ(GetPixel(box.Dc(), 3, 4), RGB(1, 2, 3));
    EXPECT_EQ(GetPixel(box.Dc(), 300, 22), RGB(0, 0, 255));
    box.Cls();
    EXPECT_EQ(GetPixel(box.Dc(), 3, 4), RGB(0, 0, 255));
    // Font and text settings of the drawing surface.
    // Only the DejaVu and IPA families are installed here; others are replaced.
    box.SetFont(forms::FontDescription{"DejaVu Serif", 14, true, 0});
    wchar_t face[64] = {};
    GetTextFaceW(box.Dc(), 64, face);
    EXPECT_STREQ(face, L"DejaVu Serif");
    TEXTMETRICW tm{};
    GetTextMetricsW(box.Dc(), &tm);
    EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 19);
    EXPECT_EQ(tm.tmWeight, FW_BOLD);
    EXPECT_EQ(GetBkMode(box.Dc()), TRANSPARENT);
    box.SetForeColor(RGB(200, 200, 100));
    EXPECT_EQ(GetTextColor(box.Dc()), RGB(200, 200, 100));
    // Sized to its picture, which is drawn into the image.
    std::uint32_t px[6] = {0xFF0000, 0xFF0000, 0xFF0000, 0x00FF00, 0x00FF00, 0x00FF00};
    forms::PictureBox sprite(form);
    sprite.SetAutoRedraw(true);
    sprite.SetAutoSize(true);
    sprite.SetPicture(forms::Picture::FromPixels(3, 2, px));
    EXPECT_EQ(sprite.ScaleWidth(), 3);
    EXPECT_EQ(sprite.ScaleHeight(), 2);
    EXPECT_EQ(GetPixel(sprite.Dc(), 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(sprite.Dc(), 2, 1), RGB(0, 255, 0));
    form.Unload();
}

TEST(Label, AutoSizeFollowsTheText) {
    TestForm form;
    form.Load();
    forms::Label wide(form), wrapped(form);
    wide.Move(10, 10, 5, 5);
    wide.SetAutoSize(true);
    wide.SetCaption(L"a fairly long caption");
    EXPECT_GT(wide.Width(), 60);
    int lineHeight = wide.Height();
    EXPECT_GT(lineHeight, 8);
    EXPECT_LT(lineHeight, 30);
    wrapped.Move(10, 40, 60, 5);
    wrapped.SetWordWrap(true);
    wrapped.SetAutoSize(true);
    wrapped.SetCaption(L"a fairly long caption");
    EXPECT_EQ(wrapped.Width(), 60);
    EXPECT_GE(wrapped.Height(), 2 * lineHeight);
    wide.SetCaption(L"");
    EXPECT_EQ(wide.Width(), 0);
    EXPECT_EQ(wide.Height(), lineHeight);
    form.Unload();
}

TEST(ComboBox, EditableTextAndItemList) {
    TestForm form;
    forms::PictureBox panel(form);
    forms::ComboBox combo(panel);
    combo.Move(5, 5, 41, 20);
    combo.SetText(L"7");
    combo.AddItem(L"");
    combo.AddItem(L"1");
    EXPECT_EQ(combo.Text(), L"7"); // before the window exists
    form.Load();
    ASSERT_NE(combo.ControlHwnd(), nullptr);
    EXPECT_EQ(combo.Text(), L"7");
    EXPECT_EQ(SendMessageW(combo.ControlHwnd(), CB_GETCOUNT, 0, 0), 2);
    combo.AddItem(L"2");
    EXPECT_EQ(combo.ListCount(), 3);
    EXPECT_EQ(combo.List(2), L"2");
    EXPECT_EQ(combo.List(3), L"");
    // What the user types is the text.
    HWND edit = FindWindowExW(combo.ControlHwnd(), nullptr, L"Edit", nullptr);
    ASSERT_NE(edit, nullptr);
    SetWindowTextW(edit, L" 12 ");
    EXPECT_EQ(combo.Text(), L" 12 ");
    combo.SetEnabled(false);
    EXPECT_FALSE(IsWindowEnabled(combo.ControlHwnd()));
    EXPECT_EQ(combo.Text(), L" 12 "); // read whether enabled or not
    form.Unload();
    EXPECT_EQ(combo.ControlHwnd(), nullptr);
    EXPECT_EQ(combo.Text(), L" 12 ");
}

} // namespace
