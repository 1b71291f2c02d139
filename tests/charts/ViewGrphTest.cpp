#include "charts/ViewGrph.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include <QApplication>
#include <QElapsedTimer>
#include <QHelpEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QTextDocument>
#include <QToolTip>

#include "NetFormTestSupport.h"

namespace wiremap {
namespace {

const QColor NodeFill(240, 240, 255);
const QColor HighlightFill(255, 192, 192);

// ACount wires from page APageA to page APageB, each between its own two pins.
void Connect(TConnectionRecs& ARecords, int AFirst, int ACount, int32_t APageA, int32_t APageB) {
  for (int I = AFirst; I < AFirst + ACount; ++I) {
    const std::string Number = std::to_string(I);
    ARecords.push_back({std::string("-A").append(Number), "1", APageA,
                        std::string("-B").append(Number), "1", APageB, "W"});
  }
}

bool WaitFor(const std::function<bool()>& ACondition, int AMilliseconds = 2000) {
  QElapsedTimer Timer;
  Timer.start();
  while (!ACondition() && Timer.elapsed() < AMilliseconds) QApplication::processEvents();
  return ACondition();
}

class ViewGrph : public testing::Test, public TNetFormFixture {
 protected:
  ~ViewGrph() override { QToolTip::hideText(); }

  TChartPoint Node(int AIndex) const {
    return Chart.Layout().NodePositions[static_cast<size_t>(AIndex)];
  }
  QColor Pixel(TChartPoint APoint, int ADX = 0, int ADY = 0) {
    return Chart.grab().toImage().pixelColor(APoint.X + ADX, APoint.Y + ADY);
  }
  void SelectNet(const QString& AHead) {
    const QModelIndex Net = FindNode(Form.TreeView1, "net " + AHead + "   ", Qt::MatchStartsWith);
    if (Net.isValid()) Form.TreeView1->setCurrentIndex(Net);
  }
  std::vector<uint8_t> Highlighted() const { return Chart.Condensed()->Highlighted; }
  QColor Background() const { return Chart.palette().color(QPalette::Base); }

