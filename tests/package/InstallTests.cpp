#include <doctest/doctest.h>

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <string>

#include "Program.h"
#include "RemoteControls.h"
#include "StoredSettings.h"
#include "VersionInfo.h"

// The installer in a throwaway Wine prefix, as an administrator would run
// it: silently, then the program from where it went, then the uninstaller.
using namespace e2e;

namespace {

constexpr const char* kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Retrove";
constexpr DWORD kSetupTimeoutMs = 120000;

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  REQUIRE_MESSAGE(value != nullptr, name);
  return value;
}

std::string Setup() { return Variable("RETROVE_SETUP"); }

// "1.0" from "...\Retrove-1.0-setup.exe": the release's own name.
std::string VersionInSetupName() {
  const std::string setup = Setup();
  const std::string head = "Retrove-";
  const std::string tail = "-setup.exe";
  const auto start = setup.rfind(head);
  REQUIRE(start != std::string::npos);
  REQUIRE(setup.size() > start + head.size() + tail.size());
  return setup.substr(start + head.size(), setup.size() - start - head.size() - tail.size());
}

std::string FolderPath(int folder) {
  char path[MAX_PATH];
  REQUIRE(SHGetFolderPathA(nullptr, folder, nullptr, SHGFP_TYPE_CURRENT, path) == S_OK);
  return path;
}

std::string InstallFolder() { return FolderPath(CSIDL_PROGRAM_FILES) + "\\Retrove"; }
std::string Shortcut() { return FolderPath(CSIDL_COMMON_PROGRAMS) + "\\Retrove.lnk"; }

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::set<std::string> FileNames(const std::string& folder) {
  std::set<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.insert(found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

bool KeyExists(HKEY root, const char* path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

// A string value, or "<missing>".
std::string RegistryText(HKEY root, const char* path, const char* name) {
  char text[1024];
  DWORD size = sizeof text;
  if (RegGetValueA(root, path, name, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS) return "<missing>";
  return text;
}

// Where a shortcut leads, or "<unreadable>".
std::string ShortcutTarget(const std::string& link) {
  std::string target = "<unreadable>";
  IShellLinkA* shellLink = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&shellLink))))
    return target;
  IPersistFile* file = nullptr;
  if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    const std::wstring wide(link.begin(), link.end());
    char path[MAX_PATH];
    if (SUCCEEDED(file->Load(wide.c_str(), STGM_READ)) &&
        shellLink->GetPath(path, MAX_PATH, nullptr, SLGP_RAWPATH) == S_OK)
      target = path;
    file->Release();
  }
  shellLink->Release();
  return target;
}

class TProcess {
public:
  explicit TProcess(std::string commandLine) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    REQUIRE_MESSAGE(CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                   &startup, &FInfo),
                    commandLine);
    CloseHandle(FInfo.hThread);
  }
  ~TProcess() {
    if (WaitForSingleObject(FInfo.hProcess, 0) != WAIT_OBJECT_0) TerminateProcess(FInfo.hProcess, 1);
    CloseHandle(FInfo.hProcess);
  }
  TProcess(const TProcess&) = delete;
  TProcess& operator=(const TProcess&) = delete;

  // The exit code once it ended, or -1 when it did not end in time.
  int ExitCode(DWORD timeoutMs) const {
    DWORD code = 0;
    if (WaitForSingleObject(FInfo.hProcess, timeoutMs) != WAIT_OBJECT_0) return -1;
    GetExitCodeProcess(FInfo.hProcess, &code);
    return static_cast<int>(code);
  }
  DWORD Id() const { return FInfo.dwProcessId; }

private:
  PROCESS_INFORMATION FInfo{};
};

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

// The texts of a dialog's static controls, each followed by "|".
std::string StaticTexts(HWND dialog) {
  std::string texts;
  for (int index = 0; HWND text = FindDescendant(dialog, "Static", index); ++index) texts += WindowText(text) + "|";
  return texts;
}

struct TDialogSearch {
  const char* Title;
  const std::string& Part;
  HWND Found = nullptr;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM data) {
  auto& search = *reinterpret_cast<TDialogSearch*>(data);
  char className[16];
  GetClassNameA(window, className, sizeof className);
  // A wizard page adds its blank subtitle to the title.
  std::string title = WindowText(window);
  title.erase(title.find_last_not_of(' ') + 1);
  if (std::string(className) != "#32770" || title != search.Title) return TRUE;
  if (StaticTexts(window).find(search.Part) == std::string::npos) return TRUE;
  search.Found = window;
  return FALSE;
}

// A dialog titled `title` that shows `part` in one of its texts: the
// setup's message boxes share their title with its wizard, and the
// uninstaller runs on as another process.
HWND WaitForDialogSaying(const char* title, const std::string& part, DWORD timeoutMs) {
  TDialogSearch search{title, part};
  WaitUntil(
      [&] {
        EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&search));
        return search.Found != nullptr;
      },
      timeoutMs);
  return search.Found;
}

void InstallSilently() {
  TProcess setup(Quoted(Setup()) + " /S");
  REQUIRE(setup.ExitCode(kSetupTimeoutMs) == 0);
}

