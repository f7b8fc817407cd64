#pragma once

#include <string>

#include "Component.h"
#include "SettingsIO.h"
#include "Strings.h"

namespace retrove {

// Writes and reads published properties of the components of a form as
// texts in one section: the value of Component.Property is named
// Component_Property; an object property's own properties follow with the
// property's name added (Memo1_FontName), and a string list's lines go in a
// section of their own (Section.Memo1_Lines: Count, Item0, Item1, ...).
class TPropsStorage {
public:
  TPropsStorage(TSettingsStorage& storage, std::string section);

  // Each line names Component.Property and carries the component it was
  // bound to (ResolvePropertyPaths); lines are first renamed after their
  // components, and properties a component does not publish are skipped.
  void SaveListedProperties(const TComponent& form, TStrings& lines);
  // A value that is missing or names nothing the property can hold leaves
  // the property as it is; one property's failure never stops the others.
  void RestoreListedProperties(const TComponent& form, TStrings& lines);

  void WritePropertyValue(TObject& object, const TPropInfo& prop, const std::string& prefix);
  void ReadPropertyValue(TObject& object, const TPropInfo& prop, const std::string& prefix);

private:
  template <class Action>
  void ForEachListed(const TComponent& form, TStrings& lines, Action action);
  void WriteObject(TPersistent& object, const std::string& prefix);
  void ReadObject(TPersistent& object, const std::string& prefix);
  void WriteLines(const TStrings& lines, const std::string& valueName);
  void ReadLines(TStrings& lines, const std::string& valueName);

  TSettingsStorage& FStorage;
  std::string FSection;
};

// fromForm: binds each "Component.Property" line to the component of
// `form` it names. Otherwise: rewrites each bound line with its component's
// current name, so a renamed component keeps its line. Either way a line
// that names no component is deleted.
void ResolvePropertyPaths(const TComponent& form, TStrings& lines, bool fromForm);

}  // namespace retrove
