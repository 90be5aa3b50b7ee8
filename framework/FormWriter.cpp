#include "framework/FormWriter.h"

#include <string>

namespace {

const TComponentClass& ClassOf(const TComponent* c)
{
    const TComponentClass* cls = FindClassOf(c);
    if (!cls)
        throw EInvalidOperation(Format("Cannot write %s: its class is not registered", c->Name().c_str()));
    return *cls;
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

std::vector<TFormProperty> WritePropertiesOf(const TComponentClass& cls, TComponent* c)
{
    std::vector<TFormProperty> properties;
    for (const std::string& name : cls.PropertyNames()) {
        const auto entry = cls.Resolve(name);
        if (!entry || !entry->Written() || (entry->Stored && !(*entry->Stored)(c, *entry->Getter)))
            continue;
        TFormProperty property;
        property.Path = name;
        property.Value = (*entry->Getter)(c);
        properties.push_back(std::move(property));
    }
    return properties;
}

}  // namespace

std::vector<TFormProperty> WriteProperties(TComponent* c)
{
    const TComponentClass* cls = FindClassOf(c);
    return cls ? WritePropertiesOf(*cls, c) : std::vector<TFormProperty>{};
}

TFormNode WriteComponentNode(TComponent* c)
{
    const TComponentClass& cls = ClassOf(c);
    TFormNode node;
    node.ClassName = cls.Name();
    node.Name = c->Name();
    node.Properties = WritePropertiesOf(cls, c);
    return node;
}

TFormNode WriteComponent(TComponent* root, const TParentOf& parentOf)
{
    TFormNode node = WriteComponentNode(root);
    WriteChildren(root, root, node, parentOf);
    return node;
}
