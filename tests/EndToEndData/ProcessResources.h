#pragma once

// What the calling process holds, counted inside it: GDI and USER objects,
// its windows and their menus, kernel handles and private memory.

#include <windows.h>

#include "tests/EndToEndData/HookRequest.h"

THookResources CountProcessResources();
