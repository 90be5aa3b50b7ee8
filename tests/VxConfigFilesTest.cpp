#include "config/VxConfigFiles.h"

#include "config/VxConfigText.h"
#include "framework/Exceptions.h"
#include "tests/ConfigTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>

#if !defined(_WIN32)
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace std::string_literals;

namespace {

const std::string HeaderOnly = "[VXS:CONFIG:HEADER]\r\nSchemaVersion=1\r\n\r\n";

class ConfigFileTest : public testing::Test {
protected:
    std::unique_ptr<TVxConfigFile> Open(const std::string& Text, bool ReadOnly = false)
    {
        WriteWhole(Path, Text);
        return std::make_unique<TVxConfigFile>(Path, ReadOnly);
    }
    bool Leftovers() const
    {
        for (const auto& Entry : std::filesystem::directory_iterator(Temp.Path()))
            if (Entry.path().extension() == ".tmp")
                return true;
        return false;
    }

    TScratchFolder Temp;
    std::string Path = Temp.File("test.ini");
};

std::string ErrorOf(const std::function<void()>& Action)
{
    try {
        Action();
    } catch (const Exception& E) {
        return E.Message();
    }
    return "no error";
}

}  // namespace

TEST_F(ConfigFileTest, TextValuesAreQuotedWhenTheyWouldNotSurviveALoad)
{
    struct Case {
        std::string Value;
        std::string Stored;
    };
    const Case Cases[] = {
        {"", "\"\""},
        {"Courier New", "\"Courier New\""},
        {"a=b", "a=b"},
        {"a\tb", "\"a%09b\""},
        {"50% off", "\"50%% off\""},
        {"plain%", "plain%"},
        {"\"abc\"", "\"%22abc%22\""},  // would otherwise read back as abc
        {"\x01x", "\"%01x\""},  // would otherwise lose its first character
        {std::string("a\0b", 3), "\"a%00b\""},  // a NUL would end the file's text
    };
    auto File = Open("");
    for (const Case& C : Cases) {
        File->WriteString("S", "k", C.Value);
        std::string Stored = File->GetText();
        Stored = Stored.substr(Stored.find("k=") + 2);
        EXPECT_EQ(Stored.substr(0, Stored.find('\r')), C.Stored);
    }
    // Keys v0, v1, ... (std::string first: GCC 12 warns wrongly on "v" + string).
    const auto Key = [](std::size_t I) { return std::string("v") + std::to_string(I); };
    for (std::size_t I = 0; I < std::size(Cases); ++I)
        File->WriteString("S", Key(I), Cases[I].Value);
    File->UpdateFile();
    TVxConfigFile Reloaded(Path, true);
    for (std::size_t I = 0; I < std::size(Cases); ++I) {
        const std::string Back = Reloaded.ReadString("S", Key(I), "<default>");
        if (I + 1 == std::size(Cases))
            EXPECT_EQ(Back, "ab");  // code 0 decodes to nothing
        else
            EXPECT_EQ(Back, Cases[I].Value);
    }
}

TEST_F(ConfigFileTest, StoredQuotedFormIsDecodedAndBadEscapesRaiseOnlyForText)
{
    auto File = Open("[S]\na=\"abc\"\nb=\"\nc=\nd=\"50%\"\ne=\"%zz\"\n");
    EXPECT_EQ(File->ReadString("S", "a", "x"), "abc");
    EXPECT_EQ(File->ReadString("S", "b", "x"), "\"");
    EXPECT_EQ(File->ReadString("S", "c", "x"), "x");
    EXPECT_EQ(File->ReadString("S", "missing", "x"), "x");
    EXPECT_EQ(ErrorOf([&] { File->ReadString("S", "d", ""); }), "Badly formed quoted string");
    EXPECT_EQ(ErrorOf([&] { File->ReadString("S", "e", ""); }), "'$zz' is not a valid integer value");
    EXPECT_EQ(File->ReadInteger("S", "d", 7), 7);
    EXPECT_EQ(File->ReadBool("S", "e", true), true);
}

