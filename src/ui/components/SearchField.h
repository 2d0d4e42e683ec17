#pragma once

#include <QLineEdit>

namespace tallybrook {

/// The pages' search box: 280 px wide, a magnifying glass in front, a clear button; Esc clears
/// it, Enter keeps the focus in it. Its placeholder is also its accessible name.
class SearchField : public QLineEdit {
    Q_OBJECT

public:
    explicit SearchField(QWidget* parent = nullptr);

    void setPromptText(const QString& prompt);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace tallybrook
