#pragma once

#include <cstdint>
#include <string>

#include "ClientModules.h"
#include "Object.h"

namespace retrove {

// Process-wide state of the directory-services binding.
extern TClientModuleHandle NetLibHandle;
extern TClientModuleHandle LocaleLibHandle;
extern int32_t DSContext;  // 0 = none
extern int32_t NDSResult;
extern int32_t NDSError;

// Loads "NETWIN32.DLL" and "LOCWIN32.DLL", looks up the 27 entry points the
// directory-services code needs and, when all are there, creates the
// process's context with "[Root]" as its name context.
class TNWNDS : public TObject {
public:
  TNWNDS();
  ~TNWNDS() override;
  TNWNDS(const TNWNDS&) = delete;
  TNWNDS& operator=(const TNWNDS&) = delete;

  std::string ErrorText() const;
};

// Sets up the client's unicode tables for the workstation's code page and
// country; true when they and a context are ready.
bool InitDSUnicode();
bool FreeDSUnicode();

}  // namespace retrove
