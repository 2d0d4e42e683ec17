#pragma once

#include "ui/pages/AppContext.h"

#include <QWidget>

namespace tallybrook {

class SearchField;

/// Base of the window's pages. A page builds its widgets once; afterwards the shared objects'
/// signals mark it stale, and it refreshes its data once per turn of the event loop while on
/// screen, or when it next comes on screen. A language change sets every text again at once.
class PageView : public QWidget {
    Q_OBJECT

public:
    explicit PageView(AppContext& context, QWidget* parent = nullptr);

    /// Sets every text of the page again in the settings' language.
    virtual void retranslate() = 0;
    /// The page's own title in the settings' language; empty: the page goes by its sidebar
    /// destination's title.
    virtual QString navigationTitle() const { return {}; }
    /// The page's search field, focused by Ctrl+F; none when the page has no search.
    virtual SearchField* searchField() { return nullptr; }

    /// Refreshes now when something changed (tests and screenshots call it; the page does it
    /// by itself on the next turn of the event loop).
    void refreshIfStale();

protected:
    /// Reads the shared objects and shows what they hold.
    virtual void refresh() = 0;
    /// Something the page shows has changed.
    void markStale();

    void showEvent(QShowEvent* event) override;

    AppContext& context_;

private:
    bool stale_ = true;
    bool refreshQueued_ = false;
};

} // namespace tallybrook
