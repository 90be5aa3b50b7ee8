#include "config/VXConfig.h"

#include "framework/Exceptions.h"
#include "tests/ConfigTestSupport.h"

#include <gtest/gtest.h>

namespace {

// An item that records what happens to it in a shared log.
class TLoggingItem : public TVxBaseConfigItem {
public:
    TLoggingItem(std::string Name, std::vector<std::string>& Log, std::string Value = {})
        : TVxBaseConfigItem(std::move(Name)), FLog(Log), FValue(std::move(Value))
    {}
    void Load(IVxConfigSection& Section) override
    {
        FValue = Section.ReadString(FName, "");
        FLog.push_back("load " + FName + "=" + FValue);
    }
    void Save(IVxConfigSection& Section) override
    {
        FLog.push_back("save " + FName);
        Section.WriteString(FName, FValue);
    }
    const std::string& Value() const { return FValue; }

private:
    std::vector<std::string>& FLog;
    std::string FValue;
};

class ConfigurationTest : public testing::Test {
protected:
    TVxConfigPlatform Platform()
    {
        TVxConfigPlatform Result;
        Result.GetSpecialFolder = [this](int CSIDL, bool Create, std::string& Path) {
            Requests.push_back({CSIDL, Create});
            Path = FolderAvailable ? Temp.Path().string() : std::string();
            return FolderAvailable;
        };
        Result.MakerFolderName = [] { return std::string("Talmore"); };
        Result.ExeName = [this] { return ExeName; };
        Result.PathDelimiter = '/';
        return Result;
    }

    TScratchFolder Temp;
    bool FolderAvailable = true;
    std::string ExeName = "C:\\Program Files\\Quorvel\\Quorvel.exe";
    std::vector<std::pair<int, bool>> Requests;
    std::vector<std::string> Log;
};

}  // namespace

TEST(ConfigFileName, IsTheExecutablesNameWithIni)
{
    EXPECT_EQ(ConfigFileNameOf("C:\\Tools\\Quorvel.exe"), "Quorvel.ini");
    EXPECT_EQ(ConfigFileNameOf("C:\\v1.2\\Renamed.viewer.exe"), "Renamed.viewer.ini");
    EXPECT_EQ(ConfigFileNameOf("/opt/bin/noext"), "noext.ini");
    EXPECT_EQ(ConfigFileNameOf("D:prog.exe"), "prog.ini");
}

TEST_F(ConfigurationTest, PathIsAppDataThenMakerFolderThenExecutableName)
{
    TVXConfiguration Config(Platform());
    EXPECT_EQ(Config.FileName(), Temp.Path().string() + "/Talmore/Quorvel.ini");
    EXPECT_EQ(Requests, (std::vector<std::pair<int, bool>>{{26, true}}));
    EXPECT_FALSE(Config.FileOpened());
    EXPECT_EQ(Config.MainSectionName(), "MAIN");

    ExeName = "Other.exe";
    TVXConfiguration Sub(Platform(), "Sub");
    EXPECT_EQ(Sub.FileName(), Temp.Path().string() + "/Talmore/Sub/Other.ini");
}

TEST_F(ConfigurationTest, FileNameEventWinsWhenItGivesAName)
{
    TVXConfiguration* SeenSender = nullptr;
    TVXConfiguration Named(Platform(), "", [&](TVXConfiguration* Sender, std::string& Name) {
        SeenSender = Sender;
        EXPECT_TRUE(Name.empty());
        Name = "given.ini";
    });
    EXPECT_EQ(Named.FileName(), "given.ini");
    EXPECT_EQ(SeenSender, &Named);
    EXPECT_TRUE(Requests.empty());

    TVXConfiguration Unnamed(Platform(), "", [](TVXConfiguration*, std::string&) {});
    EXPECT_EQ(Unnamed.FileName(), Temp.Path().string() + "/Talmore/Quorvel.ini");
}

TEST_F(ConfigurationTest, MissingAppDataFolderFailsConstruction)
{
    FolderAvailable = false;
    try {
        TVXConfiguration Config(Platform());
        FAIL() << "constructed";
    } catch (const EVxError& E) {
        EXPECT_EQ(E.Message(), "Unable to find/create APPDATA folder");
    }
}

