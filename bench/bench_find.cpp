// Find Pin on the pin list of a large project: a search that matches nothing visits every
// pin node of the tree. Also the mask matcher on its own, with the most stars a mask may
// have against a long name.
#include <benchmark/benchmark.h>

#include <optional>
#include <string>

#include <QApplication>
#include <QTreeView>

#include "BenchMain.h"
#include "SyntheticWiring.h"
#include "host/ReadPCS.h"
#include "model/PinMask.h"
#include "ui/Forms.h"
#include "ui/NetForm.h"
#include "ui/RadioGroup.h"
#include "ui/UserPrompts.h"

namespace {

using namespace wiremap;

TForm1* MainWindow = nullptr;

void Search(benchmark::State& AState, const QString& AMask, int AOrder = 0) {
  if (MainWindow->RadioGroup1->ItemIndex() != AOrder) MainWindow->RadioGroup1->SetItemIndex(AOrder);
  for (auto _ : AState) {
    const QModelIndex Node = MainWindow->FindPinNode(AMask);
    if (Node.isValid()) AState.SkipWithError("the search should find nothing");
    benchmark::DoNotOptimize(Node);
  }
}

// The first search of a plain text: the whole name.
void BM_FindPin_ExactMiss(benchmark::State& AState) {
  Search(AState, "=F1+L1-K999999:13");
}
// The second one: the text anywhere in the name.
void BM_FindPin_ContainsMiss(benchmark::State& AState) {
  Search(AState, "*K999999*");
}
void BM_FindPin_SetMiss(benchmark::State& AState) {
  Search(AState, "=F[!0-9]*");
}
// Grouped by location: 41 groups of pins.
void BM_FindPin_ContainsMiss_ByLocation(benchmark::State& AState) {
  Search(AState, "*K999999*", 4);
}

// The whole command for a plain text that no name holds: the exact search, then the
// search anywhere in the names, then the beep.
class TAnswerText : public TUserPrompts {
 public:
  void Beep() override {}
  std::optional<QString> AskText(QWidget*, const QString&, const QString&, const QString&,
                                 int) override {
    return QString("K999999");
  }
};

void BM_FindPinCommand_PlainMiss(benchmark::State& AState) {
  if (MainWindow->RadioGroup1->ItemIndex() != 0) MainWindow->RadioGroup1->SetItemIndex(0);
  TAnswerText Prompts;
  SetUserPrompts(&Prompts);
  for (auto _ : AState) MainWindow->FindPin1Click();
  SetUserPrompts(nullptr);
}

void BM_Mask_ThirtyStarsLongName(benchmark::State& AState) {
  std::string Mask;
  for (int I = 0; I < 29; ++I) Mask += "*a";
  Mask += "*b";
  const std::string Name(255, 'a');
  for (auto _ : AState) {
    const TPinMask Compiled(Mask);
    benchmark::DoNotOptimize(Compiled.Matches(Name));
  }
}

BENCHMARK(BM_FindPin_ExactMiss)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindPin_ContainsMiss)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindPin_SetMiss)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindPin_ContainsMiss_ByLocation)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindPinCommand_PlainMiss)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Mask_ThirtyStarsLongName)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int AArgc, char** AArgv) {
  std::unique_ptr<TForms> Forms;
  return RunWindowBenchmarks(AArgc, AArgv, [&] {
    Forms = CreateForms();
    MainWindow = Forms->Form1;
    MainWindow->RadioGroup1->SetItemIndex(0);
    // Through the retrieval flow, as a project read from the CAD application.
    Forms->Form4->Connections = StripWiring(100000);
    MainWindow->LoadRetrievedConnections();
    benchmark::AddCustomContext("pin nodes",
                                std::to_string(MainWindow->TreeView2->model()->rowCount(
                                    MainWindow->TreeView2->model()->index(0, 0))));
  });
}