  TForm2& Chart = *Forms->Form2;
};

TEST_F(ViewGrph, WindowAsDesignedAndEmptyWithoutAProject) {
  EXPECT_FALSE(Chart.isVisible());
  EXPECT_EQ(Chart.pos(), QPoint(360, 163));
  // 608 x 628 and at least 300 x 300 with the frame (8 pixels wide, 31 high).
  EXPECT_EQ(Chart.size(), QSize(600, 597));
  EXPECT_EQ(Chart.minimumSize(), QSize(292, 269));
  EXPECT_EQ(Chart.font().pixelSize(), 10);

  Form.PageGraph1Click();
  EXPECT_TRUE(Chart.isVisible());
  EXPECT_EQ(Chart.windowTitle(), "Page Chart");
  EXPECT_EQ(Chart.Condensed(), nullptr);
  const QImage Image = Chart.grab().toImage();
  for (int Y = 0; Y < Image.height(); Y += 3)
    for (int X = 0; X < Image.width(); X += 3) ASSERT_EQ(Image.pixelColor(X, Y), Background());
  Chart.FormMouseMove(300, 20);
  EXPECT_EQ(Chart.HintText(), "");
}

TEST_F(ViewGrph, ChartsOfEachAspectFollowTheClientArea) {
  Load(HandMadeRecords());
  Form.LocationGraph1->trigger();
  EXPECT_EQ(Chart.windowTitle(), "Location Chart");
  ASSERT_EQ(Chart.Condensed()->NodeCount, Form.KeyValues()->Lists[akLocation].Count());
  EXPECT_EQ(Chart.Layout().NodePositions, ComputeChartLayout(600, 597, 3).NodePositions);
  Chart.resize(400, 300);
  QApplication::processEvents();
  EXPECT_EQ(Chart.Layout().NodePositions, ComputeChartLayout(400, 300, 3).NodePositions);
}

// Two pages, page 1 above page 2: across the line between them the pen's coverage (read
// from the green channel, which maroon lacks) adds up to its width.
TEST_F(ViewGrph, LinesAndLegendFollowTheScale) {
  struct TCase {
    int Between, Inside, Width;
    const char* Legend;
  };
  const std::vector<TCase> Cases{{4, 0, 4, "Lin, Max=4"},
                                 {7, 83, 7, "Lin, Max=83"},
                                 {12, 84, 13, "Log, Max=84"},
                                 {5, 84, 4, "Log, Max=84"},
                                 {0, 0, 0, "Lin, Max=0"}};
  for (const TCase& Case : Cases) {
    TConnectionRecs Records;
    Connect(Records, 0, Case.Between, 1, 2);
    Connect(Records, 100, Case.Inside, 1, 1);
    Load(Records);
    Form.PageGraph1Click();
    const QImage Image = Chart.grab().toImage();
    double Width = 0;
    for (int X = 250; X < 350; ++X) Width += (255 - qGreen(Image.pixel(X, 298))) / 255.0;
    EXPECT_NEAR(Width, Case.Width, 0.1) << Case.Legend;

    QImage Legend(Image.size(), Image.format());
    Legend.fill(Background());
    QPainter Painter(&Legend);
    Painter.setFont(Chart.font());
    Painter.drawText(7, 597 - 20 + Painter.fontMetrics().ascent(), Case.Legend);
    Painter.end();
    const QRect Corner(0, 597 - 24, 150, 24);
    EXPECT_EQ(Image.copy(Corner), Legend.copy(Corner)) << Case.Legend;
  }
}

// Five pages joined in four pairs: a line runs between exactly the circles of a joined pair
// (sampled along each pair's centre line, away from the circles and from every other line).
TEST_F(ViewGrph, LinesJoinExactlyTheGroupsThatShareANet) {
  const std::vector<std::pair<int, int>> Joined{{1, 2}, {1, 3}, {2, 5}, {3, 4}};
  TConnectionRecs Records;
  for (size_t I = 0; I < Joined.size(); ++I)
    Connect(Records, static_cast<int>(10 * I), 4, Joined[I].first, Joined[I].second);
  Load(Records);
  Form.PageGraph1Click();
  ASSERT_EQ(Chart.Condensed()->NodeCount, 5);
  const QImage Image = Chart.grab().toImage();
  const int Radius = Chart.Layout().NodeRadius;
  const auto At = [this](int APage, double AShare, int AOther) {
    const TChartPoint A = Node(APage - 1), B = Node(AOther - 1);
    return QPointF(A.X + AShare * (B.X - A.X), A.Y + AShare * (B.Y - A.Y));
  };
  // How far APoint lies from the line between the circles of pages AFrom and ATo.
  const auto Distance = [this](QPointF APoint, int AFrom, int ATo) {
    const QPointF A(Node(AFrom - 1).X, Node(AFrom - 1).Y), B(Node(ATo - 1).X, Node(ATo - 1).Y);
    const QPointF D = B - A;
    if (D.isNull()) return std::hypot(APoint.x() - A.x(), APoint.y() - A.y());
    const double T =
        std::clamp(QPointF::dotProduct(APoint - A, D) / QPointF::dotProduct(D, D), 0.0, 1.0);
    const QPointF Near = A + T * D - APoint;
    return std::hypot(Near.x(), Near.y());
  };
  for (int From = 1; From <= 5; ++From)
    for (int To = From + 1; To <= 5; ++To) {
      const bool IsJoined =
          std::find(Joined.begin(), Joined.end(), std::make_pair(From, To)) != Joined.end();
      int Checked = 0;
      for (double Share = 0.2; Share <= 0.8; Share += 0.05) {
        const QPointF Point = At(From, Share, To);
        bool Clear = true;
        for (int Page = 1; Page <= 5; ++Page)
          Clear = Clear && Distance(Point, Page, Page) > Radius + 2;
        for (const auto& [A, B] : Joined)
          if (std::make_pair(A, B) != std::make_pair(From, To))
            Clear = Clear && Distance(Point, A, B) > 6;
        if (!Clear) continue;
        ++Checked;
        const QColor Color = Image.pixelColor(Point.toPoint());
        if (IsJoined)
          EXPECT_LT(Color.green(), 64) << From << "-" << To << " at " << Share;
        else
          EXPECT_EQ(Color, Background()) << From << "-" << To << " at " << Share;
      }
      EXPECT_GT(Checked, 0) << From << "-" << To;
    }
}

// A name is drawn only when its width plus its height is less than the diameter.
TEST_F(ViewGrph, NodesCoverTheirLinesAndShowNamesThatFit) {
  const QFontMetrics Metrics(Chart.font());
  QString Name = "=PUMP";
  while (Metrics.horizontalAdvance(Name) + Metrics.height() < 90) Name += 'S';
  const int Extent = Metrics.horizontalAdvance(Name) + Metrics.height();
  Load({{Name.toStdString() + "-K1", "1", 1, "=F-K2", "1", 1, "W"}});
  const auto NameShown = [&](int ARadius) {
    int Side = 300;
    while (ComputeChartLayout(Side, Side, 2).NodeRadius < ARadius) ++Side;
    Chart.resize(Side, Side);
    Form.FunctionGraph1Click();
    EXPECT_EQ(Chart.Layout().NodeRadius, ARadius);
    // The line runs through the centres; the circles cover it.
    EXPECT_EQ(Pixel(Node(1), 0, -ARadius / 2), NodeFill);
    EXPECT_LT(Pixel(Node(1), -ARadius, 0).red(), 64);  // navy rim
    const QImage Image = Chart.grab().toImage();
    for (int DX = -ARadius / 2; DX <= ARadius / 2; ++DX)
      for (int DY = -3; DY <= 3; ++DY)
        if (qGray(Image.pixel(Node(1).X + DX, Node(1).Y + DY)) < 128) return true;
    return false;
  };
  EXPECT_FALSE(NameShown((Extent + 1) / 2));
  EXPECT_TRUE(NameShown(Extent / 2 + 1));
}

TEST_F(ViewGrph, SelectedNetLightsItsGroups) {
  // Net -K1:1 runs over pages 1 and 3, net -K3:1 lies on page 2.
  Load({{"-K1", "1", 1, "-K2", "1", 3, "W1"}, {"-K3", "1", 2, "-K4", "1", 2, "W2"}});
  SelectNet("-K3:1");
  Form.PageGraph1Click();
  EXPECT_EQ(Highlighted(), (std::vector<uint8_t>{0, 1, 0}));

  SelectNet("-K1:1");
  EXPECT_EQ(Highlighted(), (std::vector<uint8_t>{1, 0, 1}));
  const int Radius = Chart.Layout().NodeRadius;
  for (int I = 0; I < 3; ++I)
    EXPECT_EQ(Pixel(Node(I), 0, Radius / 2), I == 1 ? NodeFill : HighlightFill) << I;
  EXPECT_EQ(Pixel(Node(0), -Radius + 1, 0), QColor(255, 0, 0));

  // Unchecked: a new selection leaves the highlight; checking it again clears it.
  Form.HighlightSelectioninChart1->trigger();
  SelectNet("-K3:1");
  EXPECT_EQ(Highlighted(), (std::vector<uint8_t>{1, 0, 1}));
  Form.HighlightSelectioninChart1->trigger();
  EXPECT_EQ(Highlighted(), (std::vector<uint8_t>{0, 0, 0}));
  EXPECT_EQ(Pixel(Node(0), 0, Radius / 2), NodeFill);
}

// The next project's pins point into other key tables: the chart goes when a load
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
  EXPECT_EQ(Chart.HintText(), "");
  SelectNet("-A39:1");
  EXPECT_EQ(Chart.Condensed(), nullptr);

