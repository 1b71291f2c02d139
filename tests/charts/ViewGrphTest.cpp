#include "charts/ViewGrph.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <QApplication>
#include <QElapsedTimer>
#include <QHelpEvent>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QTextDocument>
#include <QToolTip>

#include "NetFormTestSupport.h"

namespace wiremap {
namespace {

// ACount connections from pins on page APageA to pins on page APageB, each between its
// own two pins (-A<n>:1 and -B<n>:1).
void Connect(TConnectionRecs& ARecords, int AFirst, int ACount, int32_t APageA, int32_t APageB) {
  for (int I = AFirst; I < AFirst + ACount; ++I) {
    const std::string Number = std::to_string(I);
    ARecords.push_back({std::string("-A").append(Number), "1", APageA,
                        std::string("-B").append(Number), "1", APageB,
                        std::string("W").append(Number)});
  }
}

// Pixels as the eye sees them: how much of the maroon pen covers a pixel on the white
// background, read from the green channel, which maroon lacks.
double Coverage(QRgb APixel) {
  return (255 - qGreen(APixel)) / 255.0;
}

bool WaitFor(const std::function<bool()>& ACondition) {
  QElapsedTimer Timer;
  Timer.start();
  while (!ACondition() && Timer.elapsed() < 2000) QApplication::processEvents();
  return ACondition();
}

class ViewGrph : public testing::Test, public TNetFormFixture {
 protected:
  ~ViewGrph() override { QToolTip::hideText(); }

  QImage Shot() { return Chart.grab().toImage(); }
  TChartPoint Node(int AIndex) const {
    return Chart.Layout().NodePositions[static_cast<size_t>(AIndex)];
  }
  QRgb PixelAt(const QImage& AImage, TChartPoint APoint, int ADX = 0, int ADY = 0) const {
    return AImage.pixel(APoint.X + ADX, APoint.Y + ADY);
  }
  QTreeWidgetItem* NetNode(const QString& AHead) const {
    QTreeWidgetItem* Root = Form.TreeView1->topLevelItem(0);
    for (int I = 0; I < Root->childCount(); ++I)
      if (Root->child(I)->text(0).startsWith("net " + AHead + "   ")) return Root->child(I);
    return nullptr;
  }
  QRgb Background() const { return Chart.palette().color(QPalette::Base).rgb(); }

