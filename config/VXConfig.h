#pragma once

// The program's configuration: where the per-user configuration file lives,
// the file itself (opened on first need), section accessors, and a registry
// of items that each load and save one setting of the main section.

#include "config/VxConfigFiles.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TVXConfiguration;

// One setting stored under the key Name() of a section.
class TVxBaseConfigItem {
public:
    explicit TVxBaseConfigItem(std::string Name) : FName(std::move(Name)) {}
    virtual ~TVxBaseConfigItem() = default;
    TVxBaseConfigItem(const TVxBaseConfigItem&) = delete;
    TVxBaseConfigItem& operator=(const TVxBaseConfigItem&) = delete;

    const std::string& Name() const { return FName; }
    virtual bool IsStored(IVxConfigSection& Section);
    virtual void Load(IVxConfigSection& Section) = 0;
    virtual void Save(IVxConfigSection& Section) = 0;

protected:
    std::string FName;
};

// The registered items, in registration order; owns them.
class TVxConfigItems {
public:
    void Add(std::unique_ptr<TVxBaseConfigItem> Item);
    int Count() const { return static_cast<int>(FItems.size()); }
    TVxBaseConfigItem& Items(int Index) const;
    // Loads each item whose key is stored; the others keep their values.
    void LoadAll(IVxConfigSection& Section);
    void SaveAll(IVxConfigSection& Section);

private:
    std::vector<std::unique_ptr<TVxBaseConfigItem>> FItems;
};

// What the file name is made of: the per-user folder, the maker folder's
// name and the running program's file name. The Windows build supplies the
// system's (VxSystemConfigPlatform); tests supply their own.
struct TVxConfigPlatform {
    // False when the folder cannot be found or created.
    std::function<bool(int CSIDL, bool Create, std::string& Path)> GetSpecialFolder;
    std::function<std::string()> MakerFolderName;
    // The running program's file name, with or without its folder.
    std::function<std::string()> ExeName;
    char PathDelimiter = '\\';
};

inline constexpr int CSIDL_APPDATA_FOLDER = 26;

using TVxGetFileNameEvent = std::function<void(TVXConfiguration* Sender, std::string& FileName)>;

class TVXConfiguration {
public:
    // Computes the file name (the file is opened on first need); raises
    // "Unable to find/create APPDATA folder". SubFolder and OnGetFileName are
    // consulted only here.
    explicit TVXConfiguration(const TVxConfigPlatform& Platform, std::string SubFolder = {},
                              TVxGetFileNameEvent OnGetFileName = {});
    // Saves a file left modified; an error of that save goes to the deferred
    // error handler (VxConfigFiles.h).
    ~TVXConfiguration();
    TVXConfiguration(const TVXConfiguration&) = delete;
    TVXConfiguration& operator=(const TVXConfiguration&) = delete;

    const std::string& FileName() const { return FFileName; }
    const std::string& MainSectionName() const { return FMainSection; }
    // Opened on the first call; a failure leaves it unopened for the next.
    TVxConfigFile& ConfigFile();
    bool FileOpened() const { return FFile != nullptr; }
    TVxConfigSectionRef MainSection();
    TVxConfigSectionRef OpenSection(const std::string& Name);
    void LoadItems();
    void SaveItems();
    TVxConfigItems& Items() { return FItems; }

private:
    void ComputeFileName(const TVxConfigPlatform& Platform);

    std::unique_ptr<TVxConfigFile> FFile;
    std::string FFileName;
    std::string FSubFolder;
    TVxConfigItems FItems;
    std::string FMainSection = "MAIN";
    TVxGetFileNameEvent FOnGetFileName;
};

// The executable's file name with its folder removed and its extension
// replaced by ".ini"; both kinds of path delimiter count.
std::string ConfigFileNameOf(const std::string& ExeName);

// Windows build only (qv_config_win):
// The folder CSIDL (with CSIDL_FLAG_CREATE when Create) without a trailing
// delimiter; false and an empty Path when it cannot be found or made.
bool GetSpecialFolder(int CSIDL, bool Create, std::string& Path);
// The program names the string resource that holds its maker folder at
// start, before the configuration is first used.
void SetMakerFolderResource(unsigned StringId);
// The system's folder lookup, the maker folder string resource of the running
// executable and its file name.
TVxConfigPlatform VxSystemConfigPlatform();
// The one configuration of the program, made on the first call; a call after
// a failed one tries again.
TVXConfiguration& Configuration();
