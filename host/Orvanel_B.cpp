#include "Orvanel_B.h"

std::int16_t BgmMode = 0;
std::int16_t BgmRepeat = 0;
std::string BgmFile;
