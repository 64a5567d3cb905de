#include "platform/qt/qt_file_dialog.h"

#include <QDir>
#include <QFileDialog>
#include <QStringList>

#include "platform/file_filter.h"
#include "platform/qt/qt_text.h"

namespace tav {

QString toQtFileFilter(std::string_view filter) {
  QStringList parts;
  for (const FileFilterEntry& entry : parseFileFilter(filter)) {
    QStringList patterns;
    for (const std::string& p : entry.patterns) {
      const QString pattern = toQString(p);
      if (pattern == QStringLiteral("*.*")) {
        patterns.append(QStringLiteral("*"));
        continue;
      }
      for (const QString& variant : {pattern, pattern.toLower(), pattern.toUpper()}) {
        if (!patterns.contains(variant)) patterns.append(variant);
      }
    }
    parts.append(toQString(entry.description) + QStringLiteral(" (") + patterns.join(' ') +
                 QStringLiteral(")"));
  }
  return parts.join(QStringLiteral(";;"));
}

namespace {

void prepare(QFileDialog& dialog, const FileDialogRequest& request) {
  dialog.setWindowTitle(toQString(request.title));
  const QString filter = toQtFileFilter(request.filter);
  if (!filter.isEmpty()) dialog.setNameFilter(filter);
  dialog.setDirectory(request.folder.empty() ? QDir::currentPath() : toQString(request.folder));
  if (!request.fileName.empty()) dialog.selectFile(toQString(request.fileName));
  if (!request.defaultExtension.empty())
    dialog.setDefaultSuffix(toQString(request.defaultExtension));
}

}  // namespace

std::optional<std::string> runOpenFileDialog(const FileDialogRequest& request, QWidget* parent) {
  QFileDialog dialog(parent);
  prepare(dialog, request);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return toUtf8(dialog.selectedFiles().front());
}

std::optional<std::string> runSaveFileDialog(const FileDialogRequest& request, QWidget* parent) {
  QFileDialog dialog(parent);
  prepare(dialog, request);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  if (!request.overwritePrompt) dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return toUtf8(dialog.selectedFiles().front());
}

}  // namespace tav
