#include <doctest/doctest.h>

#include "Component.h"
#include "PropertyTable.h"
#include "Strings.h"

using namespace retrove;

namespace {

enum class TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
enum class TListOption { lvxGridLines, lvxCheckBoxes, lvxHeaderDragDrop };
using TListOptions = TSet<TListOption>;

class TFontLike : public TPersistent {
public:
  static const TClassInfo& StaticClassInfo() {
    static const TClassInfo info = TClassInfoBuilder<TFontLike>("TFontLike", TPersistent::StaticClassInfo())
                                       .String("Name", &TFontLike::FontName, &TFontLike::SetFontName)
                                       .Integer("Size", &TFontLike::Size, &TFontLike::SetSize)
                                       .Build();
    return info;
  }
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  std::string FontName() const { return FName; }
  void SetFontName(const std::string& name) { FName = name; }
  int Size() const { return FSize; }
  void SetSize(int size) { FSize = size; }

private:
  std::string FName = "MS Sans Serif";
  int FSize = 8;
};

// Publishes one property of every kind, plus a read-only one.
class TSample : public TComponent {
public:
  using TComponent::TComponent;

  static const TClassInfo& StaticClassInfo() {
    static const TClassInfo info =
        TClassInfoBuilder<TSample>("TSample", TComponent::StaticClassInfo())
            .Integer("Position", &TSample::Position, &TSample::SetPosition, 150)
            .Char("Accel", &TSample::Accel, &TSample::SetAccel)
            .Boolean("Down", &TSample::Down, &TSample::SetDown, false)
            .Enumeration("ViewStyle", &TSample::ViewStyle, &TSample::SetViewStyle,
                         {"vsIcon", "vsSmallIcon", "vsList", "vsReport"}, 3)
            .Set("ExtendedStyles", &TSample::ExtendedStyles, &TSample::SetExtendedStyles,
                 {"lvxGridLines", "lvxCheckBoxes", "lvxHeaderDragDrop"})
            .String("Caption", &TSample::Caption, &TSample::SetCaption)
            .WChar("Glyph", &TSample::Glyph, &TSample::SetGlyph)
            .Object("Lines", &TSample::Lines)
            .Object("Font", &TSample::Font)
            .Integer("ItemCount", &TSample::ItemCount, nullptr)
            .Build();
    return info;
  }
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  int Position() const { return FPosition; }
  void SetPosition(int value) { FPosition = value; }
  char Accel() const { return FAccel; }
  void SetAccel(char value) { FAccel = value; }
  bool Down() const { return FDown; }
  void SetDown(bool value) { FDown = value; }
  TViewStyle ViewStyle() const { return FViewStyle; }
  void SetViewStyle(TViewStyle value) { FViewStyle = value; }
  TListOptions ExtendedStyles() const { return FExtendedStyles; }
  void SetExtendedStyles(TListOptions value) { FExtendedStyles = value; }
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& value) { FCaption = value; }
  char16_t Glyph() const { return FGlyph; }
  void SetGlyph(char16_t value) { FGlyph = value; }
  TStringList* Lines() { return &FLines; }
  TFontLike* Font() { return &FFont; }
  int ItemCount() const { return 42; }

private:
  int FPosition = 150;
  char FAccel = 'x';
  bool FDown = false;
  TViewStyle FViewStyle = TViewStyle::vsReport;
  TListOptions FExtendedStyles;
  std::string FCaption;
  char16_t FGlyph = u'a';
  TStringList FLines;
  TFontLike FFont;
};

// Publishes Tag again with another default: the derived entry must win.
class TRetagged : public TSample {
public:
  using TSample::TSample;
  static const TClassInfo& StaticClassInfo() {
    static const TClassInfo info = TClassInfoBuilder<TRetagged>("TRetagged", TSample::StaticClassInfo())
                                       .Integer("Tag", &TRetagged::Tag, &TRetagged::SetTag, 7)
                                       .Build();
    return info;
  }
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
};

const TPropInfo& Prop(const TObject& object, const char* name) {
  const TPropInfo* prop = FindPropInfo(object, name);
  REQUIRE_MESSAGE(prop != nullptr, name);
  return *prop;
}

}  // namespace

TEST_CASE("look-up by name ignores case and reaches inherited properties") {
  TSample sample(nullptr);
  CHECK(Prop(sample, "position").Kind == TTypeKind::Integer);
  CHECK(Prop(sample, "NAME").Kind == TTypeKind::String);  // from TComponent
  CHECK(FindPropInfo(sample, "OnClick") == nullptr);
  CHECK(FindPropInfo(sample, "") == nullptr);
  CHECK(sample.ClassName() == "TSample");
  CHECK(sample.InheritsFrom(TComponent::StaticClassInfo()));
  CHECK_FALSE(sample.InheritsFrom(TStrings::StaticClassInfo()));

  std::vector<std::string> names;
  for (const TPropInfo* prop : PublishedProperties(sample)) names.push_back(prop->Name);
  CHECK(names == std::vector<std::string>{"Name", "Tag", "Position", "Accel", "Down", "ViewStyle", "ExtendedStyles",
                                          "Caption", "Glyph", "Lines", "Font", "ItemCount"});
}

