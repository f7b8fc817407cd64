// Shows a shell tree opened at the folder given on the command line, for a
// person to look at; the program ends when the window closes.
#include <objbase.h>

#include "Application.h"
#include "Form.h"
#include "UNsShellControls.h"
#include "UNsShellUtils.h"

using namespace retrove;

int main(int argc, char** argv) {
  CoInitialize(nullptr);
  Application.Initialize();
  Application.SetTitle("Shell tree");
  TForm* form = nullptr;
  Application.CreateForm(form);
  form->SetBounds(20, 20, 300, 460);
  auto* tree = new TNsShellTree(form);
  tree->SetParent(form);
  tree->SetAlign(alClient);
  form->OnShow = [tree, argc, argv](TObject&) {
    ShellIdList list;
    if (argc > 1 && PathToIdList(argv[1], list) == S_OK) tree->SelectIdList(list.Get());
  };
  Application.Run();
  CoUninitialize();
  return 0;
}