TEST_F(ConfigFileTest, BooleansAreReadByTheSchemaVersion)
{
    const std::string Values = "[S]\na=True\nb=t\nc=no\nd=F\ne=0x10\nf=0\ng=\"1\"\n";
    auto Old = Open(Values);
    EXPECT_EQ(Old->SchemaVersion(), 0);
    EXPECT_TRUE(Old->ReadBool("S", "a", false));
    EXPECT_TRUE(Old->ReadBool("S", "b", false));
    EXPECT_FALSE(Old->ReadBool("S", "c", false));
    EXPECT_TRUE(Old->ReadBool("S", "c", true));
    EXPECT_FALSE(Old->ReadBool("S", "d", true));
    EXPECT_TRUE(Old->ReadBool("S", "g", true));  // first character is the quote
    EXPECT_FALSE(Old->ReadBool("S", "g", false));

    auto Current = Open("[VXS:CONFIG:HEADER]\nSchemaVersion=1\n" + Values);
    EXPECT_EQ(Current->SchemaVersion(), 1);
    EXPECT_FALSE(Current->ReadBool("S", "a", false));
    EXPECT_TRUE(Current->ReadBool("S", "a", true));
    EXPECT_TRUE(Current->ReadBool("S", "e", false));
    EXPECT_FALSE(Current->ReadBool("S", "f", true));
    EXPECT_TRUE(Current->ReadBool("S", "g", false));
    Current->WriteBool("S", "w", true);
    EXPECT_EQ(Current->ReadString("S", "w", ""), "1");
}

TEST_F(ConfigFileTest, DateTimesAreReadByTheSchemaVersion)
{
    auto Current = Open("[VXS:CONFIG:HEADER]\nSchemaVersion=1\n[S]\n"
                        "a=19991231T235959\nb=19991231x235959\nc=19991231T2359590\nd=36526.5\n");
    const double Expected = EncodeDate(1999, 12, 31) + EncodeTime(23, 59, 59, 0);
    EXPECT_EQ(Current->ReadDateTime("S", "a", -1), Expected);
    EXPECT_EQ(Current->ReadDateTime("S", "b", -1), Expected);
    EXPECT_EQ(Current->ReadDateTime("S", "c", -1), -1);
    EXPECT_EQ(Current->ReadDateTime("S", "d", -1), -1);
    Current->WriteDateTime("S", "w", Expected);
    EXPECT_EQ(Current->ReadString("S", "w", ""), "19991231T235959");
    Current->WriteDateTime("S", "w", 0.5);
    EXPECT_EQ(Current->ReadDateTime("S", "w", -1), -1);

    auto Old = Open("[S]\na=19991231T235959\nd=36526.5\n");
    EXPECT_EQ(Old->ReadDateTime("S", "a", -1), -1);
    EXPECT_EQ(Old->ReadDateTime("S", "d", -1), 36526.5);
}

TEST_F(ConfigFileTest, UnsupportedSchemaVersionFailsConstruction)
{
    EXPECT_EQ(ErrorOf([&] { Open("[VXS:CONFIG:HEADER]\nSchemaVersion=2\n"); }), "Unsupported schema version: 2");
    EXPECT_EQ(Open("[vxs:config:header]\nschemaversion=-4\n")->SchemaVersion(), 0);
    EXPECT_EQ(Open("[VXS:CONFIG:HEADER]\nSchemaVersion=\"1\"\n")->SchemaVersion(), 1);
}

