#include "framework/FormWriter.h"

#include <algorithm>

namespace {

std::vector<std::unique_ptr<TWriterClass>>& WriterClasses()
{
    static std::vector<std::unique_ptr<TWriterClass>> classes;
    return classes;
}

// The registered classes `c` belongs to, bases first. They lie on one line
// of descent, so a class comes after every class that is its base.
std::vector<const TWriterClass*> LineOfDescent(const TComponent* c)
{
    std::vector<const TWriterClass*> line;
    for (const auto& cls : WriterClasses())
        if (cls->Accepts(c))
            line.push_back(cls.get());
    auto bases = [&line](const TWriterClass* cls) {
        return std::count_if(line.begin(), line.end(),
                             [cls](const TWriterClass* other) { return other != cls && other->IsBaseOf(*cls); });
    };
    std::stable_sort(line.begin(), line.end(),
                     [&bases](const TWriterClass* a, const TWriterClass* b) { return bases(a) < bases(b); });
    return line;
}

void WriteChildren(TComponent* root, TComponent* parent, TFormNode& node, const TParentOf& parentOf)
{
    for (int i = 0; i < root->ComponentCount(); ++i) {
        TComponent* c = root->Components(i);
        TComponent* nest = parentOf ? parentOf(c) : nullptr;
        if (nest != root && (!nest || nest->Owner() != root))
            nest = root;
        if (nest != parent)
            continue;
        node.Children.push_back(WriteComponentNode(c));
        WriteChildren(root, c, node.Children.back(), parentOf);
    }
}

}  // namespace

TWriterClass::TWriterClass(std::string name, TClassIdentity identity)
    : FName(std::move(name)), FIdentity(identity)
{
}

void TWriterClass::Add(std::string name, TGetter getter, TStored stored)
{
    for (TEntry& entry : FEntries)
        if (SameText(entry.Name, name)) {
            entry = TEntry{std::move(name), std::move(getter), std::move(stored), false};
            return;
        }
    FEntries.push_back(TEntry{std::move(name), std::move(getter), std::move(stored), false});
}

void TWriterClass::Remove(std::string name)
{
    for (TEntry& entry : FEntries)
        if (SameText(entry.Name, name)) {
            entry = TEntry{std::move(name), nullptr, nullptr, true};
            return;
        }
    FEntries.push_back(TEntry{std::move(name), nullptr, nullptr, true});
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

TWriterClass& RegisterWriterClassEntry(std::unique_ptr<TWriterClass> entry)
{
    for (auto& existing : WriterClasses())
        if (SameText(existing->Name(), entry->Name()))
            return *existing;
    WriterClasses().push_back(std::move(entry));
    return *WriterClasses().back();
}

const TWriterClass* FindWriterClassFor(const TComponent* c)
{
    const auto line = LineOfDescent(c);
    return line.empty() ? nullptr : line.back();
}

std::vector<TFormProperty> WriteProperties(TComponent* c)
{
    // Merge the tables: a derived entry takes the place of the base entry of
    // the same name.
    std::vector<TWriterClass::TEntry> merged;
    for (const TWriterClass* cls : LineOfDescent(c))
        for (const auto& entry : cls->Entries()) {
            auto same = std::find_if(merged.begin(), merged.end(),
                                     [&entry](const auto& m) { return SameText(m.Name, entry.Name); });
            if (same != merged.end())
                *same = entry;
            else
                merged.push_back(entry);
        }
    std::vector<TFormProperty> properties;
    for (const auto& entry : merged) {
        if (entry.Removed || (entry.IsStored && !entry.IsStored(c)))
            continue;
        TFormProperty property;
        property.Path = entry.Name;
        property.Value = entry.Get(c);
        properties.push_back(std::move(property));
    }
    return properties;
}

TFormNode WriteComponentNode(TComponent* c)
{
    const TWriterClass* cls = FindWriterClassFor(c);
    if (!cls)
        throw EInvalidOperation(Format("Cannot write %s: its class is not registered", c->Name().c_str()));
    TFormNode node;
    node.ClassName = cls->Name();
    node.Name = c->Name();
    node.Properties = WriteProperties(c);
    return node;
}

TFormNode WriteComponent(TComponent* root, const TParentOf& parentOf)
{
    TFormNode node = WriteComponentNode(root);
    WriteChildren(root, root, node, parentOf);
    return node;
}
