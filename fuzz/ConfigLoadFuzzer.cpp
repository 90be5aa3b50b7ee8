// Any bytes as a configuration file, loaded from disk as the program loads
// one (so its schema header chooses how values read): every key of every
// section through a section accessor's typed reads, every counted list, and
// the written form. Typed reads never raise and give either the stored value
// or the caller's default; text reads may raise only conversion errors; a
// saved text loads back to itself; typed writes read back as written.

#include "config/VxConfigFiles.h"
#include "framework/Exceptions.h"

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// One file in a folder of its own, rewritten for every input and removed at
// exit. A plain write: the program's flushed save would cost a disk flush
// per input.
class TScratchFile {
public:
    TScratchFile()
    {
        char Folder[] = "/tmp/ConfigLoadFuzzer.XXXXXX";
        if (!mkdtemp(Folder))
            std::abort();
        FFolder = Folder;
        FPath = FFolder + "/fuzz.ini";
    }
    ~TScratchFile()
    {
        ::unlink(FPath.c_str());
        ::rmdir(FFolder.c_str());
    }
    const std::string& Write(const std::string& Text) const
    {
        std::FILE* File = std::fopen(FPath.c_str(), "wb");
        if (!File || std::fwrite(Text.data(), 1, Text.size(), File) != Text.size() || std::fclose(File) != 0)
            std::abort();
        return FPath;
    }

private:
    std::string FFolder;
    std::string FPath;
};

bool EndsWithCount(const std::string& Key)
{
    static const char Tail[] = "COUNT";
    if (Key.size() < 5)
        return false;
    for (std::size_t I = 0; I < 5; ++I) {
        const char C = Key[Key.size() - 5 + I];
        if ((C >= 'a' && C <= 'z' ? static_cast<char>(C - 'a' + 'A') : C) != Tail[I])
            return false;
    }
    return true;
}

void ReadList(IVxConfigSection& Section, const std::string& Prefix)
{
    std::vector<std::string> All;
    std::vector<std::string> NonEmpty;
    try {
        Section.ReadStrings(All, Prefix, false);
        Section.ReadStrings(NonEmpty, Prefix, true);
    } catch (const EConvertError&) {
        return;
    }
    // Skipping empties gives the same items, in order, without the empty ones.
    std::size_t K = 0;
    for (const std::string& Item : All) {
        if (Item.empty())
            continue;
        if (K >= NonEmpty.size() || NonEmpty[K] != Item)
            std::abort();
        ++K;
    }
    if (K != NonEmpty.size())
        std::abort();
}

void ReadKey(IVxConfigSection& Section, const std::string& Key)
{
    try {
        Section.ReadString(Key, "");
    } catch (const EConvertError&) {}
    const std::int32_t A = Section.ReadInteger(Key, 0);
    const std::int32_t B = Section.ReadInteger(Key, -1);
    if (A != B && !(A == 0 && B == -1))
        std::abort();
    const bool F = Section.ReadBool(Key, false);
    const bool T = Section.ReadBool(Key, true);
    if (F && !T)
        std::abort();
    const double D1 = Section.ReadDateTime(Key, 0.5);
    const double D2 = Section.ReadDateTime(Key, 1.5);
    if (!std::isfinite(D1) || (D1 != D2 && !(D1 == 0.5 && D2 == 1.5)))
        std::abort();
    // Lines without '=' list as empty keys and hold no value.
    if (!Key.empty() && !Section.ValueExists(Key))
        std::abort();
    if (EndsWithCount(Key))
        ReadList(Section, Key.substr(0, Key.size() - 5));
}

void ReadEverything(TVxConfigFile& File)
{
    std::vector<std::string> Sections;
    File.ReadSections(Sections);
    for (const std::string& Name : Sections) {
        TVxConfigSectionRef Section = File.OpenSection(Name);
        std::vector<std::string> Keys;
        Section->ReadKeys(Keys);
        for (const std::string& Key : Keys)
            ReadKey(*Section, Key);
        ReadList(*Section, "");
        Section.Release();
    }
}

std::uint32_t Word(const std::uint8_t* Data, std::size_t Size, std::size_t At)
{
    std::uint32_t Value = 0;
    for (std::size_t I = 0; I < 4; ++I)
        Value = Value << 8 | (At + I < Size ? Data[At + I] : 0u);
    return Value;
}

// Values taken from the input, written through a section of a current
// schema's file, read back.
void WriteTyped(const std::uint8_t* Data, std::size_t Size, const std::string& Text)
{
    TVxConfigFile File("", false);
    File.SetSchemaVersion(TVxConfigFile::CurrentSchemaVersion);
    TVxConfigSectionRef Section = File.OpenSection("Typed");
    const auto Integer = static_cast<std::int32_t>(Word(Data, Size, 0));
    Section->WriteInteger("int", Integer);
    if (Section->ReadInteger("int", Integer == 0 ? 1 : 0) != Integer)
        std::abort();
    const bool Flag = (Word(Data, Size, 4) & 1) != 0;
    Section->WriteBool("bool", Flag);
    if (Section->ReadBool("bool", !Flag) != Flag)
        std::abort();
    // Day 1 to the last day of year 9999, written to the second.
    const double When = 1.0 + Word(Data, Size, 8) % 2958463u + (Word(Data, Size, 12) & 0xFFFF) / 65536.0;
    Section->WriteDateTime("date", When);
    const double Read = Section->ReadDateTime("date", 0);
    if (!(std::fabs(Read - When) < 1.0 / 86400.0 + 1e-9))
        std::abort();

    // A counted list of pieces of the text, NULs dropped as the quoted form
    // drops them.
    std::vector<std::string> Items;
    std::string Item;
    for (std::size_t I = 0; I < Text.size() && I < 256; ++I) {
        if (Text[I] == '\n') {
            Items.push_back(Item);
            Item.clear();
        } else if (Text[I] != '\0') {
            Item += Text[I];
        }
    }
    Items.push_back(Item);
    Section->WriteStrings(Items, "item");
    std::vector<std::string> Back;
    Section->ReadStrings(Back, "item", false);
    if (Back != Items)
        std::abort();
    Section.Release();

    TVxConfigFile Again("", false);
    Again.SetText(File.GetText());
    if (Again.GetText() != File.GetText())
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    const std::string Text(reinterpret_cast<const char*>(Data), Size);
    static const TScratchFile Scratch;
    try {
        TVxConfigFile File(Scratch.Write(Text), true);
        ReadEverything(File);
    } catch (const EVxError& E) {
        // A newer version's file is refused as it loads.
        if (std::strncmp(E.Message().c_str(), "Unsupported schema version: ", 28) != 0)
            std::abort();
    }

    TVxConfigFile File("", false);
    File.SetText(Text);
    ReadEverything(File);
    const std::string Written = File.GetText();
    TVxConfigFile Again("", false);
    Again.SetText(Written);
    if (Again.GetText() != Written)
        std::abort();

    // A value written through the file reads back unchanged (NULs aside,
    // which the quoted form drops).
    const std::string Value = Text.substr(0, 64);
    File.WriteString("Fuzz", "value", Value);
    Again.SetText(File.GetText());
    std::string Expected;
    for (const char C : Value)
        if (C != '\0')
            Expected += C;
    if (!Value.empty() && Again.ReadString("Fuzz", "value", "") != Expected)
        std::abort();

    WriteTyped(Data, Size, Text);
    return 0;
}
