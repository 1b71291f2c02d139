#include "ui/TextFile.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

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

// Takes away, while it lives, the power of root to ignore file permissions, so that a
// folder without write permission refuses new files for every user.
class TPermissionsEnforced {
 public:
  TPermissionsEnforced() {
    syscall(SYS_capget, &FHeader, FOld);
    __user_cap_data_struct Reduced[2] = {FOld[0], FOld[1]};
    Reduced[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
    syscall(SYS_capset, &FHeader, Reduced);
  }
  ~TPermissionsEnforced() { syscall(SYS_capset, &FHeader, FOld); }

 private:
  __user_cap_header_struct FHeader{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct FOld[2]{};
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

TEST(TextFile, AWritableFileInAFolderWithoutCreatePermissionIsSavedInPlace) {
  QTemporaryDir Dir;
  const QString Name = Dir.filePath("out.txt");
  SaveTextFile(Name, {"old"});
  QFile::setPermissions(Dir.path(), QFile::ReadOwner | QFile::ExeOwner);
  {
    TPermissionsEnforced Enforced;
    EXPECT_NO_THROW(SaveTextFile(Name, {"new", "lines"}));
    // A new file cannot be made there at all.
    EXPECT_THAT([&] { SaveTextFile(Dir.filePath("other.txt"), {"x"}); },
                testing::ThrowsMessage<EFileError>("Cannot create file " +
                                                   Dir.filePath("other.txt").toStdString()));
  }
  QFile::setPermissions(Dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  EXPECT_EQ(FileBytes(Name), QByteArray("new\r\nlines\r\n"));
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
