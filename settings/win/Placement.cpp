#include "Placement.h"

#include <windows.h>

#include <vector>

#include "Application.h"
#include "PropStore.h"
#include "PropertyTable.h"
#include "RegistrySettings.h"

namespace retrove {

namespace {

std::string ProgramName() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, sizeof path - 1);
  std::string name(path);
  const size_t slash = name.find_last_of("\\/");
  if (slash != std::string::npos) name.erase(0, slash + 1);
  const size_t dot = name.rfind('.');
  if (dot != std::string::npos) name.erase(dot);
  return name;
}

BOOL CALLBACK AddWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (GetMonitorInfoA(monitor, &info)) {
    const RECT& work = info.rcWork;
    reinterpret_cast<std::vector<TScreenRect>*>(data)->push_back({work.left, work.top, work.right, work.bottom});
  }
  return TRUE;
}

std::vector<TScreenRect> WorkAreas() {
  std::vector<TScreenRect> areas;
  EnumDisplayMonitors(nullptr, nullptr, &AddWorkArea, reinterpret_cast<LPARAM>(&areas));
  return areas;
}

int32_t StoredIntegerOr(const TSettingsStorage& storage, const std::string& section, const char* name,
                        int32_t fallback) {
  const std::optional<std::string> text = storage.ReadString(section, name);
  return text ? StoredInteger(*text).value_or(fallback) : fallback;
}

UINT ShowCommandOf(TWindowState state) {
  return state == wsMaximized ? SW_SHOWMAXIMIZED : state == wsMinimized ? SW_SHOWMINIMIZED : SW_SHOWNORMAL;
}

}  // namespace

const TClassInfo& TPlacementStore::StaticClassInfo() {
  static const TClassInfo info =
      TClassInfoBuilder<TPlacementStore>("TPlacementStore", TComponent::StaticClassInfo())
          .Boolean("Active", &TPlacementStore::Active, &TPlacementStore::SetActive, true)
          .String("IniFileName", &TPlacementStore::IniFileName, &TPlacementStore::SetIniFileName)
          .String("IniSection", &TPlacementStore::IniSection, &TPlacementStore::SetIniSection)
          .Set("Options", &TPlacementStore::Options, &TPlacementStore::SetOptions,
               {"fpState", "fpPosition", "fpActiveControl"})
          .Build();
  return info;
}

TPlacementStore::TPlacementStore(TComponent* owner) : TComponent(owner) {
  if (dynamic_cast<TForm*>(owner)) FOptions = {fpState, fpPosition};
}

TPlacementStore::~TPlacementStore() {
  TForm* form = Form();
  if (!FHooked || !form) return;
  form->OnShow = std::move(FFormShow);
  form->OnCloseQuery = std::move(FFormCloseQuery);
  form->OnDestroy = std::move(FFormDestroy);
}

TForm* TPlacementStore::Form() const {
  return dynamic_cast<TForm*>(Owner());
}

void TPlacementStore::Loaded() {
  TComponent::Loaded();
  TForm* form = Form();
  if (!form || FHooked) return;
  FHooked = true;
  FFormShow = std::exchange(form->OnShow, [this](TObject& sender) { FormShow(sender); });
  FFormCloseQuery =
      std::exchange(form->OnCloseQuery, [this](TObject& sender, bool& canClose) { FormCloseQuery(sender, canClose); });
  FFormDestroy = std::exchange(form->OnDestroy, [this](TObject& sender) { FormDestroy(sender); });
}

std::string TPlacementStore::KeyPath() const {
  return FIniFileName.empty() ? "Software\\" + ProgramName() : FIniFileName;
}

std::string TPlacementStore::Section() const {
  if (!FIniSection.empty()) return FIniSection;
  const TForm* form = Form();
  return form ? form->ClassInfo().Name() : std::string();
}

void TPlacementStore::FormShow(TObject& sender) {
  if (FActive) {
    try {
      LoadFormPlacement();
    } catch (...) {
      Application.HandleException();
    }
  }
  if (FFormShow) FFormShow(sender);
}

void TPlacementStore::FormCloseQuery(TObject& sender, bool& canClose) {
  if (FFormCloseQuery) FFormCloseQuery(sender, canClose);
  if (!canClose || !FActive || !Form()->HandleAllocated()) return;
  try {
    StoreFormPlacement();
  } catch (...) {
    Application.HandleException();
  }
}

void TPlacementStore::FormDestroy(TObject& sender) {
  if (FActive && !FPlacementSaved) {
    try {
      StoreFormPlacement();
    } catch (...) {
      Application.HandleException();
    }
  }
  if (FFormDestroy) FFormDestroy(sender);
}

// A form whose placement was never read back never overwrites what is
// stored. Saved counts only once the writing succeeded, so that a failed
// save is tried again when the form goes.
void TPlacementStore::StoreFormPlacement() {
  if (!FPlacementRestored && FActive) return;
  TRegistrySettings storage(KeyPath());
  WritePlacementData(storage);
  if (OnSavePlacement) OnSavePlacement(*this);
  FPlacementSaved = true;
}

void TPlacementStore::LoadFormPlacement() {
  FPlacementSaved = false;
  TRegistrySettings storage(KeyPath());
  ReadPlacementData(storage);
  FPlacementRestored = true;
  if (OnRestorePlacement) OnRestorePlacement(*this);
  if (!FOptions.Contains(fpActiveControl)) return;
  const std::string name = storage.ReadString(Section(), "ActiveControl").value_or("");
  if (auto* control = dynamic_cast<TWinControl*>(Form()->FindComponent(name))) Form()->SetActiveControl(control);
}

