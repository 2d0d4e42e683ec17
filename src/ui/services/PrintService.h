#pragma once

#include <functional>

class QPrinter;
class QWidget;

namespace tallybrook {

/// Prints through the system's print dialog (CUPS on Linux): the user picks the printer and the
/// copies, then the caller paints the job. The printer starts on A4 paper, used to its edges, so
/// that what the caller places in millimetres lands there on paper.
///
/// A cancelled dialog is not an error. Main thread.
class PrintService {
public:
    enum class Outcome { printed, cancelled };

    /// Lets the user set up `printer`; false when the user cancels. Tests give one that
    /// points the printer at a PDF file instead of showing a dialog.
    using PrinterSetup = std::function<bool(QWidget* parent, QPrinter& printer)>;

    /// `setup` empty: the platform's print dialog.
    explicit PrintService(PrinterSetup setup = {});

    /// Asks for the printer, then hands it to `paint`. Whatever `paint` throws passes on (it is
    /// expected to abort the job first); a printer that reports an error once painting is over
    /// throws PrintError.
    Outcome print(QWidget* parent, const std::function<void(QPrinter& printer)>& paint);

private:
    PrinterSetup setup_;
};

/// The printer failed the job after it was painted.
class PrintError : public std::exception {
public:
    const char* what() const noexcept override { return "print job failed"; }
};

} // namespace tallybrook
