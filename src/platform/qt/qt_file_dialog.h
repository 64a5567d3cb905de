// File dialogs on Qt.
#pragma once

#include <QString>
#include <optional>
#include <string>
#include <string_view>

#include "platform/platform.h"

class QWidget;

namespace tav {

// "Projects|*.TPR|All files|*.*|" -> "Projects (*.TPR *.tpr);;All files (*)".
// Each pattern also gets its lower- and upper-case spelling, since files on
// Linux keep the case they were written with.
QString toQtFileFilter(std::string_view filter);

std::optional<std::string> runOpenFileDialog(const FileDialogRequest& request, QWidget* parent);
std::optional<std::string> runSaveFileDialog(const FileDialogRequest& request, QWidget* parent);

}  // namespace tav
