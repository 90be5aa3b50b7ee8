#include "framework/FormReader.h"

namespace {

const char* KindName(TFormValue::TKind kind)
{
    switch (kind) {
    case TFormValue::vkInteger: return "a number";
    case TFormValue::vkString: return "a string";
    case TFormValue::vkIdent: return "a name";
    case TFormValue::vkSet: return "a set";
    }
    return "a value";
}

[[noreturn]] void WrongKind(const TFormValue& value, const char* expected)
{
    throw EReadError(Format("Invalid property value: %s where %s is expected", KindName(value.Kind), expected));
}

}  // namespace

TReader::TReader(TComponent* root) : FRoot(root)
{}

void TReader::ReadRoot(const TFormNode& node)
{
    FRoot->SetLoading(true);
    FLoaded.clear();
    FFixups.clear();
    if (!node.Name.empty())
        FRoot->SetName(node.Name);
    ReadNode(FRoot, node);
    for (const TFixup& fixup : FFixups)
        ApplyProperty(fixup.Instance, *fixup.Property, false);
    FLoaded.push_back(FRoot);
    for (TComponent* c : FLoaded) {
        c->Loaded();
        c->SetLoading(false);
    }
}

void TReader::ReadNode(TComponent* instance, const TFormNode& node)
{
    for (const TFormProperty& property : node.Properties)
        ApplyProperty(instance, property, true);
    for (const TFormNode& child : node.Children)
        ReadChild(instance, child);
}

void TReader::ReadChild(TComponent* parent, const TFormNode& node)
{
    const TComponentClass* cls = FindComponentClass(node.ClassName);
    if (!cls)
        throw EReadError(Format("Class %s not found", node.ClassName.c_str()));
    TComponent* c = cls->Create(FRoot);
    c->SetLoading(true);
    FLoaded.push_back(c);
    // A name taken already, or a published field of that name whose class
    // the component does not fit, is the description's error.
    try {
        c->SetName(node.Name);
        FRoot->BindField(c);
    } catch (const Exception& e) {
        delete c;
        FLoaded.pop_back();
        throw EReadError(Format("Error reading %s (line %d): %s", node.Name.c_str(), node.Line, e.Message().c_str()));
    }
    c->SetParentComponent(parent);
    ReadNode(c, node);
    // References to this component are set now, before later siblings are
    // made: a form can then make its window with the menu it names.
    for (auto it = FFixups.begin(); it != FFixups.end();) {
        const TFormValue& value = it->Property->Value;
        if (value.Kind == TFormValue::vkIdent && SameText(value.Text, c->Name())) {
            const TFixup fixup = *it;
            it = FFixups.erase(it);
            ApplyProperty(fixup.Instance, *fixup.Property, false);
        } else {
            ++it;
        }
    }
}

void TReader::ApplyProperty(TComponent* instance, const TFormProperty& property, bool deferReferences)
{
    const TComponentClass* cls = FindClassOf(instance);
    const auto entry = cls ? cls->Resolve(property.Path) : std::nullopt;
    const std::string& owner = instance->Name();
    if (!entry || !entry->Readable())
        throw EReadError(Format("Error reading %s.%s: Property %s does not exist", owner.c_str(), property.Path.c_str(),
                                property.Path.c_str()));
    if (entry->Reference && deferReferences) {
        FFixups.push_back(TFixup{instance, &property});
        return;
    }
    FSetterFailed = false;
    try {
        (*entry->Setter)(instance, property.Value, *this);
    } catch (const Exception& e) {
        if (FSetterFailed)
            throw;
        throw EReadError(Format("Error reading %s.%s (line %d): %s", owner.c_str(), property.Path.c_str(),
                                property.Line, e.Message().c_str()));
    }
}

std::int64_t TReader::ReadInteger(const TFormValue& value, std::int64_t min, std::int64_t max) const
{
    std::int64_t result = value.Integer;
    if (value.Kind == TFormValue::vkIdent) {
        if (!FindIntegerConstant(value.Text, result))
            throw EReadError(Format("Unknown value %s", value.Text.c_str()));
    } else if (value.Kind != TFormValue::vkInteger) {
        WrongKind(value, "a number");
    }
    if (result < min || result > max)
        throw EReadError(Format("Value %lld out of range", static_cast<long long>(result)));
    return result;
}

bool TReader::ReadBoolean(const TFormValue& value) const
{
    if (value.Kind == TFormValue::vkIdent) {
        if (SameText(value.Text, "true"))
            return true;
        if (SameText(value.Text, "false"))
            return false;
    }
    WrongKind(value, "true or false");
}

const std::string& TReader::ReadString(const TFormValue& value) const
{
    if (value.Kind != TFormValue::vkString)
        WrongKind(value, "a string");
    return value.Text;
}

int TReader::ReadEnum(const TFormValue& value, std::type_index type) const
{
    if (value.Kind != TFormValue::vkIdent)
        WrongKind(value, "a name");
    int result = 0;
    if (!FindEnumValue(type, value.Text, result))
        throw EReadError(Format("Unknown value %s", value.Text.c_str()));
    return result;
}

std::uint32_t TReader::ReadSet(const TFormValue& value, std::type_index type) const
{
    if (value.Kind != TFormValue::vkSet)
        WrongKind(value, "a set");
    std::uint32_t bits = 0;
    for (const std::string& item : value.Items) {
        int bit = 0;
        if (!FindEnumValue(type, item, bit) || bit < 0 || bit >= 32)
            throw EReadError(Format("Unknown value %s", item.c_str()));
        bits |= std::uint32_t{1} << bit;
    }
    return bits;
}

TComponent* TReader::ReadComponent(const TFormValue& value) const
{
    if (value.Kind != TFormValue::vkIdent)
        WrongKind(value, "a component name");
    if (SameText(value.Text, "nil"))
        return nullptr;
    if (SameText(value.Text, FRoot->Name()))
        return FRoot;
    if (TComponent* c = FRoot->FindComponent(value.Text))
        return c;
    throw EReadError(Format("Component %s not found", value.Text.c_str()));
}

const std::any& TReader::ReadHandler(const TFormValue& value) const
{
    if (value.Kind != TFormValue::vkIdent)
        WrongKind(value, "a handler name");
    if (const std::any* handler = FRoot->FindHandler(value.Text))
        return *handler;
    throw EReadError(Format("Handler %s not found", value.Text.c_str()));
}

void ReadComponentDescription(TComponent* root, const std::string& text)
{
    TReader(root).ReadRoot(ParseFormDescription(text));
}
