#include "ui/components/ControlPage.h"

#include <QScrollArea>
#include <QVBoxLayout>

namespace tallybrook {

ControlPage::ControlPage(int spacing, Scrolling scrolling, QWidget* parent)
    : QWidget(parent) {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("controlPageContent"));
    layout_ = new QVBoxLayout(content);
    layout_->setContentsMargins(24, 24, 24, 24);
    layout_->setSpacing(spacing);
    if (scrolling == Scrolling::vertical) {
        scrollArea_ = new QScrollArea;
        scrollArea_->setFrameShape(QFrame::NoFrame);
        scrollArea_->setWidgetResizable(true);
        scrollArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        // Tab goes to the controls inside, which the area scrolls into view; the area itself is
        // no stop of its own.
        scrollArea_->setFocusPolicy(Qt::NoFocus);
        // The window background shows through: the page is not a white sheet.
        scrollArea_->viewport()->setAutoFillBackground(false);
        content->setAutoFillBackground(false);
        scrollArea_->setWidget(content);
        outer->addWidget(scrollArea_);
    } else {
        outer->addWidget(content);
    }
}

void ControlPage::addWidget(QWidget* widget, int stretch) {
    layout_->addWidget(widget, stretch);
}

void ControlPage::addStretch() {
    layout_->addStretch(1);
}

} // namespace tallybrook
