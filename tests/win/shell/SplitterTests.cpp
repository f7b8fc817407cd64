#include <doctest/doctest.h>

#include <cstdint>
#include <vector>

#include "Form.h"
#include "GuiTesting.h"
#include "PropertyTable.h"
#include "UNsSplitter.h"

using namespace retrove;
using namespace retrove::test;

namespace {

constexpr int kWidth = 632;
constexpr int kHeight = 300;

struct TFreeMemoryDc {
  void operator()(HDC dc) const { DeleteDC(dc); }
};
using TMemoryDc = TOwnedHandle<HDC, TFreeMemoryDc>;

LPARAM At(int x, int y) {
  return MAKELPARAM(x, y);
}

// One shown window for all the cases, since each window shown costs time:
// a 632 x 300 splitter with a group box filling pane 0.
class TSplitterWindow {
public:
  TSplitterWindow() : Form(nullptr) {
    EnsureApplication();
    Splitter = new TNsSplitter(&Form);
    Splitter->SetName("NsSplitter1");
    Splitter->SetParent(&Form);
    Splitter->SetBounds(0, 0, kWidth, kHeight);
    Group = new TNsGroup(&Form);
    Group->SetParent(Splitter->Pane(0));
    Group->SetAlign(alClient);
    Group->SetCaption("Folders");
    Splitter->OnSplitterDrag = [this](TObject&, int position) { Drags.push_back(position); };
    Splitter->OnSplitterDrop = [this](TObject&, int position) { Drops.push_back(position); };
    Splitter->OnResize = [this](TObject&) { ++Resizes; };
    Form.SetBounds(40, 40, 700, 400);
    Form.Show();
  }

  // Back to the starting state, with nothing left to paint.
  void Reset() {
    Splitter->SetBounds(0, 0, kWidth, kHeight);
    Splitter->SetStyle(nsstVertical);
    Splitter->SetPosition(195);
    Drags.clear();
    Drops.clear();
    Resizes = 0;
    Settle();
  }

  void Settle() { RedrawWindow(Form.Hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN); }

  HWND Bar() const { return Splitter->Hwnd(); }
  RECT PaneRect(int index) const { return ChildRect(Splitter->Pane(index)->Hwnd()); }

  // The splitter's pixels as the screen shows them, over the panes too.
  std::vector<uint32_t> Snapshot() const {
    const TWindowDc screen(Bar(), DCX_CACHE | DCX_PARENTCLIP);
    const TMemoryDc memory(CreateCompatibleDC(screen.Get()));
    const TBitmapHandle bitmap(CreateCompatibleBitmap(screen.Get(), kWidth, kHeight));
    HGDIOBJ previous = SelectObject(memory.Get(), bitmap.Get());
    BitBlt(memory.Get(), 0, 0, kWidth, kHeight, screen.Get(), 0, 0, SRCCOPY);
    SelectObject(memory.Get(), previous);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = kWidth;
    info.bmiHeader.biHeight = -kHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    std::vector<uint32_t> pixels(kWidth * kHeight);
    GetDIBits(memory.Get(), bitmap.Get(), 0, kHeight, pixels.data(), &info, DIB_RGB_COLORS);
    return pixels;
  }

  TForm Form;
  TNsSplitter* Splitter;
  TNsGroup* Group;
  std::vector<int> Drags;
  std::vector<int> Drops;
  int Resizes = 0;
};

TSplitterWindow& Window() {
  static TSplitterWindow window;
  window.Reset();
  return window;
}

bool SameRect(const RECT& a, const RECT& b) {
  return EqualRect(&a, &b) != FALSE;
}

}  // namespace

