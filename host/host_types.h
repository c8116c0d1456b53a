// Small shared types of the host.
#pragma once

#include <cstdint>

// The host's Booleans are 16-bit with true = -1, as the settings dialog and the
// CD poll exchange them.
using Bool16 = std::int16_t;
constexpr Bool16 kTrue16 = -1;
constexpr Bool16 kFalse16 = 0;
