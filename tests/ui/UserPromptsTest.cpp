#include "ui/UserPrompts.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
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
  QStringList Filters;
  QString Suffix, Selected;
  bool Confirms = false, Resizable = false, Saving = false;
  QTimer::singleShot(0, [&] {
    auto* Dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(Dialog, nullptr);
    Filters = Dialog->nameFilters();
    Suffix = Dialog->defaultSuffix();
    Confirms = !Dialog->testOption(QFileDialog::DontConfirmOverwrite);
    Resizable = Dialog->isSizeGripEnabled();
    Saving = Dialog->acceptMode() == QFileDialog::AcceptSave;
    Selected = Dialog->selectedFiles().value(0);
    Dialog->selectFile("pins");
    QMetaObject::invokeMethod(Dialog, "accept");
  });
  QTimer::singleShot(5000, [] {
    if (QWidget* Modal = QApplication::activeModalWidget()) Modal->close();
  });
  const std::optional<QString> Chosen = TUserPrompts().AskSaveFileName(nullptr, Proposed);
  EXPECT_EQ(Filters, QStringList{"Text files (*.txt)"});
  EXPECT_EQ(Suffix, "txt");
  EXPECT_TRUE(Confirms);
  EXPECT_TRUE(Resizable);
  EXPECT_TRUE(Saving);
  EXPECT_EQ(Selected, Proposed);
  EXPECT_EQ(Chosen, Dir.filePath("pins.txt"));
}

TEST(UserPrompts, CancellingTheSaveDialogGivesNoName) {
  QTimer::singleShot(0, [] {
    if (QWidget* Modal = QApplication::activeModalWidget()) Modal->close();
  });
  EXPECT_EQ(TUserPrompts().AskSaveFileName(nullptr, QString()), std::nullopt);
}

TEST(UserPrompts, ClipboardTextArrives) {
  EXPECT_TRUE(TUserPrompts().SetClipboardText("=F1+L1-K1:13"));
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "=F1+L1-K1:13");
}

}  // namespace
}  // namespace wiremap
