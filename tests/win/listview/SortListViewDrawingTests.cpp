#include <doctest/doctest.h>

#include <windows.h>
#include <commctrl.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "Form.h"
#include "GuiTesting.h"
#include "PropertyTable.h"
#include "SortListView.h"

using namespace retrove;
using namespace retrove::test;

namespace {

// The list's client area as the list paints it for WM_PRINTCLIENT into a
// bitmap of ours: rows and all, without the header window.
class TClientPicture {
public:
  explicit TClientPicture(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    FWidth = client.right;
    FHeight = client.bottom;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = FWidth;
    info.bmiHeader.biHeight = -FHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    FDc = CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    FBitmap = CreateDIBSection(FDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    FPixels = static_cast<const DWORD*>(bits);
    FPrevious = SelectObject(FDc, FBitmap);
    SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(FDc), PRF_CLIENT | PRF_ERASEBKGND);
    GdiFlush();
  }
  ~TClientPicture() {
    SelectObject(FDc, FPrevious);
    DeleteObject(FBitmap);
    DeleteDC(FDc);
  }
  TClientPicture(const TClientPicture&) = delete;
  TClientPicture& operator=(const TClientPicture&) = delete;

  COLORREF Pixel(int x, int y) const {
    const DWORD bgr = FPixels[y * FWidth + x];
    return RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF);
  }

  // The leftmost column in [left, right) with a text pixel between the two
  // rows; -1 when there is none.
  int FirstTextColumn(int left, int right, int top, int bottom) const {
    for (int x = left; x < right && x < FWidth; ++x)
      for (int y = top; y < bottom && y < FHeight; ++y)
        if (IsText(Pixel(x, y))) return x;
    return -1;
  }
  int FirstTextColumn() const { return FirstTextColumn(0, FWidth, 0, FHeight); }

private:
  static bool IsText(COLORREF color) { return GetRValue(color) < 96 && GetGValue(color) < 96 && GetBValue(color) < 96; }

  HDC FDc;
  HBITMAP FBitmap;
  HGDIOBJ FPrevious;
  const DWORD* FPixels = nullptr;
  int FWidth;
  int FHeight;
};

struct TPainted {
  int Index;
  RECT Rect;
  TOwnerDrawState State;
};

struct TDrawForm {
  TDrawForm() : Form(nullptr) {
    EnsureApplication();
    Form.SetBounds(0, 0, 400, 300);
    List = new TCustomSortListView(&Form);
    List->SetParent(&Form);
    List->SetAlign(alClient);
    List->SetViewStyle(vsReport);
    List->SetColor(clWhite);
    List->Font().SetColor(clBlack);
    List->AddColumn("Name", 80);
    List->AddColumn("Size", 60);
    List->AddColumn("Kind", 70);
    for (int row = 0; row < 4; ++row) {
      List->AddItem("WWWW", 0);
      List->SetSubItem(row, 0, "WW");
      List->SetSubItem(row, 1, "WW");
    }
    Form.Show();
  }

  // Records every row asked for and has the rows in `byDefault` painted the
  // usual way.
  void RecordRows(const std::vector<int>& byDefault = {}) {
    List->OnDrawItem = [this, byDefault](TWinControl& control, TCanvas&, int index, const RECT& rect,
                                         TOwnerDrawState state, bool& defaultDrawing) {
      CHECK(&control == List);
      Painted.push_back({index, rect, state});
      for (int row : byDefault) defaultDrawing = defaultDrawing || row == index;
    };
  }

  const TPainted& Row(int index) const {
    for (const TPainted& painted : Painted)
      if (painted.Index == index) return painted;
    FAIL("row " << index << " was not painted");
    return Painted.front();
  }

  TForm Form;
  TCustomSortListView* List;
  std::vector<TPainted> Painted;
};

}  // namespace

TEST_CASE("an owner-drawn list asks for every visible row, and only the rows the owner wants are painted for it") {
  TDrawForm window;
  TCustomSortListView& list = *window.List;
  list.SetStyle(lvOwnerDrawFixed);
  list.SetSelected(1, true);
  window.RecordRows({0, 1});
  const TClientPicture picture(list.Handle());

  std::vector<int> indexes;
  for (const TPainted& painted : window.Painted) indexes.push_back(painted.Index);
  CHECK(indexes == std::vector<int>{0, 1, 2, 3});
  for (int row = 1; row < 4; ++row) CHECK(window.Row(row).Rect.top == window.Row(row - 1).Rect.bottom);
  CHECK(window.Row(1).State.Contains(odSelected));
  CHECK_FALSE(window.Row(0).State.Contains(odSelected));

  const RECT& first = window.Row(0).Rect;
  const RECT& third = window.Row(2).Rect;
  CHECK(picture.FirstTextColumn(0, 400, first.top, first.bottom) >= 0);
  CHECK(picture.FirstTextColumn(0, 400, third.top, third.bottom) == -1);
  // The selected row is painted in the highlight colour, its text too.
  const RECT& selected = window.Row(1).Rect;
  CHECK(picture.Pixel(200, (selected.top + selected.bottom) / 2) == GetSysColor(COLOR_HIGHLIGHT));
}

