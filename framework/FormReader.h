#pragma once

// The class registry, per-class property tables and the reader that builds
// components from a parsed form description. Window-free.
//
// Registering a component class and its properties (usually at namespace
// scope in the class's .cpp file):
//
//   static const bool registered = (RegisterComponentClass<TVxHexViewer>("TVxHexViewer")
//       .Property("FileName", &TVxHexViewer::SetFileName)
//       .Property("AddressColor", &TVxHexViewer::SetAddressColor), true);
//
// A property's setter takes one argument; the value read is converted to
// that argument's type: bool (true / false), integers (numbers or registered
// integer constants such as clPurple, range-checked), registered enumerations
// and TSet of them, std::string, pointers to components (resolved by name
// after every component is created) and std::function events (bound to the
// handler of that name that the root component published, which must have
// exactly the event's signature). A lambda taking (T*, Arg) serves for paths
// such as "Font.Name". Properties of base classes apply to derived classes;
// a derived class's property overrides a base class's of the same name,
// whatever the order of registration.

#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <type_traits>
#include <typeindex>
#include <utility>
#include <vector>

#include "framework/ClassIdentity.h"
#include "framework/Component.h"
#include "framework/FormParser.h"
#include "framework/Sets.h"

class TReader;

using TPropertySetter = std::function<void(TComponent* Instance, const TFormValue& Value, TReader& Reader)>;

class TComponentClass {
public:
    using TFactory = std::function<TComponent*(TComponent* AOwner)>;

    TComponentClass(std::string name, TFactory factory, TClassIdentity identity);

    const std::string& Name() const { return FName; }
    bool CanCreate() const { return static_cast<bool>(FFactory); }
    TComponent* Create(TComponent* AOwner) const;
    bool Accepts(const TComponent* c) const { return FIdentity.Accepts(c); }
    // True when `other` is this class or derives from it.
    bool IsBaseOf(const TComponentClass& other) const { return FIdentity.IsBaseOf(other.FIdentity); }

    // Reference properties are applied after every component was created.
    TComponentClass& Property(const std::string& name, TPropertySetter setter, bool reference = false);
    template <class T, class Arg>
    TComponentClass& Property(const std::string& name, void (T::*setter)(Arg));
    template <class F>
    TComponentClass& Property(const std::string& name, F setter);
    // A base class's property this class does not publish: descriptions
    // naming it fail as for a property that does not exist.
    TComponentClass& Unpublish(const std::string& name) { return Property(name, TPropertySetter()); }

    struct TEntry {
        TPropertySetter Setter;
        bool Reference = false;
    };
    const TEntry* FindProperty(const std::string& name) const;

private:
    std::string FName;
    TFactory FFactory;
    TClassIdentity FIdentity;
    std::vector<std::pair<std::string, TEntry>> FProperties;
};

// Registers (or returns the existing entry for) a class; classes that can be
// built from an owner get a factory, abstract ones only a property table.
template <class T>
TComponentClass& RegisterComponentClass(const std::string& name);
TComponentClass* FindComponentClass(const std::string& name);

// The property of that name of the most derived registered class that
// `instance` belongs to and that has it; nullptr when none has it.
const TComponentClass::TEntry* FindPropertyFor(const TComponent* instance, const std::string& name);

// Named integer values of descriptions (colours, character sets, ...).
void RegisterIntegerConstant(const std::string& name, std::int64_t value);
bool FindIntegerConstant(const std::string& name, std::int64_t& value);

// Names of an enumeration's values, for properties of that type.
void RegisterEnumNames(std::type_index type, std::vector<std::pair<std::string, int>> names);
template <class E>
void RegisterEnum(std::vector<std::pair<std::string, E>> names);
bool FindEnumValue(std::type_index type, const std::string& name, int& value);

class TReader {
public:
    explicit TReader(TComponent* root);

    TComponent* Root() const { return FRoot; }
    // Applies the root's properties, creates and reads its nested
    // components (owned by the root), resolves references, then calls
    // Loaded on every nested component and last on the root.
    void ReadRoot(const TFormNode& node);

    // Conversions used by the property setters.
    std::int64_t ReadInteger(const TFormValue& value, std::int64_t min, std::int64_t max) const;
    bool ReadBoolean(const TFormValue& value) const;
    const std::string& ReadString(const TFormValue& value) const;
    int ReadEnum(const TFormValue& value, std::type_index type) const;
    std::uint32_t ReadSet(const TFormValue& value, std::type_index type) const;
    TComponent* ReadComponent(const TFormValue& value) const;
    const std::any& ReadHandler(const TFormValue& value) const;

    template <class V>
    V Read(const TFormValue& value) const;

    // Runs a property setter with its converted value. What the setter
    // raises is the component's own error and reaches the reader's caller
    // as it is; errors of the description itself become read errors.
    template <class F>
    void CallSetter(F&& setter);

private:
    void ReadNode(TComponent* instance, const TFormNode& node);
    void ReadChild(TComponent* parent, const TFormNode& node);
    void ApplyProperty(TComponent* instance, const TFormProperty& property, bool deferReferences);

