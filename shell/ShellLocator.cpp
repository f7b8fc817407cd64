#include "ShellLocator.h"

#include "LocatorStream.h"
#include "UNsShellUtils.h"

namespace retrove {

namespace {

// The folder number a locator reports while it holds an explicit list.
constexpr std::uint8_t kListedFolder = 28;

bool KnownDifferent(int comparison) {
  return comparison != 0 && comparison != kCompareUnknown;
}

}  // namespace

const TClassInfo& TNsShellLocator::StaticClassInfo() {
  static const TClassInfo info("TNsShellLocator", &TPersistent::StaticClassInfo(), {});
  return info;
}

const std::uint8_t* TNsShellLocator::IdList() const {
  if (FKind == kBySpecialFolder && !FIdList) GetSpecialFolderIdList(nullptr, FSpecialFolder, FIdList);
  return FIdList.Get();
}

void TNsShellLocator::SetIdList(const std::uint8_t* list) {
  const bool changed = FIdList ? (FKind != kByIdList || KnownDifferent(CompareIdLists(FIdList.Get(), list)))
                               : (FKind != kByIdList || list != nullptr);
  // Copied before the old one goes: `list` may be the one held.
  ShellIdList copy = list && IdListSize(list) > kIdListTerminatorSize ? CopyIdList(nullptr, list) : ShellIdList();
  FIdList = std::move(copy);
  FKind = kByIdList;
  FSpecialFolder = kListedFolder;
  if (changed) Changed();
}

std::string TNsShellLocator::Path() const {
  return IdListToPath(IdList());
}

void TNsShellLocator::Assign(std::nullptr_t) {
  // A special folder not yet resolved holds no list but is not the Desktop.
  if (!FIdList && FKind == kByIdList) return;
  FIdList.Reset();
  FKind = kByIdList;
  Changed();
}

void TNsShellLocator::Assign(const TPersistent& source) {
  const auto* other = dynamic_cast<const TNsShellLocator*>(&source);
  if (!other) {
    TPersistent::Assign(source);
    return;
  }
  if (LocatorsEqual(*this, *other)) return;
  FIdList = other->FKind == kByIdList && other->FIdList ? CopyIdList(nullptr, other->FIdList.Get()) : ShellIdList();
  FKind = other->FKind;
  FSpecialFolder = other->FSpecialFolder;
  Changed();
}

bool TNsShellLocator::LocatorsEqual(const TNsShellLocator& a, const TNsShellLocator& b) {
  if (a.FKind != b.FKind) return false;
  if (&a == &b) return true;
  if (a.FKind == kByIdList) return CompareIdLists(a.FIdList.Get(), b.FIdList.Get()) == 0;
  return a.FSpecialFolder == b.FSpecialFolder;
}

std::vector<std::uint8_t> TNsShellLocator::WritePidl() const {
  return WriteLocatorStream(FKind, FSpecialFolder, FIdList.Get());
}

void TNsShellLocator::ReadPidl(std::span<const std::uint8_t> data) {
  TLocatorStreamData read = ReadLocatorStream(data);
  FKind = read.Kind;
  FSpecialFolder = read.Kind == kByIdList ? kListedFolder : read.SpecialFolder;
  if (read.IdList && IdListIsEmpty(read.IdList.Get())) read.IdList.Reset();
  FIdList = std::move(read.IdList);
}

void TNsShellLocator::Changed() const {
  if (ChangeCallback) ChangeCallback();
}

}  // namespace retrove
