#include "ClientModules.h"

namespace retrove {

namespace {
IClientModules* gClientModules = nullptr;
}

void SetClientModules(IClientModules* modules) {
  gClientModules = modules;
}

TClientModuleHandle LoadClientModule(const std::string& fileName) {
  return gClientModules ? gClientModules->Load(fileName) : 0;
}

TEntryPoint FindClientEntryPoint(TClientModuleHandle module, const char* name) {
  return gClientModules && module ? gClientModules->Find(module, name) : nullptr;
}

}  // namespace retrove
