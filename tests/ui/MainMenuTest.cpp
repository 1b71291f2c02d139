#include <gtest/gtest.h>

#include <QAction>
#include <QKeySequence>
#include <QMenu>

#include <set>
#include <vector>

#include "TestPrompts.h"
#include "ui/NetForm.h"

namespace wiremap {
namespace {

// One command of the main menu: the window's member, its caption (a prefix for the
// samples, whose labels follow) and its shortcut ("" for none).
struct TMenuItem {
  QAction* TForm1::*Action;
  QString Caption;
  QString Shortcut;
};

// clang-format off
const std::vector<TMenuItem> kFileItems{
    {&TForm1::RetrieveCurrentProjectsNetlist1, "&Retrieve Current Project's Netlist", "Ctrl+R"},
    {&TForm1::OpenDemoData1, "Open Demo Data &1   (", "Ctrl+1"},
    {&TForm1::OpenDemoData21, "Open Demo Data &2   (", "Ctrl+2"},
    {&TForm1::OpenDemoData31, "Open Demo Data &3   (", "Ctrl+3"},
    {&TForm1::OpenDemoData41, "Open Demo Data &4   (", "Ctrl+4"},
    {&TForm1::OpenDemoData51, "Open Demo Data &5   (", "Ctrl+5"},
    {&TForm1::OpenDemoData61, "Open Demo Data &6   (", "Ctrl+6"},
    {&TForm1::OpenDemoData71, "Open Demo Data &7   (", "Ctrl+7"},
    {&TForm1::OpenDemoData81, "Open Demo Data &8   (", "Ctrl+8"},
    {&TForm1::OpenDemoData91, "Open Demo Data &9   (", "Ctrl+9"},
    {&TForm1::SaveNetlist1, "&Save Netlist", "Ctrl+S"},
    {&TForm1::SavePinlist1, "Save &Pinlist", "Ctrl+P"}};
const std::vector<TMenuItem> kEditItems{
    {&TForm1::CopySelection1, "&Copy Selection", "Ctrl+C"},
    {&TForm1::FindPin1, "&Find Pin", "Ctrl+F"},
    {&TForm1::FindNextPin1, "Find Next Pin", "Ctrl+G"}};
const std::vector<TMenuItem> kViewItems{
    {&TForm1::PageGraph1, "&Page Chart", "F9"},
    {&TForm1::FunctionGraph1, "&Function Chart", "F10"},
    {&TForm1::LocationGraph1, "&Location Chart", "F11"},
    {&TForm1::ProductGraph1, "Product &Chart", "F12"}};
const std::vector<TMenuItem> kOptionsItems{
    {&TForm1::HighlightSelectioninChart1, "&Highlight Selection in Chart", ""}};
// clang-format on

class MainMenu : public ::testing::Test {
 protected:
  TTestPrompts Prompts;
  TForm1 Form;
};

// Every command sits in its menu with its caption and its shortcut, and no two commands of
// the window share a shortcut.
TEST_F(MainMenu, EveryCommandHasItsCaptionAndShortcut) {
  const std::vector<std::pair<QMenu*, const std::vector<TMenuItem>*>> Menus{
      {Form.File1, &kFileItems},
      {Form.Edit1, &kEditItems},
      {Form.View1, &kViewItems},
      {Form.Options1, &kOptionsItems}};
  std::set<QString> Shortcuts;
  for (const auto& [Menu, Items] : Menus) {
    for (const TMenuItem& Item : *Items) {
      const QAction* Action = Form.*Item.Action;
      ASSERT_NE(Action, nullptr) << Item.Caption.toStdString();
      EXPECT_TRUE(Menu->actions().contains(Action)) << Item.Caption.toStdString();
      if (Item.Caption.endsWith('(')) {
        EXPECT_TRUE(Action->text().startsWith(Item.Caption) && Action->text().endsWith(')'))
            << Action->text().toStdString();
      } else {
        EXPECT_EQ(Action->text(), Item.Caption);
      }
      EXPECT_EQ(Action->shortcut(), QKeySequence(Item.Shortcut)) << Item.Caption.toStdString();
      EXPECT_TRUE(Action->isEnabled()) << Item.Caption.toStdString();
      if (!Item.Shortcut.isEmpty()) {
        EXPECT_TRUE(Shortcuts.insert(Item.Shortcut).second) << Item.Shortcut.toStdString();
      }
    }
  }
}

}  // namespace
}  // namespace wiremap
