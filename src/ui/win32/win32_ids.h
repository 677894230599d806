/* Ids the Win32 front end adds to the window's own (window/resource_ids.h): the About
   box's statics, the application icon, and the private message that runs the work other
   threads hand to the window. Plain macros, read by the resource compiler too. */
#pragma once

#include "window/resource_ids.h"

#define IDI_QUORLIN 128

/* Statics nothing refers to. */
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

/* The About box's icon and texts, which take the behaviour's About content. */
#define IDC_ABOUT_ICON 1100
#define IDC_ABOUT_NAME 1101
#define IDC_ABOUT_DESCRIPTION 1102

#ifndef RC_INVOKED
#include <windows.h>

namespace quorlin::win32 {

// Posted to the main window: run what the worker has handed over (UiCaller::pump).
inline constexpr UINT kRunQueuedUiWork = WM_APP + 1;

}  // namespace quorlin::win32
#endif
