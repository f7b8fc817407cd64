#include <doctest/doctest.h>

#include <string>
#include <vector>

#include "Component.h"
#include "Exceptions.h"

using namespace retrove;

namespace {

// Records its destruction and every notification it receives into a shared log.
class TProbe : public TComponent {
public:
  TProbe(TComponent* owner, const std::string& name, std::vector<std::string>& log) : TComponent(owner), FLog(log) {
    SetName(name);
    ++Alive;
  }
  ~TProbe() override {
    FLog.push_back("destroy " + Name() + (ComponentState().Contains(csDestroying) ? " (destroying)" : ""));
    --Alive;
  }

  void Loaded() override {
    TComponent::Loaded();
    FLog.push_back("loaded " + Name());
  }

  TComponent* Partner = nullptr;
  static inline int Alive = 0;

protected:
  void Notification(TComponent* component, TOperation operation) override {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove) {
      FLog.push_back(Name() + " told of " + component->Name());
      if (component == Partner) Partner = nullptr;
    }
  }

private:
  std::vector<std::string>& FLog;
};

std::vector<std::string> Filter(const std::vector<std::string>& log, const std::string& prefix) {
  std::vector<std::string> result;
  for (const auto& line : log)
    if (line.rfind(prefix, 0) == 0) result.push_back(line);
  return result;
}

}  // namespace

TEST_CASE("an owner frees its components once each, newest first, each marked as destroying") {
  std::vector<std::string> log;
  TProbe::Alive = 0;
  {
    auto* form = new TProbe(nullptr, "Form", log);
    new TProbe(form, "A", log);
    auto* b = new TProbe(form, "B", log);
    new TProbe(b, "B1", log);
    new TProbe(form, "C", log);
    CHECK(TProbe::Alive == 5);
    CHECK(form->ComponentCount() == 3);
    CHECK(b->Owner() == form);
    CHECK(b->ComponentIndex() == 1);
    delete form;
  }
  CHECK(TProbe::Alive == 0);
  // A component's own destructor runs before it frees what it owns (B before
  // B1); the owned ones are marked before their destructors run.
  CHECK(Filter(log, "destroy") == std::vector<std::string>{"destroy Form", "destroy C (destroying)",
                                                            "destroy B (destroying)", "destroy B1 (destroying)",
                                                            "destroy A (destroying)"});
}

TEST_CASE("a component freed on its own leaves its owner, which tells the others") {
  std::vector<std::string> log;
  TProbe form(nullptr, "Form", log);
  auto* a = new TProbe(&form, "A", log);
  new TProbe(&form, "B", log);
  delete a;
  CHECK(form.ComponentCount() == 1);
  CHECK(form.FindComponent("A") == nullptr);
  CHECK(Filter(log, "Form told") == std::vector<std::string>{"Form told of A"});
  CHECK(Filter(log, "B told") == std::vector<std::string>{"B told of A"});
}

TEST_CASE("FreeNotification tells a component of another owner, both ways, and only while linked") {
  std::vector<std::string> log;
  TProbe formA(nullptr, "FormA", log);
  TProbe formB(nullptr, "FormB", log);
  auto* tree = new TProbe(&formA, "Tree", log);
  auto* combo = new TProbe(&formB, "Combo", log);
  auto* list = new TProbe(&formB, "List", log);

  combo->Partner = tree;
  tree->FreeNotification(combo);
  list->Partner = tree;
  tree->FreeNotification(list);
  list->RemoveFreeNotification(tree);

  delete tree;
  CHECK(combo->Partner == nullptr);
  CHECK(list->Partner == tree);  // unlinked before, so it heard nothing
  CHECK(Filter(log, "List told").empty());

  // The link was dropped on both sides: freeing the combo must not touch the
  // freed tree.
  delete combo;
  CHECK(Filter(log, "Combo told") == std::vector<std::string>{"Combo told of Tree"});
}

TEST_CASE("component names are identifiers, unique within an owner ignoring case, found ignoring case") {
  std::vector<std::string> log;
  TProbe form(nullptr, "Form", log);
  auto* button = new TProbe(&form, "BDetails", log);
  CHECK(form.FindComponent("bdetails") == button);
  CHECK(form.FindComponent("") == nullptr);

  std::vector<std::string> unused;
  CHECK_THROWS_AS(TProbe(&form, "BDETAILS", unused), EComponentError);
  CHECK(form.ComponentCount() == 1);  // the refused component left again

  auto* other = new TProbe(&form, "BList", log);
  CHECK_THROWS_AS(other->SetName("bDetails"), EComponentError);
  CHECK(other->Name() == "BList");
  CHECK_THROWS_AS(other->SetName("2nd"), EComponentError);
  CHECK_THROWS_AS(other->SetName("a.b"), EComponentError);
  other->SetName("blist");  // a change of case alone is no clash
  CHECK(other->Name() == "blist");
  other->SetName("");
  CHECK(form.FindComponent("blist") == nullptr);
}

TEST_CASE("loading marks the owned components and Loaded ends it, owned ones first") {
  std::vector<std::string> log;
  TProbe form(nullptr, "Form", log);
  auto* a = new TProbe(&form, "A", log);
  auto* b = new TProbe(&form, "B", log);
  form.BeginLoading();
  CHECK(form.ComponentState().Contains(csLoading));
  CHECK(a->ComponentState().Contains(csLoading));
  form.Loaded();
  CHECK_FALSE(form.ComponentState().Contains(csLoading));
  CHECK_FALSE(b->ComponentState().Contains(csLoading));
  CHECK(Filter(log, "loaded") == std::vector<std::string>{"loaded A", "loaded B", "loaded Form"});
}

TEST_CASE("moving a component to another owner") {
  std::vector<std::string> log;
  TProbe first(nullptr, "First", log);
  TProbe second(nullptr, "Second", log);
  auto* item = new TProbe(&first, "Item", log);
  second.InsertComponent(item);
  CHECK(first.ComponentCount() == 0);
  CHECK(second.Components(0) == item);
  CHECK(item->Owner() == &second);
  CHECK_THROWS_AS(second.Components(1), EListError);
}
