// Reading descriptions into components through the class registry.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/ClassTable.h"
#include "framework/FormReader.h"

namespace {

enum TTestKind { tkPlain, tkFancy };
enum TTestFlag { tfOne, tfTwo, tfThree };
using TTestFlags = TSet<TTestFlag>;

std::vector<std::string> Events;

class TThing : public TComponent {
public:
    using TComponent::TComponent;
    void SetCount(int v)
    {
        Count = v;
        Events.push_back(Name() + ".Count" + (IsLoading() ? " loading" : ""));
    }
    void SetLabel(const std::string& v) { Label = "base:" + v; }
    void SetOn(bool v) { On = v; }
    void SetKind(TTestKind v) { Kind = v; }
    void SetFlags(TTestFlags v) { Flags = v; }
    void SetPeer(TThing* v)
    {
        Peer = v;
        Events.push_back(Name() + ".Peer " + (v ? v->Name() : "nil"));
    }
    void SetSmall(std::uint8_t v) { Small = v; }
    void SetParentComponent(TComponent* Value) override { Parent = Value; }
    void Loaded() override
    {
        TComponent::Loaded();
        Events.push_back(Name() + ".Loaded" + (Peer ? " peer " + Peer->Name() : ""));
    }

    int Count = 0;
    std::string Label;
    bool On = false;
    TTestKind Kind = tkPlain;
    TTestFlags Flags;
    TThing* Peer = nullptr;
    std::uint8_t Small = 0;
    TComponent* Parent = nullptr;
    TNotifyEvent OnPing;
};

class TFancyThing : public TThing {
public:
    using TThing::TThing;
    void SetFancyLabel(const std::string& v) { Label = "fancy:" + v; }
};

class TRoot : public TThing {
public:
    TRoot() : TThing(nullptr)
    {
        Publish("First", First);
        Publish("Ping", &TRoot::Ping);
        Publish("Mismatch", &TRoot::Mismatch);
    }
    void Ping(TComponent* sender) { Pinged = sender; }
    void Mismatch(int) {}
    TThing* First = nullptr;
    TComponent* Pinged = nullptr;
};

void RegisterTestClasses()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    // The derived class first: its Label must still win over the base's.
    RegisterComponentClass<TFancyThing, TThing>("TFancyThing")
        .Property("Label", &TFancyThing::SetFancyLabel)
        .Unpublish("Small");
    RegisterComponentClass<TThing>("TThing")
        .Property("Count", &TThing::SetCount)
        .Property("Label", &TThing::SetLabel)
        .Property("On", &TThing::SetOn)
        .Property("Kind", &TThing::SetKind)
        .Property("Flags", &TThing::SetFlags)
        .Property("Peer", &TThing::SetPeer)
        .Property("Small", &TThing::SetSmall)
        .Property("Inner.Count", [](TThing* t, int v) { t->Count = v * 10; })
        .Property("Refuse", [](TThing*, const std::string& v) { throw EVxError(v); })
        .Property("Stream", [](TThing*, bool) { throw EReadError("Stream read error"); })
        .Property("OnPing", [](TThing* t, TNotifyEvent e) { t->OnPing = std::move(e); });
    RegisterComponentClass<TRoot, TThing>("TRoot");
    RegisterEnum<TTestKind>({{"tkPlain", tkPlain}, {"tkFancy", tkFancy}});
    RegisterEnum<TTestFlag>({{"tfOne", tfOne}, {"tfTwo", tfTwo}, {"tfThree", tfThree}});
    RegisterIntegerConstant("clTestBlue", 0xFF0000);
}

class FormReaderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterTestClasses();
        Events.clear();
    }
    std::string ErrorOf(const std::string& body)
    {
        TRoot root;
        try {
            ReadComponentDescription(&root, "TRoot Root {\n" + body + "\n}");
        } catch (const EReadError& e) {
            return e.Message();
        }
        return "no error";
    }
};

}  // namespace

TEST_F(FormReaderTest, ValuesPassThroughTheSettersByType)
{
    TRoot root;
    ReadComponentDescription(&root, R"(TRoot Root {
        Count = 0x10
        Label = "text"
        On = True
        Kind = tkFancy
        Flags = [tfOne, tfThree]
        Small = 255
        Inner.Count = 4
    })");
    EXPECT_EQ(root.Name(), "Root");
    EXPECT_EQ(root.Count, 40) << "the later Inner.Count wins";
    EXPECT_EQ(root.Label, "base:text");
    EXPECT_TRUE(root.On);
    EXPECT_EQ(root.Kind, tkFancy);
    EXPECT_EQ(root.Flags, (TTestFlags{tfOne, tfThree}));
    EXPECT_EQ(root.Small, 255);
}

TEST_F(FormReaderTest, IntegerConstantsAreNumbers)
{
    TRoot root;
    ReadComponentDescription(&root, "TRoot Root { Count = clTestBlue }");
    EXPECT_EQ(root.Count, 0xFF0000);
}

