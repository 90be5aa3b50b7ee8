#pragma once

// The reader that builds components from a parsed form description, by the
// class tables of framework/ComponentClass.h (filled through
// framework/ClassTable.h). Window-free.

#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <type_traits>
#include <typeindex>
#include <utility>
#include <vector>

#include "framework/Component.h"
#include "framework/ComponentClass.h"
#include "framework/FormParser.h"
#include "framework/Sets.h"

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
constexpr bool IsReference =
    std::is_pointer_v<V>&& std::is_base_of_v<TComponent, std::remove_cv_t<std::remove_pointer_t<V>>>;

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
