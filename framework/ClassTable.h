#pragma once

// Filling a component class's table (framework/ComponentClass.h), typed.
// One table per class, in the registration function of its module:
//
//   RegisterComponentClass<TButton, TWinControl>("TButton")
//       .Property("Cancel", &TButton::Cancel, &TButton::SetCancel).Default(false)
//       .Property("OnClick", [](TButton* b, TNotifyEvent e) { b->OnClick = std::move(e); })
//       .Redeclare("TabStop").Default(true);
//
// The second template argument is the nearest registered class T derives
// from; a class without one is a root. A base may be registered after its
// derived classes, but before the table is used.
//
// Property(name, setter) is read from descriptions and never written;
// Property(name, getter, setter) is read and written, stored always unless a
// rule follows it: Default(value) stores it when it differs from `value`,
// StoredWhen(rule) when the rule says so, NeverStored() never. Redeclare
// names a base's property again for a new rule; Unpublish withdraws it.
//
// The value read is converted to the setter's argument type: bool (true /
// false), integers (numbers or registered integer constants such as
// clPurple, range-checked), registered enumerations and TSet of them,
// std::string, pointers to components (resolved by name after every
// component is created) and std::function events (bound to the handler of
// that name that the root component published, which must have exactly the
// event's signature). A setter is a member function taking one argument or
// a lambda taking (T*, Arg), which serves for paths such as "Font.Name";
// a getter is a const member function or a lambda taking (T*). Enumerations
// and sets are written by the names registered with RegisterEnum.

#include <functional>
#include <string>
#include <type_traits>
#include <typeindex>
#include <utility>
#include <vector>

#include "framework/ComponentClass.h"
#include "framework/FormReader.h"
#include "framework/Sets.h"

namespace ClassTableDetail {

template <class F>
struct CallTraits : CallTraits<decltype(&F::operator())> {};
template <class C, class A>
struct CallTraits<void (C::*)(A)> {
    using Instance = C;
    using Arg = A;
};
template <class L, class C, class A>
struct CallTraits<void (L::*)(C*, A) const> {
    using Instance = C;
    using Arg = A;
};
template <class R, class C>
struct CallTraits<R (C::*)() const> {
    using Instance = C;
};
template <class R, class C>
struct CallTraits<R (C::*)()> {
    using Instance = C;
};
template <class L, class R, class C>
struct CallTraits<R (L::*)(C*) const> {
    using Instance = C;
};

template <class C>
C* Cast(TComponent* c)
{
    auto* typed = dynamic_cast<C*>(c);
    if (!typed)
        RaiseInvalidCast();
    return typed;
}

template <class V>
TFormValue ToFormValue(const V& value)
{
    if constexpr (std::is_same_v<V, bool>) {
        return FormBoolean(value);
    } else if constexpr (std::is_enum_v<V>) {
        const int number = static_cast<int>(value);
        const std::string* name = FindEnumName(typeid(V), number);
        return FormIdent(name ? *name : std::to_string(number));
    } else if constexpr (std::is_integral_v<V>) {
        return FormInteger(static_cast<std::int64_t>(value));
    } else if constexpr (FormReaderDetail::IsSet<V>::value) {
        using E = typename FormReaderDetail::IsSet<V>::Item;
        std::vector<std::string> items;
        for (int bit = 0; bit < 32; ++bit)
            if (value.Contains(static_cast<E>(bit)))
                if (const std::string* name = FindEnumName(typeid(E), bit))
                    items.push_back(*name);
        return FormSet(std::move(items));
    } else if constexpr (std::is_convertible_v<V, std::string>) {
        return FormString(std::string(value));
    } else {
        static_assert(sizeof(V) == 0, "no form value for this type");
    }
}

template <class S>
TPropertyEntry SetterEntry(const std::string& name, S setter)
{
    using C = typename CallTraits<S>::Instance;
    using V = std::remove_cvref_t<typename CallTraits<S>::Arg>;
    TPropertyEntry entry;
    entry.Name = name;
    entry.Setter = [setter](TComponent* instance, const TFormValue& value, TReader& reader) {
        C* typed = Cast<C>(instance);
        auto converted = reader.Read<V>(value);
        reader.CallSetter([&] { std::invoke(setter, typed, std::move(converted)); });
    };
    entry.Reference = FormReaderDetail::IsReference<V>;
    return entry;
}

template <class G>
TPropertyGetter Getter(G getter)
{
    using C = typename CallTraits<G>::Instance;
    return [getter](TComponent* c) {
        using V = std::remove_cvref_t<std::invoke_result_t<G, C*>>;
        return ToFormValue<V>(std::invoke(getter, Cast<C>(c)));
    };
}

}  // namespace ClassTableDetail

