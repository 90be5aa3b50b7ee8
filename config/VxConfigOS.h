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
// file stays whole unless the new one is complete. The new file keeps the old
// one's permissions (on Windows its attributes, access control list and
// creation time); a file marked read-only is refused. Raises EOSError on
// failure, leaving the old file and no temporary file behind.
//
// The temporary file is Path + "." + writer id + ".tmp". A process stopped
// part-way leaves its one behind: every save first removes those of Path
// whose writer is gone, and never one that a save still running holds, so
// several processes may save the same file at once (the last one wins).
void VxWriteFileSafely(const std::string& Path, std::string_view Data);

// The steps of VxWriteFileSafely in their order. Done follows a completed
// save.
enum class TVxSaveStep : int { Preparing = 1, Writing, Flushing, Replacing, Done };
using TVxSaveStepHook = void (*)(TVxSaveStep Step) noexcept;
// Installs the function told of each step as it begins (null: none) and
// returns the one it replaces; lets a test stop a save at a known step.
TVxSaveStepHook VxSetSaveStepHook(TVxSaveStepHook Hook) noexcept;

// The writer id of Name when it is a temporary file of FileName (both
// without folder), else empty.
std::string_view VxTempFileWriter(std::string_view FileName, std::string_view Name) noexcept;

// The current local time as a date-time.
double VxNowLocal();

// Upper case by the system's ANSI rules (Windows-1252 outside Windows).
std::string VxAnsiUpperCase(std::string_view S);
