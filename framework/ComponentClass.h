#pragma once

// The class registry: one table per component class, read by the form
// reader and the form writer alike. Window-free.
//
// A table names its class, the registered class it derives from and its
// published properties. Each property has a setter (how a description's
// value is applied), a getter (how it is written) and a storage rule (when
// it is written); a property without a getter is read but never written.
// A class that names a base's property again gives only the parts it
// changes (a new setter, a new storage rule) and keeps the others; one
// that unpublishes it has it neither read nor written.
//
// Tables are filled through the typed builder of framework/ClassTable.h.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <typeindex>
#include <utility>
#include <vector>

#include "framework/Component.h"
#include "framework/FormParser.h"

class TReader;

using TPropertySetter = std::function<void(TComponent* Instance, const TFormValue& Value, TReader& Reader)>;
using TPropertyGetter = std::function<TFormValue(TComponent* Instance)>;
// Told the property's getter, so a rule can compare the value written.
using TStoredRule = std::function<bool(TComponent* Instance, const TPropertyGetter& Getter)>;

// One class's own statement about a property; empty parts are inherited.
struct TPropertyEntry {
    std::string Name;
    TPropertySetter Setter;
    // Reference properties are applied once the component they name was
    // read, or after every component was created.
    bool Reference = false;
    TPropertyGetter Getter;
    TStoredRule Stored;
    bool Unpublished = false;
};

// A property as the class and its bases together define it.
struct TResolvedProperty {
    const TPropertySetter* Setter = nullptr;
    bool Reference = false;
    const TPropertyGetter* Getter = nullptr;
    const TStoredRule* Stored = nullptr;

    bool Readable() const { return Setter != nullptr; }
    bool Written() const { return Getter != nullptr; }
};

class TComponentClass {
public:
    using TFactory = TComponent* (*)(TComponent* AOwner);
    using TMatcher = bool (*)(const TComponent* Instance);

    TComponentClass(std::string name, std::type_index type, std::optional<std::type_index> base, TFactory factory,
                    TMatcher matcher);

    const std::string& Name() const { return FName; }
    std::type_index Type() const { return FType; }
    bool CanCreate() const { return FFactory != nullptr; }
    TComponent* Create(TComponent* AOwner) const;
    // True when `c` is an instance of this class or of one derived from it.
    bool Accepts(const TComponent* c) const { return FMatcher(c); }

    // The registered class named as this one's base, or nullptr for a root.
    // Raises EInvalidOperation when the named base is not registered.
    const TComponentClass* Base() const;
    // True when `other` is this class or derives from it.
    bool IsBaseOf(const TComponentClass& other) const;

    // Adds this class's statement about a property, or merges it into the
    // one made already: the parts given replace those given before.
    void Add(TPropertyEntry entry);
    const std::vector<TPropertyEntry>& Entries() const { return FEntries; }

    // The property along the line of descent, most derived part first;
    // nullopt when no class of the line names it or one unpublishes it.
    std::optional<TResolvedProperty> Resolve(const std::string& name) const;
    // The names of every property of the line of descent, bases first, in
    // the order they were stated; a name stated again keeps its place.
    std::vector<std::string> PropertyNames() const;

private:
    std::string FName;
    std::type_index FType;
    std::optional<std::type_index> FBase;
    TFactory FFactory;
    TMatcher FMatcher;
    std::vector<TPropertyEntry> FEntries;
};

// Registers a class table, or returns the one of that name registered already.
TComponentClass& RegisterComponentClassEntry(TComponentClass entry);
TComponentClass* FindComponentClass(const std::string& name);
// The most derived registered class `instance` belongs to, or nullptr.
const TComponentClass* FindClassOf(const TComponent* instance);

// Named integer values of descriptions (colours, character sets, ...).
void RegisterIntegerConstant(const std::string& name, std::int64_t value);
bool FindIntegerConstant(const std::string& name, std::int64_t& value);

// Names of an enumeration's values, for reading and writing properties of
// that type.
void RegisterEnumNames(std::type_index type, std::vector<std::pair<std::string, int>> names);
bool FindEnumValue(std::type_index type, const std::string& name, int& value);
const std::string* FindEnumName(std::type_index type, int value);

// Values of descriptions as the writer makes them.
TFormValue FormInteger(std::int64_t value);
TFormValue FormBoolean(bool value);
TFormValue FormString(std::string value);
TFormValue FormIdent(std::string name);
TFormValue FormSet(std::vector<std::string> items);