TEST_F(ConfigFileTest, CountedListsLeaveOldTailEntries)
{
    auto File = Open("");
    auto Section = File->OpenSection("List");
    Section->WriteStrings({"a", "b", "", "d", "e"}, "item");
    Section->WriteStrings({"x", "", "z"}, "item");
    std::vector<std::string> Keys;
    Section->ReadKeys(Keys);
    EXPECT_EQ(Keys, (std::vector<std::string>{"itemcount", "item0", "item1", "item2", "item3", "item4"}));
    std::vector<std::string> Items{"stale"};
    Section->ReadStrings(Items, "item", false);
    EXPECT_EQ(Items, (std::vector<std::string>{"x", "", "z"}));
    Section->ReadStrings(Items, "item", true);
    EXPECT_EQ(Items, (std::vector<std::string>{"x", "z"}));
    Section->ReadStrings(Items, "none", false);
    EXPECT_TRUE(Items.empty());
    Section.Release();
}

TEST_F(ConfigFileTest, CountedListsReadEveryItemBelowTheCountWhereverItIs)
{
    auto File = Open("[L]\ricount=5\ri3=c\rI4=d\ri9=beyond\ri01=not an index\ri+2=nor this\ri2=\"\"\r");
    auto Section = File->OpenSection("L");
    std::vector<std::string> Items;
    Section->ReadStrings(Items, "i", true);
    EXPECT_EQ(Items, (std::vector<std::string>{"c", "d"}));
    Section->ReadStrings(Items, "i", false);
    EXPECT_EQ(Items, (std::vector<std::string>{"", "", "", "c", "d"}));
    Section.Release();
}

TEST_F(ConfigFileTest, DamagedListCountCostsNoMoreThanTheItemsPresent)
{
    auto File = Open("[L]\ricount=2147483647\ri0=a\ri1=b\ri2000000=far\r");
    auto Section = File->OpenSection("L");
    std::vector<std::string> Items;
    Section->ReadStrings(Items, "i", true);
    EXPECT_EQ(Items, (std::vector<std::string>{"a", "b", "far"}));
    // Empty places are held up to a bound, and further where an item is.
    Section->ReadStrings(Items, "i", false);
    ASSERT_EQ(Items.size(), 2000001u);
    EXPECT_EQ(Items[1], "b");
    EXPECT_EQ(Items[2000000], "far");
    EXPECT_EQ(std::count(Items.begin(), Items.end(), std::string()), 2000001 - 3);
    File->DeleteKey("L", "i2000000");
    Section->ReadStrings(Items, "i", false);
    EXPECT_EQ(Items.size(), TVxConfigSectionImp::MaxListLength);
    Section.Release();
}

TEST_F(ConfigFileTest, ReleasingTheOnlyAccessorCreatesFolderAndHeader)
{
    const std::string Deep = Temp.File("one/two/three.ini");
    TVxConfigFile File(Deep, false);
    auto Section = File.OpenSection("MAIN");
    EXPECT_EQ(Section->ReadString("font", "none"), "none");
    EXPECT_EQ(File.OpenSections(), 1);
    Section.Release();
    EXPECT_EQ(File.OpenSections(), 0);
    EXPECT_FALSE(File.Modified());
    EXPECT_EQ(ReadWhole(Deep), HeaderOnly);
}

TEST_F(ConfigFileTest, SavesOnceWhenTheLastAccessorGoes)
{
    auto File = Open(HeaderOnly);
    auto First = File->OpenSection("A");
    auto Second = First->OpenSection("B");
    auto Shared = Second.Share();
    First->WriteInteger("x", -12);
    First.Release();
    Second.Release();
    EXPECT_EQ(ReadWhole(Path), HeaderOnly);
    EXPECT_EQ(Shared->GetName(), "B");
    Shared.Release();
    EXPECT_EQ(ReadWhole(Path), HeaderOnly + "[A]\r\nx=-12\r\n\r\n");
}

