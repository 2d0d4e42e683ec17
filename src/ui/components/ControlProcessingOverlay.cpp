#include "ui/components/ControlProcessingOverlay.h"

#include "ui/components/ControlPanel.h"
#include "ui/components/SymbolTile.h"
#include "ui/style/Palette.h"

#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <limits>

namespace tallybrook {

ControlProcessingOverlay::ControlProcessingOverlay(QWidget* covered)
    : QWidget(covered)
    , card_(new ControlPanel(22))
    , tile_(new SymbolTile(58, 25))
    , title_(new QLabel)
    , message_(new QLabel)
    , progress_(new QProgressBar)
    , stop_(new QPushButton) {
    setObjectName(QStringLiteral("processingOverlay"));
    setFocusPolicy(Qt::StrongFocus);
    title_->setFont(Palette::font(Palette::TextStyle::headline, font()));
    title_->setAlignment(Qt::AlignCenter);
    title_->setWordWrap(true);
    message_->setFont(Palette::font(Palette::TextStyle::callout, font()));
    message_->setAlignment(Qt::AlignCenter);
    message_->setWordWrap(true);
    Palette::setTextColor(*message_, Palette::secondary());
    progress_->setObjectName(QStringLiteral("processingOverlay.progress"));
    progress_->setTextVisible(true);
    progress_->setRange(0, 0);
    stop_->setObjectName(QStringLiteral("processingOverlay.stop"));
    stop_->hide();
    connect(stop_, &QPushButton::clicked, this, &ControlProcessingOverlay::stopRequested);

    auto* panel = card_;
    panel->setFixedWidth(360);
    panel->contentLayout()->setAlignment(Qt::AlignHCenter);
    panel->contentLayout()->addWidget(tile_, 0, Qt::AlignHCenter);
    panel->addWidget(title_);
    panel->addWidget(message_);
    panel->addWidget(progress_);
    panel->contentLayout()->addWidget(stop_, 0, Qt::AlignHCenter);

    auto* layout = new QVBoxLayout(this);
    layout->addStretch(1);
    layout->addWidget(card_, 0, Qt::AlignHCenter);
    layout->addStretch(1);

    covered->installEventFilter(this);
    setGeometry(covered->rect());
    hide();
}

void ControlProcessingOverlay::setContent(const QString& title, const QString& message, const QString& symbol,
                                          const QColor& tint) {
    title_->setText(title);
    message_->setText(message);
    tile_->setSymbol(symbol);
    tile_->setTint(tint);
    setAccessibleName(title);
    setAccessibleDescription(message);
}

void ControlProcessingOverlay::setProgress(qint64 done, qint64 total) {
    if (total <= 0) {
        progress_->setRange(0, 0);
        return;
    }
    // QProgressBar counts in int; the text shows the real figures.
    constexpr qint64 intMax = std::numeric_limits<int>::max();
    progress_->setRange(0, int(qMin(total, intMax)));
    progress_->setValue(int(qMin(done, intMax)));
    progress_->setFormat(QString::number(done) + QStringLiteral(" / ") + QString::number(total));
}

void ControlProcessingOverlay::setStopButton(const QString& title, bool visible) {
    stop_->setText(title);
    stop_->setVisible(visible);
}

void ControlProcessingOverlay::setActive(bool active) {
    if (active) {
        setGeometry(parentWidget()->rect());
        raise();
        show();
        (stop_->isVisible() ? static_cast<QWidget*>(stop_) : this)->setFocus();
    } else {
        hide();
    }
}

QString ControlProcessingOverlay::title() const {
    return title_->text();
}

QString ControlProcessingOverlay::progressText() const {
    return progress_->maximum() == 0 ? QString() : progress_->format();
}

bool ControlProcessingOverlay::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize) {
        setGeometry(parentWidget()->rect());
    }
    return QWidget::eventFilter(watched, event);
}

void ControlProcessingOverlay::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(20, 24, 30, 70));
}

} // namespace tallybrook
