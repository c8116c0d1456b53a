#include "command_line.h"

namespace forms {

namespace {
bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
} // namespace

std::string CommandAfterProgramName(std::string_view commandLine) {
    std::string_view::size_type i = 0;
    bool quoted = false;
    for (; i < commandLine.size(); ++i) {
        char c = commandLine[i];
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && IsBlank(c)) {
            break;
        }
    }
    while (i < commandLine.size() && IsBlank(commandLine[i])) {
        ++i;
    }
    return std::string(commandLine.substr(i));
}

} // namespace forms
