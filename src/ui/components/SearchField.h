#pragma once

#include <QLineEdit>

namespace tallybrook {

/// The pages' search box: 280 px wide, a magnifying glass in front, a clear button; Esc clears
/// it, Enter keeps the focus in it. Its placeholder is also its accessible name. The magnifying
/// glass is drawn, not a button: a screen reader meets the field and its named clear button
/// only.
class SearchField : public QLineEdit {
    Q_OBJECT

public:
    explicit SearchField(QWidget* parent = nullptr);

    /// The placeholder (and accessible name) and the name of the clear button.
    void setPromptText(const QString& prompt, const QString& clearText);
    /// The action behind the clear button.
    QAction* clearAction() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

} // namespace tallybrook
