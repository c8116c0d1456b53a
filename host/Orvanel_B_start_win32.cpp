// The entry of Orvanel.scr: it only starts the forms layer, which runs Main.
#include <windows.h>

#include "Orvanel_B.h"
#include "Orvanel_B_start.h"
#include "Orvanel_S_win32.h"
#include "app.h"
#include "wide_win32.h"

namespace {

class SystemStartup : public StartupPlatform {
  public:
    std::string CommandLine() override { return forms::Command(); }
    std::string AppPath() override { return forms::AppPath(); }
    bool WindowExists(const char* title) override { return FindWindowA(nullptr, title) != nullptr; }
    // The preview pane's picture comes with its own form; until then a preview
    // request ends quietly.
    void ShowPreview() override { forms::End(); }
    void LoadSettings() override { ::LoadSettings(); }
    bool FileExists(const std::string& path) override { return ::FileExists(path); }
    void MsgBox(const std::string& utf8Text) override { forms::MsgBox(forms::WidenUtf8(utf8Text)); }
    // The settings dialog comes with its own form; until then /c ends after
    // the renderer check.
    void ShowSettingsDialog() override {}
    std::int32_t ShowCursor(bool show) override { return ::ShowCursor(show ? TRUE : FALSE); }
    void LoadRunForm() override {
        static Orvanel_S runForm;
        runForm.Load();
    }
    [[noreturn]] void End() override { forms::End(); }
};

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    SystemStartup startup;
    Main(startup);
    forms::Run();
    return 0;
}
