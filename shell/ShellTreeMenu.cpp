#include "ShellTreeMenu.h"

#include <commctrl.h>

#include <cctype>

#include "DragFormats.h"
#include "UNsShell95.h"

namespace retrove {

namespace {

constexpr int kIconSize = 16;
constexpr int kGap = 4;

std::string MenuText(HMENU menu, int position) {
  char text[256] = "";
  GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
  std::string plain;
  for (const char* c = text; *c; ++c)
    if (*c != '&') plain += *c;
  return plain;
}

std::string VerbAt(IContextMenu* menu, UINT id) {
  if (id < kFirstShellCommandId || id == static_cast<UINT>(-1)) return {};
  char verb[261] = "";
  if (FAILED(menu->GetCommandString(id - kFirstShellCommandId, GCS_VERBA, nullptr, verb, sizeof verb))) return {};
  verb[sizeof verb - 1] = '\0';
  return verb;
}

// The font menus are drawn with; freed with the object.
TFontHandle MenuFont() {
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof metrics;
  if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return {};
  return TFontHandle(CreateFontIndirectA(&metrics.lfMenuFont));
}

// Selects a font into a device context for a scope.
class TSelectedFont {
public:
  TSelectedFont(HDC dc, HFONT font) : FDc(dc), FOld(font ? SelectObject(dc, font) : nullptr) {}
  ~TSelectedFont() {
    if (FOld) SelectObject(FDc, FOld);
  }
  TSelectedFont(const TSelectedFont&) = delete;
  TSelectedFont& operator=(const TSelectedFont&) = delete;

private:
  HDC FDc;
  HGDIOBJ FOld;
};

}  // namespace

TNsShellContextMenu::TNsShellContextMenu(HWND owner, IShellFolder* folder, const std::uint8_t* folderList,
                                         const std::uint8_t* item)
    : FOwner(owner), FFolderList(CopyIdList(nullptr, folderList)), FItem(CopyIdList(nullptr, item)) {
  folder->AddRef();
  FFolder.Reset(folder);
}

std::unique_ptr<TNsShellContextMenu> TNsShellContextMenu::Build(HWND owner, IShellFolder* folder,
                                                                const std::uint8_t* folderList,
                                                                const std::uint8_t* item) {
  if (!folder || !item) return nullptr;
  std::unique_ptr<TNsShellContextMenu> menu(new TNsShellContextMenu(owner, folder, folderList, item));
  LPCITEMIDLIST one = AsItemIdList(menu->FItem.Get());
  try {
    if (FAILED(GetContextMenu(owner, folder, 1, &one, CMF_EXPLORE, kFirstShellCommandId, menu->FMenu, menu->FPopup)))
      return nullptr;
    menu->FindOrAddSendTo();
  } catch (...) {
    return nullptr;
  }
  return menu;
}

// A shell that has a Send To submenu either fills it itself or leaves it
// empty for its host; one that has none gets ours, above the clipboard
// commands as the shell's own windows place it.
void TNsShellContextMenu::FindOrAddSendTo() {
  HMENU popup = FPopup.Get();
  const int count = GetMenuItemCount(popup);
  int clipboardPosition = -1;
  for (int position = 0; position < count; ++position) {
    if (HMENU submenu = GetSubMenu(popup, position)) {
      if (lstrcmpiA(MenuText(popup, position).c_str(), "Send To") == 0) {
        FSendTo = submenu;
        return;
      }
      continue;
    }
    const std::string verb = VerbAt(FMenu.Get(), GetMenuItemID(popup, position));
    if (clipboardPosition < 0 && (verb == "cut" || verb == "copy")) clipboardPosition = position;
  }
  TMenuHandle sendTo(CreatePopupMenu());
  if (!sendTo) return;
  const auto handle = reinterpret_cast<UINT_PTR>(sendTo.Get());
  bool inserted;
  if (clipboardPosition >= 0) {
    const auto at = static_cast<UINT>(clipboardPosition);
    inserted = InsertMenuA(popup, at, MF_BYPOSITION | MF_POPUP | MF_STRING, handle, "Send &To") != 0;
    if (inserted) InsertMenuA(popup, at + 1, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
  } else {
    AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
    inserted = AppendMenuA(popup, MF_POPUP | MF_STRING, handle, "Send &To") != 0;
  }
  // Once in the menu, the submenu is destroyed with it.
  if (inserted) FSendTo = sendTo.Release();
}

void TNsShellContextMenu::FillSendTo() {
  if (FSendToFilled || GetMenuItemCount(FSendTo) > 0) return;
  FSendToFilled = true;
  if (FAILED(ReadSendToEntries(FOwner, kMaxSendToEntries, FEntries))) FEntries.clear();
  for (std::size_t index = 0; index < FEntries.size(); ++index)
    AppendMenuA(FSendTo, MF_OWNERDRAW, kFirstSendToId + index, reinterpret_cast<LPCSTR>(index));
  if (FEntries.empty()) AppendMenuA(FSendTo, MF_STRING | MF_GRAYED, 0, "(empty)");
}

bool TNsShellContextMenu::MeasureEntry(MEASUREITEMSTRUCT& measure) {
  if (measure.CtlType != ODT_MENU) return false;
  const TMenuChoice choice = MenuChoiceOf(measure.itemID, FEntries.size());
  if (choice.Kind != TMenuChoiceKind::SendTo) return false;
  const std::string& name = FEntries[choice.Index].Name;
  TWindowDc dc(FOwner, DCX_CACHE);
  const TFontHandle font = MenuFont();
  SIZE size{};
  {
    TSelectedFont selected(dc.Get(), font.Get());
    GetTextExtentPoint32A(dc.Get(), name.c_str(), static_cast<int>(name.size()), &size);
  }
  measure.itemWidth = static_cast<UINT>(kIconSize + 3 * kGap + size.cx);
  measure.itemHeight = static_cast<UINT>(std::max<LONG>(kIconSize + kGap, size.cy + kGap));
  return true;
}

bool TNsShellContextMenu::DrawEntry(const DRAWITEMSTRUCT& draw) {
  if (draw.CtlType != ODT_MENU) return false;
  const TMenuChoice choice = MenuChoiceOf(draw.itemID, FEntries.size());
  if (choice.Kind != TMenuChoiceKind::SendTo) return false;
  const TSendToEntry& entry = FEntries[choice.Index];
  const bool selected = draw.itemState & ODS_SELECTED;
  RECT rect = draw.rcItem;
  FillRect(draw.hDC, &rect, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
  const int iconTop = rect.top + (rect.bottom - rect.top - kIconSize) / 2;
  ImageList_Draw(GetSystemImageList(0), entry.Icon, draw.hDC, rect.left + kGap, iconTop, ILD_TRANSPARENT);
  rect.left += kIconSize + 2 * kGap;
  const TFontHandle font = MenuFont();
  TSelectedFont selectedFont(draw.hDC, font.Get());
  const int oldMode = SetBkMode(draw.hDC, TRANSPARENT);
  const COLORREF oldColor = SetTextColor(draw.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
  DrawTextA(draw.hDC, entry.Name.c_str(), static_cast<int>(entry.Name.size()), &rect,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  SetTextColor(draw.hDC, oldColor);
  SetBkMode(draw.hDC, oldMode);
  return true;
}

bool TNsShellContextMenu::ForwardToShell(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  TComPtr<IContextMenu3> menu3;
  if (SUCCEEDED(FMenu->QueryInterface(IID_IContextMenu3, menu3.PutVoid())) && menu3)
    return menu3->HandleMenuMsg2(message, wParam, lParam, &result) == S_OK;
  TComPtr<IContextMenu2> menu2;
  if (FAILED(FMenu->QueryInterface(IID_IContextMenu2, menu2.PutVoid())) || !menu2) return false;
  result = 0;
  return menu2->HandleMenuMsg(message, wParam, lParam) == S_OK;
}

bool TNsShellContextMenu::HandleMenuMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  result = 0;
  switch (message) {
    case WM_INITMENUPOPUP:
      ForwardToShell(message, wParam, lParam, result);
      if (reinterpret_cast<HMENU>(wParam) == FSendTo) FillSendTo();
      result = 0;
      return true;
    case WM_MEASUREITEM:
      if (MeasureEntry(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) {
        result = TRUE;
        return true;
      }
      return ForwardToShell(message, wParam, lParam, result);
    case WM_DRAWITEM:
      if (DrawEntry(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) {
        result = TRUE;
        return true;
      }
      return ForwardToShell(message, wParam, lParam, result);
    case WM_MENUCHAR:
      if (reinterpret_cast<HMENU>(lParam) == FSendTo) {
        const int key = std::tolower(static_cast<unsigned char>(LOWORD(wParam)));
        for (std::size_t index = 0; index < FEntries.size(); ++index) {
          if (FEntries[index].Name.empty()) continue;
          if (std::tolower(static_cast<unsigned char>(FEntries[index].Name[0])) != key) continue;
          result = MAKELRESULT(index, MNC_EXECUTE);
          return true;
        }
      }
      return ForwardToShell(message, wParam, lParam, result);
    case WM_MENUSELECT:
      ForwardToShell(message, wParam, lParam, result);
      result = 0;
      return true;
  }
  return false;
}

std::string TNsShellContextMenu::HintOf(WPARAM wParam) const {
  const UINT id = LOWORD(wParam);
  const UINT flags = HIWORD(wParam);
  if (flags == 0xFFFF || (flags & MF_POPUP) || id < kFirstShellCommandId) return {};
  char text[261] = "";
  if (FAILED(FMenu->GetCommandString(id - kFirstShellCommandId, GCS_HELPTEXTA, nullptr, text, sizeof text)))
    return {};
  text[sizeof text - 1] = '\0';
  return text;
}

HRESULT TNsShellContextMenu::Run(UINT command) {
  const TMenuChoice choice = MenuChoiceOf(command, FEntries.size());
  switch (choice.Kind) {
    case TMenuChoiceKind::None:
      return S_FALSE;
    case TMenuChoiceKind::Shell:
      return InvokeCommand(FOwner, FMenu.Get(), choice.Index);
    case TMenuChoiceKind::SendTo:
      break;
  }
  TComPtr<IDataObject> data;
  const HRESULT status = CreateDataObject(FFolder.Get(), FFolderList.Get(), {FItem.Get()}, data);
  if (FAILED(status)) return status;
  return SendToFolderDrop(FOwner, FEntries[choice.Index].Item.Get(), data.Get());
}

}  // namespace retrove
