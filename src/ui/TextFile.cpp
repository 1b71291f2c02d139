#include "ui/TextFile.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTreeWidget>

namespace wiremap {
namespace {

[[noreturn]] void Raise(const char* AFormat, const QString& AFileName) {
  throw EFileError(
      QString::fromLatin1(AFormat).arg(QDir::toNativeSeparators(AFileName)).toStdString());
}

void AppendNode(const QTreeWidgetItem& ANode, int ADepth, QStringList& ALines) {
  ALines.append(QString(ADepth, u'\t') + ANode.text(0));
  for (int I = 0; I < ANode.childCount(); ++I) AppendNode(*ANode.child(I), ADepth + 1, ALines);
}

}  // namespace

void SaveTextFile(const QString& AFileName, const QStringList& ALines) {
  std::string Text;
  for (const QString& Line : ALines) {
    Text += Line.toStdString();
    Text += "\r\n";
  }
  SaveTextBytes(AFileName, Text);
}

void SaveTextBytes(const QString& AFileName, const std::string& AText) {
  QSaveFile File(AFileName);
  // A folder where no temporary file can be made may still hold a writable file.
  File.setDirectWriteFallback(true);
  if (!File.open(QIODevice::WriteOnly)) Raise("Cannot create file %1", AFileName);
  if (File.write(AText.data(), static_cast<qint64>(AText.size())) !=
      static_cast<qint64>(AText.size()))
    Raise("Cannot write file %1", AFileName);
  if (!File.commit()) Raise("Cannot write file %1", AFileName);
}

std::string ReadTextFile(const QString& AFileName) {
  QFile File(AFileName);
  if (!File.open(QIODevice::ReadOnly)) Raise("Cannot open file %1", AFileName);
  const QByteArray Data = File.readAll();
  if (File.error() != QFileDevice::NoError) Raise("Cannot read file %1", AFileName);
  return Data.toStdString();
}

QStringList TreeLines(const QTreeWidget& ATree) {
  QStringList Lines;
  for (int I = 0; I < ATree.topLevelItemCount(); ++I) AppendNode(*ATree.topLevelItem(I), 0, Lines);
  return Lines;
}

}  // namespace wiremap
