#include "Component.h"

#include <algorithm>

#include "Exceptions.h"
#include "PropertyTable.h"
#include "TextCompare.h"

namespace retrove {

const TClassInfo& TComponent::StaticClassInfo() {
  static const TClassInfo info = TClassInfoBuilder<TComponent>("TComponent", TPersistent::StaticClassInfo())
                                     .String("Name", &TComponent::Name, &TComponent::SetName)
                                     .Integer("Tag", &TComponent::Tag, &TComponent::SetTag, 0)
                                     .Build();
  return info;
}

bool IsValidIdent(std::string_view name) {
  auto isAlpha = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
  if (name.empty() || !isAlpha(name.front())) return false;
  return std::all_of(name.begin(), name.end(), [&](char c) { return isAlpha(c) || (c >= '0' && c <= '9'); });
}

TComponent::TComponent(TComponent* owner) {
  if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
  Destroying();
  while (!FFreeNotifies.empty()) {
    TComponent* other = FFreeNotifies.back();
    FFreeNotifies.pop_back();
    RemoveFrom(other->FFreeNotifies, this);
    other->Notification(this, TOperation::opRemove);
  }
  DestroyComponents();
  if (FOwner) FOwner->RemoveComponent(this);
}

TComponent* TComponent::Components(int index) const {
  if (index < 0 || index >= ComponentCount()) throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  return FComponents[static_cast<size_t>(index)];
}

int TComponent::ComponentIndex() const {
  if (!FOwner) return -1;
  const auto& siblings = FOwner->FComponents;
  return static_cast<int>(std::find(siblings.begin(), siblings.end(), this) - siblings.begin());
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  if (name.empty()) return nullptr;
  for (TComponent* component : FComponents)
    if (SameText(component->FName, name)) return component;
  return nullptr;
}

void TComponent::SetName(const std::string& name) {
  if (name == FName) return;
  if (!name.empty() && !IsValidIdent(name)) throw EComponentError("\"" + name + "\" is not a valid component name");
  if (FOwner)
    FOwner->ValidateRename(this, FName, name);
  else
    ValidateRename(nullptr, FName, name);
  FName = name;
}

void TComponent::ValidateRename(TComponent* component, std::string_view oldName, std::string_view newName) const {
  if (newName.empty() || SameText(oldName, newName)) return;
  TComponent* existing = FindComponent(newName);
  if (existing && existing != component)
    throw EComponentError("A component named " + std::string(newName) + " already exists");
}

void TComponent::InsertComponent(TComponent* component) {
  if (component->FOwner) component->FOwner->RemoveComponent(component);
  ValidateRename(component, {}, component->FName);
  FComponents.push_back(component);
  component->FOwner = this;
  NotifyAll(component, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
  if (component->FOwner != this) return;
  NotifyAll(component, TOperation::opRemove);
  RemoveFrom(FComponents, component);
  component->FOwner = nullptr;
}

void TComponent::DestroyComponents() {
  while (!FComponents.empty()) {
    TComponent* last = FComponents.back();
    last->Destroying();
    delete last;
  }
}

void TComponent::FreeNotification(TComponent* component) {
  if (!component || component == this) return;
  if (FOwner && component->FOwner == FOwner) return;  // the common owner already tells both
  if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), component) != FFreeNotifies.end()) return;
  FFreeNotifies.push_back(component);
  component->FreeNotification(this);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
  RemoveFrom(FFreeNotifies, component);
  RemoveFrom(component->FFreeNotifies, this);
}

void TComponent::BeginLoading() {
  FComponentState.Include(csLoading);
  for (TComponent* component : FComponents) component->BeginLoading();
}

void TComponent::Loaded() {
  for (TComponent* component : FComponents)
    if (component->FComponentState.Contains(csLoading)) component->Loaded();
  FComponentState.Exclude(csLoading);
}

void TComponent::Destroying() {
  if (FComponentState.Contains(csDestroying)) return;
  FComponentState.Include(csDestroying);
  for (TComponent* component : FComponents) component->Destroying();
}

void TComponent::Notification(TComponent* component, TOperation operation) {
  if (operation == TOperation::opRemove && component) RemoveFreeNotification(component);
}

void TComponent::NotifyAll(TComponent* component, TOperation operation) {
  Notification(component, operation);
  // A handler may free components; walk a copy and skip any that left.
  const std::vector<TComponent*> owned = FComponents;
  for (TComponent* child : owned)
    if (std::find(FComponents.begin(), FComponents.end(), child) != FComponents.end())
      child->Notification(component, operation);
}

void TComponent::RemoveFrom(std::vector<TComponent*>& list, TComponent* component) {
  list.erase(std::remove(list.begin(), list.end(), component), list.end());
}

}  // namespace retrove
