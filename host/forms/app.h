// Program-wide services of the forms layer: where the program lives, how it was
// started, and how it ends.
#pragma once

#include <string>

namespace forms {

// Folder of the running program, without a trailing backslash, in the ANSI code
// page (it is joined with file names handed to the A functions).
std::string AppPath();

} // namespace forms
