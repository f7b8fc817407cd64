#include <doctest/doctest.h>

#include <windows.h>

#include <string>

#include "Exceptions.h"
#include "RegistrySettings.h"
#include "TestKey.h"

using namespace retrove;
using namespace retrove::test;

TEST_CASE("a written value reads back; writing makes the keys, reading never does") {
  const TTestKey key;
  TRegistrySettings settings("\\" + key.Path);
  CHECK_FALSE(settings.ReadString("Columns", "Sizes").has_value());
  CHECK_FALSE(key.Exists());

  settings.WriteString("Columns", "Sizes", "100,100,250");
  CHECK(key.Get("Columns", "Sizes") == "100,100,250");
  CHECK(settings.ReadString("Columns", "Sizes") == "100,100,250");
  settings.WriteString("", "Flags", "");
  CHECK(settings.ReadString("", "Flags") == "");
  CHECK_FALSE(settings.ReadString("Columns", "Order").has_value());
  CHECK_FALSE(key.Exists("Elsewhere"));
}

TEST_CASE("a value of another type, without its terminating zero, or absurdly long reads as missing") {
  const TTestKey key;
  const TRegistrySettings settings(key.Path);
  const DWORD number = 100;
  key.Put("Columns", L"Number", REG_DWORD, &number, sizeof number);
  key.Put("Columns", L"Expand", REG_EXPAND_SZ, L"1,2", 8);
  // The registry counts in a terminator it finds right after the data, so
  // the byte pair after the text must not be zero.
  key.Put("Columns", L"Unended", REG_SZ, L"1,2,3x", 10);
  key.Put("Columns", L"Empty", REG_SZ, L"", 0);
  key.PutText("Columns", L"Huge", std::wstring(100000, L'7'));
  key.PutText("Columns", L"Fine", L"4,5");
  for (const std::string name : {"Number", "Expand", "Unended", "Empty", "Huge"}) {
    CAPTURE(name);
    CHECK_FALSE(settings.ReadString("Columns", name).has_value());
  }
  CHECK(settings.ReadString("Columns", "Fine") == "4,5");
}

TEST_CASE("a key that cannot be made is reported, not ignored") {
  const TTestKey key;
  HKEY volatileKey = nullptr;
  REQUIRE(RegCreateKeyExA(HKEY_CURRENT_USER, (key.Path + "\\Volatile").c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                          KEY_WRITE, nullptr, &volatileKey, nullptr) == ERROR_SUCCESS);
  RegCloseKey(volatileKey);
  // A lasting key cannot live below one that goes with the session.
  TRegistrySettings settings(key.Path + "\\Volatile");
  CHECK_THROWS_AS(settings.WriteString("Columns", "Sizes", "1"), EOSError);
}
