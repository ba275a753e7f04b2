#pragma once
// The controls held in memory live with the program, which runs its command line on them.
#include "core/memory_controls.h"
