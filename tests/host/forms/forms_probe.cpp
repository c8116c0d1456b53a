// A small program of the forms layer's end-to-end test: it shows controls at
// known places so that screenshots can tell what they draw.
//
//   forms_probe.exe paint   the probe form (title "Forms probe") at 0, 0:
//     - picture box at 20, 20, 160 x 120, persistent image: white, a red
//       block at 20..100 x 20..80 drawn once through its DC;
//     - picture box at 200, 20, 160 x 120, no persistent image: white, the
//       same red block drawn once through its DC;
//     - picture box at 20, 160, 160 x 120 with a blue/green checker picture
//       and a transparent label over it, yellow bold text "LABEL";
//     - an image at 200, 160, 80 x 60 showing a 4 x 3 picture stretched, a
//       white rectangle outline at 290, 160, 70 x 60, a combo box at 200, 240.
//   forms_probe.exe cover   a magenta form titled "Forms cover" over the
//     picture boxes (0, 0, 400 x 150) for 2 s; when it unloads, the windows
//     under it are asked to paint again, as uncovering does on Windows.
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "app.h"
#include "controls_win32.h"
#include "form_win32.h"

namespace {

class ProbeForm : public forms::Form {
  public:
    ProbeForm() : Form(L"Forms probe") {
        SetBorderStyle(forms::BorderStyle::None);
        SetBackColor(RGB(0, 0, 64));
        Move(0, 0, 400 * 15, 300 * 15);
        kept.SetAutoRedraw(true);
        kept.SetBackColor(RGB(255, 255, 255));
        kept.Move(20, 20, 160, 120);
        lost.SetBackColor(RGB(255, 255, 255));
        lost.Move(200, 20, 160, 120);

        std::vector<std::uint32_t> checker(16 * 16);
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                checker[static_cast<std::size_t>(y * 16 + x)] =
                    ((x / 2 + y / 2) % 2) ? 0x0000C0 : 0x00A000;
            }
        }
        backdrop.SetAutoRedraw(true);
        backdrop.Move(20, 160, 160, 120);
        auto tile = forms::Picture::FromPixels(16, 16, checker.data());
        board.SetPicture(tile);
        board.Move(0, 0, 160, 120);
        label.SetFont(forms::FontDescription{"Arial", 28, true, 0});
        label.SetForeColor(RGB(255, 255, 0));
        label.SetAlignment(forms::Alignment::Center);
        label.Move(0, 30, 160, 60);
        label.SetCaption(L"LABEL");

        std::uint32_t tiny[12] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0xFF0000, 0x00FF00,
                                  0x0000FF, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
        image.SetPicture(forms::Picture::FromPixels(4, 3, tiny));
        image.Move(200, 160, 80, 60);
        outline.SetBorderColor(RGB(255, 255, 255));
        outline.Move(290, 160, 70, 60);
        combo.Move(200, 240, 100, 24);
        combo.AddItem(L"");
        combo.AddItem(L"1");
        combo.SetText(L"7");

        // The blocks are drawn once, when the window has settled on screen;
        // only the persistent image keeps its block after being covered.
        draw.SetInterval(500);
        draw.SetEnabled(true);
        draw.onTick = [this] {
            draw.SetEnabled(false);
            for (forms::PictureBox* box : {&kept, &lost}) {
                RECT block{20, 20, 100, 80};
                forms::GdiBrush red(CreateSolidBrush(RGB(255, 0, 0)));
                FillRect(box->Dc(), &block, red.get());
            }
            kept.Refresh();
        };
    }

  private:
    forms::PictureBox kept{*this};
    forms::PictureBox lost{*this};
    forms::PictureBox backdrop{*this};
    forms::Image board{backdrop};
    forms::Label label{backdrop};
    forms::Image image{*this};
    forms::Shape outline{*this};
    forms::ComboBox combo{*this};
    forms::Timer draw{*this};
};

class CoverForm : public forms::Form {
  public:
    CoverForm() : Form(L"Forms cover") {
        SetBorderStyle(forms::BorderStyle::None);
        SetBackColor(RGB(255, 0, 255));
        Move(0, 0, 400 * 15, 150 * 15);
        leave.SetInterval(2000);
        leave.SetEnabled(true);
        leave.onTick = [this] { Unload(); };
    }

  protected:
    void OnUnload() override {
        // As the system does for windows that keep no copy of their pixels:
        // what lay under the cover paints itself again. (Wine keeps a copy, so
        // it would not ask for that by itself.)
        Hide();
        if (HWND probe = FindWindowW(nullptr, L"Forms probe")) {
            RedrawWindow(probe, nullptr, nullptr,
                         RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        }
    }

  private:
    forms::Timer leave{*this};
};

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    std::string mode = forms::Command();
    static ProbeForm probe;
    static CoverForm cover;
    if (mode == "paint") {
        probe.Show();
    } else if (mode == "cover") {
        cover.Show();
    } else {
        return 2;
    }
    forms::Run();
    return 0;
}
