#include "config/VxMemIniFile.h"

#include "config/VxConfigOS.h"
#include "config/VxConfigText.h"
#include "framework/Exceptions.h"

#include <charconv>

namespace {

// Strips characters with codes 0-32 from both ends.
std::string_view Strip(std::string_view S)
{
    while (!S.empty() && static_cast<unsigned char>(S.front()) <= ' ')
        S.remove_prefix(1);
    while (!S.empty() && static_cast<unsigned char>(S.back()) <= ' ')
        S.remove_suffix(1);
    return S;
}

}  // namespace

void TVxMemIniFile::TSection::Append(TEntry Entry)
{
    if (Entry.KeyLength != std::string::npos)
        Index[VxAnsiUpperCase(std::string_view(Entry.Line).substr(0, Entry.KeyLength))] = Entries.size();
    Entries.push_back(std::move(Entry));
}

void TVxMemIniFile::TSection::Reindex()
{
    Index.clear();
    for (std::size_t I = 0; I < Entries.size(); ++I)
        if (Entries[I].KeyLength != std::string::npos)
            Index[VxAnsiUpperCase(std::string_view(Entries[I].Line).substr(0, Entries[I].KeyLength))] = I;
}

TVxMemIniFile::TVxMemIniFile(std::string FileName) : FFileName(std::move(FileName))
{
    if (!FFileName.empty()) {
        const TVxFileLookup Lookup = VxLookupFile(FFileName);
        if (Lookup.Found)
            LoadFromFile();
    }
}

TVxMemIniFile::~TVxMemIniFile() = default;

std::string TVxMemIniFile::ReadString(const std::string& Section, const std::string& Ident, const std::string& Default)
{
    std::string Value;
    return FindValue(Section, Ident, Value) ? Value : Default;
}

void TVxMemIniFile::WriteString(const std::string& Section, const std::string& Ident, const std::string& Value)
{
    StoreValue(Section, Ident, Value);
}

std::int32_t TVxMemIniFile::ReadInteger(const std::string& Section, const std::string& Ident, std::int32_t Default)
{
    std::string Text;
    try {
        Text = ReadString(Section, Ident, std::string());
    } catch (const EConvertError&) {
        // A value that cannot even be decoded is as unreadable as any other.
        return Default;
    }
    if (Text.size() > 2 && Text[0] == '0' && (Text[1] == 'x' || Text[1] == 'X'))
        Text.replace(0, 2, "$");
    return StrToIntDef(Text, Default);
}

void TVxMemIniFile::WriteInteger(const std::string& Section, const std::string& Ident, std::int32_t Value)
{
    WriteString(Section, Ident, std::to_string(Value));
}

