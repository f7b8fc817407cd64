#pragma once

#include <cstdint>

namespace nwsim {

// Result codes the way a NetWare client and server report them: 0x88xx from
// the workstation's requester, 0x89xx from the server, negative values from
// directory services.
using Code = uint32_t;

inline constexpr Code kOk = 0;

inline constexpr Code kInvalidConnection = 0x8801;
inline constexpr Code kNoConnectionToServer = 0x880F;
inline constexpr Code kInvalidParameter = 0x8836;

inline constexpr Code kNoCreatePrivileges = 0x8984;
inline constexpr Code kNoCreateDeletePrivileges = 0x8985;
inline constexpr Code kVolumeDoesNotExist = 0x8998;
inline constexpr Code kBadDirectoryHandle = 0x899B;
inline constexpr Code kInvalidPath = 0x899C;
inline constexpr Code kNoMoreDirectoryHandles = 0x899D;
inline constexpr Code kNoConsolePrivileges = 0x89C6;
inline constexpr Code kNoSuchProperty = 0x89FB;
inline constexpr Code kNoSuchObject = 0x89FC;
inline constexpr Code kFileExists = 0x89FE;
inline constexpr Code kFailure = 0x89FF;
inline constexpr Code kNoMoreSalvageableFiles = 0x89FF;

inline constexpr Code kDSBadKey = static_cast<Code>(-302);
inline constexpr Code kDSBadContext = static_cast<Code>(-303);
inline constexpr Code kDSBadVerb = static_cast<Code>(-308);
inline constexpr Code kDSInvalidHandle = static_cast<Code>(-322);
inline constexpr Code kDSNullPointer = static_cast<Code>(-331);
inline constexpr Code kDSContextCreation = static_cast<Code>(-328);
inline constexpr Code kDSNoSuchEntry = static_cast<Code>(-601);
inline constexpr Code kDSNoSuchAttribute = static_cast<Code>(-603);
inline constexpr Code kDSNotImplemented = static_cast<Code>(-699);

// Rights mask bits.
inline constexpr uint16_t kRightCreate = 0x08;
inline constexpr uint16_t kRightErase = 0x10;
inline constexpr uint16_t kAllRights = 0x1FB;

}  // namespace nwsim
