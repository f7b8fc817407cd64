#pragma once

// The shell namespace controls: the folder tree.

#include <windows.h>
#include <shlobj.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ChangeHandlerThread.h"
#include "ImageList.h"
#include "Set.h"
#include "ShellLocator.h"
#include "Timer.h"
#include "UNsShTreeData.h"
#include "UNsShell95.h"
#include "UNsTreeList.h"

namespace retrove {

class TNsCustomShellCombo;
class TNsShellContextMenu;

enum class TNsShellTreeOption {
  nsstoAutoFill,
  nsstoVirtualFolders,
  nsstoDesignInteractive,
  nsstoDefaultKeyHandling,
  nsstoContextMenus,
  nsstoDynamicRefresh,
  nsstoIncludeNonFolders,
  nsstoOleDrag,
  nsstoOleDrop,
};
inline constexpr TNsShellTreeOption nsstoAutoFill = TNsShellTreeOption::nsstoAutoFill;
inline constexpr TNsShellTreeOption nsstoVirtualFolders = TNsShellTreeOption::nsstoVirtualFolders;
inline constexpr TNsShellTreeOption nsstoDesignInteractive = TNsShellTreeOption::nsstoDesignInteractive;
inline constexpr TNsShellTreeOption nsstoDefaultKeyHandling = TNsShellTreeOption::nsstoDefaultKeyHandling;
inline constexpr TNsShellTreeOption nsstoContextMenus = TNsShellTreeOption::nsstoContextMenus;
inline constexpr TNsShellTreeOption nsstoDynamicRefresh = TNsShellTreeOption::nsstoDynamicRefresh;
inline constexpr TNsShellTreeOption nsstoIncludeNonFolders = TNsShellTreeOption::nsstoIncludeNonFolders;
inline constexpr TNsShellTreeOption nsstoOleDrag = TNsShellTreeOption::nsstoOleDrag;
inline constexpr TNsShellTreeOption nsstoOleDrop = TNsShellTreeOption::nsstoOleDrop;

using TNsShellTreeOptions = TSet<TNsShellTreeOption>;
// Everything but nsstoDesignInteractive and nsstoIncludeNonFolders.
inline constexpr TNsShellTreeOptions kDefaultShellTreeOptions = TNsShellTreeOptions::FromBits(0x1BB);

using TNsShAddItemEvent =
    std::function<void(TObject& sender, IShellFolder* parentFolder, const std::uint8_t* parentAbsIdList,
                       const std::uint8_t* itemRelIdList, ULONG attributes, bool& allowAdd)>;
using TNsShTreeDeleteItemEvent = std::function<void(TObject& sender, HTREEITEM node, TNsShTreeData* data)>;
using TNsShPopupHintEvent = std::function<void(TObject& sender, const std::string& hint)>;
// The node and its data are none at the stages that are not an item's.
using TNsShTvCustomDrawEvent =
    std::function<void(TObject& sender, TNsCustomDraw& draw, HTREEITEM node, TNsShTreeData* data)>;

// A tree of the shell's folders from the Desktop (or BaseFolder) down. Each
// level is enumerated when it is first expanded; the loaded levels follow
// the file system through change watches on the local, network and RAM
// drives. CurrentFolder holds the selected folder's absolute list. Like
// the shell's own folder pane it offers each folder's context menu and the
// clipboard and delete keys, lets folders be dragged out, takes drops onto
// its folders and renames folders in place when not read-only.
class TNsCustomShellTree : public TNsCustomTreeView, private TNsDropClient {
public:
  explicit TNsCustomShellTree(TComponent* owner);
  ~TNsCustomShellTree() override;

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  // The selected folder's file-system path; "" for none or a virtual folder.
  std::string SelectedPath();
  // Selects the parent of the selected node; nothing at the top.
  void UpOneLevel();
  // Deletes all nodes and fills the tree again from the base folder.
  void Rebuild();
  // Brings the loaded nodes in line with the namespace, keeping expansion
  // and selection.
  void Resync();
  // Selects the node of an absolute list, expanding the levels above it.
  void SelectIdList(const std::uint8_t* list);

