#pragma once

// The operating-system edge of the configuration file: file lookup, reading,
// safe replacement, folders, the clock and ANSI upper-casing. One
// implementation per platform (VxConfigOSWin.cpp, VxConfigOSPosix.cpp).

#include <string>
#include <string_view>

struct TVxFileLookup {
    bool Found = false;
    bool IsFolder = false;
    // Last write in local time as a date-time; 0 for a zero file time.
    double LastWrite = 0;
};

TVxFileLookup VxLookupFile(const std::string& Path);

bool VxFolderExists(const std::string& Folder);

// Creates Folder with every missing parent; false when one cannot be made.
bool VxCreateFolders(const std::string& Folder);

// The whole file; raises EFOpenError naming the file and the system's reason.
std::string VxReadFile(const std::string& Path);

// Replaces Path by Data through a flushed temporary file beside it, so the old
// file stays whole unless the new one is complete. Raises EOSError on failure,
// leaving the old file and no temporary file behind.
void VxWriteFileSafely(const std::string& Path, std::string_view Data);

// The current local time as a date-time.
double VxNowLocal();

// Upper case by the system's ANSI rules (Windows-1252 outside Windows).
std::string VxAnsiUpperCase(std::string_view S);
