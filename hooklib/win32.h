// The one place that decides where the platform's declarations come from.
// Windows builds take the SDK; the native test build takes a small in-memory
// stand-in that behaves like the registry and kernel calls the portable files
// use (creation order of values, case-insensitive names, in-out capacities).
#pragma once

#ifdef LUMORA_NATIVE
#include "win32_standin.h"
#else
#include <windows.h>
#endif
