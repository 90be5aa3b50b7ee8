#pragma once

// The configuration file: typed values with quoting, a schema header, reload
// on changes made by another process, and reference-counted section
// accessors. The file saves itself when its last accessor is released and
// something changed.
//
// Using a section:
//
//     TVxConfigSectionRef Section = File.OpenSection("Window");
//     const std::int32_t Left = Section->ReadInteger("Left", 0);
//     Section->WriteInteger("Left", Left + 10);
//     Section.Release();  // the last release saves; its errors raise here
//
// A handle that is destroyed instead of released (an exception unwinding,
// say) releases too, but a destructor must not raise: an error of that save
// goes to the deferred error handler (SetDeferredConfigErrorHandler), whose
// default keeps the last one for TakeDeferredConfigError().

#include "config/VxMemIniFile.h"

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TVxConfigFile;
class TVxConfigSectionRef;

// Accessor of one section of a configuration file. Obtained as an owning
// TVxConfigSectionRef; code that only uses a section borrows it as
// IVxConfigSection&.
class IVxConfigSection {
public:
    virtual TVxConfigSectionRef OpenSection(const std::string& Name) = 0;
    virtual void EraseSection(const std::string& Name) = 0;
    virtual bool ValueExists(const std::string& Ident) = 0;
    virtual bool SectionExists(const std::string& Name) = 0;
    virtual std::string GetName() = 0;
    virtual void ReadKeys(std::vector<std::string>& Strings) = 0;
    virtual void Erase() = 0;
    virtual std::string ReadString(const std::string& Ident, const std::string& Default) = 0;
    virtual void WriteString(const std::string& Ident, const std::string& Value) = 0;
    virtual std::int32_t ReadInteger(const std::string& Ident, std::int32_t Default) = 0;
    virtual void WriteInteger(const std::string& Ident, std::int32_t Value) = 0;
    virtual double ReadDateTime(const std::string& Ident, double Default) = 0;
    virtual void WriteDateTime(const std::string& Ident, double Value) = 0;
    virtual bool ReadBool(const std::string& Ident, bool Default) = 0;
    virtual void WriteBool(const std::string& Ident, bool Value) = 0;
    // A counted list: Prefix + "count", then Prefix + "0", Prefix + "1", ...
    virtual void ReadStrings(std::vector<std::string>& Strings, const std::string& Prefix, bool SkipEmpty) = 0;
    virtual void WriteStrings(const std::vector<std::string>& Strings, const std::string& Prefix) = 0;

protected:
    friend class TVxConfigSectionRef;
    virtual void AddRef() noexcept = 0;
    // Drops one reference; the last one may raise the error of the save.
    virtual void Release() = 0;
    ~IVxConfigSection() = default;
};

// Owning, move-only reference to an accessor.
class TVxConfigSectionRef {
public:
    TVxConfigSectionRef() noexcept = default;
    // Takes over one reference already counted for it.
    explicit TVxConfigSectionRef(IVxConfigSection* Adopted) noexcept : FSection(Adopted) {}
    TVxConfigSectionRef(TVxConfigSectionRef&& Other) noexcept;
    // Releases the reference held before, as Release() does.
    TVxConfigSectionRef& operator=(TVxConfigSectionRef&& Other);
    TVxConfigSectionRef(const TVxConfigSectionRef&) = delete;
    TVxConfigSectionRef& operator=(const TVxConfigSectionRef&) = delete;
    // Releases a reference still held; errors go to the deferred handler.
    ~TVxConfigSectionRef();

    // Another reference to the same accessor.
    TVxConfigSectionRef Share() const;
    // Drops the reference; the handle is empty afterwards, also when the save
    // that the last release makes raises.
    void Release();

    IVxConfigSection* operator->() const;
    IVxConfigSection& operator*() const;
    explicit operator bool() const noexcept { return FSection != nullptr; }

private:
    IVxConfigSection* FSection = nullptr;
};

using TVxDeferredErrorHandler = std::function<void(std::exception_ptr Error)>;

// Installs the handler of save errors met by releases that cannot raise;
// returns the one it replaces. An empty handler restores the default.
TVxDeferredErrorHandler SetDeferredConfigErrorHandler(TVxDeferredErrorHandler Handler);
// The default handler's last error, which it clears; null when there is none.
std::exception_ptr TakeDeferredConfigError();
// Hands the current exception to the handler; for use in a catch block of a
// destructor or another place that must not raise.
void HandleDeferredConfigError() noexcept;