  const TNsShellLocator& BaseFolder() const { return FBaseFolder; }
  void SetBaseFolder(const TNsShellLocator& folder);
  TNsShellLocator& CurrentFolder() { return FCurrentFolder; }
  TNsShellTreeOptions Options() const { return FOptions; }
  void SetOptions(TNsShellTreeOptions options);
  bool DragActive() const { return FDragActive; }

  // None for a node without shell data.
  TNsShTreeData* NodeData(HTREEITEM node);
  // Fills the children of `node` from `folder`; without a node it makes the
  // top node first.
  void FillNode(IShellFolder* folder, HTREEITEM node);
  // Orders the children of `node` as their folder shows them.
  void SortChildren(HTREEITEM node);
  // Watches every local, network and RAM drive for name changes.
  void StartWatching();
  // The combo box that shows this tree's selection; it links itself.
  void LinkCombo(TNsCustomShellCombo* combo);

  // Shows the shell's context menu of `node` at `screen` and carries out
  // the choice; nothing for the top node or a folder the shell gives no
  // menu.
  void ShowContextMenu(HTREEITEM node, POINT screen);
  // Runs a shell verb ("delete", "cut", "copy", "paste") on `node`;
  // nothing for the top node or when its menu has no such verb.
  void RunVerb(HTREEITEM node, const std::string& verb);
  // Drags `node` out with the given button (0 left, 1 right) until it is
  // dropped or cancelled, and gives the effect the drop had; nothing for
  // the top node.
  DWORD DragNode(HTREEITEM node, int button);
  // The tree's registered drop target while OLE drops are on.
  IDropTarget* DropTarget() const { return FDropTarget.Get(); }

  TNsShAddItemEvent OnAddItem;
  TNsShTreeDeleteItemEvent OnDeleteItem;
  TNotifyEvent OnFillComplete;
  TNsShPopupHintEvent OnPopupHint;
  TNsShTvCustomDrawEvent OnCustomDrawSh;
  TNsShTvCustomDrawEvent OnCustomDrawShEx;

protected:
  void HandleCreated() override;
  void Loaded() override;
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool OnNotify(NMHDR& header, LRESULT& result) override;
  void Change(HTREEITEM node) override;
  bool CanExpand(HTREEITEM node) override;
  bool CanEdit(HTREEITEM node) override;
  void Edit(HTREEITEM node, const std::string& text) override;
  LRESULT CustomDraw(TNsCustomDraw& draw) override;
  void NodeDeleted(HTREEITEM node, LPARAM data) override;
  void Notification(TComponent* component, TOperation operation) override;

private:
  // Holds partner notices back for a scope.
  class TSuppressGuard {
  public:
    explicit TSuppressGuard(TNsCustomShellTree& tree) : FTree(tree) { ++FTree.FNotifySuppress; }
    ~TSuppressGuard() { --FTree.FNotifySuppress; }
    TSuppressGuard(const TSuppressGuard&) = delete;
    TSuppressGuard& operator=(const TSuppressGuard&) = delete;

  private:
    TNsCustomShellTree& FTree;
  };
  // Holds the window's redrawing off for a scope.
  class TUpdateGuard {
  public:
    explicit TUpdateGuard(TNsCustomShellTree& tree) : FTree(tree) { FTree.BeginUpdate(); }
    ~TUpdateGuard() { FTree.EndUpdate(); }
    TUpdateGuard(const TUpdateGuard&) = delete;
    TUpdateGuard& operator=(const TUpdateGuard&) = delete;

  private:
    TNsCustomShellTree& FTree;
  };
  class TFillGuard;
  class TItemSet;

  // What a blocked refresh left to do; the stronger one wins.
  enum class TPendingRefresh { None, Resync, Rebuild };

  static constexpr int kTagNotify = 1;
  static constexpr int kTagRefresh = 2;

