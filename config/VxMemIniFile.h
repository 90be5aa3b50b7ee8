#pragma once

// In-memory store of a text file of [sections] with key=value entries, kept
// whole in memory and written back whole.
//
// Lookup ignores case (ANSI upper case) and finds the last of several
// sections or keys of one name; every occurrence stays and is written back.
// An entry without '=' has no key: it is kept and lists as an empty key.
// Lookups go through hash indexes of the upper-cased names.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class TVxMemIniFile {
public:
    // Loads the file when FileName is not empty and names an existing file.
    explicit TVxMemIniFile(std::string FileName);
    virtual ~TVxMemIniFile();
    TVxMemIniFile(const TVxMemIniFile&) = delete;
    TVxMemIniFile& operator=(const TVxMemIniFile&) = delete;

    const std::string& FileName() const { return FFileName; }

    virtual std::string ReadString(const std::string& Section, const std::string& Ident, const std::string& Default);
    virtual void WriteString(const std::string& Section, const std::string& Ident, const std::string& Value);
    // Decimal, or hexadecimal after '$', 'x', 'X', '0x' or '0X'; else Default.
    virtual std::int32_t ReadInteger(const std::string& Section, const std::string& Ident, std::int32_t Default);
    virtual void WriteInteger(const std::string& Section, const std::string& Ident, std::int32_t Value);
    virtual bool ReadBool(const std::string& Section, const std::string& Ident, bool Default);
    virtual void WriteBool(const std::string& Section, const std::string& Ident, bool Value);
    // The store's own date-time form is the floating day count.
    virtual double ReadDateTime(const std::string& Section, const std::string& Ident, double Default);
    virtual void WriteDateTime(const std::string& Section, const std::string& Ident, double Value);
    // The keys of Section in order.
    virtual void ReadSection(const std::string& Section, std::vector<std::string>& Strings);
    virtual void EraseSection(const std::string& Section);
    virtual void DeleteKey(const std::string& Section, const std::string& Ident);
    // Writes the whole store to the file; raises on failure.
    virtual void UpdateFile();

    bool SectionExists(const std::string& Section) const;  // and holds an entry
    // Entries of the found section, keyless ones included; 0 when missing.
    std::size_t EntryCount(const std::string& Section) const;
    bool ValueExists(const std::string& Section, const std::string& Ident) const;
    void ReadSections(std::vector<std::string>& Strings) const;

    // Replaces the content by Text read with the load rules.
    void SetText(std::string_view Text);
    // The content in the written form: CR LF line ends, an empty line after
    // each section.
    std::string GetText() const;
    void Clear();

protected:
    // The text after '=' of the found entry; false when there is none.
    bool FindValue(const std::string& Section, const std::string& Ident, std::string& Value) const;
    void StoreValue(const std::string& Section, const std::string& Ident, const std::string& Value);
    bool HasSection(const std::string& Section) const { return FindSection(Section) != nullptr; }
    bool RemoveSection(const std::string& Section);
    bool RemoveKey(const std::string& Section, const std::string& Ident);
    // Replaces the content by the file's; on a read error the content stays.
    void LoadFromFile();

private:
    struct TEntry {
        std::string Line;
        std::size_t KeyLength;  // npos: no '=', so no key
    };
    struct TSection {
        std::string Name;
        std::vector<TEntry> Entries;
        std::unordered_map<std::string, std::size_t> Index;  // upper-cased key -> last entry
        void Append(TEntry Entry);
        void Reindex();
    };

    TSection* FindSection(const std::string& Section) const;
    void AppendSection(std::string Name);
    void ReindexSections();

    std::string FFileName;
    std::vector<std::unique_ptr<TSection>> FSections;
    std::unordered_map<std::string, std::size_t> FSectionIndex;  // upper-cased name -> last section
};
