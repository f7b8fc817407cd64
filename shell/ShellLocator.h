#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "IdList.h"
#include "Persistent.h"

namespace retrove {

// A persistent reference to one folder: by absolute identifier list (kind 0;
// the Desktop is held as none) or by special-folder number (kind 1,
// resolved on first use).
class TNsShellLocator : public TPersistent {
public:
  static constexpr std::uint8_t kByIdList = 0;
  static constexpr std::uint8_t kBySpecialFolder = 1;

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  std::uint8_t LocatorKind() const { return FKind; }
  std::uint8_t SpecialFolder() const { return FSpecialFolder; }

  // Owned by the locator; none for the Desktop.
  const std::uint8_t* IdList() const;
  // Keeps a copy; runs ChangeCallback when the located folder changed.
  void SetIdList(const std::uint8_t* list);
  std::string Path() const;

  using TPersistent::Assign;
  void Assign(const TPersistent& source) override;
  // Assigning none makes the locator the Desktop.
  void Assign(std::nullptr_t);
  static bool LocatorsEqual(const TNsShellLocator& a, const TNsShellLocator& b);

  // The "Pidl" stream property: written only when HasPidlData.
  bool HasPidlData() const { return FIdList || FKind != kByIdList; }
  std::vector<std::uint8_t> WritePidl() const;
  // Raises EIdListError and keeps the locator as it was for malformed data.
  void ReadPidl(std::span<const std::uint8_t> data);

  // Called after the located folder changed; an empty one is not called.
  std::function<void()> ChangeCallback;

private:
  void Changed() const;

  std::uint8_t FKind = kByIdList;
  std::uint8_t FSpecialFolder = 0;
  mutable ShellIdList FIdList;
};

}  // namespace retrove
