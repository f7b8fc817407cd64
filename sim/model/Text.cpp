#include "Text.h"

namespace nwsim {

namespace {

char UpperChar(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

char Unescaped(char c) {
  switch (c) {
    case 't': return '\t';
    case 'n': return '\n';
    case 'r': return '\r';
    default: return c;
  }
}

}  // namespace

std::string UpperCase(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = UpperChar(c);
  return result;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (UpperChar(a[i]) != UpperChar(b[i])) return false;
  return true;
}

std::string EscapeField(std::string_view field) {
  std::string result;
  result.reserve(field.size());
  for (char c : field) {
    switch (c) {
      case '\\': result += "\\\\"; break;
      case '\t': result += "\\t"; break;
      case '\n': result += "\\n"; break;
      case '\r': result += "\\r"; break;
      default: result += c;
    }
  }
  return result;
}

std::vector<std::string> SplitFields(std::string_view line) {
  std::vector<std::string> fields(1);
  for (size_t i = 0; i < line.size(); ++i) {
    char c = line[i];
    if (c == '\t') {
      fields.emplace_back();
    } else if (c == '\\' && i + 1 < line.size()) {
      fields.back() += Unescaped(line[++i]);
    } else {
      fields.back() += c;
    }
  }
  return fields;
}

std::string NormalizeFolder(std::string_view path) {
  std::string result;
  std::string component;
  auto flush = [&] {
    if (component.empty()) return;
    if (!result.empty()) result += '/';
    result += UpperCase(component);
    component.clear();
  };
  for (char c : path) {
    if (c == '/' || c == '\\') flush();
    else component += c;
  }
  flush();
  return result;
}

bool IsValidEntryName(std::string_view name) {
  if (name.empty() || name.size() > 255 || name == "." || name == "..") return false;
  for (char c : name)
    if (c == '/' || c == '\\' || c == ':' || c == '\t' || c == '\n' || c == '\r' || c == '\0') return false;
  return true;
}

}  // namespace nwsim
