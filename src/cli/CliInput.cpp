#include "cli/CliInput.h"

#include <charconv>
#include <iostream>

#include "cli/CliError.h"
#include "files/ProjectFile.h"
#include "host/Dpscad_TLB.h"
#include "host/NetRead.h"
#include "model/SampleProjects.h"

namespace wiremap {

namespace {

const std::string SamplePrefix = "sample:";
const std::string DemoInput = "demo";

TCliInput LoadSample(int ANumber) {
  TCliInput Input;
  LoadSampleProject(Input.Records, ANumber);
  Input.Name = ProjectName;
  return Input;
}

TCliInput LoadDemo() {
  TCliInput Input;
  RetrieveConnections(CoApplication::Create(), Input.Records,
                      [](int32_t, int32_t) { return true; });
  Input.Name = ProjectName;
  return Input;
}

TCliInput LoadFile(const std::string& APath) {
  TProjectFile File = ReadProjectFile(APath);
  for (const std::string& Warning : File.Warnings)
    std::cerr << "wiremap-cli: warning: " << APath << ": " << Warning << '\n';
  return TCliInput{std::move(File.Name), std::move(File.Records)};
}

}  // namespace

std::optional<int> SampleNumberOf(const std::string& AInput) {
  if (!AInput.starts_with(SamplePrefix)) return std::nullopt;
  const char* const First = AInput.data() + SamplePrefix.size();
  const char* const Last = AInput.data() + AInput.size();
  int Number = 0;
  const auto [End, Error] = std::from_chars(First, Last, Number);
  if (First == Last || Error != std::errc() || End != Last || Number < 1 ||
      Number > SampleProjectCount)
    throw ECliError("Unknown sample '" + AInput +
                    "': the samples are sample:1 to sample:" + std::to_string(SampleProjectCount));
  return Number;
}

TCliInput LoadInput(const std::string& AInput) {
  if (const std::optional<int> Sample = SampleNumberOf(AInput)) return LoadSample(*Sample);
  if (AInput == DemoInput) return LoadDemo();
  return LoadFile(AInput);
}

std::unique_ptr<TProject> LoadProject(const std::string& AInput) {
  TCliInput Input = LoadInput(AInput);
  return std::make_unique<TProject>(std::move(Input.Records), std::move(Input.Name));
}

}  // namespace wiremap
