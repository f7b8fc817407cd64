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

// The component's own copy of the directory context's flags. Setting one
// also sets or clears its bit in the process's context; the copy is not
// read back, so after a reset of the context the two can differ.
class TNWDSContextFlags : public TPersistent {
public:
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  bool DereferenceAliases() const { return FDereferenceAliases; }
  bool TranslateStrings() const { return FTranslateStrings; }
  bool TypelessNames() const { return FTypelessNames; }
  bool AsyncMode() const { return FAsyncMode; }
  bool CanonicalizeNames() const { return FCanonicalizeNames; }
  bool DereferenceBaseClass() const { return FDereferenceBaseClass; }
  bool DisallowReferrals() const { return FDisallowReferrals; }
  void SetDereferenceAliases(bool value) { Change(FDereferenceAliases, value, kDCVDereferenceAliases); }
  void SetTranslateStrings(bool value) { Change(FTranslateStrings, value, kDCVTranslateStrings); }
  void SetTypelessNames(bool value) { Change(FTypelessNames, value, kDCVTypelessNames); }
  void SetAsyncMode(bool value) { Change(FAsyncMode, value, kDCVAsyncMode); }
  void SetCanonicalizeNames(bool value) { Change(FCanonicalizeNames, value, kDCVCanonicalizeNames); }
  void SetDereferenceBaseClass(bool value) { Change(FDereferenceBaseClass, value, kDCVDereferenceBaseClass); }
  void SetDisallowReferrals(bool value) { Change(FDisallowReferrals, value, kDCVDisallowReferrals); }

  // Adds the bits of the flags that are on to the process's context.
  void AddToContext() const;

private:
  static void Change(bool& field, bool value, uint32_t bit);

  bool FDereferenceAliases = true;
  bool FTranslateStrings = true;
  bool FTypelessNames = false;
  bool FAsyncMode = false;
  bool FCanonicalizeNames = true;
  bool FDereferenceBaseClass = false;
  bool FDisallowReferrals = false;
};

// The five unit objects, process-wide; they live while the component does.
extern TNWLib* NWLib;
extern TNWNDS* NWNDS;
extern TNWServer* NWServer;
extern TNWProp* NWProp;
extern TNWPrint* NWPrint;

// The NetWare component: creating it binds the client's modules and finds
// the primary connection; NetAvailable tells whether that worked. Its other
// properties describe the login, its server and the workstation, each asked
// of the client when read. One per process, since the binding is
// process-wide.
class TNWBase : public TComponent {
public:
  explicit TNWBase(TComponent* owner);
  ~TNWBase() override;

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  // Told after the server or the login name changed.
  std::function<void(TObject*)> OnServerChange;
  std::function<void(TObject*)> OnUserChange;

  // "4.11"; "0.0" when the server cannot say.
  std::string ServerVersion() const;
  bool NetAvailable() const { return FNetAvailable; }

  // Directory services: the server answered as a directory server when
  // the component was made, and still does.
  bool NDSAvailable() const;
  const std::string& NDSContextName() const { return FNDSContextName; }
  // Empty or "[Root]" puts a new context at the root; ignored while
  // loading or without directory services.
  void SetNDSContextName(const std::string& value);
  TNWDSContextFlags* NDSContextFlags() { return FNDSContextFlags.get(); }

  // The primary connection's server; setting it makes another server the
  // preferred one.
  std::string DefaultServer() const;
  void SetDefaultServer(const std::string& value);

  TNWLastError* LastError();
  bool SilentExceptions() const { return FSilentExceptions; }
  void SetSilentExceptions(bool value) { FSilentExceptions = value; }

  // The login name, kept once known; an empty value asks the client again.
  std::string LoginID() const;
  void SetLoginID(const std::string& value);
  // The component's server by name; an empty value follows the primary
  // connection again.
  std::string ServerName() const;
  void SetServerName(const std::string& value);
  TDateTime ServerDate() const;
  void SetServerDate(TDateTime value);
  TNWShellErrorMode ShellErrorMode() const { return FShellErrorMode; }
  void SetShellErrorMode(TNWShellErrorMode value);
  TNWBroadcastMode BroadcastMode() const;
  void SetBroadcastMode(TNWBroadcastMode value);

  // The connection of the component's server; the primary one until
  // another server is chosen.
  NWCONN_HANDLE ServerHandle() const;
  std::string LoginFullName() const;
  std::string ObjectID() const;
  uint16_t ConnectionID() const;
  // The login's bindery type; a name of no known type is reported as an
  // error and taken for a user.
  TNWObjType ObjectType() const;
  uint16_t NWObjectType() const;
  uint16_t MaxServerConns() const;
  bool ConsoleOperator() const;
  bool Manager() const;
  char FirstNetworkDrive() const;
  char NextNetworkDrive() const;

  // Raises TNWObjError with `message` unless SilentExceptions is on.
  void RaiseNWError(const std::string& message) const;

  // Tells the windowed controls of the owning form that the server or the
  // directory-services context (kServerChangedMessage) or the login name
  // (kUserChangedMessage) changed; nothing while loading or without a form.
  void NotifyOwnerForm(uint32_t message);
  static constexpr uint32_t kServerChangedMessage = 0xB841;
  static constexpr uint32_t kUserChangedMessage = 0xB842;

private:
  void StartDirectoryServices();
  std::string LoginNameFromClient() const;

  mutable std::string FLoginID;
  mutable std::string FServerName;
  std::string FDefaultServer;
  std::string FNDSContextName;
  bool FNetAvailable = false;
  bool FDSServer = false;
  bool FSilentExceptions = true;
  TNWShellErrorMode FShellErrorMode = TNWShellErrorMode::nwErrInteractive;
  mutable NWCONN_HANDLE FServerHandle = 0;
  std::unique_ptr<TNWLastError> FLastError;
  std::unique_ptr<TNWDSContextFlags> FNDSContextFlags;
};

}  // namespace retrove
