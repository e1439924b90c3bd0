// The frame of the hook library: its module state, the export that installs
// and removes the system-wide hook, and the hook procedure.
#pragma once

#include "win32.h"

// The library's own module, for its menu templates.
extern HINSTANCE g_instance;

// Installs (install non-zero) or removes the call-window-procedure-return hook
// for threadId (0: every thread of the desktop). See hook.cpp for the results.
extern "C" __declspec(dllexport) int __cdecl Marquel_InstallHook(int install, DWORD threadId);
