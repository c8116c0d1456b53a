// Program-wide services of the forms layer: where the program lives, how it was
// started, how it runs and ends, and the screen.
//
//   int main() {                  // the host's start-up
//       ...; form.Load();         // forms: form_win32.h
//       forms::Run();             // until no form is loaded
//   }
//   forms::End();                 // anywhere: the process ends now, no handler runs
//   forms::Shell(forms::AppPath() + "\\Orvanel.dll", 5000);
//   forms::MsgBox(L"...");
#pragma once

#include <string>

namespace forms {

// Folder of the running program, without a trailing backslash, in the ANSI code
// page (it is joined with file names handed to the A functions).
std::string AppPath();

// The text after the program name on the command line, ANSI (command_line.h).
std::string Command();

// Runs the message loop until no form is loaded (or the thread is told to
// quit), then returns. Returns at once when no form is loaded.
void Run();

// Ends the process at once with exit code 0. No handler of any form runs, and
// nothing of the forms is cleaned up: the system takes it all.
[[noreturn]] void End();

// The program's title: the caption of its message boxes. By default the
// program file's name without its extension.
std::wstring AppTitle();
void SetAppTitle(const std::wstring& title);

// A message with an OK button only and no icon; the caption is AppTitle().
// Returns when it is dismissed. The process's windows are disabled meanwhile,
// and no timer ticks during it.
void MsgBox(const std::wstring& text);

// Starts a program file with no arguments, in a normal window that may take
// the focus, and does not wait for it to end. With a limit > 0, it first waits
// (at most that many ms) until the started program waits for input. False when
// the program could not be started.
bool Shell(const std::string& path, unsigned waitForInputIdleMs = 0);

// The screen, in twips, and twips per pixel on each axis (1440 divided by the
// screen's logical pixels per inch).
double TwipsPerPixelX();
double TwipsPerPixelY();
double ScreenWidthTwips();
double ScreenHeightTwips();

// The screen-wide mouse pointer: over all windows of the program.
enum class MousePointer { Default = 0, Hourglass = 11 };
void SetScreenMousePointer(MousePointer pointer);
MousePointer ScreenMousePointer();

} // namespace forms
