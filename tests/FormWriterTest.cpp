#include "framework/FormWriter.h"

#include "framework/ClassTable.h"
#include "framework/FormReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

enum TShade { shLight, shDark, shDeep };

class TThing : public TComponent {
public:
    using TComponent::TComponent;
    int Size() const { return FSize; }
    void SetSize(int v) { FSize = v; }
    const std::string& Label() const { return FLabel; }
    void SetLabel(const std::string& v) { FLabel = v; }
    bool Shown() const { return FShown; }
    void SetShown(bool v) { FShown = v; }
    TThing* Holder() const { return FHolder; }
    void SetHolder(TThing* v) { FHolder = v; }

private:
    int FSize = 0;
    std::string FLabel;
    bool FShown = true;
    TThing* FHolder = nullptr;
};

class TShadedThing : public TThing {
public:
    using TThing::TThing;
    TShade Shade() const { return FShade; }
    void SetShade(TShade v) { FShade = v; }
    TSet<TShade> Mix() const { return FMix; }
    void SetMix(TSet<TShade> v) { FMix = v; }
    int Reads = 0;

private:
    TShade FShade = shLight;
    TSet<TShade> FMix;
};

void Register()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    RegisterEnum<TShade>({{"shLight", shLight}, {"shDark", shDark}, {"shDeep", shDeep}});
    // Registered derived-first on purpose: the order of the tables follows
    // descent, not registration.
    RegisterComponentClass<TShadedThing, TThing>("TShadedThing")
        .Redeclare("Label")
        .StoredWhen([](TShadedThing* t) {
            ++t->Reads;
            return t->Label() != "plain";
        })
        .Property("Shade", &TShadedThing::Shade, &TShadedThing::SetShade)
        .Default(shLight)
        .Property("Mix", &TShadedThing::Mix, &TShadedThing::SetMix)
        .Default(TSet<TShade>{})
        .Unpublish("Shown");
    RegisterComponentClass<TThing>("TThing")
        .Property("Size", &TThing::Size, &TThing::SetSize)
        .Property("Label", &TThing::Label, &TThing::SetLabel)
        .StoredWhen([](TThing* t) { return !t->Label().empty(); })
        .Property("Shown", &TThing::Shown, &TThing::SetShown)
        .Default(true);
}

std::vector<std::string> Paths(const std::vector<TFormProperty>& properties)
{
    std::vector<std::string> paths;
    for (const auto& p : properties)
        paths.push_back(p.Path);
    return paths;
}

TEST(FormWriter, BaseTableFirstAndDerivedEntriesReplaceInPlace)
{
    Register();
    TShadedThing thing(nullptr);
    thing.SetLabel("x");
    thing.SetShade(shDeep);
    thing.SetShown(false);
    thing.SetMix(TSet<TShade>{shLight, shDeep});
    // Shown is not published by the derived class even though it differs.
    EXPECT_EQ(Paths(WriteProperties(&thing)), (std::vector<std::string>{"Size", "Label", "Shade", "Mix"}));
    EXPECT_EQ(thing.Reads, 1);
    const auto properties = WriteProperties(&thing);
    EXPECT_EQ(properties[2].Value.Kind, TFormValue::vkIdent);
    EXPECT_EQ(properties[2].Value.Text, "shDeep");
    EXPECT_EQ(properties[3].Value.Items, (std::vector<std::string>{"shLight", "shDeep"}));
}

TEST(FormWriter, StoredRulesLeaveOutDefaults)
{
    Register();
    TThing base(nullptr);
    EXPECT_EQ(Paths(WriteProperties(&base)), (std::vector<std::string>{"Size"}));
    base.SetShown(false);
    base.SetLabel("a");
    EXPECT_EQ(Paths(WriteProperties(&base)), (std::vector<std::string>{"Size", "Label", "Shown"}));

    TShadedThing shaded(nullptr);
    shaded.SetLabel("plain");
    EXPECT_EQ(Paths(WriteProperties(&shaded)), (std::vector<std::string>{"Size"}));
}

