// The component's login, server and workstation properties.
#include "TextCompare.h"
#include "nwbase.h"

namespace retrove {

std::string TNWBase::ServerVersion() const {
  return GetServerInfo(ServerHandle(), ServerInfoCache) ? ServerInfoCache.VersionText : "0.0";
}

std::string TNWBase::DefaultServer() const {
  return GetServerNameOf(GetPrimaryConnHandle());
}

void TNWBase::SetDefaultServer(const std::string& value) {
  if (value == FDefaultServer) return;
  NWCONN_HANDLE connection = 0;
  if (SetPreferredServer(value, connection)) FDefaultServer = value;
}

std::string TNWBase::LoginNameFromClient() const {
  return NDSAvailable() ? WhoAmI() : GetConnectionUserName(ServerHandle());
}

std::string TNWBase::LoginID() const {
  if (FLoginID.empty()) FLoginID = LoginNameFromClient();
  return FLoginID;
}

void TNWBase::SetLoginID(const std::string& value) {
  FLoginID = value.empty() ? LoginNameFromClient() : UpperCase(value);
  NotifyOwnerForm(kUserChangedMessage);
  if (OnUserChange) OnUserChange(this);
}

// Only a name the server gave is kept: a failure shows "LOCAL" and is
// asked again next time.
std::string TNWBase::ServerName() const {
  if (FServerName.empty() && !TryGetServerNameOf(ServerHandle(), FServerName)) return kUnknownServerName;
  return FServerName;
}

void TNWBase::SetServerName(const std::string& value) {
  const std::string name = UpperCase(value);
  if (name.empty()) {
    FServerHandle = GetPrimaryConnHandle();
    std::string serverName;
    FServerName = TryGetServerNameOf(FServerHandle, serverName) ? serverName : std::string();
  } else if (const NWCONN_HANDLE connection = OpenServerConnection(name)) {
    FServerHandle = connection;
    FServerName = name;
  } else {
    RaiseNWError("Invalid Server Handle");
  }
  NotifyOwnerForm(kServerChangedMessage);
  if (OnServerChange) OnServerChange(this);
}

TDateTime TNWBase::ServerDate() const {
  return GetServerDateOf(ServerHandle());
}

void TNWBase::SetServerDate(TDateTime value) {
  SetServerDateTime(ServerHandle(), value);
}

void TNWBase::SetShellErrorMode(TNWShellErrorMode value) {
  FShellErrorMode = value;
  SetErrorMode(static_cast<uint8_t>(value));
}

TNWBroadcastMode TNWBase::BroadcastMode() const {
  return static_cast<TNWBroadcastMode>(GetBroadcastState(ServerHandle()));
}

void TNWBase::SetBroadcastMode(TNWBroadcastMode value) {
  SetBroadcastState(ServerHandle(), static_cast<uint16_t>(value));
}

std::string TNWBase::LoginFullName() const {
  return ReadFullName(ServerHandle(), FLoginID);
}

std::string TNWBase::ObjectID() const {
  if (NDSAvailable()) return MapNameToIDText(ServerHandle(), LoginID());
  const uint16_t typeCode = ObjTypeCode(ObjectType());
  return GetObjectIDText(ServerHandle(), LoginID(), typeCode);
}

uint16_t TNWBase::ConnectionID() const {
  return GetConnectionNumber(ServerHandle());
}

TNWObjType TNWBase::ObjectType() const {
  const uint16_t code = NWObjectType();
  for (int ordinal = 1; code != 0 && ordinal <= static_cast<int>(TNWObjType::nwObjTypeTCPIPGateway); ++ordinal) {
    const auto type = static_cast<TNWObjType>(ordinal);
    if (ObjTypeCode(type) == code) return type;
  }
  RaiseNWError("Invalid Netware Object Type");
  return TNWObjType::nwObjTypeUser;
}

uint16_t TNWBase::NWObjectType() const {
  return FindObjectType(ServerHandle(), FLoginID);
}

uint16_t TNWBase::MaxServerConns() const {
  return GetMaxConnections();
}

bool TNWBase::ConsoleOperator() const {
  return HasConsolePrivileges(ServerHandle());
}

bool TNWBase::Manager() const {
  return IsManagerOf(ServerHandle());
}

char TNWBase::FirstNetworkDrive() const {
  return GetFirstNetDrive();
}

char TNWBase::NextNetworkDrive() const {
  return GetNextNetDrive();
}

void TNWBase::RaiseNWError(const std::string& message) const {
  if (!FSilentExceptions) throw TNWObjError(message);
}

}  // namespace retrove