TEST_F(ConfigFileTest, UnchangedCurrentFileIsNotRewritten)
{
    const std::string Text = "; kept while nothing changes\n[VXS:CONFIG:HEADER]\nSchemaVersion=1\n";
    auto File = Open(Text);
    auto Section = File->OpenSection("S");
    Section->ReadInteger("x", 0);
    Section.Release();
    EXPECT_EQ(ReadWhole(Path), Text);

    auto Old = Open("; lost with the header write\n[S]\nx=1\n");
    Old->OpenSection("S").Release();
    EXPECT_EQ(ReadWhole(Path), "[S]\r\nx=1\r\n\r\n" + HeaderOnly);
}

TEST_F(ConfigFileTest, ReadOnlyAndUnnamedFilesNeverSave)
{
    auto ReadOnly = Open("[S]\nx=1\n", true);
    auto Section = ReadOnly->OpenSection("S");
    Section->WriteInteger("x", 2);
    Section->WriteDateTime("d", 40000);
    Section->Erase();
    EXPECT_EQ(Section->ReadInteger("x", 0), 1);
    EXPECT_FALSE(ReadOnly->Modified());
    Section.Release();
    EXPECT_EQ(ReadWhole(Path), "[S]\nx=1\n");

    TVxConfigFile Unnamed("", false);
    auto Memory = Unnamed.OpenSection("S");
    Memory->WriteString("k", "v");
    EXPECT_TRUE(Unnamed.Modified());
    Memory.Release();
    EXPECT_FALSE(Unnamed.Modified());
    EXPECT_EQ(Unnamed.ReadString("S", "k", ""), "v");
}

TEST_F(ConfigFileTest, RemovalsAndDateTimesReachTheDisk)
{
    auto File = Open(HeaderOnly + "[A]\r\nx=1\r\ny=2\r\n\r\n[B]\r\nz=3\r\n\r\n");
    File->DeleteKey("A", "x");
    EXPECT_TRUE(File->Modified());
    File->UpdateFile();
    EXPECT_EQ(ReadWhole(Path), HeaderOnly + "[A]\r\ny=2\r\n\r\n[B]\r\nz=3\r\n\r\n");
    File->EraseSection("b");
    File->UpdateFile();
    File->WriteDateTime("A", "when", IsoTextToDateTime("20261207T231554"));
    File->UpdateFile();
    EXPECT_EQ(ReadWhole(Path), HeaderOnly + "[A]\r\ny=2\r\nwhen=20261207T231554\r\n\r\n");
    File->DeleteKey("A", "absent");
    EXPECT_FALSE(File->Modified());
}

TEST_F(ConfigFileTest, UncreatableFolderRaisesAtReleaseAndStaysModified)
{
    WriteWhole(Temp.File("blocker"), "a file, not a folder");
    TVxConfigFile File(Temp.File("blocker/sub/c.ini"), false);
    auto Section = File.OpenSection("S");
    Section->WriteString("k", "v");
    const std::string Folder = Temp.File("blocker/sub/c.ini").substr(0, Temp.File("blocker/sub/c.ini").size() - 5);
    EXPECT_EQ(ErrorOf([&] { Section.Release(); }), "Unable to create configuration folder: " + Folder);
    EXPECT_FALSE(Section);
    EXPECT_TRUE(File.Modified());
    EXPECT_EQ(File.OpenSections(), 0);
}

TEST_F(ConfigFileTest, DestroyedHandleHandsTheSaveErrorOn)
{
    WriteWhole(Temp.File("blocker"), "");
    TVxConfigFile File(Temp.File("blocker/c.ini"), false);
    TakeDeferredConfigError();
    {
        auto Section = File.OpenSection("S");
        Section->WriteString("k", "v");
    }
    const std::exception_ptr Error = TakeDeferredConfigError();
    ASSERT_TRUE(Error);
    EXPECT_THROW(std::rethrow_exception(Error), EVxError);

    std::string Seen;
    const auto Previous = SetDeferredConfigErrorHandler([&](std::exception_ptr E) {
        try {
            std::rethrow_exception(E);
        } catch (const Exception& X) {
            Seen = X.Message();
        }
    });
    File.OpenSection("S");
    SetDeferredConfigErrorHandler(Previous);
    EXPECT_NE(Seen.find("Unable to create configuration folder"), std::string::npos);
    EXPECT_FALSE(TakeDeferredConfigError());
}

