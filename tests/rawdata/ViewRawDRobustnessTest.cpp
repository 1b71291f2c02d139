#include <gtest/gtest.h>

#include <string>

#include <QPlainTextEdit>

#include "TestPrompts.h"
#include "host/SimHostFactory.h"
#include "rawdata/PointTable.h"
#include "rawdata/ViewRawD.h"
#include "ui/Forms.h"

namespace wiremap {
namespace {

// Terminals of two pins each, every pin on a point of its own: APoints points in all
// (rounded up to even).
TSimDrawing Terminals(int32_t APoints) {
  TSimDrawing Drawing;
  TSimPage& Page = Drawing.Pages.emplace_back();
  for (int32_t I = 0; 2 * I < APoints; ++I) {
    const int32_t X = (I % 200) * 5000, Y = (I / 200) * 5000;
    Page.Symbols.push_back({.SymbolType = TSimType::Terminal,
                            .Name = "-X" + std::to_string(I),
                            .Pins = {{"1", {X, Y, 0}}, {"2", {X + 2500, Y, 0}}}});
  }
  return Drawing;
}

QString FirstLine(const QPlainTextEdit* AMemo) {
  const QString Text = AMemo->toPlainText();
  return Text.left(Text.indexOf('\n'));
}

// The raw data window at the point table's limit, and one point beyond it.
TEST(ViewRawDRobustness, ADrawingAtThePointTablesLimit) {
  constexpr int32_t Limit = TPointTable::FillLimit - 1;  // 38462 points fit
  ASSERT_EQ(Limit % 2, 0);
  TTestPrompts Prompts;
  TForm5 Form;
  {
    TSimHostFactory Hosts(Terminals(Limit));
    Form.FormShow();
  }
  EXPECT_TRUE(Prompts.Errors.empty());
  EXPECT_EQ(FirstLine(Form.Memo1), QString("total (electric) symbols = %1").arg(Limit / 2));
  EXPECT_TRUE(FirstLine(Form.Memo3).startsWith(QString("point table entries = %1, ").arg(Limit)));
  EXPECT_TRUE(Form.Memo3->toPlainText().contains(QString("nets found = %1\n").arg(Limit)));
  // The last net is that of the first point: the first terminal's first pin.
  EXPECT_TRUE(Form.Memo3->toPlainText().endsWith("-X0:1   st_Terminal handle=1 pin_index=0"));

  const QString Nets = Form.Memo3->toPlainText();
  TSimDrawing Beyond = Terminals(Limit);
  Beyond.Pages[0].Symbols.push_back(
      {.SymbolType = TSimType::Terminal, .Name = "-Y", .Pins = {{"1", {-5000, -5000, 0}}}});
  TSimHostFactory Hosts(Beyond);
  try {
    Form.FormShow();
    ADD_FAILURE() << "no error beyond the limit";
  } catch (const EAssertionFailed& E) {
    EXPECT_EQ(E.Message().rfind("Hash table full (ViewRawD, line ", 0), 0u) << E.Message();
  }
  EXPECT_EQ(Form.Memo3->toPlainText(), Nets);
}

// A 64 KB name and names that are no UTF-8, for symbols, pins and signals.
TEST(ViewRawDRobustness, HostileNamesAreShown) {
  const std::string Long(65536, 'K');
  TSimDrawing Drawing;
  TSimPage& Page = Drawing.Pages.emplace_back();
  Page.Symbols = {
      {.SymbolType = TSimType::Relay, .Name = "-" + Long, .Pins = {{"\xFF", {0, 0, 0}}}},
      {.SymbolType = TSimType::Terminal, .Name = "-X\xC3", .Pins = {{"\xED\xA0\x80", {0, 0, 0}}}},
      {.SymbolType = TSimType::Signal, .Name = "\x80", .SignalName = "L\xE2\x82", .Pins = {{}}},
      {.SymbolType = TSimType::Signal, .Name = "<b>S</b>", .Pins = {{"", {0, 5000, 0}}}}};
  TTestPrompts Prompts;
  TSimHostFactory Hosts(Drawing);
  TForm5 Form;
  Form.FormShow();
  EXPECT_TRUE(Prompts.Errors.empty());
  const QString Symbols = Form.Memo1->toPlainText();
  EXPECT_TRUE(Symbols.contains(QString::fromStdString("st_Relay   -" + Long + "\n")));
  EXPECT_TRUE(Symbols.contains("<b>S</b>:unknown_variant"));
  EXPECT_TRUE(Symbols.contains(QString::fromStdString("L\xE2\x82")));
  EXPECT_TRUE(Form.Memo3->toPlainText().contains(
      QString::fromStdString("-" + Long + ":\xFF   st_Relay handle=")));
}

}  // namespace
}  // namespace wiremap