TEST_CASE("the default painting puts each cell's text a margin into its column, after the image if there is one") {
  TDrawForm window;
  TCustomSortListView& list = *window.List;
  list.SetStyle(lvOwnerDrawFixed);
  window.RecordRows({0, 1, 2, 3});
  int afterwards = 0;
  list.OnAfterDefaultDrawItem = [&](TWinControl&, TCanvas& canvas, int, const RECT&, TOwnerDrawState) {
    CHECK(canvas.Handle() != nullptr);
    ++afterwards;
  };
  {
    const TClientPicture picture(list.Handle());
    CHECK(afterwards == 4);
    const RECT& row = window.Row(0).Rect;
    const int left = row.left;
    for (int cellLeft : {0, 80, 140}) {
      CAPTURE(cellLeft);
      const int text = picture.FirstTextColumn(left + cellLeft, left + cellLeft + 40, row.top, row.bottom);
      CHECK(text >= left + cellLeft + 5);
      CHECK(text <= left + cellLeft + 7);
    }
  }

  TImageList images(nullptr);
  HIMAGELIST handle = ImageList_Create(16, 16, ILC_COLOR24, 1, 1);
  {
    const HDC screen = GetDC(nullptr);
    HBITMAP red = CreateCompatibleBitmap(screen, 16, 16);
    const HDC dc = CreateCompatibleDC(screen);
    const HGDIOBJ previous = SelectObject(dc, red);
    const RECT all{0, 0, 16, 16};
    HBRUSH brush = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    SelectObject(dc, previous);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    ImageList_Add(handle, red, nullptr);
    DeleteObject(red);
  }
  images.SetHandle(handle);
  list.SetSmallImages(&images);
  list.SetSelected(1, true);
  window.Painted.clear();
  const TClientPicture picture(list.Handle());
  const RECT& plain = window.Row(0).Rect;
  const int text = picture.FirstTextColumn(plain.left, plain.left + 80, plain.top, plain.bottom);
  CHECK(text >= plain.left + 20);
  CHECK(text <= plain.left + 22);
  CHECK(picture.Pixel(plain.left + 2, plain.top + 5) == RGB(255, 0, 0));
  CHECK(picture.Pixel(plain.left + 1, plain.top + 5) == RGB(255, 255, 255));
  // A selected row's image is blended with the highlight, which starts
  // after the image.
  const RECT& selected = window.Row(1).Rect;
  CHECK(picture.Pixel(selected.left + 5, selected.top + 5) != RGB(255, 0, 0));
  CHECK(picture.Pixel(selected.left + 1, selected.top + 5) == RGB(255, 255, 255));
  CHECK(picture.Pixel(selected.left + 18, selected.top + 5) == GetSysColor(COLOR_HIGHLIGHT));
  list.SetSmallImages(nullptr);
}

TEST_CASE("Style makes the window again with or without owner drawing; without a painter the rows stay blank") {
  TDrawForm window;
  TCustomSortListView& list = *window.List;
  const HWND standard = list.Handle();
  CHECK((GetWindowLongA(standard, GWL_STYLE) & LVS_OWNERDRAWFIXED) == 0);

  const TPropInfo* style = FindPropInfo(list, "Style");
  REQUIRE(style != nullptr);
  CHECK(GetEnumName(*style, GetOrdProp(list, *style)) == "lvStandard");
  SetOrdProp(list, *style, GetEnumValue(*style, "lvOwnerDrawFixed"));
  CHECK(list.Style() == lvOwnerDrawFixed);
  const HWND ownerDrawn = list.Handle();
  CHECK((GetWindowLongA(ownerDrawn, GWL_STYLE) & LVS_OWNERDRAWFIXED) != 0);
  CHECK(SendMessageA(ownerDrawn, LVM_GETITEMCOUNT, 0, 0) == 4);
  CHECK(TClientPicture(ownerDrawn).FirstTextColumn() == -1);

  list.SetStyle(lvOwnerDrawFixed);
  CHECK(list.Handle() == ownerDrawn);

  window.RecordRows({0, 1, 2, 3});
  list.SetStyle(lvStandard);
  CHECK((GetWindowLongA(list.Handle(), GWL_STYLE) & LVS_OWNERDRAWFIXED) == 0);
  CHECK(TClientPicture(list.Handle()).FirstTextColumn() >= 0);
  CHECK(window.Painted.empty());
}

TEST_CASE("a painter that throws is reported, and the rows after it are still asked for") {
  TDrawForm window;
  TCustomSortListView& list = *window.List;
  list.SetStyle(lvOwnerDrawFixed);
  std::vector<int> asked;
  bool thrown = false;
  list.OnDrawItem = [&](TWinControl&, TCanvas&, int index, const RECT&, TOwnerDrawState, bool&) {
    asked.push_back(index);
    if (thrown) return;
    thrown = true;
    throw std::runtime_error("Cannot paint this row");
  };
  {
    TMessageBoxCloser closer("Retrove 97");
    const TClientPicture picture(list.Handle());
    CHECK(closer.Seen());
    CHECK(closer.Text() == "Cannot paint this row");
  }
  REQUIRE_FALSE(asked.empty());
  CHECK(asked.front() == 0);
  CHECK(asked.back() == 3);
}
