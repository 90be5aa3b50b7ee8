#pragma once

// The prefix's per-user application-data folder, where the program keeps
// its configuration: where it is, pointing it elsewhere, and setting the
// program's own folder there aside for a run.

#include <windows.h>

#include <optional>
#include <string>

namespace TestDriver {

// The per-user application-data folder as the shell reports it; empty when
// it has none.
std::string AppDataFolder();

// Points the shell's per-user application-data folder at `path` while it
// lives, then puts back the setting it found (or none).
class TAppDataRedirect {
public:
    explicit TAppDataRedirect(const std::string& path);
    ~TAppDataRedirect() { Restore(); }
    TAppDataRedirect(const TAppDataRedirect&) = delete;
    TAppDataRedirect& operator=(const TAppDataRedirect&) = delete;

    // False when the setting could not be changed.
    bool Redirected() const { return FRedirected; }
    void Restore();
    // A run killed while redirected left its setting behind: when the
    // setting holds `marker`, the system's default comes back.
    static void RestoreLeftOver(const std::string& marker);

private:
    bool FRedirected = false;
    std::optional<std::string> FOld;
    DWORD FOldType = REG_EXPAND_SZ;
};

// Moves the maker's per-user folder aside while it lives and puts it back
// afterwards, so the program starts as on a first run (designed place,
// designed font) and what it saves on closing is thrown away. A folder left
// aside by a killed run is put back first.
class TFirstRun {
public:
    TFirstRun();
    ~TFirstRun();
    TFirstRun(const TFirstRun&) = delete;
    TFirstRun& operator=(const TFirstRun&) = delete;

    // The folder's path; empty when it could not be found or set aside.
    const std::string& Folder() const { return FFolder; }

private:
    std::string FFolder;
    std::string FAside;
};

}  // namespace TestDriver
