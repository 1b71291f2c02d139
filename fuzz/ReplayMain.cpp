// Feeds every file of the given corpus folders (or single files) to a fuzz target's entry
// point, in name order: the normal build checks the corpora this way on every test run,
// without libFuzzer.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* AData, size_t ASize);

namespace {

std::vector<std::filesystem::path> InputsOf(const std::filesystem::path& APath) {
  std::vector<std::filesystem::path> Files;
  if (std::filesystem::is_directory(APath)) {
    for (const auto& Entry : std::filesystem::directory_iterator(APath))
      if (Entry.is_regular_file()) Files.push_back(Entry.path());
    std::sort(Files.begin(), Files.end());
  } else {
    Files.push_back(APath);
  }
  return Files;
}

std::vector<uint8_t> ReadAll(const std::filesystem::path& APath) {
  std::ifstream Stream(APath, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(Stream), {});
}

}  // namespace

int main(int AArgc, char** AArgv) {
  size_t Count = 0;
  for (int I = 1; I < AArgc; ++I) {
    const std::filesystem::path Path(AArgv[I]);
    if (!std::filesystem::exists(Path)) {
      std::fprintf(stderr, "no such corpus: %s\n", AArgv[I]);
      return 2;
    }
    for (const auto& File : InputsOf(Path)) {
      const std::vector<uint8_t> Data = ReadAll(File);
      // The name first: an abort in the target leaves it as the last line.
      std::fprintf(stderr, "%s\n", File.c_str());
      LLVMFuzzerTestOneInput(Data.data(), Data.size());
      ++Count;
    }
  }
  std::printf("%zu inputs replayed\n", Count);
  return Count == 0 ? 1 : 0;
}
