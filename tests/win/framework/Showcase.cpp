// Shows the test window and the About-like dialog for a person to look at.
// With "about" the dialog is shown too; the program ends when the window closes.
#include <cstring>

#include "Application.h"
#include "TestForm.h"

using namespace retrove;
using namespace retrove::test;

int main(int argc, char** argv) {
  Application.Initialize();
  Application.SetTitle("Retrove 97");
  TTestForm* form = nullptr;
  TTestDialog* dialog = nullptr;
  Application.CreateForm(form);
  Application.CreateForm(dialog);
  form->ListDel->SetSmallImages(form->ExpImage);
  const char* names[] = {"LETTERS.DOC", "REPORT.TXT", "NOTES"};
  for (int i = 0; i < 3; ++i) {
    const int row = form->ListDel->AddItem(names[i], 6);
    form->ListDel->SetSubItem(row, 0, std::to_string(1024 * (i + 1)));
    form->ListDel->SetSubItem(row, 1, "12-03-1997 10:15");
    form->ListDel->SetSubItem(row, 2, "SUPERVISOR");
  }
  form->TreeDel->SetImages(form->ExpImage);
  HTREEITEM top = form->TreeDel->AddChild(nullptr, "Desktop");
  form->TreeDel->SetImageIndex(top, 4);
  form->TreeDel->SetSelectedIndex(top, 4);
  for (const char* name : {"F:\\", "DATA", "PUBLIC"}) {
    HTREEITEM node = form->TreeDel->AddChild(top, name);
    form->TreeDel->SetImageIndex(node, 4);
    form->TreeDel->SetSelectedIndex(node, 4);
  }
  form->TreeDel->Expand(top);
  form->Combo->AddItem("F:\\DATA");
  form->Combo->SetItemIndex(0);
  form->BStop->SetEnabled(false);
  if (argc > 1 && std::strcmp(argv[1], "about") == 0) form->OnShow = [dialog](TObject&) { dialog->Show(); };
  Application.Run();
  return 0;
}
