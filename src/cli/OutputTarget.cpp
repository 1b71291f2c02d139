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
  return true;
}

// Writes every piece AProduce gives to AFile; false when any of it failed (the pieces
// after a failure are dropped).
bool WriteProduced(std::FILE* AFile, const TTextProducer& AProduce) {
  bool Written = true;
  AProduce([&](std::string_view APiece) { Written = Written && WriteChunks(AFile, APiece); });
  return std::fflush(AFile) == 0 && Written;
}

// Writes and closes AFile; false when any of it failed.
bool WriteAndClose(std::FILE* AFile, const TTextProducer& AProduce) {
  const bool Written = WriteProduced(AFile, AProduce);
  return std::fclose(AFile) == 0 && Written;
}

// Replacing by rename would turn a device such as /dev/null into a plain file.
bool IsReplaceable(const std::filesystem::path& APath) {
  std::error_code Error;
  const auto Status = std::filesystem::status(APath, Error);
  return !std::filesystem::exists(Status) || std::filesystem::is_regular_file(Status);
}

// A link is followed, so that writing through it changes the file it points to and the
// link stays a link.
std::string ResolvedPath(const std::string& APath) {
  std::error_code Error;
  if (!std::filesystem::is_symlink(std::filesystem::symlink_status(APath, Error))) return APath;
  const std::filesystem::path Target = std::filesystem::canonical(APath, Error);
  return Error ? APath : Target.string();
}

std::string TemporaryName(const std::string& APath) {
  std::random_device Random;
  return APath + ".tmp" + std::to_string(Random());
}

// Writes a new file beside APath and renames it over APath; false when no file can be
// created there. AShown is the name the user gave.
bool ReplaceFile(const std::string& APath, const TTextProducer& AProduce,
                 const std::string& AShown) {
  const std::string Temporary = TemporaryName(APath);
  std::FILE* File = std::fopen(Temporary.c_str(), "wb");
  if (!File) return false;
  std::error_code Error;
  if (WriteAndClose(File, AProduce)) {
    // The old file's permissions stay (an error here means there is no old file).
    std::filesystem::permissions(Temporary, std::filesystem::status(APath, Error).permissions(),
                                 Error);
    std::filesystem::rename(Temporary, APath, Error);
    if (!Error) return true;
  }
  std::filesystem::remove(Temporary, Error);
  throw ECliError("Cannot write file " + AShown);
}

}  // namespace

TOutputTarget::TOutputTarget(std::string APath) : FPath(std::move(APath)) {}

bool TOutputTarget::IsStandardOutput() const {
  return FPath.empty() || FPath == "-";
}

void TOutputTarget::Write(std::string_view AText) const {
  Write([AText](const TTextSink& AWrite) { AWrite(AText); });
}

void TOutputTarget::Write(const TTextProducer& AProduce) const {
  if (!IsStandardOutput())
    WriteFile(AProduce);
  else if (!WriteProduced(stdout, AProduce))
    throw ECliError("Cannot write to standard output");
}

void TOutputTarget::WriteFile(const TTextProducer& AProduce) const {
  const std::string Path = ResolvedPath(FPath);
  // A folder that allows no new file may still hold a writable one: then in place.
  if (IsReplaceable(Path) && ReplaceFile(Path, AProduce, FPath)) return;
  std::FILE* File = std::fopen(Path.c_str(), "wb");
  if (!File) throw ECliError("Cannot create file " + FPath);
  if (!WriteAndClose(File, AProduce)) throw ECliError("Cannot write file " + FPath);
}

}  // namespace wiremap
