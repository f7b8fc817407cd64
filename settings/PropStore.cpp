#include "PropStore.h"

#include <algorithm>

#include "PlacementText.h"
#include "PropText.h"
#include "PropertyTable.h"

namespace retrove {

namespace {

// A stored count beyond this is damage, not a list of ours.
constexpr int32_t kMaxStoredLines = 10000;

std::string ItemName(int index) {
  return "Item" + std::to_string(index);
}

}  // namespace

TPropsStorage::TPropsStorage(TSettingsStorage& storage, std::string section)
    : FStorage(storage), FSection(std::move(section)) {}

void ResolvePropertyPaths(const TComponent& form, TStrings& lines, bool fromForm) {
  for (int line = lines.Count() - 1; line >= 0; --line) {
    const auto path = SplitPropertyPath(lines.Strings(line));
    auto* component = dynamic_cast<TComponent*>(fromForm && path ? form.FindComponent(path->first) : lines.Objects(line));
    if (!path || !component) {
      lines.Delete(line);
    } else if (fromForm) {
      lines.SetObjects(line, component);
    } else {
      lines.SetStrings(line, component->Name() + "." + path->second);
    }
  }
}

template <class Action>
void TPropsStorage::ForEachListed(const TComponent& form, TStrings& lines, Action action) {
  ResolvePropertyPaths(form, lines, false);
  for (int line = 0; line < lines.Count(); ++line) {
    const auto path = SplitPropertyPath(lines.Strings(line));
    if (!path) continue;
    auto* component = static_cast<TComponent*>(lines.Objects(line));
    const TPropInfo* prop = FindPropInfo(*component, path->second);
    if (prop) action(*component, *prop, component->Name() + "_");
  }
}

void TPropsStorage::SaveListedProperties(const TComponent& form, TStrings& lines) {
  ForEachListed(form, lines, [this](TComponent& component, const TPropInfo& prop, const std::string& prefix) {
    WritePropertyValue(component, prop, prefix);
  });
}

void TPropsStorage::RestoreListedProperties(const TComponent& form, TStrings& lines) {
  ForEachListed(form, lines, [this](TComponent& component, const TPropInfo& prop, const std::string& prefix) {
    try {
      ReadPropertyValue(component, prop, prefix);
    } catch (const std::exception&) {
      // This property keeps its value; the others are still read.
    }
  });
}

void TPropsStorage::WritePropertyValue(TObject& object, const TPropInfo& prop, const std::string& prefix) {
  const std::string valueName = prefix + prop.Name;
  if (prop.Kind == TTypeKind::Class) {
    if (TPersistent* child = GetObjectProp(object, prop)) {
      if (const auto* lines = dynamic_cast<const TStrings*>(child)) WriteLines(*lines, valueName);
      WriteObject(*child, valueName);
    }
    return;
  }
  const std::optional<std::string> text = PropertyText(object, prop);
  if (text && (!text->empty() || StoresEmptyText(prop))) FStorage.WriteString(FSection, valueName, *text);
}

void TPropsStorage::ReadPropertyValue(TObject& object, const TPropInfo& prop, const std::string& prefix) {
  const std::string valueName = prefix + prop.Name;
  if (prop.Kind == TTypeKind::Class) {
    if (TPersistent* child = GetObjectProp(object, prop)) {
      if (auto* lines = dynamic_cast<TStrings*>(child)) ReadLines(*lines, valueName);
      ReadObject(*child, valueName);
    }
    return;
  }
  if (const std::optional<std::string> text = FStorage.ReadString(FSection, valueName))
    SetPropertyText(object, prop, *text);
}

void TPropsStorage::WriteObject(TPersistent& object, const std::string& prefix) {
  for (const TPropInfo* prop : PublishedProperties(object)) WritePropertyValue(object, *prop, prefix);
}

void TPropsStorage::ReadObject(TPersistent& object, const std::string& prefix) {
  for (const TPropInfo* prop : PublishedProperties(object)) ReadPropertyValue(object, *prop, prefix);
}

void TPropsStorage::WriteLines(const TStrings& lines, const std::string& valueName) {
  if (lines.Count() == 0) return;
  const std::string section = FSection + "." + valueName;
  FStorage.EraseSection(section);
  FStorage.WriteString(section, "Count", std::to_string(lines.Count()));
  for (int index = 0; index < lines.Count(); ++index) FStorage.WriteString(section, ItemName(index), lines.Strings(index));
}

// The lines stored; a count larger than the items there stops at the first
// one missing.
void TPropsStorage::ReadLines(TStrings& lines, const std::string& valueName) {
  const std::string section = FSection + "." + valueName;
  const std::string countText = FStorage.ReadString(section, "Count").value_or("0");
  const int32_t count = std::min(StoredInteger(TrimBlanks(countText)).value_or(0), kMaxStoredLines);
  if (count <= 0) return;
  TStringList stored;
  for (int index = 0; index < count; ++index) {
    const std::optional<std::string> item = FStorage.ReadString(section, ItemName(index));
    if (!item) break;
    stored.Add(*item);
  }
  if (stored.Count() > 0) lines.Assign(stored);
}

}  // namespace retrove
