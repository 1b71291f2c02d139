#include "win/Exporter.h"

#include <filesystem>
#include <fstream>
#include <functional>

#include "files/ProjectFile.h"
#include "host/Dpscad_TLB.h"
#include "host/NetRead.h"

namespace wiremap {
namespace {

constexpr const char* kUsage =
    "Usage: wiremap-export [OUTPUT.csv]\n"
    "Retrieves the connection list of the project open in the CAD application and writes\n"
    "it as a connection list CSV to OUTPUT.csv, or to standard output without one (or \"-\").\n";

// A usage error, reported like any other.
class EUsage : public Exception {
 public:
  using Exception::Exception;
};

// Rewrites one line on AErr as the records arrive: a step per percent, so that a long
// list does not spend its time on the console.
class TProgressLine {
 public:
  explicit TProgressLine(std::ostream& AErr) : FErr(AErr) {}

  bool operator()(int32_t APosition, int32_t ATotal) {
    const int64_t Percent = ATotal > 0 ? int64_t{APosition} * 100 / ATotal : 100;
    if (Percent != FShown || APosition == ATotal) {
      FShown = Percent;
      FErr << "\rRetrieving connections: " << APosition << " of " << ATotal << std::flush;
    }
    return true;
  }

  void Finish() {
    if (FShown >= 0) FErr << "\n";
  }

 private:
  std::ostream& FErr;
  int64_t FShown = -1;
};

void WriteFile(const std::string& APath, const std::string& AText) {
  const std::filesystem::path Path(std::u8string(APath.begin(), APath.end()));
  std::ofstream File(Path, std::ios::binary | std::ios::trunc);
  if (!File) throw Exception("Cannot create file " + APath);
  File.write(AText.data(), static_cast<std::streamsize>(AText.size()));
  File.close();
  if (!File) throw Exception("Cannot write file " + APath);
}

std::string Export(const std::vector<std::string>& AArgs, std::ostream& AErr) {
  if (AArgs.size() > 1) throw EUsage("Too many arguments\n" + std::string(kUsage));
  TConnectionRecs Records;
  TProgressLine Progress(AErr);
  try {
    RetrieveConnections(CoApplication::Create(), Records, std::ref(Progress));
  } catch (...) {
    Progress.Finish();
    throw;
  }
  Progress.Finish();
  return WriteConnectionList(Records);
}

}  // namespace

int RunExport(const std::vector<std::string>& AArgs, std::ostream& AOut, std::ostream& AErr) {
  if (!AArgs.empty() && (AArgs[0] == "--help" || AArgs[0] == "-h")) {
    AOut << kUsage;
    return 0;
  }
  try {
    const std::string Csv = Export(AArgs, AErr);
    if (AArgs.empty() || AArgs[0] == "-") {
      AOut.write(Csv.data(), static_cast<std::streamsize>(Csv.size()));
      AOut.flush();
      if (!AOut) throw Exception("Cannot write to standard output");
    } else {
      WriteFile(AArgs[0], Csv);
    }
    return 0;
  } catch (const Exception& AError) {
    AErr << "wiremap-export: " << AError.Message() << "\n";
  } catch (const std::exception& AError) {
    AErr << "wiremap-export: " << AError.what() << "\n";
  }
  return 2;
}

}  // namespace wiremap