TEST_F(ConfigFileTest, FailedWriteKeepsTheOldFileAndIsRetried)
{
    auto File = Open(HeaderOnly);
    File->WriteString("S", "k", "new");
    // A folder in the file's place makes the replacement fail.
    std::filesystem::remove(Path);
    std::filesystem::create_directories(Path + "/inside");
    File->UpdateFile();
    EXPECT_TRUE(File->Modified());
    EXPECT_FALSE(Leftovers());
    std::filesystem::remove_all(Path);
    File->UpdateFile();
    EXPECT_FALSE(File->Modified());
    EXPECT_EQ(ReadWhole(Path), HeaderOnly + "[S]\r\nk=new\r\n\r\n");
}

#if !defined(_WIN32)
TEST_F(ConfigFileTest, WriteFailingHalfwayLeavesTheOldFileWhole)
{
    auto File = Open(HeaderOnly);
    for (int I = 0; I < 20000; ++I)
        File->WriteInteger("Big", "key" + std::to_string(I), I);
    // Files may grow to 64 KiB only: the write fails part-way through.
    const auto OldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit Old{};
    getrlimit(RLIMIT_FSIZE, &Old);
    rlimit Small = Old;
    Small.rlim_cur = 65536;
    setrlimit(RLIMIT_FSIZE, &Small);
    File->UpdateFile();
    setrlimit(RLIMIT_FSIZE, &Old);
    std::signal(SIGXFSZ, OldHandler);
    EXPECT_TRUE(File->Modified());
    EXPECT_EQ(ReadWhole(Path), HeaderOnly);
    EXPECT_FALSE(Leftovers());
    File->UpdateFile();
    EXPECT_FALSE(File->Modified());
    EXPECT_EQ(TVxConfigFile(Path, true).ReadInteger("Big", "key19999", 0), 19999);
}

namespace {

// A small memory file system of its own, which fills up and turns read-only
// for root as well; unmounted on destruction.
class TSmallDisk {
public:
    TSmallDisk(std::string Folder, const char* Options) : FFolder(std::move(Folder))
    {
        std::filesystem::create_directories(FFolder);
        if (::mount("tmpfs", FFolder.c_str(), "tmpfs", 0, Options) == 0)
            FMounted = true;
        else
            FRefusal = std::strerror(errno);
    }
    ~TSmallDisk()
    {
        if (FMounted)
            ::umount2(FFolder.c_str(), MNT_DETACH);
    }
    TSmallDisk(const TSmallDisk&) = delete;
    TSmallDisk& operator=(const TSmallDisk&) = delete;

    bool Mounted() const { return FMounted; }
    const std::string& Refusal() const { return FRefusal; }
    bool Remount(const char* Options, unsigned long Flags)
    {
        return ::mount("tmpfs", FFolder.c_str(), "tmpfs", MS_REMOUNT | Flags, Options) == 0;
    }
    std::vector<std::string> Names() const
    {
        std::vector<std::string> Result;
        for (const auto& Entry : std::filesystem::directory_iterator(FFolder))
            Result.push_back(Entry.path().filename().string());
        return Result;
    }

private:
    std::string FFolder;
    bool FMounted = false;
    std::string FRefusal;
};

}  // namespace

