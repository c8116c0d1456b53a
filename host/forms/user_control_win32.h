// The base of the host's own controls (the skinned button).
//
// A user control is a child window with a persistent image (its drawing
// stays), a property bag, the ambient font of its container, an opaque or
// transparent background, focus and mouse events, and events of its own that
// it raises to the form (plain std::function members of the derived class).
//
//   class Command : public forms::UserControl {
//     public:
//       Command(forms::Container& parent, std::optional<forms::PropertyBag> stored)
//           : UserControl(parent, std::move(stored)) {
//           CreateIfParentReady();              // last, so the overrides below run
//       }
//       std::function<void()> Click;            // raised with RaiseEvent(Click)
//     protected:
//       void OnInitProperties() override { ... }                      // no stored properties
//       void OnReadProperties(const forms::PropertyBag& bag) override { ... }
//       void OnWriteProperties(forms::PropertyBag& bag) override { ... }
//       void OnMouseDown(const forms::MouseArgs& a) override { ... }  // a.button 1 = left
//       void OnGotFocus() override { ... }
//       void OnResize() override { ... }
//   };
//
// When the window is made (with its form's window), the stored properties are
// read (OnReadProperties; OnInitProperties when there are none), then
// OnResize runs. SaveProperties() asks the control to write its properties
// into a fresh bag: that text is what the form keeps with its layout.
// A mouse press gives the control the focus before the press event runs, and
// the control holds the mouse until the button is released.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <set>
#include <string>
#include <utility>

#include "controls_win32.h"
#include "form_win32.h"
#include "picture_win32.h"
#include "property_bag.h"

namespace forms {

class UserControl : public Container, public ChildWindow {
  public:
    UserControl(Container& parent, std::optional<PropertyBag> stored);
    ~UserControl() override;

    // The container's font (what a new control takes as its own).
    const FontDescription& AmbientFont() const { return ChildWindow::Parent().Font(); }

    void SetBackStyle(BackStyle style);
    BackStyle GetBackStyle() const { return backStyle_; }

    // The drawing surface (the persistent image) and what it shows: call
    // Refresh() after drawing.
    HDC Dc() const { return image_.Dc(); }
    // Clears the image to the background: the back colour, or with a
    // transparent background what the container shows behind the control.
    void Cls();

    // Size in twips, for controls laid out in twips.
    double WidthTwips() const;
    double HeightTwips() const;

    bool HasFocus() const { return Hwnd() && GetFocus() == Hwnd(); }
    void SetFocus();

    // The properties as they would be stored now.
    PropertyBag SaveProperties();
    // Notes a changed property (the layout keeps only changed ones in mind).
    void PropertyChanged(const std::string& name) { changed_.insert(name); }
    bool IsPropertyChanged(const std::string& name) const { return changed_.count(name) > 0; }

    HWND ControlHwnd() const override { return Hwnd(); }

  protected:
    // Raises one of the control's events: the form's handler runs now.
    template <typename... Args, typename... Given>
    void RaiseEvent(const std::function<void(Args...)>& event, Given&&... args) {
        if (event) {
            event(std::forward<Given>(args)...);
        }
    }

    virtual void OnInitProperties() {}
    virtual void OnReadProperties(const PropertyBag& bag) { (void)bag; }
    virtual void OnWriteProperties(PropertyBag& bag) { (void)bag; }
    virtual void OnResize() {}
    virtual void OnGotFocus() {}
    virtual void OnLostFocus() {}

    void CreateIn(HWND parentHwnd) override;
    void OnFontChanged() override { fontSet_ = true; }
    void PaintBackground(HDC dc, const RECT& area) override;
    void OnButtonPressed() override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void PaintBehind(HDC dc, const RECT& area);

    std::optional<PropertyBag> stored_;
    BackStyle backStyle_ = BackStyle::Opaque;
    bool fontSet_ = false; // else the ambient font when the window is made
    PersistentImage image_;
    std::set<std::string> changed_;
};

} // namespace forms