    TComponent* FRoot;
    std::vector<TComponent*> FLoaded;
    struct TFixup {
        TComponent* Instance;
        const TFormProperty* Property;
    };
    std::vector<TFixup> FFixups;
    bool FSetterFailed = false;
};

// Parses `text` and reads it into `root` (see TReader::ReadRoot).
void ReadComponentDescription(TComponent* root, const std::string& text);

// --- templates --------------------------------------------------------------

namespace FormReaderDetail {
template <class>
struct IsSet : std::false_type {};
template <class E>
struct IsSet<TSet<E>> : std::true_type {
    using Item = E;
};
template <class>
struct IsFunction : std::false_type {};
template <class R, class... A>
struct IsFunction<std::function<R(A...)>> : std::true_type {};

template <class V>
constexpr bool IsReference = std::is_pointer_v<V> &&
                             std::is_base_of_v<TComponent, std::remove_cv_t<std::remove_pointer_t<V>>>;

template <class F>
struct LambdaArgs : LambdaArgs<decltype(&F::operator())> {};
template <class L, class T, class A>
struct LambdaArgs<void (L::*)(T*, A) const> {
    using Instance = T;
    using Arg = A;
};
}  // namespace FormReaderDetail

template <class V>
V TReader::Read(const TFormValue& value) const
{
    using namespace FormReaderDetail;
    if constexpr (std::is_same_v<V, bool>) {
        return ReadBoolean(value);
    } else if constexpr (std::is_enum_v<V>) {
        return static_cast<V>(ReadEnum(value, typeid(V)));
    } else if constexpr (std::is_integral_v<V>) {
        return static_cast<V>(ReadInteger(value, std::numeric_limits<V>::min(),
                                          static_cast<std::int64_t>(std::numeric_limits<V>::max())));
    } else if constexpr (std::is_same_v<V, std::string>) {
        return ReadString(value);
    } else if constexpr (IsSet<V>::value) {
        return V::FromBits(ReadSet(value, typeid(typename IsSet<V>::Item)));
    } else if constexpr (IsReference<V>) {
        TComponent* c = ReadComponent(value);
        if (!c)
            return nullptr;
        auto* typed = dynamic_cast<V>(c);
        if (!typed)
            RaiseInvalidCast();
        return typed;
    } else if constexpr (IsFunction<V>::value) {
        const V* handler = std::any_cast<V>(&ReadHandler(value));
        if (!handler)
            throw EReadError(Format("Handler %s does not fit the event", value.Text.c_str()));
        return *handler;
    } else {
        static_assert(sizeof(V) == 0, "no conversion from a form value to this type");
    }
}

template <class T, class Arg>
TComponentClass& TComponentClass::Property(const std::string& name, void (T::*setter)(Arg))
{
    using V = std::remove_cvref_t<Arg>;
    return Property(
        name,
        [setter](TComponent* instance, const TFormValue& value, TReader& reader) {
            auto* typed = dynamic_cast<T*>(instance);
            if (!typed)
                RaiseInvalidCast();
            auto converted = reader.Read<V>(value);
            reader.CallSetter([&] { (typed->*setter)(std::move(converted)); });
        },
        FormReaderDetail::IsReference<V>);
}

template <class F>
TComponentClass& TComponentClass::Property(const std::string& name, F setter)
{
    using T = typename FormReaderDetail::LambdaArgs<F>::Instance;
    using V = std::remove_cvref_t<typename FormReaderDetail::LambdaArgs<F>::Arg>;
    return Property(
        name,
        TPropertySetter([setter](TComponent* instance, const TFormValue& value, TReader& reader) {
            auto* typed = dynamic_cast<T*>(instance);
            if (!typed)
                RaiseInvalidCast();
            auto converted = reader.Read<V>(value);
            reader.CallSetter([&] { setter(typed, std::move(converted)); });
        }),
        FormReaderDetail::IsReference<V>);
}

template <class F>
void TReader::CallSetter(F&& setter)
{
    try {
        setter();
    } catch (...) {
        FSetterFailed = true;
        throw;
    }
}

TComponentClass& RegisterComponentClassEntry(std::unique_ptr<TComponentClass> entry);

template <class T>
TComponentClass& RegisterComponentClass(const std::string& name)
{
    static_assert(std::is_base_of_v<TComponent, T>, "only components are registered");
    TComponentClass::TFactory factory;
    if constexpr (!std::is_abstract_v<T> && std::is_constructible_v<T, TComponent*>)
        factory = [](TComponent* owner) -> TComponent* { return new T(owner); };
    return RegisterComponentClassEntry(
        std::make_unique<TComponentClass>(name, std::move(factory), TClassIdentity::Of<T>()));
}

template <class E>
void RegisterEnum(std::vector<std::pair<std::string, E>> names)
{
    std::vector<std::pair<std::string, int>> values;
    for (auto& [name, value] : names)
        values.emplace_back(name, static_cast<int>(value));
    RegisterEnumNames(typeid(E), std::move(values));
}
