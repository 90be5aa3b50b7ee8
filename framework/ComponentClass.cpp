#include "framework/ComponentClass.h"

#include <map>
#include <memory>

namespace {

struct TRegistry {
    // Tables stay where they are: classes point at their bases' tables.
    std::vector<std::unique_ptr<TComponentClass>> Classes;
    std::map<std::string, std::int64_t> Constants;
    std::map<std::type_index, std::vector<std::pair<std::string, int>>> Enums;
};

TRegistry& Registry()
{
    static TRegistry registry;
    return registry;
}

std::string Upper(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

const TComponentClass* FindClassOfType(std::type_index type)
{
    for (const auto& c : Registry().Classes)
        if (c->Type() == type)
            return c.get();
    return nullptr;
}

int Depth(const TComponentClass* c)
{
    int depth = 0;
    for (; c; c = c->Base())
        ++depth;
    return depth;
}

}  // namespace

TComponentClass::TComponentClass(std::string name, std::type_index type, std::optional<std::type_index> base,
                                 TFactory factory, TMatcher matcher)
    : FName(std::move(name)), FType(type), FBase(base), FFactory(factory), FMatcher(matcher)
{}

TComponent* TComponentClass::Create(TComponent* AOwner) const
{
    if (!FFactory)
        throw EReadError(Format("Cannot create an instance of %s", FName.c_str()));
    return FFactory(AOwner);
}

const TComponentClass* TComponentClass::Base() const
{
    if (!FBase)
        return nullptr;
    // Looked up on use, so a class may be registered before its base.
    const TComponentClass* base = FindClassOfType(*FBase);
    if (!base)
        throw EInvalidOperation(Format("The base class of %s is not registered", FName.c_str()));
    return base;
}

bool TComponentClass::IsBaseOf(const TComponentClass& other) const
{
    for (const TComponentClass* c = &other; c; c = c->Base())
        if (c == this)
            return true;
    return false;
}

void TComponentClass::Add(TPropertyEntry entry)
{
    for (TPropertyEntry& own : FEntries)
        if (SameText(own.Name, entry.Name)) {
            if (entry.Setter) {
                own.Setter = std::move(entry.Setter);
                own.Reference = entry.Reference;
            }
            if (entry.Getter)
                own.Getter = std::move(entry.Getter);
            if (entry.Stored)
                own.Stored = std::move(entry.Stored);
            own.Unpublished = entry.Unpublished;
            return;
        }
    FEntries.push_back(std::move(entry));
}

std::optional<TResolvedProperty> TComponentClass::Resolve(const std::string& name) const
{
    TResolvedProperty result;
    bool named = false;
    for (const TComponentClass* c = this; c; c = c->Base()) {
        for (const TPropertyEntry& entry : c->FEntries) {
            if (!SameText(entry.Name, name))
                continue;
            if (entry.Unpublished) {
                if (!named)
                    return std::nullopt;
                return result;
            }
            named = true;
            if (!result.Setter && entry.Setter) {
                result.Setter = &entry.Setter;
                result.Reference = entry.Reference;
            }
            if (!result.Getter && entry.Getter)
                result.Getter = &entry.Getter;
            if (!result.Stored && entry.Stored)
                result.Stored = &entry.Stored;
        }
    }
    if (!named)
        return std::nullopt;
    return result;
}

std::vector<std::string> TComponentClass::PropertyNames() const
{
    std::vector<const TComponentClass*> line;
    for (const TComponentClass* c = this; c; c = c->Base())
        line.insert(line.begin(), c);
    std::vector<std::string> names;
    for (const TComponentClass* c : line)
        for (const TPropertyEntry& entry : c->FEntries) {
            bool seen = false;
            for (const std::string& n : names)
                seen = seen || SameText(n, entry.Name);
            if (!seen)
                names.push_back(entry.Name);
        }
    return names;
}

TComponentClass& RegisterComponentClassEntry(TComponentClass entry)
{
    TRegistry& registry = Registry();
    for (auto& existing : registry.Classes)
        if (SameText(existing->Name(), entry.Name()))
            return *existing;
    registry.Classes.push_back(std::make_unique<TComponentClass>(std::move(entry)));
    return *registry.Classes.back();
}

TComponentClass* FindComponentClass(const std::string& name)
{
    for (auto& c : Registry().Classes)
        if (SameText(c->Name(), name))
            return c.get();
    return nullptr;
}

const TComponentClass* FindClassOf(const TComponent* instance)
{
    // The classes that accept one instance lie on one line of descent; the
    // deepest is the most derived. A tie keeps the first registered.
    const TComponentClass* best = nullptr;
    int bestDepth = 0;
    for (const auto& c : Registry().Classes) {
        if (!c->Accepts(instance))
            continue;
        const int depth = Depth(c.get());
        if (depth > bestDepth) {
            best = c.get();
            bestDepth = depth;
        }
    }
    return best;
}

void RegisterIntegerConstant(const std::string& name, std::int64_t value)
{
    Registry().Constants[Upper(name)] = value;
}

bool FindIntegerConstant(const std::string& name, std::int64_t& value)
{
    auto& constants = Registry().Constants;
    auto it = constants.find(Upper(name));
    if (it == constants.end())
        return false;
    value = it->second;
    return true;
}

void RegisterEnumNames(std::type_index type, std::vector<std::pair<std::string, int>> names)
{
    Registry().Enums[type] = std::move(names);
}

bool FindEnumValue(std::type_index type, const std::string& name, int& value)
{
    auto& enums = Registry().Enums;
    auto it = enums.find(type);
    if (it == enums.end())
        return false;
    for (const auto& [key, v] : it->second)
        if (SameText(key, name)) {
            value = v;
            return true;
        }
    return false;
}

const std::string* FindEnumName(std::type_index type, int value)
{
    auto& enums = Registry().Enums;
    auto it = enums.find(type);
    if (it == enums.end())
        return nullptr;
    for (const auto& [key, v] : it->second)
        if (v == value)
            return &key;
    return nullptr;
}

TFormValue FormInteger(std::int64_t value)
{
    TFormValue v;
    v.Kind = TFormValue::vkInteger;
    v.Integer = value;
    return v;
}

TFormValue FormBoolean(bool value)
{
    return FormIdent(value ? "true" : "false");
}

TFormValue FormString(std::string value)
{
    TFormValue v;
    v.Kind = TFormValue::vkString;
    v.Text = std::move(value);
    return v;
}

TFormValue FormIdent(std::string name)
{
    TFormValue v;
    v.Kind = TFormValue::vkIdent;
    v.Text = std::move(name);
    return v;
}

TFormValue FormSet(std::vector<std::string> items)
{
    TFormValue v;
    v.Kind = TFormValue::vkSet;
    v.Items = std::move(items);
    return v;
}
