#include "cli/OutputTarget.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <random>
#include <system_error>

#include "cli/CliError.h"

namespace wiremap {

namespace {

constexpr size_t ChunkSize = size_t{1} << 20;

bool WriteChunks(std::FILE* AFile, std::string_view AText) {
  for (size_t Position = 0; Position < AText.size(); Position += ChunkSize) {
    const size_t Length = std::min(ChunkSize, AText.size() - Position);
    if (std::fwrite(AText.data() + Position, 1, Length, AFile) != Length) return false;
  }
  return std::fflush(AFile) == 0;
}

// Writes and closes AFile; false when any of it failed.
bool WriteAndClose(std::FILE* AFile, std::string_view AText) {
  const bool Written = WriteChunks(AFile, AText);
  return std::fclose(AFile) == 0 && Written;
}

// Replacing by rename would turn a device such as /dev/null into a plain file.
bool IsReplaceable(const std::filesystem::path& APath) {
  std::error_code Error;
  const auto Status = std::filesystem::status(APath, Error);
  return !std::filesystem::exists(Status) || std::filesystem::is_regular_file(Status);
}

std::string TemporaryName(const std::string& APath) {
  std::random_device Random;
  return APath + ".tmp" + std::to_string(Random());
}

}  // namespace

TOutputTarget::TOutputTarget(std::string APath) : FPath(std::move(APath)) {}

bool TOutputTarget::IsStandardOutput() const {
  return FPath.empty() || FPath == "-";
}

void TOutputTarget::Write(std::string_view AText) const {
  if (!IsStandardOutput())
    WriteFile(AText);
  else if (!WriteChunks(stdout, AText))
    throw ECliError("Cannot write to standard output");
}

void TOutputTarget::WriteFile(std::string_view AText) const {
  if (IsReplaceable(FPath)) {
    const std::string Temporary = TemporaryName(FPath);
    // A folder that allows no new file may still hold a writable one: then in place.
    if (std::FILE* File = std::fopen(Temporary.c_str(), "wb")) {
      std::error_code Error;
      if (WriteAndClose(File, AText))
        std::filesystem::rename(Temporary, FPath, Error);
      else
        Error = std::make_error_code(std::errc::io_error);
      if (!Error) return;
      std::filesystem::remove(Temporary, Error);
      throw ECliError("Cannot write file " + FPath);
    }
  }
  std::FILE* File = std::fopen(FPath.c_str(), "wb");
  if (!File) throw ECliError("Cannot create file " + FPath);
  if (!WriteAndClose(File, AText)) throw ECliError("Cannot write file " + FPath);
}

}  // namespace wiremap