bool TVxMemIniFile::ReadBool(const std::string& Section, const std::string& Ident, bool Default)
{
    return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TVxMemIniFile::WriteBool(const std::string& Section, const std::string& Ident, bool Value)
{
    WriteString(Section, Ident, Value ? "1" : "0");
}

double TVxMemIniFile::ReadDateTime(const std::string& Section, const std::string& Ident, double Default)
{
    std::string Value;
    if (!FindValue(Section, Ident, Value))
        return Default;
    return TextToFloat(Value).value_or(Default);
}

void TVxMemIniFile::WriteDateTime(const std::string& Section, const std::string& Ident, double Value)
{
    char Buffer[32];
    const auto Result = std::to_chars(Buffer, Buffer + sizeof Buffer, Value);
    WriteString(Section, Ident, std::string(Buffer, Result.ptr));
}

void TVxMemIniFile::ReadSection(const std::string& Section, std::vector<std::string>& Strings)
{
    Strings.clear();
    if (const TSection* Found = FindSection(Section)) {
        Strings.reserve(Found->Entries.size());
        for (const TEntry& Entry : Found->Entries)
            Strings.push_back(Entry.KeyLength == std::string::npos ? std::string()
                                                                   : Entry.Line.substr(0, Entry.KeyLength));
    }
}

void TVxMemIniFile::EraseSection(const std::string& Section)
{
    RemoveSection(Section);
}

void TVxMemIniFile::DeleteKey(const std::string& Section, const std::string& Ident)
{
    RemoveKey(Section, Ident);
}

void TVxMemIniFile::UpdateFile()
{
    VxWriteFileSafely(FFileName, GetText());
}

bool TVxMemIniFile::SectionExists(const std::string& Section) const
{
    const TSection* Found = FindSection(Section);
    return Found != nullptr && !Found->Entries.empty();
}

std::size_t TVxMemIniFile::EntryCount(const std::string& Section) const
{
    const TSection* Found = FindSection(Section);
    return Found == nullptr ? 0 : Found->Entries.size();
}

bool TVxMemIniFile::ValueExists(const std::string& Section, const std::string& Ident) const
{
    const TSection* Found = FindSection(Section);
    return Found != nullptr && Found->Index.count(VxAnsiUpperCase(Ident)) != 0;
}

void TVxMemIniFile::ReadSections(std::vector<std::string>& Strings) const
{
    Strings.clear();
    for (const auto& Section : FSections)
        Strings.push_back(Section->Name);
}

void TVxMemIniFile::SetText(std::string_view Text)
{
    Clear();
    Text = Text.substr(0, Text.find('\0'));
    TSection* Current = nullptr;
    while (!Text.empty()) {
        const std::size_t End = Text.find_first_of("\r\n");
        std::string_view Line = Strip(Text.substr(0, End));
        if (End == std::string_view::npos)
            Text = {};
        else
            Text.remove_prefix(End + (Text[End] == '\r' && End + 1 < Text.size() && Text[End + 1] == '\n' ? 2 : 1));

        if (Line.empty() || Line.front() == ';')
            continue;
        if (Line.size() > 1 && Line.front() == '[' && Line.back() == ']') {
            AppendSection(std::string(Strip(Line.substr(1, Line.size() - 2))));
            Current = FSections.back().get();
        } else if (Current != nullptr) {
            const std::size_t Equals = Line.find('=');
            if (Equals == std::string_view::npos) {
                Current->Append({std::string(Line), std::string::npos});
            } else {
                const std::string_view Key = Strip(Line.substr(0, Equals));
                std::string Entry;
                Entry.reserve(Line.size());
                Entry.append(Key).append(1, '=').append(Strip(Line.substr(Equals + 1)));
                Current->Append({std::move(Entry), Key.size()});
            }
        }
    }
}

std::string TVxMemIniFile::GetText() const
{
    std::size_t Size = 0;
    for (const auto& Section : FSections) {
        Size += Section->Name.size() + 6;
        for (const TEntry& Entry : Section->Entries)
            Size += Entry.Line.size() + 2;
    }
    std::string Text;
    Text.reserve(Size);
    for (const auto& Section : FSections) {
        Text.append(1, '[').append(Section->Name).append("]\r\n");
        for (const TEntry& Entry : Section->Entries)
            Text.append(Entry.Line).append("\r\n");
        Text.append("\r\n");
    }
    return Text;
}

void TVxMemIniFile::Clear()
{
    FSections.clear();
    FSectionIndex.clear();
}

bool TVxMemIniFile::FindValue(const std::string& Section, const std::string& Ident, std::string& Value) const
{
    const TSection* Found = FindSection(Section);
    if (Found == nullptr)
        return false;
    const auto Key = Found->Index.find(VxAnsiUpperCase(Ident));
    if (Key == Found->Index.end())
        return false;
    const TEntry& Entry = Found->Entries[Key->second];
    Value = Entry.Line.substr(Entry.KeyLength + 1);
    return true;
}

void TVxMemIniFile::StoreValue(const std::string& Section, const std::string& Ident, const std::string& Value)
{
    TSection* Found = FindSection(Section);
    if (Found == nullptr) {
        AppendSection(Section);
        Found = FSections.back().get();
    }
    // An Ident holding '=' keys the entry by its part before the '=', as a
    // reload would.
    std::string Line = Ident + "=" + Value;
    const std::size_t KeyLength = Line.find('=');
    TEntry Entry{std::move(Line), KeyLength};
    const auto Key = Found->Index.find(VxAnsiUpperCase(Ident));
    if (Key != Found->Index.end() && Entry.KeyLength == Ident.size())
        Found->Entries[Key->second] = std::move(Entry);
    else
        Found->Append(std::move(Entry));
}

bool TVxMemIniFile::RemoveSection(const std::string& Section)
{
    const auto Found = FSectionIndex.find(VxAnsiUpperCase(Section));
    if (Found == FSectionIndex.end())
        return false;
    FSections.erase(FSections.begin() + static_cast<std::ptrdiff_t>(Found->second));
    ReindexSections();
    return true;
}

bool TVxMemIniFile::RemoveKey(const std::string& Section, const std::string& Ident)
{
    TSection* Found = FindSection(Section);
    if (Found == nullptr)
        return false;
    const auto Key = Found->Index.find(VxAnsiUpperCase(Ident));
    if (Key == Found->Index.end())
        return false;
    Found->Entries.erase(Found->Entries.begin() + static_cast<std::ptrdiff_t>(Key->second));
    Found->Reindex();
    return true;
}

void TVxMemIniFile::LoadFromFile()
{
    SetText(VxReadFile(FFileName));
}

TVxMemIniFile::TSection* TVxMemIniFile::FindSection(const std::string& Section) const
{
    const auto Found = FSectionIndex.find(VxAnsiUpperCase(Section));
    return Found == FSectionIndex.end() ? nullptr : FSections[Found->second].get();
}

void TVxMemIniFile::AppendSection(std::string Name)
{
    auto Section = std::make_unique<TSection>();
    Section->Name = std::move(Name);
    FSectionIndex[VxAnsiUpperCase(Section->Name)] = FSections.size();
    FSections.push_back(std::move(Section));
}

void TVxMemIniFile::ReindexSections()
{
    FSectionIndex.clear();
    for (std::size_t I = 0; I < FSections.size(); ++I)
        FSectionIndex[VxAnsiUpperCase(FSections[I]->Name)] = I;
}
