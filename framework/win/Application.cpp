#include "Application.h"

#include <commctrl.h>
#include <ole2.h>

#include <exception>

#include "Form.h"

namespace retrove {

TApplication Application;

namespace {

std::string ProgramName() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string name = path;
  name = name.substr(name.find_last_of("\\/") + 1);
  return name.substr(0, name.rfind('.'));
}

}  // namespace

TApplication::TApplication() : TComponent(nullptr), FTitle(ProgramName()) {}

TApplication::~TApplication() {
  DestroyComponents();
  if (FOleInitialized) OleUninitialize();
}

void TApplication::Initialize() {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_USEREX_CLASSES};
  InitCommonControlsEx(&controls);
  if (!FOleInitialized) FOleInitialized = SUCCEEDED(OleInitialize(nullptr));
}

void TApplication::FormCreated(TForm& form) {
  try {
    form.AfterConstruction();
  } catch (...) {
    HandleException();
  }
}

void TApplication::Run() {
  if (FMainForm) FMainForm->Show();
  while (!FTerminated) HandleMessage();
}

void TApplication::ProcessMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
    if (!ProcessMessage(message)) break;
}

void TApplication::HandleMessage() {
  MSG message;
  if (GetMessageA(&message, nullptr, 0, 0) <= 0) {
    FTerminated = true;
    return;
  }
  ProcessMessage(message);
}

bool TApplication::ProcessMessage(MSG& message) {
  if (message.message == WM_QUIT) {
    FTerminated = true;
    return false;
  }
  if (IsKeyMessage(message)) {
    auto* form = dynamic_cast<TForm*>(TWindow::FromHandle(GetAncestor(message.hwnd, GA_ROOT)));
    try {
      if (form && form->IsShortCut(message)) return true;
    } catch (...) {
      HandleException();
      return true;
    }
  }
  TranslateMessage(&message);
  DispatchMessageA(&message);
  return true;
}

bool TApplication::IsKeyMessage(const MSG& message) {
  return message.hwnd && (message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN);
}

void TApplication::Terminate() {
  // Terminated turns true when the loop takes the WM_QUIT, so none is left
  // behind to end a later loop.
  PostQuitMessage(0);
}

void TApplication::HandleException() {
  try {
    throw;
  } catch (const std::exception& error) {
    ShowException(error.what());
  } catch (...) {
    ShowException("Unknown exception");
  }
}

void TApplication::ShowException(const std::string& message) {
  HWND owner = DialogOwner();
  ::MessageBoxA(owner, message.c_str(), FTitle.c_str(), MB_OK | MB_ICONERROR | (owner ? 0 : MB_TASKMODAL));
}

void TApplication::ShowMessage(const std::string& text) {
  HWND owner = DialogOwner();
  ::MessageBoxA(owner, text.c_str(), FTitle.c_str(), MB_OK | (owner ? 0 : MB_TASKMODAL));
}

bool TApplication::Confirm(const std::string& text) {
  HWND owner = DialogOwner();
  return ::MessageBoxA(owner, text.c_str(), FTitle.c_str(),
                       MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2 | (owner ? 0 : MB_TASKMODAL)) == IDYES;
}

HWND TApplication::DialogOwner() const {
  HWND active = GetActiveWindow();
  if (active && TWindow::FromHandle(active)) return active;
  if (FMainForm && FMainForm->HandleAllocated() && IsWindowVisible(FMainForm->Hwnd())) return FMainForm->Hwnd();
  return nullptr;
}

void TApplication::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == TOperation::opRemove && component == FMainForm) FMainForm = nullptr;
}

}  // namespace retrove
