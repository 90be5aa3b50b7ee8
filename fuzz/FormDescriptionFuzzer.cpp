// Any text as a form description: it either parses or raises EReadError, and
// what parses writes back to text that parses the same. Parsed descriptions
// are then read into components through class tables with every kind of
// property, so the reader may raise only read errors and the one error a
// setter raises of its own; what it builds is whole: each component owned by
// the root, loaded once and no longer loading, every reference on a live one.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "framework/ClassTable.h"
#include "framework/FormParser.h"
#include "framework/FormReader.h"

namespace {

enum TFuzzKind { fkPlain, fkFancy, fkHigh = 40 };
enum TFuzzFlag { ffOne, ffTwo, ffLast = 31, ffBeyond = 32 };
using TFuzzFlags = TSet<TFuzzFlag>;

const char* const SetterError = "refused by its setter";

class TFuzzThing : public TComponent {
public:
    using TComponent::TComponent;
    void SetCount(std::int32_t v) { Count = v; }
    void SetSmall(std::uint8_t v) { Count = v; }
    void SetSigned(std::int8_t v) { Count = v; }
    void SetWide(std::int64_t v) { Wide = v; }
    void SetUnsigned(std::uint32_t v) { Wide = v; }
    void SetLabel(const std::string& v) { Label = v; }
    void SetOn(bool v) { On = v; }
    void SetKind(TFuzzKind v) { Kind = v; }
    void SetFlags(TFuzzFlags v) { Flags = v; }
    void SetPeer(TFuzzThing* v) { Peer = v; }
    void SetAny(TComponent* v) { Any = v; }
    void SetParentComponent(TComponent* Value) override { Parent = Value; }
    void Loaded() override
    {
        TComponent::Loaded();
        ++LoadedCalls;
    }

    std::int32_t Count = 0;
    std::int64_t Wide = 0;
    std::string Label;
    bool On = false;
    TFuzzKind Kind = fkPlain;
    TFuzzFlags Flags;
    TFuzzThing* Peer = nullptr;
    TComponent* Any = nullptr;
    TComponent* Parent = nullptr;
    TNotifyEvent OnPing;
    int LoadedCalls = 0;
};

class TFuzzFancy : public TFuzzThing {
public:
    using TFuzzThing::TFuzzThing;
    void SetFancyLabel(const std::string& v) { Label = "fancy:" + v; }
};

class TFuzzOther : public TComponent {
public:
    using TComponent::TComponent;
    void Loaded() override
    {
        TComponent::Loaded();
        ++LoadedCalls;
    }
    int LoadedCalls = 0;
};

class TFuzzAbstract : public TComponent {
public:
    using TComponent::TComponent;
    virtual void Nothing() = 0;
};

class TFuzzRoot : public TFuzzThing {
public:
    TFuzzRoot() : TFuzzThing(nullptr)
    {
        Publish("First", First);
        Publish("Other", Other);
        Publish("Ping", &TFuzzRoot::Ping);
        Publish("Mismatch", &TFuzzRoot::Mismatch);
    }
    void Ping(TComponent*) {}
    void Mismatch(int) {}
    TFuzzThing* First = nullptr;
    TFuzzOther* Other = nullptr;
};

void RegisterClasses()
{
    // The derived class first: its Label must still win over the base's.
    RegisterComponentClass<TFuzzFancy, TFuzzThing>("TFuzzFancy")
        .Property("Label", &TFuzzFancy::SetFancyLabel)
        .Unpublish("Small");
    RegisterComponentClass<TFuzzThing>("TFuzzThing")
        .Property("Count", &TFuzzThing::SetCount)
        .Property("Small", &TFuzzThing::SetSmall)
        .Property("Signed", &TFuzzThing::SetSigned)
        .Property("Wide", &TFuzzThing::SetWide)
        .Property("Unsigned", &TFuzzThing::SetUnsigned)
        .Property("Label", &TFuzzThing::SetLabel)
        .Property("On", &TFuzzThing::SetOn)
        .Property("Kind", &TFuzzThing::SetKind)
        .Property("Flags", &TFuzzThing::SetFlags)
        .Property("Peer", &TFuzzThing::SetPeer)
        .Property("Any", &TFuzzThing::SetAny)
        .Property("Tag", [](TFuzzThing* t, std::int32_t v) { t->SetTag(v); })
        .Property("Font.Name", [](TFuzzThing* t, const std::string& v) { t->Label = v; })
        .Property("Refuse",
                  [](TFuzzThing*, bool v) {
                      if (v)
                          throw EVxError(SetterError);
                  })
        .Property("OnPing", [](TFuzzThing* t, TNotifyEvent e) { t->OnPing = std::move(e); });
    RegisterComponentClass<TFuzzOther>("TFuzzOther");
    RegisterComponentClass<TFuzzAbstract>("TFuzzAbstract");
    RegisterComponentClass<TFuzzRoot, TFuzzThing>("TFuzzRoot");
    RegisterEnum<TFuzzKind>({{"fkPlain", fkPlain}, {"fkFancy", fkFancy}, {"fkHigh", fkHigh}});
    RegisterEnum<TFuzzFlag>({{"ffOne", ffOne}, {"ffTwo", ffTwo}, {"ffLast", ffLast}, {"ffBeyond", ffBeyond}});
    RegisterIntegerConstant("clFuzzBlue", 0xFF0000);
    RegisterIntegerConstant("clFuzzHuge", std::int64_t{1} << 40);
    RegisterIntegerConstant("clFuzzLow", -129);
}

bool OwnedByRoot(const TFuzzRoot& root, const TComponent* c)
{
    if (!c || c == &root)
        return true;
    for (int i = 0; i < root.ComponentCount(); ++i)
        if (root.Components(i) == c)
            return true;
    return false;
}

void CheckWhole(const TFuzzRoot& root)
{
    if (root.LoadedCalls != 1 || root.IsLoading())
        std::abort();
    for (int i = 0; i < root.ComponentCount(); ++i) {
        TComponent* c = root.Components(i);
        if (c->Owner() != &root || c->IsLoading())
            std::abort();
        if (auto* thing = dynamic_cast<TFuzzThing*>(c)) {
            if (thing->LoadedCalls != 1 || !OwnedByRoot(root, thing->Peer) || !OwnedByRoot(root, thing->Any) ||
                !thing->Parent || !OwnedByRoot(root, thing->Parent))
                std::abort();
        } else if (auto* other = dynamic_cast<TFuzzOther*>(c)) {
            if (other->LoadedCalls != 1)
                std::abort();
        }
    }
    if (!OwnedByRoot(root, root.Peer) || !OwnedByRoot(root, root.Any))
        std::abort();
    if (root.First && !SameText(root.First->Name(), "First"))
        std::abort();
    if (root.Other && !SameText(root.Other->Name(), "Other"))
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool registered = (RegisterClasses(), true);
    (void)registered;

    const std::string text(reinterpret_cast<const char*>(data), size);
    TFormNode node;
    try {
        node = ParseFormDescription(text);
    } catch (const EReadError&) {
        return 0;
    }
    if (!(ParseFormDescription(WriteFormDescription(node)) == node))
        std::abort();

    TFuzzRoot root;
    try {
        TReader(&root).ReadRoot(node);
    } catch (const EReadError&) {
        return 0;
    } catch (const EVxError& e) {
        if (e.Message() != SetterError)
            std::abort();
        return 0;
    }
    CheckWhole(root);
    return 0;
}
