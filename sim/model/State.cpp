#include "State.h"

#include "Codes.h"
#include "Text.h"

namespace nwsim {

std::string FolderKey(std::string_view volume, std::string_view folder) {
  return UpperCase(volume) + ":" + std::string(folder);
}

uint32_t FolderHash(std::string_view volume, std::string_view folder) {
  uint32_t hash = 2166136261u;
  for (char c : FolderKey(volume, folder)) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 16777619u;
  }
  return hash;
}

const DeletedEntry* FolderEntries::Find(uint32_t sequence) const {
  auto it = bySequence.find(sequence);
  return it == bySequence.end() ? nullptr : &it->second;
}

const DeletedEntry* FolderEntries::After(uint32_t sequence, bool fromStart) const {
  auto it = fromStart ? bySequence.begin() : bySequence.upper_bound(sequence);
  return it == bySequence.end() ? nullptr : &it->second;
}

const Volume* State::FindVolume(std::string_view name) const {
  for (const Volume& v : volumes)
    if (EqualNoCase(v.name, name)) return &v;
  return nullptr;
}

const Volume* State::FindVolume(uint32_t number) const {
  for (const Volume& v : volumes)
    if (v.number == number) return &v;
  return nullptr;
}

const BinderyObject* State::FindObject(uint32_t id) const {
  for (const BinderyObject& o : objects)
    if (o.id == id) return &o;
  return nullptr;
}

const BinderyObject* State::FindObject(std::string_view name, uint16_t type) const {
  for (const BinderyObject& o : objects)
    if (o.type == type && EqualNoCase(o.name, name)) return &o;
  return nullptr;
}

const BinderyObject* State::FindObjectByName(std::string_view name) const {
  for (const BinderyObject& o : objects)
    if (EqualNoCase(o.name, name)) return &o;
  return nullptr;
}

const DriveMapping* State::FindMapping(char letter) const {
  for (const DriveMapping& m : mappings)
    if (EqualNoCase(std::string_view(&m.letter, 1), std::string_view(&letter, 1))) return &m;
  return nullptr;
}

uint16_t State::EffectiveRights(std::string_view volume, std::string_view folder) const {
  const FolderRights* best = nullptr;
  for (const FolderRights& r : rights) {
    if (!EqualNoCase(r.volume, volume)) continue;
    bool ancestor = r.folder.empty() || folder == r.folder ||
                    (folder.size() > r.folder.size() && folder.substr(0, r.folder.size()) == r.folder &&
                     folder[r.folder.size()] == '/');
    if (ancestor && (!best || r.folder.size() > best->folder.size())) best = &r;
  }
  return best ? best->mask : kAllRights;
}

}  // namespace nwsim
