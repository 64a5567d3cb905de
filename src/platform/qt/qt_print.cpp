#include "platform/qt/qt_print.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_text.h"

namespace tav {

namespace {

class QtPrintJob : public PrintJob {
 public:
  explicit QtPrintJob(std::unique_ptr<QPrinter> printer) : printer_(std::move(printer)) {}
  ~QtPrintJob() override {
    if (painter_.isActive()) painter_.end();
  }

  bool startPage() override {
    if (failed_) return false;
    if (!started_) {
      if (!painter_.begin(printer_.get())) {
        failed_ = true;
        return false;
      }
      started_ = true;
    } else if (!pageOpen_) {
      if (!printer_->newPage()) {
        failed_ = true;
        return false;
      }
    }
    pageOpen_ = true;
    const QRect page = printer_->pageLayout().paintRectPixels(printer_->resolution());
    canvas_ = std::make_unique<QtCanvas>(painter_, page.width(), page.height(),
                                         printer_->logicalDpiX(), printer_->logicalDpiY());
    return true;
  }

  Canvas& canvas() override {
    if (!canvas_) {
      // Drawing outside a page goes nowhere rather than crashing.
      fallbackImage_ = QImage(1, 1, QImage::Format_RGB32);
      fallbackPainter_ = std::make_unique<QPainter>(&fallbackImage_);
      canvas_ = std::make_unique<QtCanvas>(*fallbackPainter_, 1, 1);
    }
    return *canvas_;
  }

  bool endPage() override {
    if (!pageOpen_) return !failed_;
    pageOpen_ = false;
    canvas_.reset();
    return !failed_;
  }

  bool endJob() override {
    endPage();
    if (started_ && painter_.isActive()) painter_.end();
    started_ = false;
    return !failed_ && !aborted_;
  }

  void abort() override {
    aborted_ = true;
    canvas_.reset();
    if (painter_.isActive()) painter_.end();
  }

  QPainter& painter() { return painter_; }

 private:
  std::unique_ptr<QPrinter> printer_;
  QPainter painter_;
  std::unique_ptr<QtCanvas> canvas_;
  QImage fallbackImage_;
  std::unique_ptr<QPainter> fallbackPainter_;
  bool started_ = false;
  bool pageOpen_ = false;
  bool failed_ = false;
  bool aborted_ = false;
};

}  // namespace

std::unique_ptr<PrintJob> choosePrinterJob(std::string_view jobTitle, QWidget* parent) {
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  printer->setDocName(toQString(jobTitle));
  QPrintDialog dialog(printer.get(), parent);
  dialog.setWindowTitle(toQString(jobTitle));
  if (dialog.exec() != QDialog::Accepted) return nullptr;
  return std::make_unique<QtPrintJob>(std::move(printer));
}

std::unique_ptr<PrintJob> openPdfJob(const std::string& path, std::string_view jobTitle) {
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  printer->setOutputFormat(QPrinter::PdfFormat);
  printer->setOutputFileName(toQString(path));
  printer->setDocName(toQString(jobTitle));
  printer->setPageSize(QPageSize(QPageSize::A4));
  return std::make_unique<QtPrintJob>(std::move(printer));
}

bool printImage(PrintJob& job, const QImage& picture) {
  if (picture.isNull() || !job.startPage()) return false;
  Canvas& canvas = job.canvas();
  const double scale = std::min(static_cast<double>(canvas.width()) / picture.width(),
                                static_cast<double>(canvas.height()) / picture.height());
  const int w = std::max(1, static_cast<int>(picture.width() * scale));
  const int h = std::max(1, static_cast<int>(picture.height() * scale));
  const QRect target((canvas.width() - w) / 2, 0, w, h);
  if (auto* qtJob = dynamic_cast<QtPrintJob*>(&job)) {
    // Let the printer scale: no page-sized copy of the picture in memory.
    qtJob->painter().drawImage(target, picture);
  } else {
    canvas.drawImage({target.x(), 0}, toRgbImage(picture.scaled(w, h)));
  }
  const bool pageOk = job.endPage();
  return job.endJob() && pageOk;
}

bool printImageWithDialog(std::string_view jobTitle, const QImage& picture, QWidget* parent) {
  std::unique_ptr<PrintJob> job = choosePrinterJob(jobTitle, parent);
  if (!job) return false;
  return printImage(*job, picture);
}

}  // namespace tav
