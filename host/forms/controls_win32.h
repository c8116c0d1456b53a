// The controls the host's forms are made of: picture boxes, images, labels,
// rectangle outlines and an editable combo box. All places and sizes are in
// pixels of their container's client area.
//
//   class Dialog : public forms::Form {
//       forms::PictureBox panel{*this};       // a window inside the form
//       forms::Label caption{panel};          // drawn by the panel
//       forms::Image box{panel};
//       forms::ComboBox repeat{panel};
//     public:
//       Dialog() : Form(L"<Orvanel>") {
//           panel.Move(12, 28, 453, 145);
//           caption.SetCaption(L"BGM");
//           caption.SetAlignment(forms::Alignment::Center);
//       }
//   };
//
// Controls declared as members are made with the form's window when it loads
// (windowless ones are simply drawn by their container); a control made later
// shows at once.
//
// Picture box: with SetAutoRedraw(true) its drawing goes to a persistent image
// (a memory bitmap, Dc()) that repaints the window, so what is drawn stays
// after the window was covered; call Refresh() to show new drawing. Without it
// Dc() is the window's own DC and drawing shows at once but is lost when the
// window is covered.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "form_win32.h"
#include "picture_win32.h"

namespace forms {

class PictureBox : public Container, public ChildWindow {
  public:
    explicit PictureBox(Container& parent);
    ~PictureBox() override;

    // Design properties; take effect at once.
    void SetAutoRedraw(bool on);
    bool AutoRedraw() const { return autoRedraw_; }
    void SetBorder(bool on); // a single line around the box
    // Sizes the box to its picture whenever it gets one.
    void SetAutoSize(bool on);
    // The picture is the background of the box: Cls() brings it back.
    void SetPicture(PicturePtr picture);
    const PicturePtr& GetPicture() const { return picture_; }
    void SetForeColor(COLORREF colour);
    COLORREF ForeColor() const { return foreColor_; }

    // The drawing surface for GDI calls: the persistent image with AutoRedraw,
    // the window's own DC without. Null before the window exists. Its font is
    // the box's Font(), its text colour ForeColor(), its text background
    // transparent.
    HDC Dc();
    // Clears to the back colour (and the picture).
    void Cls();

    HWND ControlHwnd() const override { return Hwnd(); }

    // Without AutoRedraw: draws what the window shows when it is repainted.
    std::function<void(HDC)> onPaint;

  protected:
    void CreateIn(HWND parentHwnd) override;
    void PaintBackground(HDC dc, const RECT& area) override;
    void OnFontChanged() override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void PrepareDc(HDC dc);
    void SizeImage();

    bool autoRedraw_ = false;
    bool fontSet_ = false; // else the container's font when the window is made
    bool border_ = false;
    bool autoSize_ = false;
    COLORREF foreColor_ = RGB(0, 0, 0);
    PicturePtr picture_;
    PersistentImage image_;
    HDC windowDc_ = nullptr; // the class's own DC: lives with the window
};

// A picture drawn by its container, stretched to the control's rectangle.
class Image : public Graphic {
  public:
    explicit Image(Container& container) : Graphic(container) {}
    void SetPicture(PicturePtr picture);
    const PicturePtr& GetPicture() const { return picture_; }

  protected:
    void Paint(HDC dc) override;

  private:
    PicturePtr picture_;
};

enum class Alignment { Left = 0, Right = 1, Center = 2 };
enum class BackStyle { Transparent = 0, Opaque = 1 };

// Text drawn by its container: transparent or opaque background, alignment,
// word wrap, auto-size to the text, greyed when disabled. Until it is given a
// font of its own it uses its container's.
class Label : public Graphic {
  public:
    explicit Label(Container& container);

    void SetCaption(const std::wstring& caption);
    const std::wstring& Caption() const { return caption_; }
    void SetForeColor(COLORREF colour);
    COLORREF ForeColor() const { return foreColor_; }
    void SetBackColor(COLORREF colour);
    void SetBackStyle(BackStyle style);
    void SetEnabled(bool enabled);
    bool Enabled() const { return enabled_; }
    void SetAlignment(Alignment alignment);
    void SetWordWrap(bool on);
    // The control takes the size of its text: with word wrap only its height
    // changes (the width is the wrapping width); without, both do.
    void SetAutoSize(bool on);
    void SetBorder(bool on); // a single line around the text
    void SetFont(const FontDescription& font);
    const FontDescription& Font() const { return ownFont_ ? *ownFont_ : container_.Font(); }

  protected:
    void Paint(HDC dc) override;
    bool TakesMouse() const override { return enabled_; }

  private:
    UINT TextFormat() const;
    void Fit();
    HFONT FontHandle();

    std::wstring caption_;
    COLORREF foreColor_ = RGB(0, 0, 0);
    COLORREF backColor_ = RGB(0xC0, 0xC0, 0xC0);
    BackStyle backStyle_ = BackStyle::Transparent;
    bool enabled_ = true;
    Alignment alignment_ = Alignment::Left;
    bool wordWrap_ = false;
    bool autoSize_ = false;
    bool border_ = false;
    std::optional<FontDescription> ownFont_;
    FontDescription handleFont_; // what fontHandle_ was made for
    GdiFont fontHandle_;
};

// A rectangle outline drawn by its container.
class Shape : public Graphic {
  public:
    explicit Shape(Container& container) : Graphic(container) {}
    void SetBorderColor(COLORREF colour);
    void SetBorderWidth(int pixels);

  protected:
    void Paint(HDC dc) override;
    bool TakesMouse() const override { return false; }

  private:
    COLORREF colour_ = RGB(0, 0, 0);
    int width_ = 1;
};

// An editable text with a drop-down list of items. Move() gives the height of
// the text field; the list drops below it.
class ComboBox : public ChildWindow {
  public:
    explicit ComboBox(Container& parent);
    ~ComboBox() override;

    void SetText(const std::wstring& text);
    std::wstring Text() const;
    void AddItem(const std::wstring& item);
    void Clear();
    int ListCount() const;
    std::wstring List(int index) const;
    // Until it is given a font of its own it takes its container's when its
    // window is made.
    void SetFont(const FontDescription& font);

    HWND ControlHwnd() const override { return hwnd_.get(); }

  protected:
    void CreateIn(HWND parentHwnd) override;
    void ParentClosing() override;
    void ParentGone() override;
    void Place() override;

  private:
    std::wstring text_;                      // until the window exists
    std::vector<std::wstring> items_;        // ditto
    std::optional<FontDescription> ownFont_; // the container's until set
    GdiFont fontHandle_;
    UniqueWindow hwnd_; // last: goes before the font it uses
};

} // namespace forms
