#include "ui/UserPrompts.h"

#include <gtest/gtest.h>

#include <QApplication>
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

}  // namespace
}  // namespace wiremap