TEST_F(FormReaderTest, NestedComponentsAreOwnedByTheRootAndParentedByTheirEnclosure)
{
    TRoot root;
    ReadComponentDescription(&root, R"(TRoot Root {
        TThing First {
            TFancyThing Inner { Label = "x" }
        }
    })");
    ASSERT_EQ(root.ComponentCount(), 2);
    auto* first = dynamic_cast<TThing*>(root.FindComponent("First"));
    auto* inner = dynamic_cast<TFancyThing*>(root.FindComponent("Inner"));
    ASSERT_NE(first, nullptr);
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(root.First, first) << "published field bound";
    EXPECT_EQ(first->Parent, &root);
    EXPECT_EQ(inner->Parent, first);
    EXPECT_EQ(inner->Owner(), &root);
    EXPECT_EQ(inner->Label, "fancy:x") << "the derived class's property overrides the base's";
}

TEST_F(FormReaderTest, ReferencesResolveOnceTheirComponentIsReadAndAllBeforeLoaded)
{
    TRoot root;
    ReadComponentDescription(&root, R"(TRoot Root {
        Peer = Later
        Count = 1
        TThing Early { Peer = Root  Count = 2 }
        TThing Later { Count = 3 }
        TThing Last { Count = 4 }
    })");
    EXPECT_EQ(root.Peer, root.FindComponent("Later"));
    EXPECT_EQ(dynamic_cast<TThing*>(root.FindComponent("Early"))->Peer, &root);
    // A sibling read later is set as soon as it is read; the root, never
    // read as a child, once every component exists.
    EXPECT_EQ(Events, (std::vector<std::string>{"Root.Count loading", "Early.Count loading", "Later.Count loading",
                                                "Root.Peer Later", "Last.Count loading", "Early.Peer Root",
                                                "Early.Loaded peer Root", "Later.Loaded", "Last.Loaded",
                                                "Root.Loaded peer Later"}));
    EXPECT_FALSE(root.IsLoading());
    EXPECT_FALSE(root.FindComponent("Early")->IsLoading());
}

TEST_F(FormReaderTest, EventsBindToTheRootsHandlersByName)
{
    TRoot root;
    ReadComponentDescription(&root, "TRoot Root { TThing First { OnPing = ping } }");
    ASSERT_TRUE(root.First->OnPing);
    root.First->OnPing(root.First);
    EXPECT_EQ(root.Pinged, root.First);
}

TEST_F(FormReaderTest, ErrorsNameTheComponentPropertyAndCause)
{
    const std::pair<const char*, const char*> cases[] = {
        {"Colour = 1", "Error reading Root.Colour: Property Colour does not exist"},
        {"TNoSuch X {}", "Class TNoSuch not found"},
        {"Small = 256", "Value 256 out of range"},
        {"Small = -1", "Value -1 out of range"},
        {"Count = 2147483648", "out of range"},
        {"Count = \"1\"", "a string where a number is expected"},
        {"Count = clNoSuch", "Unknown value clNoSuch"},
        {"On = yes", "true or false"},
        {"Kind = tkOther", "Unknown value tkOther"},
        {"Flags = [tfOne, tfFour]", "Unknown value tfFour"},
        {"Flags = tfOne", "a set"},
        {"Peer = Nobody", "Component Nobody not found"},
        {"OnPing = Pong", "Handler Pong not found"},
        {"OnPing = Mismatch", "Handler Mismatch does not fit the event"},
        {"TThing A {}\nTThing a {}", "already exists"},
        {"Label = 1", "line 2"},
    };
    for (const auto& [body, expected] : cases) {
        SCOPED_TRACE(body);
        const std::string error = ErrorOf(body);
        EXPECT_NE(error.find(expected), std::string::npos) << error;
    }
}

TEST_F(FormReaderTest, ASettersOwnErrorReachesTheCallerAsItIs)
{
    TRoot root;
    try {
        ReadComponentDescription(&root, "TRoot Root {\n TThing A { Refuse = \"No version here\" }\n}");
        ADD_FAILURE() << "no error";
    } catch (const EReadError& e) {
        ADD_FAILURE() << "wrapped: " << e.Message();
    } catch (const EVxError& e) {
        EXPECT_EQ(e.Message(), "No version here");
    }
    // Even a read error of the setter's own is not given the reader's words.
    EXPECT_EQ(ErrorOf("Stream = true"), "Stream read error");
    // Unlike a value the description gets wrong.
    EXPECT_EQ(ErrorOf("Stream = 1"),
              "Error reading Root.Stream (line 2): Invalid property value: a number where true or false is expected");
}

TEST_F(FormReaderTest, AnUnpublishedPropertyDoesNotExistForTheClassAndItsDescendants)
{
    EXPECT_EQ(ErrorOf("TFancyThing F { Small = 1 }"), "Error reading F.Small: Property Small does not exist");
    EXPECT_EQ(ErrorOf("TThing T { Small = 1 }"), "no error");
}

TEST_F(FormReaderTest, AReferenceOfTheWrongClassIsRefused)
{
    RegisterComponentClass<TComponent>("TPlainComponent");
    EXPECT_NE(ErrorOf("TPlainComponent Plain {}\nPeer = Plain").find("Invalid class typecast"), std::string::npos);
}

TEST_F(FormReaderTest, AComponentOfTheWrongClassForItsPublishedFieldIsAReadError)
{
    RegisterComponentClass<TComponent>("TPlainComponent");
    TRoot root;
    try {
        ReadComponentDescription(&root, "TRoot Root {\n TPlainComponent First {}\n}");
        ADD_FAILURE() << "no error";
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), "Error reading First (line 2): Invalid class typecast");
    }
    EXPECT_EQ(root.First, nullptr);
    EXPECT_EQ(root.FindComponent("First"), nullptr) << "the component that does not fit stays";
}