TEST_F(ConfigurationTest, FirstReleaseCreatesTheMakerFolderAndHeader)
{
    TVXConfiguration Config(Platform());
    EXPECT_FALSE(std::filesystem::exists(Temp.Path() / "Talmore"));
    Config.OpenSection("Window").Release();
    EXPECT_EQ(ReadWhole(Config.FileName()), "[VXS:CONFIG:HEADER]\r\nSchemaVersion=1\r\n\r\n");
}

TEST_F(ConfigurationTest, UnopenableFileIsTriedAgainOnTheNextRequest)
{
    TVXConfiguration Config(Platform());
    std::filesystem::create_directories(Temp.Path() / "Talmore");
    WriteWhole(Config.FileName(), "[VXS:CONFIG:HEADER]\nSchemaVersion=2\n");
    EXPECT_THROW(Config.MainSection(), EVxError);
    EXPECT_FALSE(Config.FileOpened());
    WriteWhole(Config.FileName(), "[VXS:CONFIG:HEADER]\nSchemaVersion=1\n[MAIN]\nfont=x\n");
    EXPECT_EQ(Config.MainSection()->ReadString("font", ""), "x");
    EXPECT_TRUE(Config.FileOpened());
}

TEST_F(ConfigurationTest, ItemsLoadWhenStoredAndSaveInRegistrationOrder)
{
    TVXConfiguration Config(Platform());
    std::filesystem::create_directories(Temp.Path() / "Talmore");
    WriteWhole(Config.FileName(), "[VXS:CONFIG:HEADER]\nSchemaVersion=1\n[MAIN]\nb=from file\nfont=f\n");
    Config.Items().Add(std::make_unique<TLoggingItem>("font", Log, "kept"));
    Config.Items().Add(std::make_unique<TLoggingItem>("absent", Log, "default"));
    Config.Items().Add(std::make_unique<TLoggingItem>("b", Log));
    ASSERT_EQ(Config.Items().Count(), 3);
    Config.LoadItems();
    EXPECT_EQ(Log, (std::vector<std::string>{"load font=f", "load b=from file"}));
    EXPECT_EQ(static_cast<TLoggingItem&>(Config.Items().Items(1)).Value(), "default");

    Log.clear();
    Config.SaveItems();
    EXPECT_EQ(Log, (std::vector<std::string>{"save font", "save absent", "save b"}));
    EXPECT_EQ(ReadWhole(Config.FileName()),
              "[VXS:CONFIG:HEADER]\r\nSchemaVersion=1\r\n\r\n[MAIN]\r\nb=\"from file\"\r\nfont=f\r\n"
              "absent=default\r\n\r\n");
}

TEST_F(ConfigurationTest, FailingItemStopsLoadingAndStillReleasesTheSection)
{
    TVXConfiguration Config(Platform());
    std::filesystem::create_directories(Temp.Path() / "Talmore");
    WriteWhole(Config.FileName(), "[MAIN]\na=1\nbad=\"%q1\"\nc=3\n");
    for (const char* Name : {"a", "bad", "c"})
        Config.Items().Add(std::make_unique<TLoggingItem>(Name, Log));
    EXPECT_THROW(Config.LoadItems(), EConvertError);
    EXPECT_EQ(Log, (std::vector<std::string>{"load a=1"}));
    EXPECT_EQ(Config.ConfigFile().OpenSections(), 0);
    // The release saved the header the version 0 file lacked.
    EXPECT_EQ(TVxConfigFile(Config.FileName(), true).SchemaVersion(), 1);
}

TEST_F(ConfigurationTest, DestructionSavesAFileLeftModified)
{
    std::string Name;
    {
        TVXConfiguration Config(Platform());
        Name = Config.FileName();
        Config.ConfigFile().WriteString("MAIN", "k", "v");
    }
    EXPECT_EQ(TVxConfigFile(Name, true).ReadString("MAIN", "k", ""), "v");
}