TEST_CASE("the panes lie either side of the bar, and what fills a pane sits inside its frame") {
  TSplitterWindow& w = Window();
  CHECK(SameRect(w.PaneRect(0), {0, 0, 195, kHeight}));
  CHECK(SameRect(w.PaneRect(1), {198, 0, kWidth, kHeight}));
  CHECK(SameRect(ChildRect(w.Group->Hwnd()), {2, 2, 193, kHeight - 2}));

  w.Splitter->SetPaneFrameStyle(0, nsfsHorzLine);
  CHECK(SameRect(ChildRect(w.Group->Hwnd()), {0, 2, 195, kHeight}));
  w.Splitter->SetPaneFrameStyle(0, nsfsLowered);

  w.Splitter->SetSplitterWidth(6);
  CHECK(w.PaneRect(1).left == 201);
  w.Splitter->SetSplitterWidth(3);

  w.Splitter->SetStyle(nsstHorizontal);
  w.Splitter->SetPosition(100);
  CHECK(SameRect(w.PaneRect(0), {0, 0, kWidth, 100}));
  CHECK(SameRect(w.PaneRect(1), {0, 103, kWidth, kHeight}));
}

TEST_CASE("a lowered pane draws shadow and dark shadow on its top left, highlight and face on its bottom right") {
  TSplitterWindow& w = Window();
  const std::vector<uint32_t> pixels = w.Snapshot();
  auto pixel = [&](int x, int y) {
    const uint32_t bgr = pixels[static_cast<size_t>(y * kWidth + x)];
    return RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF);
  };
  const RECT pane = w.PaneRect(1);
  CHECK(pixel(pane.left, 10) == GetSysColor(COLOR_BTNSHADOW));
  CHECK(pixel(pane.left + 10, 0) == GetSysColor(COLOR_BTNSHADOW));
  CHECK(pixel(pane.left + 1, 10) == GetSysColor(COLOR_3DDKSHADOW));
  CHECK(pixel(pane.right - 1, 10) == GetSysColor(COLOR_BTNHIGHLIGHT));
  CHECK(pixel(pane.left + 10, kHeight - 1) == GetSysColor(COLOR_BTNHIGHLIGHT));
  CHECK(pixel(pane.right - 2, 10) == GetSysColor(COLOR_BTNFACE));
}

TEST_CASE("setting Position to its current value does not lay the panes out again") {
  TSplitterWindow& w = Window();
  HWND pane = w.Splitter->Pane(0)->Hwnd();
  MoveWindow(pane, 0, 0, 150, kHeight, TRUE);
  w.Splitter->SetPosition(195);
  CHECK(w.PaneRect(0).right == 150);
  w.Splitter->SetPosition(196);
  CHECK(w.PaneRect(0).right == 196);
}

TEST_CASE("while loading the splitter keeps its values, and lays out and names its panes once loaded") {
  TSplitterWindow& w = Window();
  w.Splitter->BeginLoading();
  w.Splitter->SetPosition(240);
  w.Splitter->SetName("Loaded1");
  CHECK(w.PaneRect(0).right == 195);
  CHECK(w.Splitter->Pane(0)->Name() == "NsSplitter1_pane1");
  w.Splitter->Loaded();
  CHECK(w.PaneRect(0).right == 240);
  CHECK(w.Splitter->Pane(0)->Name() == "Loaded1_pane1");
  w.Splitter->SetName("NsSplitter1");
}

TEST_CASE("a position the window cannot show is kept, and the bar shows where it can be reached") {
  TSplitterWindow& w = Window();
  w.Splitter->SetPosition(-50);
  CHECK(w.Splitter->Position() == -50);
  CHECK(w.PaneRect(0).right == 20);
  w.Splitter->SetPosition(5000);
  CHECK(w.Splitter->Position() == 5000);
  CHECK(w.PaneRect(0).right == kWidth - 20);

  w.Splitter->SetPosition(195);
  w.Splitter->SetWidth(30);  // narrower than both minimum sizes
  CHECK(w.Resizes == 1);
  CHECK(w.PaneRect(0).right == 27);
  CHECK(w.PaneRect(1).left == 30);
  CHECK(w.Splitter->Position() == 195);

  w.Splitter->SetWidth(kWidth);
  CHECK(w.PaneRect(0).right == 195);
}