TEST_CASE("a property published again replaces its ancestor's entry in place") {
  TRetagged retagged(nullptr);
  const auto props = PublishedProperties(retagged);
  REQUIRE(props.size() == 12);
  CHECK(props[1]->Name == "Tag");
  CHECK(props[1]->Default == 7);
  CHECK(Prop(retagged, "tag").Default == 7);
  SetOrdProp(retagged, Prop(retagged, "Tag"), 99);
  CHECK(retagged.Tag() == 99);
}

TEST_CASE("every ordinal kind round-trips through its property") {
  TSample sample(nullptr);

  SetOrdProp(sample, Prop(sample, "Position"), -250);
  CHECK(sample.Position() == -250);
  CHECK(GetOrdProp(sample, Prop(sample, "Position")) == -250);
  CHECK(Prop(sample, "Position").Default == 150);

  SetOrdProp(sample, Prop(sample, "Accel"), 0xE9);
  CHECK(static_cast<unsigned char>(sample.Accel()) == 0xE9);
  CHECK(GetOrdProp(sample, Prop(sample, "Accel")) == 0xE9);
  CHECK_NOTHROW(SetOrdProp(sample, Prop(sample, "Accel"), GetOrdProp(sample, Prop(sample, "Accel"))));

  const TPropInfo& down = Prop(sample, "Down");
  CHECK(down.Kind == TTypeKind::Enumeration);
  CHECK(GetEnumName(down, GetOrdProp(sample, down)) == "False");
  SetOrdProp(sample, down, GetEnumValue(down, "true"));
  CHECK(sample.Down());
  CHECK(GetEnumName(down, GetOrdProp(sample, down)) == "True");

  const TPropInfo& style = Prop(sample, "ViewStyle");
  SetOrdProp(sample, style, GetEnumValue(style, "VSLIST"));
  CHECK(sample.ViewStyle() == TViewStyle::vsList);
  CHECK(GetEnumValue(style, "vsTable") == -1);
  CHECK_THROWS_AS(SetOrdProp(sample, style, 4), EPropertyError);
  CHECK_THROWS_AS(SetOrdProp(sample, style, -1), EPropertyError);
  CHECK(sample.ViewStyle() == TViewStyle::vsList);
  CHECK(GetEnumName(style, 9).empty());

  const TPropInfo& styles = Prop(sample, "ExtendedStyles");
  CHECK(styles.Kind == TTypeKind::Set);
  SetOrdProp(sample, styles, 0b101);
  CHECK(sample.ExtendedStyles() == TListOptions{TListOption::lvxGridLines, TListOption::lvxHeaderDragDrop});
  CHECK(GetOrdProp(sample, styles) == 0b101);
  CHECK_THROWS_AS(SetOrdProp(sample, styles, 0b1000), EPropertyError);
  SetOrdProp(sample, styles, 0);
  CHECK(sample.ExtendedStyles().Empty());

  const TPropInfo& glyph = Prop(sample, "Glyph");
  CHECK(glyph.Kind == TTypeKind::WChar);
  SetOrdProp(sample, glyph, 0x263A);
  CHECK(sample.Glyph() == u'\u263A');
  CHECK(GetOrdProp(sample, glyph) == 0x263A);
  CHECK_THROWS_AS(SetOrdProp(sample, glyph, 0x10000), EPropertyError);
}

TEST_CASE("strings, sub-objects and read-only properties") {
  TSample sample(nullptr);
  const TPropInfo& caption = Prop(sample, "Caption");
  SetStrProp(sample, caption, "Deleted files");
  CHECK(sample.Caption() == "Deleted files");
  CHECK(GetStrProp(sample, caption) == "Deleted files");
  SetStrProp(sample, caption, "");
  CHECK(GetStrProp(sample, caption).empty());

  sample.Lines()->Add("first");
  auto* lines = dynamic_cast<TStrings*>(GetObjectProp(sample, Prop(sample, "Lines")));
  REQUIRE(lines != nullptr);
  CHECK(lines->Strings(0) == "first");

  // Nested properties are reached through the sub-object's own table.
  TPersistent* font = GetObjectProp(sample, Prop(sample, "Font"));
  REQUIRE(font != nullptr);
  SetStrProp(*font, Prop(*font, "Name"), "Tahoma");
  SetOrdProp(*font, Prop(*font, "Size"), 10);
  CHECK(sample.Font()->FontName() == "Tahoma");
  CHECK(sample.Font()->Size() == 10);

  const TPropInfo& count = Prop(sample, "ItemCount");
  CHECK_FALSE(count.IsWritable());
  CHECK(GetOrdProp(sample, count) == 42);
  CHECK_THROWS_AS(SetOrdProp(sample, count, 1), EPropertyError);

  CHECK_THROWS_AS(GetOrdProp(sample, caption), EPropertyError);
  CHECK_THROWS_AS(SetStrProp(sample, Prop(sample, "Position"), "1"), EPropertyError);
  CHECK_THROWS_AS(GetObjectProp(sample, caption), EPropertyError);
  CHECK_THROWS_AS(SetOrdProp(sample, Prop(sample, "Position"), int64_t{1} << 40), EPropertyError);
}

TEST_CASE("Name is published and keeps the owner's uniqueness rule") {
  TComponent form(nullptr);
  TSample first(&form);
  TSample second(&form);
  SetStrProp(first, Prop(first, "Name"), "ListDel");
  CHECK(form.FindComponent("LISTDEL") == &first);
  CHECK_THROWS_AS(SetStrProp(second, Prop(second, "Name"), "listdel"), EComponentError);
  form.RemoveComponent(&first);
  form.RemoveComponent(&second);
}
