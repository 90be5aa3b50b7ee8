// Any bytes as a configuration file: loading, every typed read of every key
// and the written form. Text reads may raise only conversion errors; a saved
// text must load back to itself.

#include "config/VxConfigFiles.h"
#include "framework/Exceptions.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void ReadEverything(TVxConfigFile& File)
{
    std::vector<std::string> Sections;
    File.ReadSections(Sections);
    for (const std::string& Name : Sections) {
        std::vector<std::string> Keys;
        File.ReadSection(Name, Keys);
        for (const std::string& Key : Keys) {
            try {
                File.ReadString(Name, Key, "");
            } catch (const EConvertError&) {
            }
            File.ReadInteger(Name, Key, 0);
            File.ReadBool(Name, Key, false);
            File.ReadDateTime(Name, Key, 0);
            File.ValueExists(Name, Key);
        }
        TVxConfigSectionRef Section = File.OpenSection(Name);
        std::vector<std::string> Items;
        try {
            Section->ReadStrings(Items, "", false);
        } catch (const EConvertError&) {
        }
        Section.Release();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    const std::string Text(reinterpret_cast<const char*>(Data), Size);
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
    return 0;
}
