#include "ui/UserPrompts.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>

namespace wiremap {
namespace {

// The file dialogs as the user meets them. A timer plays the user on the dialog it finds
// (checked by ACheck); a second one closes whatever is still open, so that the test can
// never hang.
void Answer(bool AAccept, const QString& AFile, std::function<void(QFileDialog&)> ACheck) {
  QTimer::singleShot(0, [=] {
    auto* Dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(Dialog, nullptr);
    EXPECT_EQ(Dialog->nameFilters(), QStringList{"Text files (*.txt)"});
    ACheck(*Dialog);
    Dialog->selectFile(AFile);
    QMetaObject::invokeMethod(Dialog, AAccept ? "accept" : "reject");
  });
  QTimer::singleShot(5000, [] {
    if (QWidget* Modal = QApplication::activeModalWidget()) Modal->close();
  });
}

TEST(UserPrompts, SaveDialogProposesANameAddsTxtAndConfirmsOverwriting) {
  QTemporaryDir Dir;
  const QString Proposed = Dir.filePath("netlist.txt");
  Answer(true, "pins", [&](QFileDialog& ADialog) {
    EXPECT_EQ(ADialog.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_FALSE(ADialog.testOption(QFileDialog::DontConfirmOverwrite));
    EXPECT_EQ(ADialog.selectedFiles().value(0), Proposed);
  });
  EXPECT_EQ(TUserPrompts().AskSaveFileName(nullptr, Proposed), Dir.filePath("pins.txt"));
}

TEST(UserPrompts, OpenDialogTakesAnExistingFileAndCancelGivesNothing) {
  QTemporaryDir Dir;
  const QString Existing = Dir.filePath("old.txt");
  QFile(Existing).open(QIODevice::WriteOnly);
  const auto Check = [](QFileDialog& ADialog) {
    EXPECT_EQ(ADialog.fileMode(), QFileDialog::ExistingFile);
  };
  for (const bool Accept : {true, false}) {
    Answer(Accept, Existing, Check);
    EXPECT_EQ(TUserPrompts().AskOpenFileName(nullptr, "Text files (*.txt)"),
              Accept ? std::optional(Existing) : std::nullopt);
  }
}

TEST(UserPrompts, ErrorBoxShowsMarkupAsWritten) {
  const QString Text = "'<b>x</b>  &amp;' is an invalid mask at (3)";
  QString Shown;
  QTimer::singleShot(0, [&] {
    auto* Box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(Box, nullptr);
    EXPECT_EQ(Box->textFormat(), Qt::PlainText);
    EXPECT_EQ(Box->icon(), QMessageBox::Critical);
    Shown = Box->text();
    Box->accept();
  });
  QTimer::singleShot(5000, [] {
    if (QWidget* Modal = QApplication::activeModalWidget()) Modal->close();
  });
  TUserPrompts().ShowError(nullptr, "Wiremap", Text);
  EXPECT_EQ(Shown, Text);
}

}  // namespace
}  // namespace wiremap