  Form.ProductGraph1Click();
  ASSERT_EQ(Chart.Condensed()->NodeCount, 80);
  const std::vector<uint8_t> Lit = Highlighted();
  EXPECT_EQ(std::count(Lit.begin(), Lit.end(), 1), 2);
  // Closing only hides.
  Chart.close();
  EXPECT_FALSE(Chart.isVisible());
  EXPECT_NE(Chart.Condensed(), nullptr);
}

TEST_F(ViewGrph, TooltipNamesTheNodeAndStaysUntilTheNodeChanges) {
  const QString Odd = "=<b>x</b>  &amp;";
  Load({{Odd.toStdString() + "-K1", "1", 1, "=F2-K2", "1", 1, "W"}});
  Form.FunctionGraph1Click();
  const auto RestAt = [this](TChartPoint APoint) {
    const QPoint Local(APoint.X, APoint.Y);
    QMouseEvent Move(QEvent::MouseMove, Local, Chart.mapToGlobal(Local), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&Chart, &Move);
    QHelpEvent Rest(QEvent::ToolTip, Local, Chart.mapToGlobal(Local));
    QApplication::sendEvent(&Chart, &Rest);
  };
  // What the tooltip label shows, read as the label reads it.
  const auto Shown = [] {
    QTextDocument Document;
    for (QWidget* Widget : QApplication::topLevelWidgets())
      if (Widget->inherits("QTipLabel") && Widget->isVisible())
        Document.setHtml(static_cast<QLabel*>(Widget)->text());
    return Document.toPlainText();
  };
  QApplication::processEvents();  // the window's activation, which would close a tooltip
  RestAt(Node(0));
  EXPECT_EQ(Chart.HoverNode(), 0);
  EXPECT_EQ(Shown(), Odd);
  // Moving within the node keeps it (a withdrawn tooltip fades out within a moment).
  Chart.FormMouseMove(Node(0).X + 3, Node(0).Y + 3);
  EXPECT_FALSE(WaitFor([] { return !QToolTip::isVisible(); }, 600));

  Chart.FormMouseMove(Node(1).X, Node(1).Y);
  EXPECT_TRUE(WaitFor([] { return !QToolTip::isVisible(); }));
  RestAt(Node(1));
  EXPECT_EQ(Shown(), "=F2");

  RestAt({2, 2});
  EXPECT_EQ(Chart.HoverNode(), -1);
  EXPECT_TRUE(WaitFor([] { return !QToolTip::isVisible(); }));
  // Opening a chart forgets the hover.
  RestAt(Node(0));
  Form.PageGraph1Click();
  EXPECT_EQ(Chart.HoverNode(), -1);
  EXPECT_EQ(Chart.HintText(), "");
}

}  // namespace
}  // namespace wiremap
