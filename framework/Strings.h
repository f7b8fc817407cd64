#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "Persistent.h"

namespace retrove {

// An ordered list of texts, each of which may carry an object.
class TStrings : public TPersistent {
public:
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  virtual int Count() const = 0;
  virtual const std::string& Strings(int index) const = 0;
  virtual void SetStrings(int index, const std::string& text) = 0;
  virtual TObject* Objects(int index) const = 0;
  virtual void SetObjects(int index, TObject* object) = 0;
  virtual void Insert(int index, const std::string& text, TObject* object = nullptr) = 0;
  virtual void Delete(int index) = 0;
  virtual void Clear() = 0;

  int Add(const std::string& text) { return AddObject(text, nullptr); }
  int AddObject(const std::string& text, TObject* object);

  // First item equal to `text` ignoring letter case; -1 when there is none.
  int IndexOf(std::string_view text) const;
  int IndexOfObject(const TObject* object) const;

  // All items, each followed by CR LF. Setting splits at CR LF, CR or LF;
  // a final line break does not start an empty item.
  std::string Text() const;
  void SetText(std::string_view text);

  // Copies the texts and the object references of another list.
  void Assign(const TPersistent& source) override;

protected:
  void CheckIndex(int index, int limit) const;
};

// TStrings kept in memory. With OwnsObjects, the list frees the objects of
// the items it deletes or clears and of the items left when it is destroyed.
class TStringList : public TStrings {
public:
  TStringList() = default;
  explicit TStringList(bool ownsObjects) : FOwnsObjects(ownsObjects) {}
  ~TStringList() override;
  TStringList(const TStringList&) = delete;
  TStringList& operator=(const TStringList&) = delete;

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  bool OwnsObjects() const { return FOwnsObjects; }

  int Count() const override { return static_cast<int>(FItems.size()); }
  const std::string& Strings(int index) const override;
  void SetStrings(int index, const std::string& text) override;
  TObject* Objects(int index) const override;
  void SetObjects(int index, TObject* object) override;
  void Insert(int index, const std::string& text, TObject* object = nullptr) override;
  void Delete(int index) override;
  void Clear() override;

  void Assign(const TPersistent& source) override;

private:
  struct Item {
    std::string Text;
    TObject* Object = nullptr;
  };

  void Release(TObject* object) const;

  std::vector<Item> FItems;
  bool FOwnsObjects = false;
};

}  // namespace retrove
