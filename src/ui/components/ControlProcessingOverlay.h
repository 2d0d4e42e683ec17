#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

namespace tallybrook {

class ControlPanel;
class SymbolTile;

/// Covers a page while a long operation runs: dims it, takes its clicks and keys, and shows a
/// 360 px card with a 58 px symbol tile, the title, the message, a progress bar ("done / total",
/// or a busy bar while the total is unknown) and, when asked, a Stop button.
///
/// A child of the page it covers; it follows the page's size and stays on top.
class ControlProcessingOverlay : public QWidget {
    Q_OBJECT

public:
    explicit ControlProcessingOverlay(QWidget* covered);

    void setContent(const QString& title, const QString& message, const QString& symbol, const QColor& tint);
    /// `total` 0: the work's size is not known yet (busy bar).
    void setProgress(qint64 done, qint64 total);
    void setStopButton(const QString& title, bool visible);
    /// Shows (covering the page, focus on the card) or hides the overlay.
    void setActive(bool active);

    QString title() const;
    QString progressText() const;

signals:
    void stopRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    ControlPanel* card_;
    SymbolTile* tile_;
    QLabel* title_;
    QLabel* message_;
    QProgressBar* progress_;
    QPushButton* stop_;
};

} // namespace tallybrook