TEST_F(ConfigFileTest, FullDiskAndReadOnlyFolderLeaveTheOldFileAndTheNextSaveWorksOnceTheyAreGone)
{
    TSmallDisk Disk(Temp.File("disk"), "size=64k,mode=0755");
    if (!Disk.Mounted())
        GTEST_SKIP() << "no file system can be mounted here (" << Disk.Refusal() << ")";
    const std::string Small = Temp.File("disk/c.ini");
    TVxConfigFile File(Small, false);
    File.WriteString("S", "k", "old");
    File.UpdateFile();
    ASSERT_FALSE(File.Modified());
    const std::string Old = ReadWhole(Small);
    const std::vector<std::string> Alone{"c.ini"};

    // More than the disk holds: the write fails part-way.
    for (int I = 0; I < 400; ++I)
        File.WriteString("Big", "key" + std::to_string(I), std::string(500, 'x'));
    EXPECT_NO_THROW(File.UpdateFile());
    EXPECT_TRUE(File.Modified());
    EXPECT_EQ(ReadWhole(Small), Old);
    EXPECT_EQ(Disk.Names(), Alone);
    ASSERT_TRUE(Disk.Remount("size=1m", 0));
    File.UpdateFile();
    EXPECT_FALSE(File.Modified());
    EXPECT_EQ(ReadWhole(Small), File.GetText());
    const std::string Saved = File.GetText();

    File.WriteString("S", "k", "new");
    ASSERT_TRUE(Disk.Remount("size=1m", MS_RDONLY));
    EXPECT_NO_THROW(File.UpdateFile());
    EXPECT_TRUE(File.Modified());
    EXPECT_EQ(ReadWhole(Small), Saved);
    ASSERT_TRUE(Disk.Remount("size=1m", 0));
    EXPECT_EQ(Disk.Names(), Alone);
    File.UpdateFile();
    EXPECT_FALSE(File.Modified());
    EXPECT_EQ(TVxConfigFile(Small, true).ReadString("S", "k", ""), "new");
}

TEST_F(ConfigFileTest, FileNobodyMayWriteIsNotReplacedAndAFileKeepsItsMode)
{
    auto File = Open(HeaderOnly);
    ASSERT_EQ(::chmod(Path.c_str(), 0444), 0);
    File->WriteString("S", "k", "v");
    EXPECT_NO_THROW(File->UpdateFile());
    EXPECT_TRUE(File->Modified());
    EXPECT_EQ(ReadWhole(Path), HeaderOnly);
    EXPECT_FALSE(Leftovers());
    ASSERT_EQ(::chmod(Path.c_str(), 0640), 0);
    File->UpdateFile();
    EXPECT_FALSE(File->Modified());
    EXPECT_EQ(ReadWhole(Path), HeaderOnly + "[S]\r\nk=v\r\n\r\n");
    struct stat Info {};
    ASSERT_EQ(::stat(Path.c_str(), &Info), 0);
    EXPECT_EQ(Info.st_mode & 07777, 0640u);
}

