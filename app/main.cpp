#include <windows.h>

#include "Application.h"
#include "BusyScope.h"
#include "LocaleSettings.h"
#include "Screen.h"
#include "UAbout.h"
#include "UActionMessage.h"
#include "UMain.h"
#include "Win32ClientModules.h"
#include "Win32FormNotifier.h"

using namespace retrove;

namespace {

// The hourglass of the detail fetch, shown through the screen cursor.
class TScreenBusyIndicator : public IBusyIndicator {
public:
  int CurrentCursor() const override { return Screen.Cursor(); }
  void SetCursor(int cursor) override { Screen.SetCursor(static_cast<TCursor>(cursor)); }
  int BusyCursor() const override { return crHourGlass; }
};

// The three windows, in order. One that cannot be made is reported and the
// program ends: each of them relies on the others being there.
bool CreateForms() {
  try {
    Application.CreateForm(FMain);
    Application.CreateForm(FActionMessage);
    Application.CreateForm(FAbout);
    return true;
  } catch (...) {
    Application.HandleException();
    return false;
  }
}

// Handlers report their own exceptions; whatever still escapes the loop is
// reported here rather than left to the system.
int RunMessageLoop() {
  try {
    Application.Run();
    return 0;
  } catch (...) {
    Application.HandleException();
    return 1;
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  TWin32ClientModules clientModules;
  SetClientModules(&clientModules);
  TWin32FormNotifier formNotifier;
  SetFormNotifier(&formNotifier);
  TScreenBusyIndicator busyIndicator;
  SetBusyIndicator(&busyIndicator);
  LoadLocaleFormatSettings();

  Application.Initialize();
  Application.SetTitle("Retrove 97");
  const int exitCode = CreateForms() ? RunMessageLoop() : 1;
  // The forms go while the client binding and the busy indicator they use
  // still exist.
  Application.DestroyComponents();
  return exitCode;
}
