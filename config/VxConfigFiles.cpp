#include "config/VxConfigFiles.h"

#include "config/VxConfigOS.h"
#include "config/VxConfigText.h"
#include "framework/Exceptions.h"

#include <algorithm>
#include <string_view>
#include <utility>

namespace {

std::exception_ptr& LastDeferredError()
{
    static std::exception_ptr Error;
    return Error;
}

TVxDeferredErrorHandler& DeferredHandler()
{
    static TVxDeferredErrorHandler Handler;
    return Handler;
}

// Besides blanks, any control character (a NUL would end the file's text, a
// stripped one would be lost at the next load) and a value that would read
// back as quoted form need the quoted form to survive a save and load.
bool NeedsQuotedForm(const std::string& Value)
{
    if (Value.size() > 1 && Value.front() == '"' && Value.back() == '"')
        return true;
    return std::any_of(Value.begin(), Value.end(), [](char C) { return static_cast<unsigned char>(C) <= ' '; });
}

}  // namespace

TVxDeferredErrorHandler SetDeferredConfigErrorHandler(TVxDeferredErrorHandler Handler)
{
    return std::exchange(DeferredHandler(), std::move(Handler));
}

std::exception_ptr TakeDeferredConfigError()
{
    return std::exchange(LastDeferredError(), nullptr);
}

void HandleDeferredConfigError() noexcept
{
    const std::exception_ptr Error = std::current_exception();
    try {
        if (DeferredHandler())
            DeferredHandler()(Error);
        else
            LastDeferredError() = Error;
    } catch (...) {
        LastDeferredError() = std::current_exception();
    }
}

TVxConfigSectionRef::TVxConfigSectionRef(TVxConfigSectionRef&& Other) noexcept
    : FSection(std::exchange(Other.FSection, nullptr))
{}

TVxConfigSectionRef& TVxConfigSectionRef::operator=(TVxConfigSectionRef&& Other)
{
    if (this != &Other) {
        IVxConfigSection* Old = std::exchange(FSection, std::exchange(Other.FSection, nullptr));
        if (Old != nullptr)
            Old->Release();
    }
    return *this;
}

TVxConfigSectionRef::~TVxConfigSectionRef()
{
    try {
        Release();
    } catch (...) {
        HandleDeferredConfigError();
    }
}

TVxConfigSectionRef TVxConfigSectionRef::Share() const
{
    VX_ASSERT(FSection != nullptr);
    FSection->AddRef();
    return TVxConfigSectionRef(FSection);
}

void TVxConfigSectionRef::Release()
{
    if (IVxConfigSection* Section = std::exchange(FSection, nullptr))
        Section->Release();
}

IVxConfigSection* TVxConfigSectionRef::operator->() const
{
    VX_ASSERT(FSection != nullptr);
    return FSection;
}

IVxConfigSection& TVxConfigSectionRef::operator*() const
{
    VX_ASSERT(FSection != nullptr);
    return *FSection;
}

TVxConfigFile::TVxConfigFile(std::string FileName, bool ReadOnly)
    : TVxMemIniFile(std::move(FileName)), FReadOnly(ReadOnly), FLink(std::make_shared<TVxConfigFile*>(this))
{
    ReadSchemaVersion();
    FLastSync = VxNowLocal();
}

TVxConfigFile::~TVxConfigFile()
{
    *FLink = nullptr;
}

TVxConfigSectionRef TVxConfigFile::OpenSection(const std::string& Name)
{
    return TVxConfigSectionRef(new TVxConfigSectionImp(*this, Name));
}

std::string TVxConfigFile::ReadString(const std::string& Section, const std::string& Ident, const std::string& Default)
{
    std::string Value;
    if (!FindValue(Section, Ident, Value) || Value.empty())
        return Default;
    if (Value.size() > 1 && Value.front() == '"' && Value.back() == '"')
        return DecodeQuotedString(Value);
    return Value;
}

void TVxConfigFile::WriteString(const std::string& Section, const std::string& Ident, const std::string& Value)
{
    if (FReadOnly)
        return;
    const std::string Stored = Value.empty()            ? std::string("\"\"")
                               : NeedsQuotedForm(Value) ? EncodeQuotedString(Value)
                                                        : Value;
    BeginChange();
    StoreValue(Section, Ident, Stored);
    FModified = true;
}

bool TVxConfigFile::ReadBool(const std::string& Section, const std::string& Ident, bool Default)
{
    if (FSchemaVersion >= 1)
        return TVxMemIniFile::ReadBool(Section, Ident, Default);
    std::string Value;
    if (!FindValue(Section, Ident, Value) || Value.empty())
        return Default;
    switch (Value.front()) {
    case '0':
    case 'F':
    case 'f': return false;
    case '1':
    case 'T':
    case 't': return true;
    default: return Default;
    }
}

double TVxConfigFile::ReadDateTime(const std::string& Section, const std::string& Ident, double Default)
{
    std::string Value;
    if (!FindValue(Section, Ident, Value) || Value.empty())
        return Default;
    if (FSchemaVersion < 1)
        return TextToFloat(Value).value_or(Default);
    try {
        return IsoTextToDateTime(Value);
    } catch (const EConvertError&) {
        return Default;
    }
}

