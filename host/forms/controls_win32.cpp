#include "controls_win32.h"

#include <algorithm>

namespace forms {

namespace {
const wchar_t kPictureClass[] = L"OrvanelPicture";
const int kComboListHeight = 200; // pixels of drop-down list below the text field
} // namespace

// ---------------------------------------------------------------- PictureBox

PictureBox::PictureBox(Container& parent) : Container(&parent), ChildWindow(parent) {
    font_ = parent.Font();
    CreateIfParentReady();
}

void PictureBox::OnFontChanged() {
    fontSet_ = true;
    if (windowDc_) {
        SelectObject(windowDc_, FontHandle());
    }
    if (image_.Valid()) {
        image_.SelectFont(FontHandle());
    }
}

PictureBox::~PictureBox() {
    // While this object is whole: its font and image are still selected into
    // the window's own DC and the image DC.
    Destroy();
}

void PictureBox::CreateIn(HWND parentHwnd) {
    // The class's own DC keeps the font and text settings between calls, so
    // Dc() can hand it out for the life of the window.
    if (!RegisterClassOnce(kPictureClass, CS_OWNDC, nullptr)) {
        return;
    }
    if (!fontSet_) {
        font_ = ChildWindow::Parent().Font();
        fontHandle_.reset();
    }
    DWORD style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | VisibilityStyle() |
                  (border_ ? WS_BORDER : 0);
    if (!Create(kPictureClass, WS_EX_CONTROLPARENT, style, L"", rect_.left, rect_.top, Width(),
                Height(), parentHwnd)) {
        return;
    }
    windowDc_ = GetDC(Hwnd());
    PrepareDc(windowDc_);
    if (autoRedraw_) {
        SizeImage();
        Cls();
    }
    WindowReady();
}

void PictureBox::PrepareDc(HDC dc) {
    if (!dc) {
        return;
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, foreColor_);
    if (dc == image_.Dc()) {
        image_.SelectFont(FontHandle());
    } else {
        SelectObject(dc, FontHandle());
    }
}

void PictureBox::SizeImage() {
    if (!Hwnd()) {
        return;
    }
    bool fresh = !image_.Valid();
    if (image_.Resize(ScaleWidth(), ScaleHeight(), backColor_) && fresh) {
        PrepareDc(image_.Dc());
    }
}

void PictureBox::SetAutoRedraw(bool on) {
    if (on == autoRedraw_) {
        return;
    }
    autoRedraw_ = on;
    if (on && Hwnd()) {
        SizeImage();
        Cls();
    }
}

void PictureBox::SetBorder(bool on) {
    border_ = on;
    if (HWND h = Hwnd()) {
        LONG style = GetWindowLongW(h, GWL_STYLE);
        SetWindowLongW(h, GWL_STYLE, on ? (style | WS_BORDER) : (style & ~WS_BORDER));
        SetWindowPos(h, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
}

void PictureBox::SetAutoSize(bool on) {
    autoSize_ = on;
    SetPicture(picture_);
}

void PictureBox::SetPicture(PicturePtr picture) {
    picture_ = std::move(picture);
    if (autoSize_ && picture_) {
        int frame = border_ ? 2 : 0;
        Move(rect_.left, rect_.top, picture_->Width() + frame, picture_->Height() + frame);
    }
    if (autoRedraw_ && Hwnd()) {
        SizeImage();
        if (picture_) {
            picture_->Draw(image_.Dc(), 0, 0, picture_->Width(), picture_->Height());
        }
    }
    if (Hwnd()) {
        InvalidateRect(Hwnd(), nullptr, FALSE);
    }
}

void PictureBox::SetForeColor(COLORREF colour) {
    foreColor_ = colour;
    if (windowDc_) {
        SetTextColor(windowDc_, colour);
    }
    if (image_.Valid()) {
        SetTextColor(image_.Dc(), colour);
    }
}

HDC PictureBox::Dc() {
    return autoRedraw_ ? image_.Dc() : windowDc_;
}

void PictureBox::Cls() {
    if (autoRedraw_ && image_.Valid()) {
        image_.Fill(backColor_);
        if (picture_) {
            picture_->Draw(image_.Dc(), 0, 0, picture_->Width(), picture_->Height());
        }
    }
    if (Hwnd()) {
        InvalidateRect(Hwnd(), nullptr, FALSE);
    }
}

void PictureBox::PaintBackground(HDC dc, const RECT& area) {
    if (autoRedraw_ && image_.Valid()) {
        if (area.right > image_.Width() || area.bottom > image_.Height()) {
            Container::PaintBackground(dc, area);
        }
        image_.CopyTo(dc, area);
        return;
    }
    Container::PaintBackground(dc, area);
    if (picture_) {
        picture_->Draw(dc, 0, 0, picture_->Width(), picture_->Height());
    }
    if (onPaint) {
        detail::RunHandler([&] { onPaint(dc); });
    }
}

LRESULT PictureBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SIZE && autoRedraw_) {
        SizeImage();
    }
    if (message == WM_NCDESTROY) {
        windowDc_ = nullptr;
    }
    return Container::HandleMessage(message, wParam, lParam);
}

// ---------------------------------------------------------------- Image

void Image::SetPicture(PicturePtr picture) {
    picture_ = std::move(picture);
    Invalidate();
}

void Image::Paint(HDC dc) {
    if (picture_) {
        picture_->Draw(dc, rect_.left, rect_.top, Width(), Height());
    }
}

// ---------------------------------------------------------------- Label

Label::Label(Container& container) : Graphic(container) {}

HFONT Label::FontHandle() {
    const FontDescription& desc = Font();
    if (!fontHandle_ || desc != handleFont_) {
        fontHandle_ = CreateGdiFont(desc);
        handleFont_ = desc;
    }
    return fontHandle_.get();
}

void Label::SetCaption(const std::wstring& caption) {
    caption_ = caption;
    Fit();
    Invalidate();
}

void Label::SetForeColor(COLORREF colour) {
    foreColor_ = colour;
    Invalidate();
}

void Label::SetBackColor(COLORREF colour) {
    backColor_ = colour;
    Invalidate();
}

void Label::SetBackStyle(BackStyle style) {
    backStyle_ = style;
    Invalidate();
}

void Label::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Invalidate();
}