void TPlacementStore::WritePlacementData(TSettingsStorage& storage) {
  WriteWindowPlacement(storage);
  TWinControl* active = Form()->ActiveControl();
  if (FOptions.Contains(fpActiveControl) && active) storage.WriteString(Section(), "ActiveControl", active->Name());
}

void TPlacementStore::ReadPlacementData(TSettingsStorage& storage) {
  ReadWindowPlacement(storage);
}

void TPlacementStore::WriteWindowPlacement(TSettingsStorage& storage) {
  TForm& form = *Form();
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  GetWindowPlacement(form.Handle(), &placement);
  if (&form == Application.MainForm() && IsIconic(form.Handle())) placement.showCmd = SW_SHOWMINIMIZED;
  // Closed before it was ever shown (the program ends at start): what was
  // read back stays, rather than the hidden window's state.
  if (!IsWindowVisible(form.Handle()) && FRestoredState) placement.showCmd = ShowCommandOf(*FRestoredState);
  const std::string section = Section();
  storage.WriteString(section, "Flags", std::to_string(placement.flags));
  storage.WriteString(section, "ShowCmd", std::to_string(placement.showCmd));
  storage.WriteString(section, "MinMaxPos",
                      FourNumberText({placement.ptMinPosition.x, placement.ptMinPosition.y,
                                      placement.ptMaxPosition.x, placement.ptMaxPosition.y}));
  const RECT& normal = placement.rcNormalPosition;
  storage.WriteString(section, "NormPos", FourNumberText({normal.left, normal.top, normal.right, normal.bottom}));
}

void TPlacementStore::ReadWindowPlacement(const TSettingsStorage& storage) {
  if (!FOptions.Contains(fpState) && !FOptions.Contains(fpPosition)) return;
  TForm& form = *Form();
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  GetWindowPlacement(form.Handle(), &placement);
  placement.showCmd = SW_HIDE;
  if (FOptions.Contains(fpPosition)) ReadPosition(storage, placement);
  if (FOptions.Contains(fpState)) ReadState(storage);
}

void TPlacementStore::ReadPosition(const TSettingsStorage& storage, WINDOWPLACEMENT& placement) {
  TForm& form = *Form();
  const std::string section = Section();
  placement.flags = static_cast<UINT>(StoredIntegerOr(storage, section, "Flags", static_cast<int32_t>(placement.flags)));
  const std::optional<std::string> minMax = storage.ReadString(section, "MinMaxPos");
  if (minMax && !minMax->empty()) {
    const auto values = FourNumbers(*minMax, {0, 0, 0, 0});
    placement.ptMinPosition = {values[0], values[1]};
    placement.ptMaxPosition = {values[2], values[3]};
  }
  const std::optional<std::string> normal = storage.ReadString(section, "NormPos");
  if (!normal || normal->empty()) return;
  const auto edges = FourNumbers(*normal, {form.Left(), form.Top(), form.Left() + form.Width(),
                                           form.Top() + form.Height()});
  TScreenRect rect{edges[0], edges[1], edges[2], edges[3]};
  if (form.BorderStyle() != bsSizeable) {
    rect.Right = rect.Left + form.Width();
    rect.Bottom = rect.Top + form.Height();
  }
  const std::optional<TScreenRect> placed = PlacedRect(rect, WorkAreas());
  if (!placed) return;
  placement.rcNormalPosition = {static_cast<LONG>(placed->Left), static_cast<LONG>(placed->Top),
                                static_cast<LONG>(placed->Right), static_cast<LONG>(placed->Bottom)};
  SetWindowPlacement(form.Handle(), &placement);
}

void TPlacementStore::ReadState(const TSettingsStorage& storage) {
  TForm& form = *Form();
  const int32_t showCommand = StoredIntegerOr(storage, Section(), "ShowCmd", 0);
  const TStoredWindowState state = WindowStateOfShowCommand(showCommand, TStoredWindowState::Normal);
  const TWindowState windowState = state == TStoredWindowState::Maximized   ? wsMaximized
                                   : state == TStoredWindowState::Minimized ? wsMinimized
                                                                            : wsNormal;
  FRestoredState = windowState;
  if (windowState == wsMinimized && &form == Application.MainForm()) {
    form.SetWindowState(wsNormal);
    PostMessageA(form.Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    return;
  }
  form.SetWindowState(windowState);
  UpdateWindow(form.Handle());
}

const TClassInfo& TSettingsStore::StaticClassInfo() {
  static const TClassInfo info =
      TClassInfoBuilder<TSettingsStore>("TSettingsStore", TPlacementStore::StaticClassInfo())
          .Object("StoredProps", [](TSettingsStore& store) -> TPersistent* { return &store.FStoredProps; })
          .Build();
  return info;
}

TSettingsStore::TSettingsStore(TComponent* owner) : TPlacementStore(owner) {}

void TSettingsStore::WritePlacementData(TSettingsStorage& storage) {
  TPlacementStore::WritePlacementData(storage);
  TPropsStorage(storage, Section()).SaveListedProperties(*Form(), FStoredProps);
}

void TSettingsStore::ReadPlacementData(TSettingsStorage& storage) {
  TPlacementStore::ReadPlacementData(storage);
  SetPlacementRestored();
  TPropsStorage(storage, Section()).RestoreListedProperties(*Form(), FStoredProps);
}

}  // namespace retrove
