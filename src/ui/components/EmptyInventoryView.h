#pragma once

#include <QWidget>

class QLabel;

namespace tallybrook {

class AppSettings;

/// What an inventory page shows while no inventory is loaded: a centred card (at most 420 px
/// wide) with a large tinted "new document" tile, the title and the invitation to import.
class EmptyInventoryView : public QWidget {
    Q_OBJECT

public:
    explicit EmptyInventoryView(QWidget* parent = nullptr);

    void retranslate(const AppSettings& settings);
    QString title() const;

private:
    QLabel* title_;
    QLabel* message_;
};

} // namespace tallybrook
