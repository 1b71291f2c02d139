#include "cli/ProjectCommands.h"

#include <memory>

#include "cli/CliInput.h"
#include "cli/OutputTarget.h"
#include "files/ProjectFile.h"
#include "model/Statistics.h"
#include "model/TreeText.h"
#include "model/Wiremaps.h"

namespace wiremap {

int RunNetlistCommand(const TCliRequest& ARequest) {
  // The nets alone: a large project is spared the key values, its records are let go as
  // soon as the graph holds them, and its text goes out piece by piece.
  TCliInput Input = LoadInput(ARequest.Inputs.at(0));
  const auto Graph = std::make_unique<TWiremaps>();
  Graph->AddConnections(Input.Records);
  TConnectionRecs().swap(Input.Records);
  Graph->ComputeNets();
  TOutputTarget(ARequest.Output).Write([&](const TTextSink& AWrite) {
    WriteNetlistText(*Graph, Input.Name, AWrite);
  });
  return 0;
}

int RunPinListCommand(const TCliRequest& ARequest) {
  const std::unique_ptr<TProject> Project = LoadProject(ARequest.Inputs.at(0));
  TOutputTarget(ARequest.Output)
      .Write(WritePinListText(Project->Graph(), Project->KeyValues(), ARequest.Order,
                              Project->Name()));
  return 0;
}

int RunStatsCommand(const TCliRequest& ARequest) {
  const std::unique_ptr<TProject> Project = LoadProject(ARequest.Inputs.at(0));
  std::string Text;
  for (const std::string& Line : StatisticsLines(*Project)) Text += Line + '\n';
  TOutputTarget(ARequest.Output).Write(Text);
  return 0;
}

int RunConvertCommand(const TCliRequest& ARequest) {
  TOutputTarget(ARequest.Output)
      .Write(WriteConnectionList(LoadInput(ARequest.Inputs.at(0)).Records));
  return 0;
}

}  // namespace wiremap