void Label::SetAlignment(Alignment alignment) {
    alignment_ = alignment;
    Invalidate();
}

void Label::SetWordWrap(bool on) {
    wordWrap_ = on;
    Fit();
}

void Label::SetAutoSize(bool on) {
    autoSize_ = on;
    Fit();
}

void Label::SetBorder(bool on) {
    border_ = on;
    Fit();
    Invalidate();
}

void Label::SetFont(const FontDescription& font) {
    ownFont_ = font;
    Fit();
    Invalidate();
}

UINT Label::TextFormat() const {
    // The text always wraps at the control's width; word wrap only decides how
    // auto-size grows the control (see Fit).
    UINT format = DT_NOPREFIX | DT_WORDBREAK;
    switch (alignment_) {
    case Alignment::Left:
        format |= DT_LEFT;
        break;
    case Alignment::Right:
        format |= DT_RIGHT;
        break;
    case Alignment::Center:
        format |= DT_CENTER;
        break;
    }
    return format;
}

void Label::Fit() {
    if (!autoSize_) {
        return;
    }
    int frame = border_ ? 2 : 0;
    WindowDc screen(nullptr);
    Selection keep(screen.get(), FontHandle());
    // An empty caption still keeps the height of one line.
    const std::wstring& text = caption_.empty() ? std::wstring(L" ") : caption_;
    RECT calc{0, 0, 0, 0};
    if (wordWrap_) {
        calc.right = std::max(Width() - 2 * frame, 1);
        DrawTextW(screen.get(), text.c_str(), static_cast<int>(text.size()), &calc,
                  DT_CALCRECT | DT_NOPREFIX | DT_WORDBREAK);
        Move(Left(), Top(), Width(), calc.bottom + 2 * frame);
    } else {
        DrawTextW(screen.get(), text.c_str(), static_cast<int>(text.size()), &calc,
                  DT_CALCRECT | DT_NOPREFIX);
        int width = caption_.empty() ? 0 : calc.right;
        Move(Left(), Top(), width + 2 * frame, calc.bottom + 2 * frame);
    }
}

