#pragma once

#include <cstdint>
#include <string>

#include "ClientModules.h"
#include "DateTime.h"
#include "Object.h"

namespace retrove {

using NWCONN_HANDLE = uint32_t;
using NWCCODE = uint32_t;

// Process-wide state of the calls and connection library binding. The
// client's modules, once loaded, stay loaded until the process ends.
extern TClientModuleHandle CallsLibHandle;
extern TClientModuleHandle ConnLibHandle;
extern NWCONN_HANDLE PrimaryConnHandle;
extern int32_t NWLibResult;  // result of this unit's latest call
extern int32_t NWLibError;   // its latest failing result; never cleared
extern bool DSInUse;

inline constexpr int32_t kModuleNotLoaded = 0xFFFF;

// Loads "CALWIN32.DLL", then "CLXWIN32.DLL", initialises the calls library
// and finds the primary connection.
class TNWLib : public TObject {
public:
  TNWLib();
  std::string ErrorText() const;
};

// The primary connection: the cached one, or asked of the client (0 when
// there is none; the failure is recorded in NWLibError).
NWCONN_HANDLE GetPrimaryConnHandle();

// The connection itself, or the primary one for 0.
NWCONN_HANDLE ConnectionOrPrimary(NWCONN_HANDLE connection);

// Both libraries loaded and a primary connection found.
bool NWLibReady();

// Stores a call's result in NWLibResult and, when it failed, in NWLibError.
void RecordNWLibResult(NWCCODE result);

// The name of an object ID (in the server's byte order): the bindery's, or
// with directory services in use the directory's; empty when unknown. A
// connection of 0 means the primary connection.
std::string GetObjectNameByID(NWCONN_HANDLE connection, uint32_t objectID);

// The four bytes of `value` in reverse order, by the client; 0 without it.
uint32_t LongSwap(uint32_t value);

// An object ID as upper-case hexadecimal without leading zeros ("0" for 0).
std::string ObjectIDText(uint32_t objectID);

// Bindery object types; ObjTypeCode gives the 16-bit code the client takes
// and gives, the bindery type number in its high byte (0 for the last two).
enum class TNWObjType {
  nwObjTypeNone,
  nwObjTypeUser,
  nwObjTypeGroup,
  nwObjTypePrintQ,
  nwObjTypeFileServer,
  nwObjTypeJobServer,
  nwObjTypeGateway,
  nwObjTypePrintServer,
  nwObjTypeArchiveQueue,
  nwObjTypeArchiveServer,
  nwObjTypeJobQueue,
  nwObjTypeAdministration,
  nwObjTypeNASSNAServer,
  nwObjTypeRemoteBridge,
  nwObjTypeTCPIPGateway,
  nwObjTypeNDSTree,
  nwObjTypeConnectedServer
};
uint16_t ObjTypeCode(TNWObjType type);

// A connection's broadcast state; the ordinal is the client's mode number.
enum class TNWBroadcastMode { nwBroadcastOn, nwBroadcastServerOnly, nwBroadcastOff, nwBroadcastStored };

// Routines over a connection; a connection of 0 means the primary one,
// except where said otherwise. Each gives its failure value (0, empty,
// false) when the client cannot answer, and records the client's result.
uint16_t GetConnectionNumber(NWCONN_HANDLE connection);
std::string GetConnectionUserName(NWCONN_HANDLE connection);

// An object's ID as the bindery gives it, or with directory services in
// use as the directory does; 0 when unknown.
uint32_t GetObjectIDByName(NWCONN_HANDLE connection, const std::string& name, uint16_t typeCode);
// The ID as hexadecimal text; "0" when unknown.
std::string GetObjectIDText(NWCONN_HANDLE connection, const std::string& name, uint16_t typeCode);
// The first type code under which the name is known (print servers before
// file servers); 0 when none.
uint16_t FindObjectType(NWCONN_HANDLE connection, const std::string& name);
bool HasConsolePrivileges(NWCONN_HANDLE connection);
bool IsManagerOf(NWCONN_HANDLE connection);
// The full name of a login: the directory's, or the bindery's
// IDENTIFICATION property; the login name itself when neither is known.
std::string ReadFullName(NWCONN_HANDLE connection, const std::string& loginName);

// The connection's server name; kUnknownServerName when the client cannot
// tell. TryGetServerNameOf tells the two apart.
inline constexpr char kUnknownServerName[] = "LOCAL";
std::string GetServerNameOf(NWCONN_HANDLE connection);
bool TryGetServerNameOf(NWCONN_HANDLE connection, std::string& name);
// The server's date without the time; the workstation's when the server
// cannot give a real one.
TDateTime GetServerDateOf(NWCONN_HANDLE connection);
uint16_t GetMaxConnections();
// Makes the named server the preferred one and its connection the primary
// one; false, with the old primary connection kept, when either fails.
bool SetPreferredServer(const std::string& name, NWCONN_HANDLE& connection);
uint16_t GetBroadcastState(NWCONN_HANDLE connection);
// The connection is passed as given.
bool SetBroadcastState(NWCONN_HANDLE connection, uint16_t mode);

// The workstation's first network drive letter, and the first free drive
// from there on; NUL when none.
char GetFirstNetDrive();
char GetNextNetDrive();
// The client's error mode; gives the previous one.
uint8_t SetErrorMode(uint8_t mode);

// An error code as upper-case hexadecimal of at least four digits; a
// negative code shows its 32-bit form (-1 gives FFFFFFFF).
std::string NWErrorCodeText(int32_t code);

}  // namespace retrove