  TForm2& Chart = *Forms->Form2;
};

TEST_F(ViewGrph, WindowAsDesigned) {
  EXPECT_TRUE(Chart.isWindow());
  EXPECT_FALSE(Chart.isVisible());
  EXPECT_EQ(Chart.pos(), QPoint(360, 163));
  // 608 x 628 and at least 300 x 300 with the frame (8 pixels wide, 31 high).
  EXPECT_EQ(Chart.size(), QSize(600, 597));
  EXPECT_EQ(Chart.minimumSize(), QSize(292, 269));
  EXPECT_EQ(Chart.font().pixelSize(), 10);
  EXPECT_EQ(Chart.backgroundRole(), QPalette::Base);
  EXPECT_TRUE(Chart.hasMouseTracking());
  EXPECT_TRUE(Chart.findChildren<QWidget*>().isEmpty());
  EXPECT_EQ(Chart.Condensed(), nullptr);
  EXPECT_EQ(Chart.HoverNode(), -1);
}

TEST_F(ViewGrph, WithoutAProjectShowsAnEmptyWindow) {
  Form.PageGraph1Click();
  EXPECT_TRUE(Chart.isVisible());
  EXPECT_EQ(Chart.windowTitle(), "Page Chart");
  EXPECT_EQ(Chart.Condensed(), nullptr);
  const QImage Image = Shot();
  for (int Y = 0; Y < Image.height(); Y += 3)
    for (int X = 0; X < Image.width(); X += 3) ASSERT_EQ(Image.pixel(X, Y), Background());
  Chart.FormMouseMove(300, 20);
  EXPECT_EQ(Chart.HoverNode(), -1);
  EXPECT_EQ(Chart.HintText(), "");
}

TEST_F(ViewGrph, ChartCommandsOpenTheirAspects) {
  Load(HandMadeRecords());
  const std::vector<std::tuple<QAction*, QString, TAspectKind>> Commands{
      {Form.PageGraph1, "Page Chart", akPage},
      {Form.FunctionGraph1, "Function Chart", akFunction},
      {Form.LocationGraph1, "Location Chart", akLocation},
      {Form.ProductGraph1, "Product Chart", akProduct}};
  for (const auto& [Command, Caption, Aspect] : Commands) {
    Statuses.clear();
    Command->trigger();
    EXPECT_EQ(Chart.windowTitle(), Caption);
    ASSERT_NE(Chart.Condensed(), nullptr);
    const TSortedTextList& Values = Form.KeyValues()->Lists[Aspect];
    ASSERT_EQ(Chart.Condensed()->NodeCount, Values.Count()) << Caption.toStdString();
    for (int I = 0; I < Values.Count(); ++I)
      EXPECT_EQ(Chart.Condensed()->NodeNames[static_cast<size_t>(I)], Values[I]);
    EXPECT_EQ(Chart.Layout().NodePositions.size(), static_cast<size_t>(Values.Count()));
    EXPECT_EQ(StatusTexts(), QStringList{"Ready."});
  }
}

TEST_F(ViewGrph, LayoutFollowsTheClientArea) {
  TConnectionRecs Records;
  Connect(Records, 0, 2, 1, 2);
  Connect(Records, 2, 1, 2, 3);
  Load(Records);
  Form.PageGraph1Click();
  QApplication::processEvents();
  EXPECT_EQ(Chart.Layout().NodePositions, ComputeChartLayout(600, 597, 3).NodePositions);
  Chart.resize(400, 300);
  QApplication::processEvents();
  const TChartLayout Expected = ComputeChartLayout(400, 300, 3);
  EXPECT_EQ(Chart.Layout().NodeRadius, Expected.NodeRadius);
  EXPECT_EQ(Chart.Layout().NodePositions, Expected.NodePositions);
}

// Two pages: page 1 above, page 2 below, one vertical line between them. Across it the
// pen's coverage adds up to its width.
TEST_F(ViewGrph, LinesAreAsWideAsTheirScaleSays) {
  struct TCase {
    int Between, Inside, Width;
    const char* Legend;
  };
  const std::vector<TCase> Cases{{1, 0, 1, "Lin, Max=1"},
                                 {4, 0, 4, "Lin, Max=4"},
                                 {7, 83, 7, "Lin, Max=83"},
                                 {12, 84, 13, "Log, Max=84"},
                                 {5, 84, 4, "Log, Max=84"}};
  for (const TCase& Case : Cases) {
    TConnectionRecs Records;
    Connect(Records, 0, Case.Between, 1, 2);
    Connect(Records, 100, Case.Inside, 1, 1);
    Load(Records);
    Form.PageGraph1Click();
    ASSERT_EQ(Chart.Layout().NodeRadius, 83);
    const QImage Image = Shot();
    double Width = 0;
    for (int X = 250; X < 350; ++X) Width += Coverage(Image.pixel(X, Chart.Layout().CenterY));
    EXPECT_NEAR(Width, Case.Width, 0.1) << Case.Legend;

    // The legend, as this font draws it at (7, H - 20).
    QImage Expected(Image.size(), Image.format());
    Expected.fill(Background());
    QPainter Painter(&Expected);
    Painter.setFont(Chart.font());
    Painter.setPen(Chart.palette().color(QPalette::Text));
    Painter.drawText(7, Chart.height() - 20 + Painter.fontMetrics().ascent(), Case.Legend);
    Painter.end();
    const QRect Legend(0, Chart.height() - 24, 150, 24);
    EXPECT_EQ(Image.copy(Legend), Expected.copy(Legend)) << Case.Legend;
  }
}

TEST_F(ViewGrph, NodesAreDrawnOverTheLinesWithTheirNames) {
  TConnectionRecs Records;
  Connect(Records, 0, 3, 1, 2);
  Load(Records);
  Form.PageGraph1Click();
  const QImage Image = Shot();
  const int32_t Radius = Chart.Layout().NodeRadius;
  for (int I = 0; I < 2; ++I) {
    // The line runs through both centres; inside the circles the fill covers it.
    EXPECT_EQ(PixelAt(Image, Node(I), 0, I == 0 ? Radius / 2 : -Radius / 2),
              QColor(240, 240, 255).rgb());
    EXPECT_EQ(PixelAt(Image, Node(I), -Radius / 2, 0), QColor(240, 240, 255).rgb());
    const QColor Rim(PixelAt(Image, Node(I), -Radius, 0));
    EXPECT_GT(Rim.blue(), 100);
    EXPECT_LT(Rim.red(), 100);
    // The name "1" or "2" in the middle.
    int Dark = 0;
    for (int Y = -6; Y <= 6; ++Y)
      for (int X = -6; X <= 6; ++X) Dark += qGray(PixelAt(Image, Node(I), X, Y)) < 128;
    EXPECT_GT(Dark, 3);
  }
  // Between the circles the line is maroon.
  EXPECT_EQ(Image.pixel(Chart.Layout().CenterX - 1, Chart.Layout().CenterY),
            QColor(128, 0, 0).rgb());
}

// A name is drawn only when its width plus its height is less than the diameter.
TEST_F(ViewGrph, NamesThatDoNotFitAreLeftOut) {
  // A name wider than the smallest window's radius (40) allows.
  const QFontMetrics Metrics(Chart.font());
  std::string Name = "=PUMP";
  const auto Extent = [&] {
    return Metrics.horizontalAdvance(QString::fromStdString(Name)) + Metrics.height();
  };
  while (Extent() < 90) Name += "S";
  Load({{Name + "-K1", "1", 1, Name + "-K2", "1", 1, "W"}});
  const auto NameShown = [&](int ARadius) {
    int Side = 300;
    while (ComputeChartLayout(Side, Side, 1).NodeRadius < ARadius) ++Side;
    Chart.resize(Side, Side);
    Form.FunctionGraph1Click();
    EXPECT_EQ(Chart.Layout().NodeRadius, ARadius);
    const QImage Image = Shot();
    for (int Y = -ARadius / 2; Y <= ARadius / 2; ++Y)
      for (int X = -ARadius / 2; X <= ARadius / 2; ++X)
        if (qGray(PixelAt(Image, Node(0), X, Y)) < 128) return true;
    return false;
  };
  EXPECT_FALSE(NameShown((Extent() + 1) / 2));
  EXPECT_TRUE(NameShown(Extent() / 2 + 1));
}

TEST_F(ViewGrph, SelectedNetLightsItsGroups) {
  // Net 1 runs over pages 1 and 3, net 2 lies on page 2.
  Load({{"-K1", "1", 1, "-K2", "1", 3, "W1"}, {"-K3", "1", 2, "-K4", "1", 2, "W2"}});
  Form.PageGraph1Click();
  const auto Highlighted = [this] { return Chart.Condensed()->Highlighted; };
  const auto Fill = [this](int AIndex) {
    const QImage Image = Shot();
    return QColor(PixelAt(Image, Node(AIndex), 0, Chart.Layout().NodeRadius / 2));
  };
  EXPECT_EQ(Highlighted(), (std::vector<uint8_t>{0, 0, 0}));

  Form.TreeView1->setCurrentItem(NetNode("-K1:1"));
  EXPECT_EQ(Highlighted(), (std::vector<uint8_t>{1, 0, 1}));
  EXPECT_EQ(Fill(0), QColor(255, 192, 192));
  EXPECT_EQ(Fill(1), QColor(240, 240, 255));
  EXPECT_EQ(Fill(2), QColor(255, 192, 192));
  const QImage Image = Shot();
  const QColor Rim(PixelAt(Image, Node(0), -Chart.Layout().NodeRadius, 0));
  EXPECT_GT(Rim.red(), 200);
  EXPECT_LT(Rim.green(), 100);

  Form.TreeView1->setCurrentItem(NetNode("-K3:1"));
  EXPECT_EQ(Highlighted(), (std::vector<uint8_t>{0, 1, 0}));
  EXPECT_EQ(Fill(1), QColor(255, 192, 192));

  // Unchecked: a new selection leaves the highlight; checking it again clears it.
  Form.HighlightSelectioninChart1->trigger();
  Form.TreeView1->setCurrentItem(NetNode("-K1:1"));
  EXPECT_EQ(Highlighted(), (std::vector<uint8_t>{0, 1, 0}));
  Form.HighlightSelectioninChart1->trigger();
  EXPECT_EQ(Highlighted(), (std::vector<uint8_t>{0, 0, 0}));
  EXPECT_EQ(Fill(1), QColor(240, 240, 255));
}

TEST_F(ViewGrph, OpeningAChartTakesTheCurrentSelection) {
  Load({{"-K1", "1", 1, "-K2", "1", 3, "W1"}, {"-K3", "1", 2, "-K4", "1", 2, "W2"}});
  Form.TreeView1->setCurrentItem(NetNode("-K3:1"));
  Form.PageGraph1Click();
  EXPECT_EQ(Chart.Condensed()->Highlighted, (std::vector<uint8_t>{0, 1, 0}));
}

// The next project's pins point into other tables: the old chart goes when a load
// begins, and a selection before the next chart command touches nothing.
TEST_F(ViewGrph, ALoadDropsTheChart) {
  Load({{"-K1", "1", 1, "-K2", "1", 2, "W1"}});
  Form.ProductGraph1Click();
  Chart.FormMouseMove(Node(1).X, Node(1).Y);
  ASSERT_EQ(Chart.HintText(), "-K2");
  TConnectionRecs Bigger;
  Connect(Bigger, 0, 40, 1, 2);
  Load(Bigger);
  EXPECT_FALSE(Chart.isVisible());
  EXPECT_EQ(Chart.Condensed(), nullptr);
  EXPECT_EQ(Chart.HoverNode(), -1);
  EXPECT_EQ(Chart.HintText(), "");
  Form.TreeView1->setCurrentItem(NetNode("-A39:1"));
  EXPECT_EQ(Chart.Condensed(), nullptr);

  Form.ProductGraph1Click();
  ASSERT_EQ(Chart.Condensed()->NodeCount, 80);
  EXPECT_EQ(
      std::count(Chart.Condensed()->Highlighted.begin(), Chart.Condensed()->Highlighted.end(), 1),
      2);
}

TEST_F(ViewGrph, HoverNamesTheNodeUnderThePointer) {
  Load({{"=<b>x</b>  &amp;-K1", "1", 1, "=F2-K2", "1", 1, "W"}});
  Form.FunctionGraph1Click();
  ASSERT_EQ(Chart.Condensed()->NodeCount, 2);
  const int32_t Radius = Chart.Layout().NodeRadius;
  Chart.FormMouseMove(Node(1).X + Radius - 1, Node(1).Y);
  EXPECT_EQ(Chart.HoverNode(), 1);
  EXPECT_EQ(Chart.HintText(), "=F2");

  // Real pointer movement is tracked without a button held.
  QMouseEvent Move(QEvent::MouseMove, QPointF(Node(0).X, Node(0).Y + 3),
                   Chart.mapToGlobal(QPointF(Node(0).X, Node(0).Y + 3)), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QApplication::sendEvent(&Chart, &Move);
  EXPECT_EQ(Chart.HoverNode(), 0);
  EXPECT_EQ(Chart.HintText(), "=<b>x</b>  &amp;");

  Chart.FormMouseMove(Node(0).X + Radius, Node(0).Y);
  EXPECT_EQ(Chart.HoverNode(), -1);
  EXPECT_EQ(Chart.HintText(), "");
}

TEST_F(ViewGrph, TooltipStaysWithinANodeAndGoesWhenTheNodeChanges) {
  Load({{"=<b>x</b>  &amp;-K1", "1", 1, "=F2-K2", "1", 1, "W"}});
  Form.FunctionGraph1Click();
  const auto RestAt = [this](TChartPoint APoint) {
    Chart.FormMouseMove(APoint.X, APoint.Y);
    QHelpEvent Rest(QEvent::ToolTip, QPoint(APoint.X, APoint.Y),
                    Chart.mapToGlobal(QPoint(APoint.X, APoint.Y)));
    QApplication::sendEvent(&Chart, &Rest);
  };
  // The label shows the name as written, not as markup.
  const auto Shown = [] {
    for (QWidget* Widget : QApplication::topLevelWidgets())
      if (Widget->inherits("QTipLabel") && Widget->isVisible()) {
        const QString Text = static_cast<QLabel*>(Widget)->text();
        if (!Qt::mightBeRichText(Text)) return Text;
        QTextDocument Document;
        Document.setHtml(Text);
        return Document.toPlainText();
      }
    return QString();
  };
  RestAt(Node(0));
  EXPECT_EQ(Shown(), "=<b>x</b>  &amp;");
  Chart.FormMouseMove(Node(0).X + 2, Node(0).Y + 2);
  EXPECT_TRUE(QToolTip::isVisible());
  EXPECT_EQ(Shown(), "=<b>x</b>  &amp;");

  Chart.FormMouseMove(Node(1).X, Node(1).Y);
  EXPECT_TRUE(WaitFor([] { return !QToolTip::isVisible(); }));
  RestAt(Node(1));
  EXPECT_EQ(Shown(), "=F2");

  // Off the nodes nothing is shown.
  Chart.FormMouseMove(2, 2);
  EXPECT_TRUE(WaitFor([] { return !QToolTip::isVisible(); }));
  RestAt(TChartPoint{2, 2});
  EXPECT_FALSE(QToolTip::isVisible());
}

TEST_F(ViewGrph, OpeningAChartForgetsTheHoverAndClosingOnlyHides) {
  Load(HandMadeRecords());
  Form.PageGraph1Click();
  Chart.FormMouseMove(Node(0).X, Node(0).Y);
  ASSERT_EQ(Chart.HoverNode(), 0);
  Form.LocationGraph1Click();
  EXPECT_EQ(Chart.HoverNode(), -1);
  EXPECT_EQ(Chart.HintText(), "");

  const TCondensedGraph* Condensed = Chart.Condensed();
  Chart.close();
  EXPECT_FALSE(Chart.isVisible());
  EXPECT_EQ(Chart.Condensed(), Condensed);
  Form.LocationGraph1Click();
  EXPECT_TRUE(Chart.isVisible());
}

TEST_F(ViewGrph, ZeroNodesDrawOnlyTheLegend) {
  Load({});
  Form.PageGraph1Click();
  ASSERT_NE(Chart.Condensed(), nullptr);
  EXPECT_EQ(Chart.Condensed()->NodeCount, 0);
  const QImage Image = Shot();
  int Dark = 0;
  for (int Y = 0; Y < Image.height(); ++Y)
    for (int X = 0; X < Image.width(); ++X)
      if (Image.pixel(X, Y) != Background()) {
        ASSERT_GE(Y, Image.height() - 20);
        ASSERT_LT(X, 100);
        ++Dark;
      }
  EXPECT_GT(Dark, 20);
}

}  // namespace
}  // namespace wiremap
