#pragma once

#include <windows.h>
#include <objbase.h>

#include <doctest/doctest.h>

#include <functional>
#include <string>

#include "UNsShellUtils.h"

namespace retrove::test {

// The absolute list of an existing path.
inline ShellIdList Parse(const std::string& path) {
  ShellIdList list;
  REQUIRE(PathToIdList(path, list) == S_OK);
  REQUIRE(list);
  return list;
}

// COM for the calling thread, for one test.
class TComScope {
public:
  TComScope() { CoInitialize(nullptr); }
  ~TComScope() { CoUninitialize(); }
  TComScope(const TComScope&) = delete;
  TComScope& operator=(const TComScope&) = delete;
};

// Handles messages until `done` holds or `milliseconds` have passed.
inline bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > milliseconds) return false;
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    Sleep(10);
  }
  return true;
}

// A fresh folder under the temporary folder, removed with what is left
// in it (one level of files and folders) at the end.
class TTempFolder {
public:
  TTempFolder() {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    static int serial = 0;
    FPath = std::string(base) + "rtv" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++serial);
    CreateDirectoryA(FPath.c_str(), nullptr);
  }
  ~TTempFolder() {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((FPath + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        const std::string path = FPath + "\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
          RemoveDirectoryA(path.c_str());
        else
          DeleteFileA(path.c_str());
      } while (FindNextFileA(search, &found));
      FindClose(search);
    }
    RemoveDirectoryA(FPath.c_str());
  }
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;

  const std::string& Path() const { return FPath; }
  std::string Child(const std::string& name) const { return FPath + "\\" + name; }

private:
  std::string FPath;
};

}  // namespace retrove::test
