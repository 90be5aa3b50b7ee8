#pragma once

// Components: objects with an owner that destroys them, a name, a loading
// state while their description is read, and removal notifications.
// Window-free.

#include <any>
#include <functional>
#include <map>
#include <string>
#include <type_traits>
#include <vector>

#include "framework/Exceptions.h"

enum TOperation { opInsert, opRemove };

class TComponent;
using TNotifyEvent = std::function<void(TComponent* Sender)>;

class TComponent {
public:
    explicit TComponent(TComponent* AOwner);
    // Destroys the owned components, newest first; each removal is announced
    // to the owner's other components and to those that asked for it.
    virtual ~TComponent();

    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return FOwner; }
    const std::string& Name() const { return FName; }
    // Names are unique among the components of one owner (case-insensitive);
    // an empty name is always allowed.
    void SetName(std::string Value);
    std::int32_t Tag() const { return FTag; }
    void SetTag(std::int32_t Value) { FTag = Value; }

    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    TComponent* Components(int i) const;
    // Case-insensitive; nullptr when there is none.
    TComponent* FindComponent(const std::string& name) const;

    bool IsLoading() const { return FLoading; }
    // Being edited in a form designer rather than running; components owned
    // by a designing component, now or later, are designing too.
    bool IsDesigning() const { return FDesigning; }
    void SetDesigning(bool Value);
    bool IsDestroying() const { return FDestroying; }

    // Called once the whole description this component came from was read;
    // overrides call the base first, which ends the loading state.
    virtual void Loaded();
    // Told of components that join or leave the owner, and of the removal of
    // components this one asked FreeNotification of.
    virtual void Notification(TComponent* AComponent, TOperation Operation);
    // Asks to be told (Notification opRemove) when `c` is destroyed.
    void FreeNotification(TComponent* c);
    void RemoveFreeNotification(TComponent* c);

    void InsertComponent(TComponent* c);
    void RemoveComponent(TComponent* c);
    // Destroys every owned component now, newest first.
    void DestroyComponents();
    // Marks this component and everything it owns as being destroyed.
    void Destroying();

    // Where a description nests this component: a control's parent, a menu
    // item's parent item. Non-visual components ignore it.
    virtual void SetParentComponent(TComponent* Value);

    // Published fields and handlers, found by name while a description is
    // read into this component.
    template <class C>
    void Publish(const std::string& name, C*& field);
    template <class C, class R, class... A>
    void Publish(const std::string& name, R (C::*method)(A...));
    // The published handler (a std::function of its exact signature), or
    // nullptr.
    const std::any* FindHandler(const std::string& name) const;
    // Stores `c` in the published field of its name, if there is one.
    void BindField(TComponent* c);

protected:
    void SetLoading(bool Value) { FLoading = Value; }

private:
    friend class TReader;
    struct TField {
        std::function<void(TComponent*)> Bind;
        std::function<void(TComponent*)> ClearIf;
    };
    void PublishField(const std::string& name, TField field);
    void PublishHandler(const std::string& name, std::any handler);
    void ClearFieldsOf(TComponent* c);

    TComponent* FOwner = nullptr;
    std::string FName;
    std::int32_t FTag = 0;
    bool FLoading = false;
    bool FDestroying = false;
    bool FDesigning = false;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;
    std::map<std::string, TField> FFields;
    std::map<std::string, std::any> FHandlers;
};

template <class C>
void TComponent::Publish(const std::string& name, C*& field)
{
    static_assert(std::is_base_of_v<TComponent, C>, "published fields hold components");
    C** slot = &field;
    PublishField(name, TField{[slot](TComponent* c) {
                                  auto* typed = dynamic_cast<C*>(c);
                                  if (!typed)
                                      RaiseInvalidCast();
                                  *slot = typed;
                              },
                              [slot](TComponent* c) {
                                  if (*slot && static_cast<TComponent*>(*slot) == c)
                                      *slot = nullptr;
                              }});
}

template <class C, class R, class... A>
void TComponent::Publish(const std::string& name, R (C::*method)(A...))
{
    static_assert(std::is_base_of_v<TComponent, C>, "handlers are methods of a component");
    C* self = dynamic_cast<C*>(this);
    if (!self)
        RaiseInvalidCast();
    PublishHandler(name, std::function<R(A...)>(
                             [self, method](A... args) -> R { return (self->*method)(std::forward<A>(args)...); }));
}

// Case-insensitive comparison of ASCII names.
bool SameText(const std::string& a, const std::string& b);
