#include "ui/UserPrompts.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTimer>

namespace wiremap {
namespace {

// The save dialog as the user meets it. A timer plays the user; a second one closes
// whatever is still open, so the test can never hang on the dialog.
TEST(UserPrompts, SaveDialogOffersTextFilesAddsTxtAndConfirmsOverwriting) {
  QTemporaryDir Dir;
  const QString Proposed = Dir.filePath("netlist.txt");
  QFileDialog* Seen = nullptr;
  QTimer::singleShot(0, [&] {
    auto* Dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(Dialog, nullptr);
    Seen = Dialog;
    EXPECT_EQ(Dialog->nameFilters(), QStringList{"Text files (*.txt)"});
    EXPECT_EQ(Dialog->defaultSuffix(), "txt");
    EXPECT_FALSE(Dialog->testOption(QFileDialog::DontConfirmOverwrite));
    EXPECT_TRUE(Dialog->isSizeGripEnabled());
    EXPECT_EQ(Dialog->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(Dialog->selectedFiles().value(0), Proposed);
    Dialog->selectFile("pins");
    QMetaObject::invokeMethod(Dialog, "accept");
  });
  QTimer::singleShot(5000, [] {
    if (QWidget* Modal = QApplication::activeModalWidget()) Modal->close();
  });
  EXPECT_EQ(TUserPrompts().AskSaveFileName(nullptr, Proposed), Dir.filePath("pins.txt"));
  EXPECT_NE(Seen, nullptr);
}

// The open dialog: text files, an existing file only; cancelling gives nothing.
TEST(UserPrompts, OpenDialogOffersTheFilterForAnExistingFile) {
  QTemporaryDir Dir;
  const QString Existing = Dir.filePath("old.txt");
  QFile(Existing).open(QIODevice::WriteOnly);
  int Seen = 0;
  const auto Answer = [&](bool AAccept) {
    QTimer::singleShot(0, [&, AAccept] {
      auto* Dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(Dialog, nullptr);
      ++Seen;
      EXPECT_EQ(Dialog->nameFilters(), QStringList{"Text files (*.txt)"});
      EXPECT_EQ(Dialog->acceptMode(), QFileDialog::AcceptOpen);
      EXPECT_EQ(Dialog->fileMode(), QFileDialog::ExistingFile);
      Dialog->setDirectory(Dir.path());
      Dialog->selectFile(Existing);
      QMetaObject::invokeMethod(Dialog, AAccept ? "accept" : "reject");
    });
    QTimer::singleShot(5000, [] {
      if (QWidget* Modal = QApplication::activeModalWidget()) Modal->close();
    });
  };
  Answer(true);
  EXPECT_EQ(TUserPrompts().AskOpenFileName(nullptr, "Text files (*.txt)"), Existing);
  Answer(false);
  EXPECT_EQ(TUserPrompts().AskOpenFileName(nullptr, "Text files (*.txt)"), std::nullopt);
  EXPECT_EQ(Seen, 2);
}

}  // namespace
}  // namespace wiremap
