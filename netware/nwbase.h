#pragma once

#include <functional>
#include <memory>
#include <string>

#include "Component.h"
#include "Exceptions.h"
#include "NWServer.h"
#include "NwProp.h"
#include "Nwnds.h"
#include "nwlib.h"

namespace retrove {

enum class TNWShellErrorMode { nwErrInteractive, nwErrNetware, nwErrDOS };

class TNWObjError : public Exception {
  using Exception::Exception;
};

// The error codes of the five NetWare units as hexadecimal texts, refreshed
// each time the component's LastError is read.
class TNWLastError : public TPersistent {
public:
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  void Refresh();

  const std::string& NWLib() const { return FNWLib; }
  const std::string& NWServer() const { return FNWServer; }
  const std::string& NWProp() const { return FNWProp; }
  const std::string& NWNDS() const { return FNWNDS; }
  const std::string& NWPrint() const { return FNWPrint; }

private:
  std::string FNWLib, FNWServer, FNWProp, FNWNDS, FNWPrint;
};

// The five unit objects, process-wide; they live while the component does.
extern TNWLib* NWLib;
extern TNWNDS* NWNDS;
extern TNWServer* NWServer;
extern TNWProp* NWProp;
extern TNWPrint* NWPrint;

// The NetWare component: creating it binds the client's modules and finds
// the primary connection; NetAvailable tells whether that worked. One per
// process, since the binding is process-wide.
class TNWBase : public TComponent {
public:
  explicit TNWBase(TComponent* owner);
  ~TNWBase() override;

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  bool NetAvailable() const { return FNetAvailable; }
  bool SilentExceptions() const { return FSilentExceptions; }
  void SetSilentExceptions(bool value) { FSilentExceptions = value; }
  TNWShellErrorMode ShellErrorMode() const { return FShellErrorMode; }

  // The connection of the component's server; the primary one until
  // another server is chosen.
  NWCONN_HANDLE ServerHandle();

  TNWLastError* LastError();

  // Tells the windowed controls of the owning form that the server or the
  // directory-services context (kServerChangedMessage) or the login name
  // (kUserChangedMessage) changed; nothing while loading or without a form.
  void NotifyOwnerForm(uint32_t message);
  static constexpr uint32_t kServerChangedMessage = 0xB841;
  static constexpr uint32_t kUserChangedMessage = 0xB842;

  std::function<void(TObject*)> OnServerChange;
  std::function<void(TObject*)> OnUserChange;

private:
  bool FNetAvailable = false;
  bool FSilentExceptions = true;
  TNWShellErrorMode FShellErrorMode = TNWShellErrorMode::nwErrInteractive;
  NWCONN_HANDLE FServerHandle = 0;
  std::unique_ptr<TNWLastError> FLastError;
};

}  // namespace retrove
