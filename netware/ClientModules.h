#pragma once

#include <cstdint>
#include <string>

// The NetWare client's entry points use the SDK's calling convention, which
// on 32-bit x86 is stdcall; elsewhere there is only one convention.
#if defined(_WIN32) && defined(__i386__)
#define NWAPI __attribute__((stdcall))
#else
#define NWAPI
#endif

namespace retrove {

// A loaded client module; 0 means "not loaded".
using TClientModuleHandle = uintptr_t;
using TEntryPoint = void (*)();

// How the program reaches the workstation's client modules: load a module by
// file name, look an entry point up by name. Windows binds this to
// LoadLibraryA/GetProcAddress; tests bind fake modules.
class IClientModules {
public:
  virtual ~IClientModules() = default;
  virtual TClientModuleHandle Load(const std::string& fileName) = 0;
  virtual TEntryPoint Find(TClientModuleHandle module, const char* name) = 0;
};

// The binding in use. Without one, no module loads, as on a workstation
// without the client.
void SetClientModules(IClientModules* modules);
TClientModuleHandle LoadClientModule(const std::string& fileName);
TEntryPoint FindClientEntryPoint(TClientModuleHandle module, const char* name);

// One entry point's process-wide slot: looked up by name on first use and
// kept; a failed look-up is retried at the next use. The slot remembers the
// module it came from, so a module loaded anew is asked again.
template <class Fn>
class TEntrySlot {
public:
  explicit constexpr TEntrySlot(const char* name) : FName(name) {}

  Fn Resolve(TClientModuleHandle module) {
    if (!module) return nullptr;
    if (!FPointer || FModule != module) {
      FPointer = reinterpret_cast<Fn>(FindClientEntryPoint(module, FName));
      FModule = module;
    }
    return FPointer;
  }

  const char* Name() const { return FName; }

private:
  const char* FName;
  Fn FPointer = nullptr;
  TClientModuleHandle FModule = 0;
};

}  // namespace retrove
