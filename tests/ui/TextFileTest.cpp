#include "ui/TextFile.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include <QTemporaryDir>

#include "NetFormTestSupport.h"

namespace wiremap {
namespace {

// Lowers the file size limit while it lives; a write beyond it then fails (instead of
// ending the process) as on a full disk.
class TFileSizeLimit {
 public:
  explicit TFileSizeLimit(rlim_t ABytes) {
    FOldHandler = std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &FOld);
    rlimit Limit = FOld;
    Limit.rlim_cur = ABytes;
    setrlimit(RLIMIT_FSIZE, &Limit);
  }
  ~TFileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &FOld);
    std::signal(SIGXFSZ, FOldHandler);
  }

 private:
  rlimit FOld{};
  void (*FOldHandler)(int);
};

TEST(TextFile, WritesUtf8WithCrLfAfterEveryLine) {
  QTemporaryDir Dir;
  const QString Name = Dir.filePath("out.txt");
  SaveTextFile(Name, {"Netlist of project [Č]", "\tnet <b>x</b>  &amp;"});
  EXPECT_EQ(FileBytes(Name),
            QByteArray("Netlist of project [\xC4\x8C]\r\n\tnet <b>x</b>  &amp;\r\n"));
}

TEST(TextFile, AFailedSaveKeepsTheOldFileAndSaysWhy) {
  QTemporaryDir Dir;
  const QString Missing = Dir.filePath("no/such/dir/out.txt");
  EXPECT_THAT([&] { SaveTextFile(Missing, {"x"}); },
              testing::ThrowsMessage<EFileError>("Cannot create file " + Missing.toStdString()));
  // A full disk: the file size limit stops the write; the old file stays as it was.
  const QString Name = Dir.filePath("kept.txt");
  SaveTextFile(Name, {"old"});
  TFileSizeLimit Limit(4096);
  EXPECT_THAT([&] { SaveTextFile(Name, QStringList(10000, "a line of text")); },
              testing::ThrowsMessage<EFileError>("Cannot write file " + Name.toStdString()));
  EXPECT_EQ(FileBytes(Name), QByteArray("old\r\n"));
}

TEST(TextFile, ReadsBackWhatWasSavedAndNamesAFileItCannotOpen) {
  QTemporaryDir Dir;
  const QString Name = Dir.filePath("in.txt");
  SaveTextFile(Name, {"Netlist of project [\xC4\x8C]", "\tnet x"});
  EXPECT_EQ(ReadTextFile(Name), "Netlist of project [\xC4\x8C]\r\n\tnet x\r\n");
  // A missing file is the comparison command's case.
  EXPECT_THAT([&] { ReadTextFile(Dir.path()); },
              testing::ThrowsMessage<EFileError>("Cannot open file " + Dir.path().toStdString()));
}

}  // namespace
}  // namespace wiremap