class TVxConfigFile : public TVxMemIniFile {
public:
    static constexpr const char* HeaderSection = "VXS:CONFIG:HEADER";
    static constexpr const char* SchemaVersionKey = "SchemaVersion";
    static constexpr std::int32_t CurrentSchemaVersion = 1;

    // Loads FileName if it exists; an empty FileName gives a store that never
    // saves. Raises on an unreadable file or an unsupported schema version.
    TVxConfigFile(std::string FileName, bool ReadOnly);
    // Does not save. Accessors that outlive the file raise on use.
    ~TVxConfigFile() override;

    TVxConfigSectionRef OpenSection(const std::string& Name);

    std::string ReadString(const std::string& Section, const std::string& Ident, const std::string& Default) override;
    void WriteString(const std::string& Section, const std::string& Ident, const std::string& Value) override;
    bool ReadBool(const std::string& Section, const std::string& Ident, bool Default) override;
    double ReadDateTime(const std::string& Section, const std::string& Ident, double Default) override;
    void WriteDateTime(const std::string& Section, const std::string& Ident, double Value) override;
    void EraseSection(const std::string& Section) override;
    void DeleteKey(const std::string& Section, const std::string& Ident) override;
    // Writes the header, then saves when modified. A failed write is dropped
    // and retried by the next call; a folder that cannot be made raises.
    // Content of a newer version (a reload may bring it) is never saved, and
    // every change to it raises "Unsupported schema version".
    void UpdateFile() override;

    // Reloads when another process wrote the file since the last sync.
    void CheckExternalChange();
    void Reload();
    void SetSchemaVersion(std::int32_t Value);

    std::int32_t SchemaVersion() const { return FSchemaVersion; }
    bool Modified() const { return FModified; }
    bool ReadOnly() const { return FReadOnly; }
    std::int32_t OpenSections() const { return FOpenSections; }
    double LastSync() const { return FLastSync; }

private:
    friend class TVxConfigSectionImp;
    void SectionOpened() noexcept { ++FOpenSections; }
    void SectionClosed();
    void ReadSchemaVersion();
    // Raises "Unsupported schema version" while the content is of a newer
    // version than this program writes.
    void RefuseNewerSchema() const;
    // The clean-to-modified step every change goes through.
    void BeginChange();
    void EnsureFolder() const;

    std::int32_t FSchemaVersion = 0;
    // The version of content a reload brought that is newer than this
    // program's, else 0: such content is read but never written.
    std::int32_t FNewerSchemaVersion = 0;
    bool FModified = false;
    bool FReadOnly = false;
    std::int32_t FOpenSections = 0;
    double FLastSync = 0;
    // Shared with the accessors, cleared when the file goes.
    std::shared_ptr<TVxConfigFile*> FLink;
};

// The accessor of one section of a TVxConfigFile, which it does not own.
class TVxConfigSectionImp final : public IVxConfigSection {
public:
    TVxConfigSectionImp(TVxConfigFile& File, std::string Section);

    TVxConfigSectionRef OpenSection(const std::string& Name) override;
    void EraseSection(const std::string& Name) override;
    bool ValueExists(const std::string& Ident) override;
    bool SectionExists(const std::string& Name) override;
    std::string GetName() override;
    void ReadKeys(std::vector<std::string>& Strings) override;
    void Erase() override;
    std::string ReadString(const std::string& Ident, const std::string& Default) override;
    void WriteString(const std::string& Ident, const std::string& Value) override;
    std::int32_t ReadInteger(const std::string& Ident, std::int32_t Default) override;
    void WriteInteger(const std::string& Ident, std::int32_t Value) override;
    double ReadDateTime(const std::string& Ident, double Default) override;
    void WriteDateTime(const std::string& Ident, double Value) override;
    bool ReadBool(const std::string& Ident, bool Default) override;
    void WriteBool(const std::string& Ident, bool Value) override;
    void ReadStrings(std::vector<std::string>& Strings, const std::string& Prefix, bool SkipEmpty) override;
    void WriteStrings(const std::vector<std::string>& Strings, const std::string& Prefix) override;

    // ReadStrings with SkipEmpty clear gives at most this many items, unless
    // an item present lies further on.
    static constexpr std::size_t MaxListLength = std::size_t{1} << 20;

private:
    void AddRef() noexcept override { ++FRefCount; }
    // The indexes below Count of the items present, ascending.
    std::vector<std::size_t> ListIndexes(TVxConfigFile& Config, const std::string& Prefix, std::size_t Count) const;
    void Release() override;
    ~TVxConfigSectionImp() = default;
    TVxConfigFile& File() const;

    std::string FSection;
    std::shared_ptr<TVxConfigFile*> FFile;
    std::int32_t FRefCount = 1;
};
