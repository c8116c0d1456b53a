// Orvanel_B: the host's start-up module. Holds the settings record that the
// rest of the host reads, and the settings file operations.
#pragma once

#include <cstdint>
#include <string>

#include "host_types.h"

// Settings record: loaded once at start-up, edited by the settings dialog.
extern std::int16_t BgmMode;   // 0 no music, 1 audio CD, 2 music file
extern std::int16_t BgmRepeat; // CD track to loop, 0 for none
extern std::string BgmFile;    // full path of the music file (ANSI code page bytes)
