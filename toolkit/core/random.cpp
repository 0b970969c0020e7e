#include "toolkit/core/random.h"

std::uint32_t randSeed = 1;