template <class T>
class TClassTable {
public:
    explicit TClassTable(TComponentClass& cls) : FClass(cls) {}

    TComponentClass& Class() const { return FClass; }

    template <class S>
    TClassTable& Property(const std::string& name, S setter)
    {
        FClass.Add(ClassTableDetail::SetterEntry(name, setter));
        FLast = name;
        return *this;
    }
    template <class G, class S>
    TClassTable& Property(const std::string& name, G getter, S setter)
    {
        TPropertyEntry entry = ClassTableDetail::SetterEntry(name, setter);
        entry.Getter = ClassTableDetail::Getter(getter);
        entry.Stored = [](TComponent*, const TPropertyGetter&) { return true; };
        FClass.Add(std::move(entry));
        FLast = name;
        return *this;
    }
    TClassTable& Redeclare(const std::string& name)
    {
        FLast = name;
        return *this;
    }
    template <class V>
    TClassTable& Default(V value)
    {
        // Compared as written, so the rule holds for a base's getter too.
        return Rule([value](TComponent* c, const TPropertyGetter& get) {
            return !(get(c) == ClassTableDetail::ToFormValue<V>(value));
        });
    }
    TClassTable& StoredWhen(std::function<bool(T*)> rule)
    {
        return Rule([rule](TComponent* c, const TPropertyGetter&) { return rule(ClassTableDetail::Cast<T>(c)); });
    }
    TClassTable& NeverStored()
    {
        return Rule([](TComponent*, const TPropertyGetter&) { return false; });
    }
    TClassTable& Unpublish(const std::string& name)
    {
        TPropertyEntry entry;
        entry.Name = name;
        entry.Unpublished = true;
        FClass.Add(std::move(entry));
        FLast.clear();
        return *this;
    }

private:
    TClassTable& Rule(TStoredRule rule)
    {
        if (FLast.empty())
            throw EInvalidOperation(Format("A storage rule of %s names no property", FClass.Name().c_str()));
        TPropertyEntry entry;
        entry.Name = FLast;
        entry.Stored = std::move(rule);
        FClass.Add(std::move(entry));
        return *this;
    }

    TComponentClass& FClass;
    std::string FLast;
};

// Registers class T under `name`, with TBase as its registered base (void
// for a root), or returns the table registered already under that name.
template <class T, class TBase = void>
TClassTable<T> RegisterComponentClass(const std::string& name)
{
    static_assert(std::is_base_of_v<TComponent, T>, "only components are registered");
    std::optional<std::type_index> base;
    if constexpr (!std::is_void_v<TBase>) {
        static_assert(std::is_base_of_v<TBase, T> && !std::is_same_v<TBase, T>, "the base must be a base of T");
        base = typeid(TBase);
    }
    TComponentClass::TFactory factory = nullptr;
    if constexpr (!std::is_abstract_v<T> && std::is_constructible_v<T, TComponent*>)
        factory = [](TComponent* owner) -> TComponent* { return new T(owner); };
    TComponentClass::TMatcher matcher = [](const TComponent* c) { return dynamic_cast<const T*>(c) != nullptr; };
    return TClassTable<T>(RegisterComponentClassEntry(TComponentClass(name, typeid(T), base, factory, matcher)));
}

template <class E>
void RegisterEnum(std::vector<std::pair<std::string, E>> names)
{
    std::vector<std::pair<std::string, int>> values;
    for (auto& [name, value] : names)
        values.emplace_back(name, static_cast<int>(value));
    RegisterEnumNames(typeid(E), std::move(values));
}