TEST_F(ConfigFileTest, SaveRemovesTemporaryFilesOfStoppedSavesOnlyAndReusesItsOwnName)
{
    auto File = Open(HeaderOnly);
    const std::string Stale = Path + ".999999.tmp";
    const std::string Running = Path + ".999998.tmp";
    const std::string Own = Path + "." + std::to_string(::getpid()) + ".tmp";
    const std::vector<std::string> Unrelated = {Temp.File("other.ini.5.tmp"), Path + ".tmp", Path + ".7.tmp.bak"};
    for (const std::string& Name : {Stale, Running, Own})
        WriteWhole(Name, "left part-way");
    for (const std::string& Name : Unrelated)
        WriteWhole(Name, "not ours");
    // A save in progress holds a lock on its file.
    const int Held = ::open(Running.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(Held, 0);
    ASSERT_EQ(::flock(Held, LOCK_EX), 0);

    File->WriteString("S", "k", "v");
    File->UpdateFile();
    EXPECT_FALSE(File->Modified());
    EXPECT_EQ(ReadWhole(Path), HeaderOnly + "[S]\r\nk=v\r\n\r\n");
    EXPECT_FALSE(std::filesystem::exists(Stale));
    EXPECT_FALSE(std::filesystem::exists(Own));
    EXPECT_EQ(ReadWhole(Running), "left part-way");
    for (const std::string& Name : Unrelated)
        EXPECT_EQ(ReadWhole(Name), "not ours") << Name;

    ::close(Held);
    File->WriteString("S", "k", "w");
    File->UpdateFile();
    EXPECT_FALSE(std::filesystem::exists(Running));
}
#endif

TEST_F(ConfigFileTest, WriteAfterAnExternalChangeReloadsFirst)
{
    auto File = Open(HeaderOnly + "[S]\r\nmine=1\r\n\r\n");
    WriteWhole(Path, HeaderOnly + "[S]\r\ntheirs=2\r\n\r\n");
    TouchLater(Path);
    File->WriteInteger("S", "mine", 3);
    EXPECT_EQ(File->ReadInteger("S", "theirs", 0), 2);
    // Modified now: a second external change is not looked for.
    WriteWhole(Path, HeaderOnly + "[S]\r\nlost=4\r\n\r\n");
    TouchLater(Path, std::chrono::seconds(10));
    File->WriteInteger("S", "more", 5);
    File->UpdateFile();
    EXPECT_EQ(ReadWhole(Path), HeaderOnly + "[S]\r\ntheirs=2\r\nmine=3\r\nmore=5\r\n\r\n");
}

TEST_F(ConfigFileTest, ReloadOfANewerSchemaKeepsTheContentAndNeverWritesIt)
{
    // Version 0 on disk, so the save would also write the header.
    for (const std::string& Start : {HeaderOnly, "[S]\r\nold=0\r\n"s}) {
        SCOPED_TRACE(Start);
        auto File = Open(Start);
        auto Section = File->OpenSection("S");
        const std::string Newer = "[VXS:CONFIG:HEADER]\r\nSchemaVersion=2\r\n[S]\r\nx=1\r\n";
        WriteWhole(Path, Newer);
        TouchLater(Path);
        EXPECT_EQ(ErrorOf([&] { Section->WriteString("y", "2"); }), "Unsupported schema version: 2");
        EXPECT_EQ(File->ReadString("S", "x", ""), "1");
        EXPECT_EQ(File->ReadString("S", "y", "none"), "none");
        // No reload comes again, yet no later change goes into that content.
        EXPECT_EQ(ErrorOf([&] { Section->WriteInteger("y", 3); }), "Unsupported schema version: 2");
        EXPECT_EQ(ErrorOf([&] { Section->WriteDateTime("t", 40000); }), "Unsupported schema version: 2");
        EXPECT_EQ(ErrorOf([&] { Section->Erase(); }), "Unsupported schema version: 2");
        Section.Release();
        File->UpdateFile();
        EXPECT_FALSE(File->Modified());
        EXPECT_EQ(ReadWhole(Path), Newer);
        // Once the file is of a version this program reads, writes go in again.
        WriteWhole(Path, HeaderOnly + "[S]\r\nx=5\r\n\r\n");
        TouchLater(Path, std::chrono::seconds(10));
        File->WriteInteger("S", "y", 6);
        File->UpdateFile();
        EXPECT_EQ(ReadWhole(Path), HeaderOnly + "[S]\r\nx=5\r\ny=6\r\n\r\n");
    }
}

TEST_F(ConfigFileTest, UnreadableFileRaisesTheOpenError)
{
    std::filesystem::create_directories(Path);
    const std::string Message = ErrorOf([&] { TVxConfigFile File(Path, false); });
    EXPECT_EQ(Message.rfind("Cannot open file \"" + Path + "\". ", 0), 0u) << Message;
    EXPECT_GT(Message.size(), Path.size() + 20);
}

TEST_F(ConfigFileTest, AccessorOutlivingItsFileRaisesOnUse)
{
    auto File = std::make_unique<TVxConfigFile>("", false);
    auto Section = File->OpenSection("S");
    File.reset();
    EXPECT_THROW(Section->ReadString("k", ""), EInvalidOperation);
    EXPECT_EQ(Section->GetName(), "S");
    EXPECT_NO_THROW(Section.Release());
}

namespace {

// Every typed read of every key; only text reads may raise, and only the
// quoted-form conversion errors.
void ReadEverything(TVxConfigFile& File)
{
    std::vector<std::string> Sections;
    File.ReadSections(Sections);
    // Lookups find the last of equal names: read each name once.
    std::sort(Sections.begin(), Sections.end());
    Sections.erase(std::unique(Sections.begin(), Sections.end()), Sections.end());
    for (const std::string& Name : Sections) {
        std::vector<std::string> Keys;
        File.ReadSection(Name, Keys);
        for (const std::string& Key : Keys) {
            try {
                File.ReadString(Name, Key, "");
            } catch (const EConvertError&) {}
            File.ReadInteger(Name, Key, 0);
            File.ReadBool(Name, Key, false);
            File.ReadDateTime(Name, Key, 0);
        }
        auto Section = File.OpenSection(Name);
        std::vector<std::string> Items;
        try {
            Section->ReadStrings(Items, "", true);
        } catch (const EConvertError&) {}
        Section.Release();
    }
}

std::string RandomBytes(std::size_t Size, unsigned Seed)
{
    std::mt19937 Random(Seed);
    std::string Bytes(Size, '\0');
    for (char& C : Bytes)
        C = static_cast<char>(Random() & 0xFF);
    return Bytes;
}

}  // namespace

TEST_F(ConfigFileTest, DamagedFilesLoadReadAndSaveStably)
{
    std::string Fragments;
    for (int I = 0; I < 200; ++I)
        Fragments += RandomBytes(32, static_cast<unsigned>(I)) + (I % 3 == 0 ? "\n[" : "=\"%");
    const std::string Inputs[] = {
        RandomBytes(65536, 1),
        "[S]\r\na=1\0\0\0[T]\r\nb=2"s,
        "[S]\nk=" + std::string(4u << 20, 'x') + "\n" + std::string(1u << 20, '[') + "=\n",
        "[S]\na=\"abc\nb=abc\"\nc=\"\nd=\"\"\"\ne=\"%\"\nf=\"%G1\"\ng=\"%%%\"\nh=\"%0\"\ncount=5\n",
        "[[[[\n]]]]\n[=]\n[ ]\n=\n==\n[\r\n]\r\r\n;[x]\n" + Fragments,
        "[VXS:CONFIG:HEADER]\nSchemaVersion=$7FFFFFFF0\nSchemaVersion=-2147483648\n[S]\nx=-0x80000000\n",
    };
    for (const std::string& Input : Inputs) {
        auto File = Open(Input);
        ReadEverything(*File);
        File->WriteString("New", "k", "v");
        File->UpdateFile();
        const std::string Saved = ReadWhole(Path);
        EXPECT_EQ(Saved, File->GetText());
        TVxConfigFile Again(Path, false);
        EXPECT_EQ(Again.GetText(), Saved);
    }
}

TEST_F(ConfigFileTest, FiftyMegabyteFileLoadsAndReads)
{
    std::string Block = "[Section]\r\n";
    std::mt19937 Random(7);
    while (Block.size() < (1u << 20)) {
        Block += "key" + std::to_string(Random() % 5000) + "=" +
                 RandomBytes(Random() % 300, static_cast<unsigned>(Random()));
        Block += Random() % 2 ? "\r\n" : "\n";
    }
    std::string Big;
    for (int I = 0; I < 50; ++I)
        Big += Block;
    std::replace(Big.begin(), Big.end(), '\0', '\x01');
    auto File = Open(Big);
    ReadEverything(*File);
    EXPECT_GT(File->EntryCount("Section"), 10000u);
}
