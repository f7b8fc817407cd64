#pragma once

#include <cstdint>

// The client SDK's calling convention: stdcall on 32-bit x86, the one
// convention elsewhere. The .def files export the undecorated names.
#if defined(__i386__)
#define NWCALL __attribute__((stdcall))
#else
#define NWCALL
#endif

using NWCCODE = uint32_t;
using NWCONN_HANDLE = uint32_t;
using NWDIR_HANDLE = uint8_t;

struct NW_DATE {
  uint8_t day;
  uint8_t month;
  uint16_t year;
};

struct NW_TIME {
  uint8_t seconds;
  uint8_t minutes;
  uint16_t hours;
};
