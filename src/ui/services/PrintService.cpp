#include "ui/services/PrintService.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>

namespace tallybrook {

PrintService::PrintService(PrinterSetup setup)
    : setup_(std::move(setup)) {
    if (!setup_) {
        setup_ = [](QWidget* parent, QPrinter& printer) {
            QPrintDialog dialog(&printer, parent);
            // The job is a whole sheet laid out for one paper size: pages are not picked one by
            // one, and there is no selection to print.
            dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
            dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
            dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
            return dialog.exec() == QDialog::Accepted;
        };
    }
}

PrintService::Outcome PrintService::print(QWidget* parent,
                                          const std::function<void(QPrinter& printer)>& paint) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                                      QPageLayout::Millimeter));
    printer.setFullPage(true);
    if (!setup_(parent, printer)) {
        return Outcome::cancelled;
    }
    paint(printer);
    if (printer.printerState() == QPrinter::Error) {
        throw PrintError();
    }
    return Outcome::printed;
}

} // namespace tallybrook
