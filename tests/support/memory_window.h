#pragma once
// The window held in memory lives with the program, which runs its command line on it.
#include "screens/memory_window.h"
