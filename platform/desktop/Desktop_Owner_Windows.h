// The main window as the owner of dialogs and boxes, so they stay above it and it waits for them.
#pragma once
#include <windows.h>

HWND Desktop_OwnerWindow();
