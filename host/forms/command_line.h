// The program's command line as the forms layer hands it to the host: the text
// after the program name.
//
//   forms::CommandAfterProgramName("\"C:\\x\\Orvanel.scr\" /p 1234")  // "/p 1234"
#pragma once

#include <string>
#include <string_view>

namespace forms {

// The program name is the first word of the raw command line: it ends at the
// first blank or tab that is not inside double quotes (quotes may cover part of
// it, as the C run time reads it). The blanks and tabs after it are skipped;
// everything else is returned unchanged, trailing blanks included.
std::string CommandAfterProgramName(std::string_view commandLine);

} // namespace forms
