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

// The frame's thickness, by which a maximised window's frame lies off the
// screen.
POINT FrameOverhang(TFormBorderStyle style) {
  switch (style) {
    case bsSingle: return {GetSystemMetrics(SM_CXBORDER), GetSystemMetrics(SM_CYBORDER)};
    case bsSizeable: return {GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CYFRAME)};
    case bsDialog: return {GetSystemMetrics(SM_CXDLGFRAME), GetSystemMetrics(SM_CYDLGFRAME)};
    case bsNone: break;
  }
  return {0, 0};
}

void ApplySizeLimits(const TSizeLimits& limits, MINMAXINFO& info) {
  const auto copy = [&limits](TSizeLimit limit, LONG& member) {
    if (limits.Limit(limit) != 0) member = limits.Limit(limit);
  };
  copy(TSizeLimit::MinTrackWidth, info.ptMinTrackSize.x);
  copy(TSizeLimit::MinTrackHeight, info.ptMinTrackSize.y);
  copy(TSizeLimit::MaxTrackWidth, info.ptMaxTrackSize.x);
  copy(TSizeLimit::MaxTrackHeight, info.ptMaxTrackSize.y);
  copy(TSizeLimit::MaxSizeWidth, info.ptMaxSize.x);
  copy(TSizeLimit::MaxSizeHeight, info.ptMaxSize.y);
  copy(TSizeLimit::MaxPosLeft, info.ptMaxPosition.x);
  copy(TSizeLimit::MaxPosTop, info.ptMaxPosition.y);
}

}  // namespace

const TClassInfo& TPlacementStore::StaticClassInfo() {
  static const TClassInfo info =
      TClassInfoBuilder<TPlacementStore>("TPlacementStore", TComponent::StaticClassInfo())
          .Boolean("Active", &TPlacementStore::Active, &TPlacementStore::SetActive, true)
          .String("IniFileName", &TPlacementStore::IniFileName, &TPlacementStore::SetIniFileName)
          .String("IniSection", &TPlacementStore::IniSection, &TPlacementStore::SetIniSection)
          .Object("MinMaxInfo", [](TPlacementStore& store) -> TPersistent* { return &store.FMinMaxInfo; })
          .Set("Options", &TPlacementStore::Options, &TPlacementStore::SetOptions,
               {"fpState", "fpPosition", "fpActiveControl"})
          .Boolean("PreventResize", &TPlacementStore::PreventResize, &TPlacementStore::SetPreventResize, false)
          .Build();
  return info;
}

TPlacementStore::TPlacementStore(TComponent* owner)
    : TComponent(owner), FWinHook(std::make_unique<TWindowHook>(nullptr)) {
  if (dynamic_cast<TForm*>(owner)) FOptions = {fpState, fpPosition};
  FWinHook->SetActive(false);
  FWinHook->AfterMessage = [this](TObject&, TMessage& msg, bool&) { PlacementWindowMessage(msg); };
  FMinMaxInfo.OnChange = [this] { SizeLimitsChanged(); };
}

TPlacementStore::~TPlacementStore() {
  FWinHook.reset();
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
  FHadMaximizeIcon = form->BorderIcons().Contains(biMaximize);
  if (FPreventResize) UpdateBorderIcons();
  UpdateWindowHook();
}

void TPlacementStore::SetPreventResize(bool prevent) {
  if (prevent == FPreventResize || !Form()) return;
  FPreventResize = prevent;
  ResetMaximizedPosition();
  UpdateBorderIcons();
}

void TPlacementStore::SizeLimitsChanged() {
  ResetMaximizedPosition();
  if (!ComponentState().Contains(csLoading)) UpdateWindowHook();
}

void TPlacementStore::UpdateWindowHook() {
  TForm* form = Form();
  const bool needed = form && (FPreventResize || !FMinMaxInfo.IsDefault());
  FWinHook->SetWinControl(needed ? form : nullptr);
  FWinHook->SetActive(needed);
}

// Changing the icons makes the window anew; the store must not take that
// for the form closing.
void TPlacementStore::UpdateBorderIcons() {
  TForm& form = *Form();
  TBorderIcons icons = form.BorderIcons();
  if (FPreventResize) FHadMaximizeIcon = icons.Contains(biMaximize);
  const bool wasActive = FActive;
  FActive = false;
  if (FPreventResize || !FHadMaximizeIcon || form.BorderStyle() == bsDialog)
    icons.Exclude(biMaximize);
  else
    icons.Include(biMaximize);
  if (icons != form.BorderIcons()) form.SetBorderIcons(icons);
  FActive = wasActive;
  if (!ComponentState().Contains(csLoading)) UpdateWindowHook();
}

void TPlacementStore::ResetMaximizedPosition() {
  TForm* form = Form();
  if (!form || !form->HandleAllocated() || ComponentState().Contains(csLoading)) return;
  if (FPreventResize || !FMinMaxInfo.IsDefault()) return;
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (!GetWindowPlacement(form->Handle(), &placement)) return;
  if (!IsWindowVisible(form->Handle())) placement.showCmd = SW_HIDE;
  const POINT overhang = FrameOverhang(form->BorderStyle());
  placement.ptMaxPosition = {-overhang.x, -overhang.y};
  SetWindowPlacement(form->Handle(), &placement);
}

void TPlacementStore::PlacementWindowMessage(TMessage& msg) {
  if (FPreventResize) {
    FixedSizeMessage(msg);
  } else if (msg.Msg == WM_GETMINMAXINFO && !FMinMaxInfo.IsDefault()) {
    ApplySizeLimits(FMinMaxInfo, *reinterpret_cast<MINMAXINFO*>(msg.LParam));
    msg.Result = 1;
  }
}

void TPlacementStore::FixedSizeMessage(TMessage& msg) {
  switch (msg.Msg) {
    case WM_GETMINMAXINFO: {
      auto& info = *reinterpret_cast<MINMAXINFO*>(msg.LParam);
      info.ptMinTrackSize = info.ptMaxTrackSize = {Form()->Width(), Form()->Height()};
      msg.Result = 1;
      break;
    }
    case WM_NCHITTEST:
      if (msg.Result >= HTLEFT && msg.Result <= HTBOTTOMRIGHT) msg.Result = HTNOWHERE;
      break;
    case WM_INITMENUPOPUP:
      if (HIWORD(msg.LParam) == 0) break;
      EnableMenuItem(reinterpret_cast<HMENU>(msg.WParam), SC_SIZE, MF_BYCOMMAND | MF_GRAYED);
      EnableMenuItem(reinterpret_cast<HMENU>(msg.WParam), SC_MAXIMIZE, MF_BYCOMMAND | MF_GRAYED);
      msg.Result = 1;
      break;
    default:
      break;
  }
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
  if (FOptions.Contains(fpActiveControl)) {
    const std::string name = storage.ReadString(Section(), "ActiveControl").value_or("");
    if (auto* control = dynamic_cast<TWinControl*>(Form()->FindComponent(name))) Form()->SetActiveControl(control);
  }
  ResetMaximizedPosition();
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

void TSettingsStore::Loaded() {
  TPlacementStore::Loaded();
  if (const TForm* form = Form()) ResolvePropertyPaths(*form, FStoredProps, true);
}

void TSettingsStore::Notification(TComponent* component, TOperation operation) {
  TPlacementStore::Notification(component, operation);
  if (operation != TOperation::opRemove || ComponentState().Contains(csDestroying)) return;
  for (int line = FStoredProps.Count() - 1; line >= 0; --line)
    if (FStoredProps.Objects(line) == component) FStoredProps.Delete(line);
}

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
