#pragma once

// Writes components to form descriptions: per-class tables of published
// properties, each with the rule that says whether its value is stored.
// Window-free, like the reader.
//
//   RegisterWriterClass<TButton>("TButton")
//       .Stored("Caption", &TButton::Caption, [](TButton* b) { return !b->Caption().empty(); })
//       .Default("Default", &TButton::Default, false);
//
// A class's table extends the tables of the registered classes it derives
// from: base properties come first, in registration order; a derived class
// that names a base property again replaces its getter and rule in place,
// so the written order stays that of the base. Events are not written.

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "framework/ClassIdentity.h"
#include "framework/Component.h"
#include "framework/FormParser.h"
#include "framework/Sets.h"

class TWriterClass {
public:
    using TGetter = std::function<TFormValue(TComponent*)>;
    using TStored = std::function<bool(TComponent*)>;

    struct TEntry {
        std::string Name;
        TGetter Get;
        TStored IsStored;  // empty: stored always
        bool Removed = false;
    };

    TWriterClass(std::string name, TClassIdentity identity);

    const std::string& Name() const { return FName; }
    bool Accepts(const TComponent* c) const { return FIdentity.Accepts(c); }
    bool IsBaseOf(const TWriterClass& other) const { return FIdentity.IsBaseOf(other.FIdentity); }
    const std::vector<TEntry>& Entries() const { return FEntries; }

    void Add(std::string name, TGetter getter, TStored stored);
    // A base class's property this class does not publish.
    void Remove(std::string name);

private:
    std::string FName;
    TClassIdentity FIdentity;
    std::vector<TEntry> FEntries;
};

TFormValue FormInteger(std::int64_t value);
TFormValue FormBoolean(bool value);
TFormValue FormString(std::string value);
TFormValue FormIdent(std::string name);
TFormValue FormSet(std::vector<std::string> items);

namespace FormWriterDetail {
template <class V>
TFormValue ToFormValue(const V& value)
{
    if constexpr (std::is_same_v<V, bool>)
        return FormBoolean(value);
    else if constexpr (std::is_integral_v<V>)
        return FormInteger(static_cast<std::int64_t>(value));
    else if constexpr (std::is_convertible_v<V, std::string>)
        return FormString(std::string(value));
    else
        static_assert(sizeof(V) == 0, "no form value for this type");
}

// Names of an enumeration's values, indexed by value.
inline std::string EnumName(int value, const std::vector<std::string>& names)
{
    return value >= 0 && static_cast<std::size_t>(value) < names.size() ? names[static_cast<std::size_t>(value)]
                                                                         : std::to_string(value);
}
}  // namespace FormWriterDetail

// Typed registration of one class's properties.
template <class T>
class TWriterClassBuilder {
public:
    explicit TWriterClassBuilder(TWriterClass& cls) : FClass(cls) {}

    // Stored always.
    template <class G>
    TWriterClassBuilder& Property(const std::string& name, G getter)
    {
        return Stored(name, getter, nullptr);
    }
    // Stored when the value differs from `value`.
    template <class G, class V>
    TWriterClassBuilder& Default(const std::string& name, G getter, V value)
    {
        return Stored(name, getter, [getter, value](T* c) { return !(std::invoke(getter, c) == value); });
    }
    // Stored when `stored` says so.
    template <class G>
    TWriterClassBuilder& Stored(const std::string& name, G getter, std::function<bool(T*)> stored)
    {
        FClass.Add(
            name, [getter](TComponent* c) { return FormWriterDetail::ToFormValue(std::invoke(getter, Cast(c))); },
            Rule(std::move(stored)));
        return *this;
    }
    // An enumeration written by name; `names` in value order.
    template <class G, class E>
    TWriterClassBuilder& Enum(const std::string& name, G getter, std::vector<std::string> names, E defaultValue)
    {
        FClass.Add(
            name,
            [getter, names](TComponent* c) {
                return FormIdent(FormWriterDetail::EnumName(static_cast<int>(std::invoke(getter, Cast(c))), names));
            },
            Rule([getter, defaultValue](T* c) { return std::invoke(getter, c) != defaultValue; }));
        return *this;
    }
    // A set written by member names; `names` in value order.
    template <class G, class E>
    TWriterClassBuilder& Set(const std::string& name, G getter, std::vector<std::string> names, TSet<E> defaultValue)
    {
        FClass.Add(
            name,
            [getter, names](TComponent* c) {
                const TSet<E> value = std::invoke(getter, Cast(c));
                std::vector<std::string> items;
                for (std::size_t i = 0; i < names.size(); ++i)
                    if (value.Contains(static_cast<E>(i)))
                        items.push_back(names[i]);
                return FormSet(std::move(items));
            },
            Rule([getter, defaultValue](T* c) { return !(std::invoke(getter, c) == defaultValue); }));
        return *this;
    }
    TWriterClassBuilder& Unpublish(const std::string& name)
    {
        FClass.Remove(name);
        return *this;
    }

private:
    static T* Cast(TComponent* c)
    {
        auto* typed = dynamic_cast<T*>(c);
        if (!typed)
            RaiseInvalidCast();
        return typed;
    }
    static TWriterClass::TStored Rule(std::function<bool(T*)> stored)
    {
        if (!stored)
            return {};
        return [stored](TComponent* c) { return stored(Cast(c)); };
    }

    TWriterClass& FClass;
};

TWriterClass& RegisterWriterClassEntry(std::unique_ptr<TWriterClass> entry);

// Registers (or extends) the writer table of class T.
template <class T>
TWriterClassBuilder<T> RegisterWriterClass(const std::string& name)
{
    static_assert(std::is_base_of_v<TComponent, T>, "only components are written");
    return TWriterClassBuilder<T>(
        RegisterWriterClassEntry(std::make_unique<TWriterClass>(name, TClassIdentity::Of<T>())));
}

// The most derived registered class of `c`, or nullptr.
const TWriterClass* FindWriterClassFor(const TComponent* c);
// The properties of `c` in written order, after the stored rules, each
// value read once.
std::vector<TFormProperty> WriteProperties(TComponent* c);
// `c` alone, without nested components.
TFormNode WriteComponentNode(TComponent* c);
// Where a component nests in a description (a control's parent), or nullptr.
using TParentOf = std::function<TComponent*(TComponent*)>;
// `root` with the components it owns nested under it: each under the
// component `parentOf` names when that is `root` or owned by it, anything
// else directly under `root`. Raises EInvalidOperation for a class without
// a table.
TFormNode WriteComponent(TComponent* root, const TParentOf& parentOf = nullptr);