// Written like every other change (read-only test, external-change check,
// modified mark) so the value is not lost when nothing else changes.
void TVxConfigFile::WriteDateTime(const std::string& Section, const std::string& Ident, double Value)
{
    if (FReadOnly)
        return;
    const std::string Text = DateTimeToIsoText(Value);
    BeginChange();
    StoreValue(Section, Ident, Text);
    FModified = true;
}

void TVxConfigFile::EraseSection(const std::string& Section)
{
    if (FReadOnly || !HasSection(Section))
        return;
    BeginChange();
    if (RemoveSection(Section))
        FModified = true;
}

void TVxConfigFile::DeleteKey(const std::string& Section, const std::string& Ident)
{
    if (FReadOnly || !ValueExists(Section, Ident))
        return;
    BeginChange();
    if (RemoveKey(Section, Ident))
        FModified = true;
}

void TVxConfigFile::UpdateFile()
{
    // Content of a newer version is never written back.
    if (FReadOnly || FNewerSchemaVersion != 0)
        return;
    SetSchemaVersion(CurrentSchemaVersion);
    if (!FModified)
        return;
    if (!FileName().empty()) {
        EnsureFolder();
        try {
            TVxMemIniFile::UpdateFile();
        } catch (const std::exception&) {
            // Dropped on purpose: still modified, so the next save retries.
            return;
        }
        FLastSync = VxNowLocal();
    }
    FModified = false;
}

void TVxConfigFile::CheckExternalChange()
{
    VX_ASSERT(!FModified);
    if (FileName().empty())
        return;
    const TVxFileLookup Lookup = VxLookupFile(FileName());
    if (Lookup.Found && !Lookup.IsFolder && Lookup.LastWrite > FLastSync)
        Reload();
}

void TVxConfigFile::Reload()
{
    VX_ASSERT(!FileName().empty());
    if (!VxLookupFile(FileName()).Found)
        return;
    // Taken before reading, and kept only once the read succeeded, so a
    // write by another process during or after the read is still seen.
    const double Started = VxNowLocal();
    LoadFromFile();
    FModified = false;
    FLastSync = Started;
    ReadSchemaVersion();
}

void TVxConfigFile::SetSchemaVersion(std::int32_t Value)
{
    if (Value == FSchemaVersion)
        return;
    // Written first: the write may reload, which re-reads the version.
    WriteInteger(HeaderSection, SchemaVersionKey, Value);
    FSchemaVersion = Value;
}

void TVxConfigFile::SectionClosed()
{
    VX_ASSERT(FOpenSections > 0);
    if (--FOpenSections == 0)
        UpdateFile();
}

void TVxConfigFile::ReadSchemaVersion()
{
    const std::int32_t Version = ReadInteger(HeaderSection, SchemaVersionKey, 0);
    FNewerSchemaVersion = Version > CurrentSchemaVersion ? Version : 0;
    RefuseNewerSchema();
    FSchemaVersion = Version < 0 ? 0 : Version;
}

void TVxConfigFile::RefuseNewerSchema() const
{
    if (FNewerSchemaVersion != 0)
        throw EVxError(Format("Unsupported schema version: %d", static_cast<int>(FNewerSchemaVersion)));
}

void TVxConfigFile::BeginChange()
{
    if (!FModified)
        CheckExternalChange();
    // A reload, now or earlier, may have brought a newer version's content:
    // no write goes into it.
    RefuseNewerSchema();
}

void TVxConfigFile::EnsureFolder() const
{
    const std::size_t Separator = FileName().find_last_of("\\/");
    if (Separator == std::string::npos)
        return;
    const std::string Folder = FileName().substr(0, Separator + 1);
    if (!VxFolderExists(Folder) && !VxCreateFolders(Folder))
        throw EVxError(Format("Unable to create configuration folder: %s", Folder.c_str()));
}

TVxConfigSectionImp::TVxConfigSectionImp(TVxConfigFile& File, std::string Section)
    : FSection(std::move(Section)), FFile(File.FLink)
{
    File.SectionOpened();
}

void TVxConfigSectionImp::Release()
{
    if (--FRefCount > 0)
        return;
    const std::shared_ptr<TVxConfigFile*> Link = std::move(FFile);
    delete this;
    if (*Link != nullptr)
        (*Link)->SectionClosed();
}

TVxConfigFile& TVxConfigSectionImp::File() const
{
    if (*FFile == nullptr)
        throw EInvalidOperation("The configuration file of this section no longer exists");
    return **FFile;
}

TVxConfigSectionRef TVxConfigSectionImp::OpenSection(const std::string& Name)
{
    return File().OpenSection(Name);
}

void TVxConfigSectionImp::EraseSection(const std::string& Name)
{
    File().EraseSection(Name);
}

bool TVxConfigSectionImp::ValueExists(const std::string& Ident)
{
    return File().ValueExists(FSection, Ident);
}

