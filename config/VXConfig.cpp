#include "config/VXConfig.h"

#include "framework/Exceptions.h"

bool TVxBaseConfigItem::IsStored(IVxConfigSection& Section)
{
    return Section.ValueExists(FName);
}

void TVxConfigItems::Add(std::unique_ptr<TVxBaseConfigItem> Item)
{
    VX_ASSERT(Item != nullptr);
    FItems.push_back(std::move(Item));
}

TVxBaseConfigItem& TVxConfigItems::Items(int Index) const
{
    VX_ASSERT(Index >= 0 && Index < Count());
    return *FItems[static_cast<std::size_t>(Index)];
}

void TVxConfigItems::LoadAll(IVxConfigSection& Section)
{
    for (const auto& Item : FItems)
        if (Item->IsStored(Section))
            Item->Load(Section);
}

void TVxConfigItems::SaveAll(IVxConfigSection& Section)
{
    for (const auto& Item : FItems)
        Item->Save(Section);
}

std::string ConfigFileNameOf(const std::string& ExeName)
{
    const std::size_t Separator = ExeName.find_last_of("\\/:");
    std::string Name = Separator == std::string::npos ? ExeName : ExeName.substr(Separator + 1);
    const std::size_t Dot = Name.rfind('.');
    if (Dot != std::string::npos)
        Name.erase(Dot);
    return Name + ".ini";
}

TVXConfiguration::TVXConfiguration(const TVxConfigPlatform& Platform, std::string SubFolder,
                                   TVxGetFileNameEvent OnGetFileName)
    : FSubFolder(std::move(SubFolder)), FOnGetFileName(std::move(OnGetFileName))
{
    ComputeFileName(Platform);
}

TVXConfiguration::~TVXConfiguration()
{
    try {
        if (FFile)
            FFile->UpdateFile();
    } catch (...) {
        HandleDeferredConfigError();
    }
    // The file goes before the items.
    FFile.reset();
}

TVxConfigFile& TVXConfiguration::ConfigFile()
{
    if (!FFile) {
        if (FFileName.empty())
            throw EVxError("No configuration file specified");
        FFile = std::make_unique<TVxConfigFile>(FFileName, false);
    }
    return *FFile;
}

TVxConfigSectionRef TVXConfiguration::MainSection()
{
    return ConfigFile().OpenSection(FMainSection);
}

TVxConfigSectionRef TVXConfiguration::OpenSection(const std::string& Name)
{
    return ConfigFile().OpenSection(Name);
}

void TVXConfiguration::LoadItems()
{
    TVxConfigSectionRef Section = MainSection();
    FItems.LoadAll(*Section);
    Section.Release();
}

void TVXConfiguration::SaveItems()
{
    TVxConfigSectionRef Section = MainSection();
    FItems.SaveAll(*Section);
    Section.Release();
}

void TVXConfiguration::ComputeFileName(const TVxConfigPlatform& Platform)
{
    if (FOnGetFileName) {
        std::string Name;
        FOnGetFileName(this, Name);
        if (!Name.empty()) {
            FFileName = std::move(Name);
            return;
        }
    }
    std::string Folder;
    if (!Platform.GetSpecialFolder || !Platform.GetSpecialFolder(CSIDL_APPDATA_FOLDER, true, Folder))
        throw EVxError("Unable to find/create APPDATA folder");
    const char Delimiter = Platform.PathDelimiter;
    Folder += Delimiter;
    Folder += Platform.MakerFolderName();
    Folder += Delimiter;
    if (!FSubFolder.empty()) {
        Folder += FSubFolder;
        Folder += Delimiter;
    }
    FFileName = Folder + ConfigFileNameOf(Platform.ExeName());
}
