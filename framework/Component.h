#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "Persistent.h"
#include "Set.h"

namespace retrove {

enum class TComponentStateItem { csLoading, csDestroying };
using TComponentState = TSet<TComponentStateItem>;
inline constexpr TComponentStateItem csLoading = TComponentStateItem::csLoading;
inline constexpr TComponentStateItem csDestroying = TComponentStateItem::csDestroying;

enum class TOperation { opInsert, opRemove };

// A named object with an owner. An owner frees the components it owns, the
// newest first, when it is itself destroyed; components learn of each
// other's end through Notification(..., opRemove): an owner tells all its
// components when one of them leaves, and FreeNotification links two
// components of different owners both ways.
class TComponent : public TPersistent {
public:
  explicit TComponent(TComponent* owner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  TComponent* Owner() const { return FOwner; }
  const std::string& Name() const { return FName; }
  // Virtual for components whose parts are named after them.
  virtual void SetName(const std::string& name);
  int Tag() const { return FTag; }
  void SetTag(int tag) { FTag = tag; }

  int ComponentCount() const { return static_cast<int>(FComponents.size()); }
  TComponent* Components(int index) const;
  int ComponentIndex() const;
  TComponent* FindComponent(std::string_view name) const;

  void InsertComponent(TComponent* component);
  void RemoveComponent(TComponent* component);
  void DestroyComponents();

  TComponentState ComponentState() const { return FComponentState; }

  // Asks that `component` be told (Notification opRemove) when this one is
  // destroyed, and the other way round.
  void FreeNotification(TComponent* component);
  void RemoveFreeNotification(TComponent* component);

  // Loading: properties are being applied from the window's description.
  // BeginLoading marks this component and the ones it owns; Loaded ends the
  // state, owned components first, and is where a component acts on the
  // values it received.
  void BeginLoading();
  virtual void Loaded();

  // Marks this component and its owned ones as being destroyed; the
  // destructor calls it, owners call it before freeing a child.
  void Destroying();

protected:
  virtual void Notification(TComponent* component, TOperation operation);
  virtual void ValidateRename(TComponent* component, std::string_view oldName, std::string_view newName) const;

private:
  void NotifyAll(TComponent* component, TOperation operation);
  static void RemoveFrom(std::vector<TComponent*>& list, TComponent* component);

  TComponent* FOwner = nullptr;
  std::string FName;
  int FTag = 0;
  std::vector<TComponent*> FComponents;
  std::vector<TComponent*> FFreeNotifies;
  TComponentState FComponentState;
};

bool IsValidIdent(std::string_view name);

}  // namespace retrove