bool TVxConfigSectionImp::SectionExists(const std::string& Name)
{
    return File().SectionExists(Name);
}

std::string TVxConfigSectionImp::GetName()
{
    return FSection;
}

void TVxConfigSectionImp::ReadKeys(std::vector<std::string>& Strings)
{
    File().ReadSection(FSection, Strings);
}

void TVxConfigSectionImp::Erase()
{
    File().EraseSection(FSection);
}

std::string TVxConfigSectionImp::ReadString(const std::string& Ident, const std::string& Default)
{
    return File().ReadString(FSection, Ident, Default);
}

void TVxConfigSectionImp::WriteString(const std::string& Ident, const std::string& Value)
{
    File().WriteString(FSection, Ident, Value);
}

std::int32_t TVxConfigSectionImp::ReadInteger(const std::string& Ident, std::int32_t Default)
{
    return File().ReadInteger(FSection, Ident, Default);
}

void TVxConfigSectionImp::WriteInteger(const std::string& Ident, std::int32_t Value)
{
    File().WriteInteger(FSection, Ident, Value);
}

double TVxConfigSectionImp::ReadDateTime(const std::string& Ident, double Default)
{
    return File().ReadDateTime(FSection, Ident, Default);
}

void TVxConfigSectionImp::WriteDateTime(const std::string& Ident, double Value)
{
    File().WriteDateTime(FSection, Ident, Value);
}

bool TVxConfigSectionImp::ReadBool(const std::string& Ident, bool Default)
{
    return File().ReadBool(FSection, Ident, Default);
}

void TVxConfigSectionImp::WriteBool(const std::string& Ident, bool Value)
{
    File().WriteBool(FSection, Ident, Value);
}

void TVxConfigSectionImp::ReadStrings(std::vector<std::string>& Strings, const std::string& Prefix, bool SkipEmpty)
{
    TVxConfigFile& Config = File();
    const std::int32_t Stored = Config.ReadInteger(FSection, Prefix + "count", 0);
    Strings.clear();
    if (Stored <= 0)
        return;
    const auto Count = static_cast<std::size_t>(Stored);
    // Items are looked up by the keys present rather than by every index
    // below the count, so a damaged count of billions costs no more than
    // the section's own entries.
    std::vector<std::size_t> Present = ListIndexes(Config, Prefix, Count);
    std::vector<std::string> Values;
    Values.reserve(Present.size());
    for (const std::size_t I : Present)
        Values.push_back(Config.ReadString(FSection, Prefix + std::to_string(I), std::string()));
    if (SkipEmpty) {
        for (std::string& Value : Values)
            if (!Value.empty())
                Strings.push_back(std::move(Value));
        return;
    }
    // Missing items are empty. A count too large to hold is cut, but never
    // below an item that is present.
    std::size_t Length = Count;
    if (Length > MaxListLength)
        Length = std::max(MaxListLength, Present.empty() ? 0 : Present.back() + 1);
    Strings.resize(Length);
    for (std::size_t K = 0; K < Present.size(); ++K)
        Strings[Present[K]] = std::move(Values[K]);
}

std::vector<std::size_t> TVxConfigSectionImp::ListIndexes(TVxConfigFile& Config, const std::string& Prefix,
                                                          std::size_t Count) const
{
    std::vector<std::string> Keys;
    Config.ReadSection(FSection, Keys);
    const std::string UpperPrefix = VxAnsiUpperCase(Prefix);
    std::vector<std::size_t> Indexes;
    for (const std::string& Key : Keys) {
        if (Key.size() <= Prefix.size() ||
            VxAnsiUpperCase(std::string_view(Key).substr(0, Prefix.size())) != UpperPrefix)
            continue;
        // Only the digits that Prefix + decimal index spells: no sign, no
        // leading zero.
        const std::string_view Digits = std::string_view(Key).substr(Prefix.size());
        if ((Digits.size() > 1 && Digits.front() == '0') ||
            !std::all_of(Digits.begin(), Digits.end(), [](char C) { return C >= '0' && C <= '9'; }))
            continue;
        std::uint64_t Index = 0;
        bool Below = true;
        for (std::size_t K = 0; Below && K < Digits.size(); ++K) {
            Index = Index * 10 + static_cast<std::uint64_t>(Digits[K] - '0');
            Below = Index < Count;
        }
        if (Below)
            Indexes.push_back(static_cast<std::size_t>(Index));
    }
    std::sort(Indexes.begin(), Indexes.end());
    Indexes.erase(std::unique(Indexes.begin(), Indexes.end()), Indexes.end());
    return Indexes;
}

void TVxConfigSectionImp::WriteStrings(const std::vector<std::string>& Strings, const std::string& Prefix)
{
    TVxConfigFile& Config = File();
    Config.WriteInteger(FSection, Prefix + "count", static_cast<std::int32_t>(Strings.size()));
    for (std::size_t I = 0; I < Strings.size(); ++I)
        Config.WriteString(FSection, Prefix + std::to_string(I), Strings[I]);
}