void Label::Paint(HDC dc) {
    RECT r = rect_;
    if (backStyle_ == BackStyle::Opaque) {
        GdiBrush brush(CreateSolidBrush(backColor_));
        FillRect(dc, &r, brush.get());
    }
    if (border_) {
        DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    }
    Selection keep(dc, FontHandle());
    int oldMode = SetBkMode(dc, TRANSPARENT);
    COLORREF oldColour = GetTextColor(dc);
    int n = static_cast<int>(caption_.size());
    if (enabled_) {
        SetTextColor(dc, foreColor_);
        DrawTextW(dc, caption_.c_str(), n, &r, TextFormat());
    } else {
        // Greyed as the system greys a disabled control's text: etched.
        RECT light = r;
        OffsetRect(&light, 1, 1);
        SetTextColor(dc, GetSysColor(COLOR_3DHILIGHT));
        DrawTextW(dc, caption_.c_str(), n, &light, TextFormat());
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        DrawTextW(dc, caption_.c_str(), n, &r, TextFormat());
    }
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
}

// ---------------------------------------------------------------- Shape

void Shape::SetBorderColor(COLORREF colour) {
    colour_ = colour;
    Invalidate();
}

void Shape::SetBorderWidth(int pixels) {
    width_ = std::max(pixels, 1);
    Invalidate();
}

void Shape::Paint(HDC dc) {
    GdiPen pen(CreatePen(PS_INSIDEFRAME, width_, colour_));
    Selection keepPen(dc, pen.get());
    Selection keepBrush(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, rect_.left, rect_.top, rect_.right, rect_.bottom);
}

// ---------------------------------------------------------------- ComboBox

ComboBox::ComboBox(Container& parent) : ChildWindow(parent) {
    CreateIfParentReady();
}

ComboBox::~ComboBox() = default;

void ComboBox::CreateIn(HWND parentHwnd) {
    HWND h = CreateWindowExW(0, L"COMBOBOX", L"",
                             WS_CHILD | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL |
                                 VisibilityStyle(),
                             rect_.left, rect_.top, Width(), Height() + kComboListHeight,
                             parentHwnd, nullptr, ModuleInstance(), nullptr);
    if (!h) {
        return;
    }
    hwnd_.reset(h);
    if (!fontHandle_) {
        fontHandle_ = CreateGdiFont(ownFont_ ? *ownFont_ : parent_.Font());
    }
    SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(fontHandle_.get()), FALSE);
    for (const auto& item : items_) {
        SendMessageW(h, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
    SetWindowTextW(h, text_.c_str());
}

void ComboBox::ParentClosing() {
    text_ = Text(); // kept for a later load of the form
}

void ComboBox::ParentGone() {
    (void)hwnd_.release(); // destroyed with its parent
}

void ComboBox::Place() {
    if (HWND h = hwnd_.get()) {
        MoveWindow(h, rect_.left, rect_.top, Width(), Height() + kComboListHeight, TRUE);
    }
}

void ComboBox::SetText(const std::wstring& text) {
    text_ = text;
    if (HWND h = hwnd_.get()) {
        SetWindowTextW(h, text.c_str());
    }
}

std::wstring ComboBox::Text() const {
    HWND h = hwnd_.get();
    if (!h) {
        return text_;
    }
    int n = GetWindowTextLengthW(h);
    std::wstring text(static_cast<std::size_t>(std::max(n, 0)) + 1, L'\0');
    int got = GetWindowTextW(h, text.data(), n + 1);
    text.resize(static_cast<std::size_t>(std::max(got, 0)));
    return text;
}

void ComboBox::AddItem(const std::wstring& item) {
    items_.push_back(item);
    if (HWND h = hwnd_.get()) {
        SendMessageW(h, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
}

void ComboBox::Clear() {
    items_.clear();
    if (HWND h = hwnd_.get()) {
        SendMessageW(h, CB_RESETCONTENT, 0, 0);
    }
}

int ComboBox::ListCount() const {
    return static_cast<int>(items_.size());
}

std::wstring ComboBox::List(int index) const {
    return index >= 0 && index < ListCount() ? items_[static_cast<std::size_t>(index)]
                                             : std::wstring();
}

void ComboBox::SetFont(const FontDescription& font) {
    ownFont_ = font;
    GdiFont old = std::move(fontHandle_);
    fontHandle_ = CreateGdiFont(font);
    if (HWND h = hwnd_.get()) {
        SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(fontHandle_.get()), TRUE);
    }
}

} // namespace forms
