#include "ClientPaths.h"

#include "Text.h"

namespace nwsim {

namespace {

bool HasDotComponent(std::string_view path) {
  std::string normal = "/" + NormalizeFolder(path) + "/";
  return normal.find("/./") != std::string::npos || normal.find("/../") != std::string::npos;
}

}  // namespace

std::optional<ServerPlace> ParseServerPath(std::string_view path) {
  size_t colon = path.find(':');
  if (colon == std::string_view::npos) return std::nullopt;
  std::string_view volume = path.substr(0, colon);
  size_t serverEnd = volume.find_last_of("/\\");
  if (serverEnd != std::string_view::npos) volume.remove_prefix(serverEnd + 1);
  std::string_view folder = path.substr(colon + 1);
  if (volume.empty() || volume.size() > 15 || folder.find(':') != std::string_view::npos || HasDotComponent(folder))
    return std::nullopt;
  return ServerPlace{UpperCase(volume), NormalizeFolder(folder)};
}

std::string FormatServerPath(const ServerPlace& place) { return place.volume + ":" + place.folder; }

std::optional<std::string> ToServerPath(const State& state, std::string_view path) {
  bool driveForm = path.size() >= 2 && path[1] == ':' &&
                   ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
  if (!driveForm) {
    std::optional<ServerPlace> place = ParseServerPath(path);
    return place ? std::optional(FormatServerPath(*place)) : std::nullopt;
  }
  const DriveMapping* mapping = state.FindMapping(path[0]);
  std::string_view rest = path.substr(2);
  if (!mapping || rest.find(':') != std::string_view::npos || HasDotComponent(rest)) return std::nullopt;
  std::string folder = mapping->folder;
  std::string below = NormalizeFolder(rest);
  if (!below.empty()) folder += (folder.empty() ? "" : "/") + below;
  return FormatServerPath(ServerPlace{UpperCase(mapping->volume), folder});
}

std::optional<ServerPlace> Below(const ServerPlace& place, std::string_view relative) {
  if (relative.find(':') != std::string_view::npos) return ParseServerPath(relative);
  if (HasDotComponent(relative)) return std::nullopt;
  std::string below = NormalizeFolder(relative);
  if (below.empty()) return place;
  return ServerPlace{place.volume, place.folder.empty() ? below : place.folder + "/" + below};
}

}  // namespace nwsim
