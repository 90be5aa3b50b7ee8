#pragma once

// Identifiers shared by the resource script and the code that loads them.

#define IDI_MAINICON 1
#define IDS_MAKER_FOLDER 1001