TEST_CASE("dragging the bar moves Position and reports the drag and the drop") {
  TSplitterWindow& w = Window();
  SendMessageA(w.Bar(), WM_LBUTTONDOWN, MK_LBUTTON, At(196, 50));  // one pixel into the bar
  CHECK(w.Splitter->Dragging());
  CHECK(GetCapture() == w.Bar());
  SendMessageA(w.Bar(), WM_MOUSEMOVE, MK_LBUTTON, At(250, 60));
  SendMessageA(w.Bar(), WM_MOUSEMOVE, MK_LBUTTON, At(250, 80));  // no move along the axis
  SendMessageA(w.Bar(), WM_RBUTTONUP, 0, At(260, 80));           // another button: nothing
  CHECK(w.Splitter->Dragging());
  SendMessageA(w.Bar(), WM_LBUTTONUP, 0, At(301, 80));
  CHECK_FALSE(w.Splitter->Dragging());
  CHECK(GetCapture() == nullptr);
  CHECK(w.Drags == std::vector<int>{196, 250, 301});
  CHECK(w.Drops == std::vector<int>{300});
  CHECK(w.Splitter->Position() == 300);
  CHECK(SameRect(w.PaneRect(0), {0, 0, 300, kHeight}));
  CHECK(w.PaneRect(1).left == 303);

  SendMessageA(w.Bar(), WM_LBUTTONDBLCLK, MK_LBUTTON, At(300, 50));  // a second quick press
  SendMessageA(w.Bar(), WM_LBUTTONUP, 0, At(280, 50));
  CHECK(w.Splitter->Position() == 280);
}

TEST_CASE("a drag stops where either pane reaches its minimum size") {
  TSplitterWindow& w = Window();
  SendMessageA(w.Bar(), WM_LBUTTONDOWN, MK_LBUTTON, At(197, 50));
  SendMessageA(w.Bar(), WM_MOUSEMOVE, MK_LBUTTON, At(-400, 50));
  SendMessageA(w.Bar(), WM_LBUTTONUP, 0, At(-400, 50));
  CHECK(w.Splitter->Position() == 20);
  CHECK(w.Drags.back() == 22);

  w.Splitter->SetPaneMinSize(1, 100);
  SendMessageA(w.Bar(), WM_LBUTTONDOWN, MK_LBUTTON, At(20, 50));
  SendMessageA(w.Bar(), WM_LBUTTONUP, 0, At(2000, 50));
  w.Splitter->SetPaneMinSize(1, 20);
  CHECK(w.Splitter->Position() == kWidth - 100);
}

TEST_CASE("another button pressed during a drag ends it and leaves Position as it was") {
  TSplitterWindow& w = Window();
  SendMessageA(w.Bar(), WM_RBUTTONDOWN, MK_RBUTTON, At(196, 50));
  CHECK_FALSE(w.Splitter->Dragging());
  SendMessageA(w.Bar(), WM_LBUTTONDOWN, MK_LBUTTON, At(196, 50));
  SendMessageA(w.Bar(), WM_MOUSEMOVE, MK_LBUTTON, At(260, 50));
  SendMessageA(w.Bar(), WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, At(260, 50));
  CHECK_FALSE(w.Splitter->Dragging());
  CHECK(GetCapture() == nullptr);
  SendMessageA(w.Bar(), WM_LBUTTONUP, 0, At(260, 50));
  CHECK(w.Splitter->Position() == 195);
  CHECK(w.Drops.empty());
}