// The development client's modules, from the folder the harness put them
// in beside a copy of the program; a workstation would have its own client.
std::set<std::string> CopyClientBeside(const std::string& folder) {
  std::string client = Variable("RETROVE_E2E_CLIENT");
  client.erase(client.rfind('\\'));
  std::set<std::string> copied;
  for (const auto& name : FileNames(client))
    if (name.size() > 4 && lstrcmpiA(name.c_str() + name.size() - 4, ".dll") == 0) {
      REQUIRE(CopyFileA((client + "\\" + name).c_str(), (folder + "\\" + name).c_str(), TRUE));
      copied.insert(name);
    }
  REQUIRE(!copied.empty());
  return copied;
}

void ListsTheDemoFolder(const std::string& program) {
  REQUIRE(_putenv(("RETROVE_INSTALLED=" + program).c_str()) == 0);
  TProgram installed("RETROVE_INSTALLED");
  installed.FindControls();
  installed.Open({"Desktop", "My Computer", "(F:)", "DOCS"});
  CHECK(installed.Header() == "Deleted Contents of 'F:\\DOCS\\'");
  CHECK(installed.RowCount() == 5);
  CHECK(installed.FindRow("MEMO.TXT") >= 0);
  PostMessageA(installed.Main, WM_CLOSE, 0, 0);
  REQUIRE(installed.Ended(10000));
}

}  // namespace

TEST_CASE("without the NetWare client the installer says what is missing, and Cancel installs nothing") {
  REQUIRE(!Exists(InstallFolder()));
  TProcess setup(Quoted(Setup()));
  HWND box = WaitForDialogSaying("Retrove Setup", "Retrove needs the workstation's NetWare client", 30000);
  REQUIRE(box);
  const std::string texts = StaticTexts(box);
  CAPTURE(texts);
  CHECK(texts.find("CALWIN32.DLL, CLXWIN32.DLL not found") != std::string::npos);
  PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
  CHECK(setup.ExitCode(30000) == 2);
  CHECK(!Exists(InstallFolder()));
  CHECK(!KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
}

TEST_CASE("a silent install puts the program in place and it runs; a silent uninstall takes away all it put there") {
  const std::string folder = InstallFolder();
  const std::string program = folder + "\\Retrove.exe";
  const std::string uninstaller = folder + "\\Uninstall.exe";
  InstallSilently();
  CHECK(FileNames(folder) == std::set<std::string>{"Retrove.exe", "USER-GUIDE.txt", "Uninstall.exe"});
  CHECK(retrove::ProductVersion(program) == VersionInSetupName());
  REQUIRE(SUCCEEDED(CoInitialize(nullptr)));
  CHECK(lstrcmpiA(ShortcutTarget(Shortcut()).c_str(), program.c_str()) == 0);
  CoUninitialize();
  CHECK(RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName") == "Retrove");
  CHECK(RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayVersion") == VersionInSetupName());
  CHECK(RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, "InstallLocation") == folder);
  CHECK(RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString") == Quoted(uninstaller));
  const std::string quietUninstall = RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, "QuietUninstallString");
  CHECK(quietUninstall == Quoted(uninstaller) + " /S");

  // The client the workstation would have, beside the program for this
  // test: the uninstaller must leave it, and the folder with it.
  const auto client = CopyClientBeside(folder);
  ForgetSettings();
  ListsTheDemoFolder(program);
  REQUIRE(KeyExists(HKEY_CURRENT_USER, kSettingsKey));  // stored as the window closed

  {
    // The uninstaller runs on from a copy of itself, and the one started
    // here ends at once.
    TProcess uninstall(quietUninstall);
    CHECK(uninstall.ExitCode(kSetupTimeoutMs) == 0);
  }
  CHECK(WaitUntil([] { return !KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey); }, kSetupTimeoutMs));
  CHECK(WaitUntil([&] { return FileNames(folder) == client; }, 10000));
  CHECK(!Exists(Shortcut()));
  CHECK(KeyExists(HKEY_CURRENT_USER, kSettingsKey));
  for (const auto& name : client) DeleteFileA((folder + "\\" + name).c_str());
  RemoveDirectoryA(folder.c_str());
}

TEST_CASE("an uninstall run by hand asks before it takes the user's settings, and Yes takes them") {
  InstallSilently();
  ForgetSettings();
  StoreSetting("ViewStyle", "vsReport");
  TProcess uninstall(Quoted(InstallFolder() + "\\Uninstall.exe"));
  // The wizard's button that goes on has the dialog's IDOK: Uninstall on
  // its first page, Close on its last.
  HWND wizard = WaitForDialogSaying("Retrove Uninstall", "", 30000);
  REQUIRE(wizard);
  PostMessageA(wizard, WM_COMMAND, IDOK, 0);
  HWND question = WaitForDialogSaying("Retrove Uninstall", "Remove your Retrove settings too", 30000);
  REQUIRE(question);
  CHECK(KeyExists(HKEY_CURRENT_USER, kSettingsKey));
  PostMessageA(question, WM_COMMAND, IDYES, 0);
  CHECK(WaitUntil([] { return !KeyExists(HKEY_CURRENT_USER, "Software\\Vantorel"); }, 30000));
  CHECK(!KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
  CHECK(!Exists(InstallFolder()));
  // Close is enabled once the uninstaller is done.
  REQUIRE(WaitUntil([&] { return IsWindowEnabled(GetDlgItem(wizard, IDOK)) != FALSE; }, 30000));
  PostMessageA(wizard, WM_COMMAND, IDOK, 0);
  CHECK(WaitUntil([&] { return !IsWindow(wizard); }, 30000));
}
