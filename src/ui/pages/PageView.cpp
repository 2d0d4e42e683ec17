#include "ui/pages/PageView.h"

#include "localization/AppSettings.h"

#include <QTimer>

namespace tallybrook {

PageView::PageView(AppContext& context, QWidget* parent)
    : QWidget(parent)
    , context_(context) {
    connect(&context_.settings, &AppSettings::languagePreferenceChanged, this, [this] {
        retranslate();
        // Dates, numbers and sorted lists follow the language too.
        markStale();
    });
}

void PageView::markStale() {
    stale_ = true;
    if (!isVisible() || refreshQueued_) {
        return;
    }
    // An import or a reload announces several properties one after the other: one refresh
    // for all of them.
    refreshQueued_ = true;
    QTimer::singleShot(0, this, [this] {
        refreshQueued_ = false;
        if (isVisible()) {
            refreshIfStale();
        }
    });
}

void PageView::refreshIfStale() {
    if (stale_) {
        stale_ = false;
        refresh();
    }
}

void PageView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    refreshIfStale();
}

} // namespace tallybrook