TEST(FormWriter, WrittenTextReadsBackIntoEqualComponents)
{
    Register();
    TThing root(nullptr);
    root.SetName("Root");
    root.SetSize(-7);
    auto* a = new TShadedThing(&root);
    a->SetName("A");
    a->SetLabel("quote \" and \\ and\nline");
    a->SetShade(shDark);
    a->SetMix(TSet<TShade>{shDark});
    auto* b = new TThing(&root);
    b->SetName("B");
    b->SetSize(12);
    b->SetHolder(a);
    auto* c = new TThing(&root);
    c->SetName("C");
    c->SetHolder(b);

    auto holderOf = [](TComponent* t) -> TComponent* {
        auto* thing = dynamic_cast<TThing*>(t);
        return thing ? thing->Holder() : nullptr;
    };
    const TFormNode node = WriteComponent(&root, holderOf);
    ASSERT_EQ(node.Children.size(), 1u);
    EXPECT_EQ(node.Children[0].Name, "A");
    ASSERT_EQ(node.Children[0].Children.size(), 1u);
    EXPECT_EQ(node.Children[0].Children[0].Name, "B");
    ASSERT_EQ(node.Children[0].Children[0].Children.size(), 1u);
    EXPECT_EQ(node.Children[0].Children[0].Children[0].Name, "C");

    TThing copy(nullptr);
    ReadComponentDescription(&copy, WriteFormDescription(node));
    auto* readA = dynamic_cast<TShadedThing*>(copy.FindComponent("A"));
    ASSERT_NE(readA, nullptr);
    EXPECT_EQ(readA->Label(), a->Label());
    EXPECT_EQ(readA->Shade(), shDark);
    EXPECT_EQ(readA->Mix(), TSet<TShade>{shDark});
    EXPECT_EQ(copy.Size(), -7);
    EXPECT_EQ(WriteComponent(&copy), WriteComponent(&root));
}

TEST(FormWriter, ComponentsWithoutParentOrOutsideTheRootNestUnderTheRoot)
{
    Register();
    TThing root(nullptr);
    TThing stranger(nullptr);
    stranger.SetName("Stranger");
    auto* a = new TThing(&root);
    a->SetName("A");
    a->SetHolder(&stranger);
    auto holderOf = [](TComponent* t) -> TComponent* { return static_cast<TThing*>(t)->Holder(); };
    const TFormNode node = WriteComponent(&root, holderOf);
    ASSERT_EQ(node.Children.size(), 1u);
    EXPECT_EQ(node.Children[0].Name, "A");
}

TEST(FormWriter, UnregisteredClassIsAnError)
{
    Register();
    TComponent root(nullptr);
    new TComponent(&root);
    EXPECT_THROW(WriteComponent(&root), EInvalidOperation);
}

TEST(FormWriter, OneTableServesReaderAndWriter)
{
    Register();
    TThing root(nullptr);
    ReadComponentDescription(&root, "TThing Root {\n TShadedThing A { Label = \"plain\" Shade = shDeep }\n}");
    auto* a = dynamic_cast<TShadedThing*>(root.FindComponent("A"));
    ASSERT_NE(a, nullptr);
    // The redeclared Label keeps the base's setter and getter, with the
    // derived rule; Shade is read and written by the names registered once.
    EXPECT_EQ(a->Label(), "plain");
    EXPECT_EQ(Paths(WriteProperties(a)), (std::vector<std::string>{"Size", "Shade"}));
    EXPECT_EQ(WriteProperties(a)[1].Value.Text, "shDeep");
    // What a class unpublishes is not read either.
    EXPECT_THROW(ReadComponentDescription(&root, "TThing Root {\n TShadedThing B { Shown = false }\n}"), EReadError);
}

TEST(FormWriter, AClassWhoseNamedBaseIsNotRegisteredIsAnError)
{
    Register();
    struct TUnregistered : TThing {
        using TThing::TThing;
    };
    struct TLost : TUnregistered {
        using TUnregistered::TUnregistered;
    };
    RegisterComponentClass<TLost, TUnregistered>("TLost");
    TLost lost(nullptr);
    try {
        WriteProperties(&lost);
        ADD_FAILURE() << "no error";
    } catch (const EInvalidOperation& e) {
        EXPECT_EQ(e.Message(), "The base class of TLost is not registered");
    }
}

}  // namespace
