// Ownership, names, notifications and published fields of components.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/Component.h"

namespace {

std::vector<std::string> Log;

class TLogged : public TComponent {
public:
    TLogged(TComponent* owner, const std::string& name) : TComponent(owner) { SetName(name); }
    ~TLogged() override { Log.push_back("destroy " + Name() + (IsDestroying() ? " destroying" : "")); }
    void Notification(TComponent* c, TOperation op) override
    {
        TComponent::Notification(c, op);
        Log.push_back(Name() + (op == opInsert ? " +" : " -") + c->Name());
    }
};

class TRoot : public TComponent {
public:
    TRoot() : TComponent(nullptr)
    {
        Publish("First", First);
        Publish("Ping", &TRoot::Ping);
    }
    TLogged* First = nullptr;
    int Pings = 0;
    void Ping(TComponent*) { ++Pings; }
};

class ComponentTest : public ::testing::Test {
protected:
    void SetUp() override { Log.clear(); }
};

}  // namespace

TEST_F(ComponentTest, OwnerDestroysWhatItOwnsNewestFirstWhileMarkedDestroying)
{
    auto* owner = new TLogged(nullptr, "owner");
    new TLogged(owner, "a");
    new TLogged(owner, "b");
    Log.clear();
    delete owner;
    // The owner's own destructor body runs first; then its components go,
    // newest first, each announced to those still there.
    EXPECT_EQ(Log, (std::vector<std::string>{"destroy owner", "a -b", "destroy b destroying", "destroy a destroying"}));
}

TEST_F(ComponentTest, JoiningAndLeavingAreAnnouncedToTheOtherComponents)
{
    TLogged owner(nullptr, "owner");
    auto* a = new TLogged(&owner, "a");
    auto* b = new TLogged(&owner, "b");
    // Insertion is announced while the newcomer is being built, before it has a name.
    EXPECT_EQ(Log, (std::vector<std::string>{"owner +", "a +", "owner +"}));
    Log.clear();
    delete a;
    EXPECT_EQ(Log, (std::vector<std::string>{"destroy a", "b -a", "owner -a"}));
    EXPECT_EQ(owner.ComponentCount(), 1);
    EXPECT_EQ(owner.Components(0), b);
}

TEST_F(ComponentTest, FreeNotificationReachesComponentsOfAnotherOwner)
{
    TLogged left(nullptr, "left");
    TLogged right(nullptr, "right");
    auto* watched = new TLogged(&left, "watched");
    auto* watcher = new TLogged(&right, "watcher");
    watched->FreeNotification(watcher);
    Log.clear();
    delete watched;
    EXPECT_NE(std::find(Log.begin(), Log.end(), "watcher -watched"), Log.end());
}

TEST_F(ComponentTest, AWatcherDestroyedFirstIsNotToldLater)
{
    TLogged left(nullptr, "left");
    auto* watched = new TLogged(&left, "watched");
    auto* watcher = new TLogged(nullptr, "watcher");
    watched->FreeNotification(watcher);
    delete watcher;  // the sanitizers catch a later call into it
    Log.clear();
    delete watched;
    EXPECT_EQ(std::find(Log.begin(), Log.end(), "watcher -watched"), Log.end());
}

TEST_F(ComponentTest, NamesAreUniquePerOwnerWithoutRegardToCase)
{
    TLogged owner(nullptr, "owner");
    auto* a = new TLogged(&owner, "Alpha");
    EXPECT_EQ(owner.FindComponent("ALPHA"), a);
    EXPECT_EQ(owner.FindComponent("beta"), nullptr);
    EXPECT_THROW(new TLogged(&owner, "alpha"), EInvalidOperation);
    EXPECT_EQ(owner.ComponentCount(), 1) << "a refused component leaves its owner";
    auto* b = new TLogged(&owner, "");
    EXPECT_THROW(b->SetName("ALPHA"), EInvalidOperation);
    b->SetName("");
    new TLogged(&owner, "");  // several may have no name
    EXPECT_EQ(owner.ComponentCount(), 3);
}

TEST_F(ComponentTest, PublishedFieldIsBoundByNameAndClearedWhenItsComponentGoes)
{
    TRoot root;
    auto* first = new TLogged(&root, "first");
    root.BindField(first);
    EXPECT_EQ(root.First, first);
    delete first;
    EXPECT_EQ(root.First, nullptr);
}

TEST_F(ComponentTest, PublishedFieldRefusesAComponentOfAnotherClass)
{
    TRoot root;
    TRoot other;
    other.SetName("First");
    EXPECT_THROW(root.BindField(&other), EInvalidCast);
}

TEST_F(ComponentTest, PublishedHandlerIsFoundByNameWithItsOwnSignature)
{
    TRoot root;
    const std::any* handler = root.FindHandler("PING");
    ASSERT_NE(handler, nullptr);
    const auto* ping = std::any_cast<TNotifyEvent>(handler);
    ASSERT_NE(ping, nullptr);
    (*ping)(&root);
    EXPECT_EQ(root.Pings, 1);
    EXPECT_EQ(root.FindHandler("Pong"), nullptr);
}

TEST_F(ComponentTest, ComponentsOutsideTheListAreRefused)
{
    TLogged owner(nullptr, "owner");
    EXPECT_THROW(owner.Components(0), EInvalidOperation);
    EXPECT_THROW(owner.Components(-1), EInvalidOperation);
}

TEST_F(ComponentTest, DesigningReachesEverythingOwnedAndWhatJoinsLater)
{
    TLogged owner(nullptr, "owner");
    auto* a = new TLogged(&owner, "a");
    auto* nested = new TLogged(a, "nested");
    TLogged outside(nullptr, "outside");
    owner.SetDesigning(true);
    EXPECT_TRUE(a->IsDesigning());
    EXPECT_TRUE(nested->IsDesigning());
    EXPECT_FALSE(outside.IsDesigning());
    auto* late = new TLogged(a, "late");
    EXPECT_TRUE(late->IsDesigning());
    owner.SetDesigning(false);
    EXPECT_FALSE(nested->IsDesigning());
    EXPECT_FALSE(late->IsDesigning());
}
