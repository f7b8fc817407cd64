#include "DirectoryNames.h"

#include <vector>

#include "Text.h"

namespace nwsim {

namespace {

std::vector<std::string> Components(std::string_view name) {
  std::vector<std::string> parts;
  std::string part;
  for (char c : name) {
    if (c == '.') {
      if (!part.empty()) parts.push_back(part);
      part.clear();
    } else {
      part += c;
    }
  }
  if (!part.empty()) parts.push_back(part);
  return parts;
}

std::string Untyped(const std::string& component) {
  size_t equals = component.find('=');
  return equals == std::string::npos ? component : component.substr(equals + 1);
}

std::string Join(const std::vector<std::string>& parts) {
  std::string result;
  for (const std::string& p : parts) result += (result.empty() ? "" : ".") + p;
  return result;
}

}  // namespace

std::string TypelessName(std::string_view name) {
  std::vector<std::string> parts = Components(name);
  for (std::string& p : parts) p = Untyped(p);
  return Join(parts);
}

std::string CanonicalName(std::string_view name, std::string_view context, bool typed) {
  std::vector<std::string> parts = Components(name);
  if (parts.size() == 1 && !EqualNoCase(context, "[Root]"))
    for (std::string& c : Components(context)) parts.push_back(c);
  for (size_t i = 0; i < parts.size(); ++i) {
    if (!typed) {
      parts[i] = Untyped(parts[i]);
    } else if (parts[i].find('=') == std::string::npos) {
      const char* type = i == 0 ? "CN=" : i + 1 == parts.size() ? "O=" : "OU=";
      parts[i] = type + parts[i];
    }
  }
  return Join(parts);
}

std::string DirectoryName(const State& state, const BinderyObject& object, bool typed) {
  std::string name = "CN=" + object.name + (state.dsContext.empty() ? "" : "." + state.dsContext);
  return typed ? name : TypelessName(name);
}

const BinderyObject* ResolveDirectoryName(const State& state, std::string_view name, std::string_view context) {
  if (state.treeName.empty()) return nullptr;
  std::string wanted = CanonicalName(name, context, false);
  for (const BinderyObject& object : state.objects)
    if (EqualNoCase(wanted, DirectoryName(state, object, false))) return &object;
  return nullptr;
}

}  // namespace nwsim
