#include "framework/Component.h"

#include <algorithm>
#include <cctype>

bool SameText(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

TComponent::TComponent(TComponent* AOwner)
{
    if (AOwner)
        AOwner->InsertComponent(this);
}

TComponent::~TComponent()
{
    Destroying();
    // Tell those that asked before anything goes away, so nobody keeps a
    // pointer to a half-destroyed component.
    while (!FFreeNotifies.empty()) {
        TComponent* c = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        c->RemoveFreeNotification(this);
        c->Notification(this, opRemove);
    }
    DestroyComponents();
    if (FOwner)
        FOwner->RemoveComponent(this);
}

void TComponent::SetName(std::string Value)
{
    if (Value == FName)
        return;
    if (!Value.empty() && FOwner) {
        TComponent* other = FOwner->FindComponent(Value);
        if (other && other != this)
            throw EInvalidOperation(Format("A component named %s already exists", Value.c_str()));
    }
    FName = std::move(Value);
}

TComponent* TComponent::Components(int i) const
{
    if (i < 0 || i >= ComponentCount())
        throw EInvalidOperation(Format("List index out of bounds (%d)", i));
    return FComponents[static_cast<std::size_t>(i)];
}

TComponent* TComponent::FindComponent(const std::string& name) const
{
    if (name.empty())
        return nullptr;
    for (TComponent* c : FComponents)
        if (SameText(c->FName, name))
            return c;
    return nullptr;
}

void TComponent::Loaded()
{
    FLoading = false;
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == opRemove) {
        ClearFieldsOf(AComponent);
        std::erase(FFreeNotifies, AComponent);
    }
}

void TComponent::FreeNotification(TComponent* c)
{
    if (!c || c == this)
        return;
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), c) == FFreeNotifies.end())
        FFreeNotifies.push_back(c);
    if (std::find(c->FFreeNotifies.begin(), c->FFreeNotifies.end(), this) == c->FFreeNotifies.end())
        c->FFreeNotifies.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* c)
{
    std::erase(FFreeNotifies, c);
}

void TComponent::SetDesigning(bool Value)
{
    FDesigning = Value;
    for (TComponent* c : FComponents)
        c->SetDesigning(Value);
}

void TComponent::InsertComponent(TComponent* c)
{
    if (c->FOwner)
        c->FOwner->RemoveComponent(c);
    if (!c->FName.empty() && FindComponent(c->FName))
        throw EInvalidOperation(Format("A component named %s already exists", c->FName.c_str()));
    c->FOwner = this;
    FComponents.push_back(c);
    if (FDesigning)
        c->SetDesigning(true);
    for (TComponent* other : FComponents)
        if (other != c)
            other->Notification(c, opInsert);
    Notification(c, opInsert);
}

void TComponent::RemoveComponent(TComponent* c)
{
    auto it = std::find(FComponents.begin(), FComponents.end(), c);
    if (it == FComponents.end())
        return;
    FComponents.erase(it);
    c->FOwner = nullptr;
    ClearFieldsOf(c);
    // A copy: a handler may destroy or remove further components.
    const std::vector<TComponent*> others = FComponents;
    for (TComponent* other : others)
        if (std::find(FComponents.begin(), FComponents.end(), other) != FComponents.end())
            other->Notification(c, opRemove);
    Notification(c, opRemove);
}

void TComponent::DestroyComponents()
{
    while (!FComponents.empty()) {
        TComponent* c = FComponents.back();
        // Removal first: the owner's other components hear of it while the
        // component itself still exists.
        RemoveComponent(c);
        delete c;
    }
}

void TComponent::Destroying()
{
    if (FDestroying)
        return;
    FDestroying = true;
    for (TComponent* c : FComponents)
        c->Destroying();
}

void TComponent::SetParentComponent(TComponent*)
{}

void TComponent::PublishField(const std::string& name, TField field)
{
    FFields[name] = std::move(field);
}

void TComponent::PublishHandler(const std::string& name, std::any handler)
{
    FHandlers[name] = std::move(handler);
}

const std::any* TComponent::FindHandler(const std::string& name) const
{
    for (const auto& [key, handler] : FHandlers)
        if (SameText(key, name))
            return &handler;
    return nullptr;
}

void TComponent::BindField(TComponent* c)
{
    for (auto& [key, field] : FFields)
        if (SameText(key, c->Name()))
            field.Bind(c);
}

void TComponent::ClearFieldsOf(TComponent* c)
{
    for (auto& [key, field] : FFields)
        field.ClearIf(c);
}
