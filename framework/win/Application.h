#pragma once

#include <windows.h>

#include <string>

#include "Component.h"

namespace retrove {

class TForm;

// The program's message loop, its title, its forms and its exception
// report. Forms made by CreateForm are owned here; the first one is the main
// form, and closing it ends Run.
class TApplication : public TComponent {
public:
  TApplication();
  ~TApplication() override;

  // Common controls and OLE for the GUI thread.
  void Initialize();

  const std::string& Title() const { return FTitle; }
  void SetTitle(const std::string& title) { FTitle = title; }

  // Creates a form owned by the application, stores it in `reference` (so
  // that the form's OnCreate handler already finds it there) and runs its
  // OnCreate. A form that cannot be made leaves `reference` empty and the
  // exception to the caller; an exception of OnCreate is reported and the
  // form stays.
  template <class T>
  void CreateForm(T*& reference) {
    try {
      reference = new T(this);
    } catch (...) {
      reference = nullptr;
      throw;
    }
    if (!FMainForm) FMainForm = reference;
    FormCreated(*reference);
  }

  TForm* MainForm() const { return FMainForm; }

  // Shows the main form and handles messages until Terminate.
  void Run();
  // Handles every message waiting in the queue, then returns.
  void ProcessMessages();
  // Waits for one message and handles it.
  void HandleMessage();
  // Ends the message loop once the messages now queued are handled.
  void Terminate();
  bool Terminated() const { return FTerminated; }

  // The standard report of an exception: call from inside a catch block.
  // Shows the exception's message in a message box; the program goes on.
  void HandleException();
  void ShowException(const std::string& message);
  // A plain message: caption the title, no icon, one OK button.
  void ShowMessage(const std::string& text);
  // A question whose answer cannot be undone: warning icon, Yes and No,
  // No the default. True for Yes.
  bool Confirm(const std::string& text);

  // The window that message boxes are modal to; nullptr when none is shown.
  HWND DialogOwner() const;

protected:
  void Notification(TComponent* component, TOperation operation) override;

private:
  void FormCreated(TForm& form);
  // Returns false for WM_QUIT.
  bool ProcessMessage(MSG& message);
  static bool IsKeyMessage(const MSG& message);

  std::string FTitle;
  TForm* FMainForm = nullptr;
  bool FTerminated = false;
  bool FOleInitialized = false;
};

extern TApplication Application;

}  // namespace retrove