TEST_CASE("a drag cancelled, or let go where it began, leaves the screen as it was") {
  TSplitterWindow& w = Window();
  const std::vector<uint32_t> before = w.Snapshot();
  const TWindowHandle other(CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr));

  enum TEnding { CancelMode, CaptureTaken, DropAtStart };
  for (TEnding ending : {CancelMode, CaptureTaken, DropAtStart}) {
    CAPTURE(ending);
    SendMessageA(w.Bar(), WM_LBUTTONDOWN, MK_LBUTTON, At(196, 50));
    SendMessageA(w.Bar(), WM_MOUSEMOVE, MK_LBUTTON, At(320, 50));
    CHECK(w.Snapshot() != before);  // the line shows
    if (ending == CancelMode) SendMessageA(w.Bar(), WM_CANCELMODE, 0, 0);
    if (ending == CaptureTaken) SetCapture(other.Get());
    if (ending == DropAtStart) {
      SendMessageA(w.Bar(), WM_MOUSEMOVE, MK_LBUTTON, At(196, 50));
      SendMessageA(w.Bar(), WM_LBUTTONUP, 0, At(196, 50));
    }
    ReleaseCapture();
    CHECK_FALSE(w.Splitter->Dragging());
    CHECK(w.Splitter->Position() == 195);
    w.Settle();
    CHECK(w.Snapshot() == before);
  }
  CHECK(w.Drops == std::vector<int>{195});
}

TEST_CASE("over the bar the cursor points along the split axis; over a pane it is the pane's") {
  TSplitterWindow& w = Window();
  const LPARAM overClient = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
  SetCursor(LoadCursorA(nullptr, IDC_CROSS));
  SendMessageA(w.Bar(), WM_SETCURSOR, reinterpret_cast<WPARAM>(w.Splitter->Pane(0)->Hwnd()), overClient);
  CHECK(GetCursor() != LoadCursorA(nullptr, IDC_SIZEWE));
  SendMessageA(w.Bar(), WM_SETCURSOR, reinterpret_cast<WPARAM>(w.Bar()), overClient);
  CHECK(GetCursor() == LoadCursorA(nullptr, IDC_SIZEWE));
  w.Splitter->SetStyle(nsstHorizontal);
  SendMessageA(w.Bar(), WM_SETCURSOR, reinterpret_cast<WPARAM>(w.Bar()), overClient);
  CHECK(GetCursor() == LoadCursorA(nullptr, IDC_SIZENS));
}

TEST_CASE("the panes are named after the splitter and reached through its published properties") {
  EnsureApplication();
  TNsSplitter splitter(nullptr);
  CHECK(splitter.Width() == 200);
  CHECK(splitter.Height() == 140);
  CHECK(splitter.Pane(0)->Index() == 0);
  CHECK(splitter.Pane(1)->Index() == 1);
  CHECK(splitter.Pane(2) == nullptr);
  splitter.SetName("NsSplitter1");
  CHECK(splitter.Pane(0)->Name() == "NsSplitter1_pane1");
  CHECK(splitter.Pane(1)->Name() == "NsSplitter1_pane2");
  const TPropInfo* name = FindPropInfo(splitter, "Name");
  REQUIRE(name);
  SetStrProp(splitter, *name, "Divider");
  CHECK(splitter.Pane(1)->Name() == "Divider_pane2");

  const TPropInfo* position = FindPropInfo(splitter, "Position");
  REQUIRE(position);
  CHECK(position->Kind == TTypeKind::Integer);
  CHECK(position->Default == 65);
  CHECK(GetOrdProp(splitter, *position) == 65);
  SetOrdProp(splitter, *position, 195);
  CHECK(splitter.Position() == 195);

  const TPropInfo* minSize = FindPropInfo(splitter, "Pane2MinSize");
  const TPropInfo* frame = FindPropInfo(splitter, "Pane1FrameStyle");
  const TPropInfo* color = FindPropInfo(splitter, "Pane1Color");
  REQUIRE((minSize && frame && color));
  SetOrdProp(splitter, *minSize, 45);
  CHECK(splitter.Pane(1)->MinSize() == 45);
  CHECK(GetEnumName(*frame, GetOrdProp(splitter, *frame)) == "nsfsLowered");
  SetOrdProp(splitter, *color, clWhite);
  CHECK(splitter.Pane(0)->Color() == clWhite);

  delete splitter.Pane(0);
  CHECK(splitter.Pane(0) == nullptr);
  SetOrdProp(splitter, *color, clBlack);  // an empty slot takes nothing
  CHECK(splitter.Pane(1)->Color() != clBlack);
}