  bool Loading() const;
  bool RefreshBlocked(TPendingRefresh refresh);
  void RefreshIfPending();
  void FillIfNeeded(HTREEITEM node);
  HTREEITEM AddTopNode(IShellFolder* folder);
  HRESULT AddItem(IShellFolder* folder, const std::uint8_t* item, HTREEITEM parent, const std::uint8_t* parentAbs);
  bool DoAddItem(IShellFolder* folder, const std::uint8_t* parentAbs, const std::uint8_t* item, ULONG attributes);
  HTREEITEM InsertNode(HTREEITEM parent, const std::string& text, TNsShTreeData* data, ULONG attributes);
  std::string ItemName(IShellFolder* folder, const std::uint8_t* item);
  void DeleteChildren(HTREEITEM node);
  // A failure met inside a fill or a resync is shown after it, once.
  void ReportLater(HRESULT status);
  void ReportPendingFailure();
  HTREEITEM FindChild(HTREEITEM node, const std::uint8_t* item);
  void ResyncNode(HTREEITEM node, HTREEITEM& remembered);
  bool ChildStillThere(IShellFolder* folder, const TItemSet* present, HTREEITEM child, const std::uint8_t* item);
  void DropChild(HTREEITEM node, HTREEITEM child, bool lastChild, HTREEITEM& remembered);
  void AddNewChildren(IShellFolder* folder, HTREEITEM node, const std::vector<ShellIdList>& listed,
                      const TItemSet& known);
  bool IsBelow(HTREEITEM node, HTREEITEM ancestor);
  void PassSelectionOn(HTREEITEM node);
  void ImageNeeded(NMTVDISPINFOA& info);
  void TimerFired();
  void ChangeNoticed();
  void ClearNodes();
  void StartTimer(int tag, int interval);

  bool KeyDown(WPARAM key);
  bool ContextMenuRequested(LPARAM position);
  bool MenuMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool Rename(HTREEITEM node, const std::string& text);
  void ForgetCacheBelow(HTREEITEM node);

  void RegisterDropTarget();
  void RevokeDropTarget();
  HTREEITEM NodeAtScreen(POINTL point);
  bool CanDropOn(HTREEITEM node);
  DWORD NodeDropEffect(HTREEITEM node, DWORD keyState, POINTL point, DWORD effect);
  void ShowDropHighlight(HTREEITEM node);
  void AutoScroll(POINTL point);
  void EndDrop();
  HRESULT DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD& effect) override;
  HRESULT DragOver(DWORD keyState, POINTL point, DWORD& effect) override;
  HRESULT DragLeave() override;
  HRESULT Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD& effect) override;

  TNsShellLocator FBaseFolder;
  TNsShellLocator FCurrentFolder;
  TNsCustomShellCombo* FCombo = nullptr;
  TNsShellTreeOptions FOptions = kDefaultShellTreeOptions;
  std::unique_ptr<TTimer> FTimer;
  std::unique_ptr<TImageList> FImageList;
  std::unique_ptr<TChangeHandlerThread> FChangeThread;
  int FNotifySuppress = 0;
  bool FImmediateNotify = false;
  bool FIgnoreNextChange = false;
  bool FDragActive = false;
  TPendingRefresh FRefreshPending = TPendingRefresh::None;
  int FLoadingGuard = 0;
  int FFilling = 0;
  HRESULT FPendingFailure = S_OK;

  std::unique_ptr<TNsShellContextMenu> FContextMenu;
  HTREEITEM FDragNode = nullptr;
  TComPtr<TDropTarget> FDropTarget;
  TComPtr<IDataObject> FDropData;
  DWORD FDropKeyState = 0;
  DWORD FDropAllowed = 0;
  DWORD FLastScrollTick = 0;
};

// The shell tree as forms use it.
class TNsShellTree : public TNsCustomShellTree {
public:
  explicit TNsShellTree(TComponent* owner) : TNsCustomShellTree(owner) {}

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
};

}  // namespace retrove
