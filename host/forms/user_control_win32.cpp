#include "user_control_win32.h"

#include "app.h"
#include "twips.h"

namespace forms {

namespace {
const wchar_t kUserControlClass[] = L"OrvanelUserControl";
}

UserControl::UserControl(Container& parent, std::optional<PropertyBag> stored)
    : Container(&parent), ChildWindow(parent), stored_(std::move(stored)) {
    font_ = parent.Font();
}

UserControl::~UserControl() {
    Destroy();
}

void UserControl::CreateIn(HWND parentHwnd) {
    if (!RegisterClassOnce(kUserControlClass, 0, nullptr)) {
        return;
    }
    if (!fontSet_) {
        font_ = AmbientFont();
        fontHandle_.reset();
    }
    DWORD style = WS_CHILD | WS_TABSTOP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | VisibilityStyle();
    if (!Create(kUserControlClass, 0, style, L"", rect_.left, rect_.top, Width(), Height(),
                parentHwnd)) {
        return;
    }
    image_.Resize(ScaleWidth(), ScaleHeight(), backColor_);
    SetBkMode(image_.Dc(), TRANSPARENT);
    WindowReady();
    if (stored_) {
        detail::RunHandler([this] { OnReadProperties(*stored_); });
    } else {
        detail::RunHandler([this] { OnInitProperties(); });
    }
    detail::RunHandler([this] { OnResize(); });
}

void UserControl::SetBackStyle(BackStyle style) {
    backStyle_ = style;
    if (Hwnd()) {
        InvalidateRect(Hwnd(), nullptr, FALSE);
    }
}

void UserControl::PaintBehind(HDC dc, const RECT& area) {
    // What the container shows under the control: its picture and the
    // windowless controls, drawn with the container's origin.
    Container& parent = ChildWindow::Parent();
    POINT old;
    SetViewportOrgEx(dc, -rect_.left, -rect_.top, &old);
    RECT inParent = area;
    OffsetRect(&inParent, rect_.left, rect_.top);
    parent.PaintContentFor(dc, inParent);
    SetViewportOrgEx(dc, old.x, old.y, nullptr);
}

void UserControl::Cls() {
    if (!image_.Valid()) {
        return;
    }
    if (backStyle_ == BackStyle::Transparent) {
        RECT all{0, 0, image_.Width(), image_.Height()};
        PaintBehind(image_.Dc(), all);
    } else {
        image_.Fill(backColor_);
    }
    InvalidateRect(Hwnd(), nullptr, FALSE);
}

double UserControl::WidthTwips() const {
    return PixelsToTwips(ScaleWidth(), TwipsPerPixelX());
}
double UserControl::HeightTwips() const {
    return PixelsToTwips(ScaleHeight(), TwipsPerPixelY());
}

void UserControl::SetFocus() {
    if (Hwnd()) {
        ::SetFocus(Hwnd());
    }
}

PropertyBag UserControl::SaveProperties() {
    PropertyBag bag;
    detail::RunHandler([&] { OnWriteProperties(bag); });
    return bag;
}

void UserControl::PaintBackground(HDC dc, const RECT& area) {
    if (image_.Valid()) {
        if (area.right > image_.Width() || area.bottom > image_.Height()) {
            Container::PaintBackground(dc, area);
        }
        image_.CopyTo(dc, area);
    } else if (backStyle_ == BackStyle::Transparent) {
        PaintBehind(dc, area);
    } else {
        Container::PaintBackground(dc, area);
    }
}

void UserControl::OnButtonPressed() {
    if (!HasFocus()) {
        SetFocus();
    }
}

LRESULT UserControl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
        if (Hwnd() && image_.Valid()) {
            image_.Resize(ScaleWidth(), ScaleHeight(), backColor_);
            detail::RunHandler([this] { OnResize(); });
        }
        return 0;
    case WM_SETFOCUS:
        detail::RunHandler([this] { OnGotFocus(); });
        return 0;
    case WM_KILLFOCUS:
        detail::RunHandler([this] { OnLostFocus(); });
        return 0;
    case WM_GETDLGCODE:
        return 0; // Tab and the arrows stay with the form's focus moves
    }
    return Container::HandleMessage(message, wParam, lParam);
}

} // namespace forms
