#include "nwbase.h"

#include <utility>

#include "FormNotice.h"
#include "PropertyTable.h"

namespace retrove {

TNWLib* NWLib = nullptr;
TNWNDS* NWNDS = nullptr;
TNWServer* NWServer = nullptr;
TNWProp* NWProp = nullptr;
TNWPrint* NWPrint = nullptr;

const TClassInfo& TNWLastError::StaticClassInfo() {
  static const TClassInfo info = TClassInfoBuilder<TNWLastError>("TNWLastError", TPersistent::StaticClassInfo())
                                     .String("NWLib", &TNWLastError::NWLib, nullptr)
                                     .String("NWServer", &TNWLastError::NWServer, nullptr)
                                     .String("NWProp", &TNWLastError::NWProp, nullptr)
                                     .String("NWNDS", &TNWLastError::NWNDS, nullptr)
                                     .String("NWPrint", &TNWLastError::NWPrint, nullptr)
                                     .Build();
  return info;
}

void TNWLastError::Refresh() {
  FNWLib = NWErrorCodeText(NWLibError);
  FNWServer = NWErrorCodeText(NWServerError);
  FNWProp = NWErrorCodeText(NWPropError);
  FNWNDS = NWErrorCodeText(NDSError);
  FNWPrint = NWErrorCodeText(NWPrintError);
}

// ServerDate is not listed: the table has no kind for a date-time.
const TClassInfo& TNWBase::StaticClassInfo() {
  using B = TNWBase;
  static const TClassInfo info =
      TClassInfoBuilder<B>("TNWBase", TComponent::StaticClassInfo())
          .String("ServerVersion", &B::ServerVersion, nullptr)
          .Boolean("NetAvailable", &B::NetAvailable, nullptr)
          .String("NDSContextName", &B::NDSContextName, &B::SetNDSContextName)
          .Object("NDSContextFlags", &B::NDSContextFlags)
          .Boolean("NDSAvailable", &B::NDSAvailable, nullptr)
          .String("DefaultServer", &B::DefaultServer, &B::SetDefaultServer)
          .Object("LastError", &B::LastError)
          .Boolean("SilentExceptions", &B::SilentExceptions, &B::SetSilentExceptions, true)
          .String("LoginID", &B::LoginID, &B::SetLoginID)
          .String("ServerName", &B::ServerName, &B::SetServerName)
          .Enumeration("ShellErrorMode", &B::ShellErrorMode, &B::SetShellErrorMode,
                       {"nwErrInteractive", "nwErrNetware", "nwErrDOS"})
          .Enumeration("BroadcastMode", &B::BroadcastMode, &B::SetBroadcastMode,
                       {"nwBroadcastOn", "nwBroadcastServerOnly", "nwBroadcastOff", "nwBroadcastStored"})
          .Integer("ServerHandle", &B::ServerHandle, nullptr)
          .String("LoginFullName", &B::LoginFullName, nullptr)
          .String("ObjectID", &B::ObjectID, nullptr)
          .Integer("ConnectionID", &B::ConnectionID, nullptr)
          .Enumeration("ObjectType", &B::ObjectType, nullptr,
                       {"nwObjTypeNone", "nwObjTypeUser", "nwObjTypeGroup", "nwObjTypePrintQ",
                        "nwObjTypeFileServer", "nwObjTypeJobServer", "nwObjTypeGateway", "nwObjTypePrintServer",
                        "nwObjTypeArchiveQueue", "nwObjTypeArchiveServer", "nwObjTypeJobQueue",
                        "nwObjTypeAdministration", "nwObjTypeNASSNAServer", "nwObjTypeRemoteBridge",
                        "nwObjTypeTCPIPGateway", "nwObjTypeNDSTree", "nwObjTypeConnectedServer"})
          .Integer("NWObjectType", &B::NWObjectType, nullptr)
          .Integer("MaxServerConns", &B::MaxServerConns, nullptr)
          .Boolean("ConsoleOperator", &B::ConsoleOperator, nullptr)
          .Boolean("Manager", &B::Manager, nullptr)
          .Char("FirstNetworkDrive", &B::FirstNetworkDrive, nullptr)
          .Char("NextNetworkDrive", &B::NextNetworkDrive, nullptr)
          .Build();
  return info;
}

TNWBase::TNWBase(TComponent* owner) : TComponent(owner) {
  NWLib = new TNWLib;
  NWNDS = new TNWNDS;
  NWServer = new TNWServer;
  NWPrint = new TNWPrint;
  NWProp = new TNWProp;
  FLastError = std::make_unique<TNWLastError>();
  FNDSContextFlags = std::make_unique<TNWDSContextFlags>();
  FNetAvailable = NWLibReady();
  StartDirectoryServices();
  FLoginID = FDSServer ? CanonicalizeName(WhoAmI()) : GetConnectionUserName(ServerHandle());
}

TNWBase::~TNWBase() {
  if (NDSAvailable()) FreeDSUnicode();
  delete std::exchange(NWNDS, nullptr);
  delete std::exchange(NWLib, nullptr);
  delete std::exchange(NWServer, nullptr);
  delete std::exchange(NWPrint, nullptr);
  delete std::exchange(NWProp, nullptr);
  FLastError.reset();
  FNDSContextFlags.reset();
}

NWCONN_HANDLE TNWBase::ServerHandle() const {
  if (FServerHandle == 0) FServerHandle = GetPrimaryConnHandle();
  return FServerHandle;
}

TNWLastError* TNWBase::LastError() {
  FLastError->Refresh();
  return FLastError.get();
}

void TNWBase::NotifyOwnerForm(uint32_t message) {
  if (ComponentState().Contains(csLoading) || !Owner()) return;
  if (IFormNotifier* notifier = FormNotifier()) notifier->NotifyControls(*Owner(), message);
}

}  // namespace retrove
