// Printing on Qt: print jobs on a QPrinter (the user's choice or a PDF file)
// and printing one picture fitted to a page.
#pragma once

#include <QImage>
#include <QString>
#include <memory>
#include <string>
#include <string_view>

#include "platform/platform.h"

class QPrinter;
class QWidget;

namespace tav {

// Shows the print dialog (PDF output available); null on Cancel.
std::unique_ptr<PrintJob> choosePrinterJob(std::string_view jobTitle, QWidget* parent);
// A job that writes a PDF file without asking (tests, batch output).
std::unique_ptr<PrintJob> openPdfJob(const std::string& path, std::string_view jobTitle);
// Prints the picture scaled to fit the printable area of one page, keeping
// its aspect ratio, centred at the top.
bool printImage(PrintJob& job, const QImage& picture);
// Asks for a printer, then prints the picture. False on Cancel or failure.
bool printImageWithDialog(std::string_view jobTitle, const QImage& picture, QWidget* parent);

}  // namespace tav
