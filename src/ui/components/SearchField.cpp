#include "ui/components/SearchField.h"

#include "ui/shell/Palette.h"
#include "ui/shell/Symbols.h"

#include <QKeyEvent>

namespace tallybrook {

SearchField::SearchField(QWidget* parent)
    : QLineEdit(parent) {
    setFixedWidth(280);
    setClearButtonEnabled(true);
    addAction(Symbols::icon(u"magnifyingglass", Palette::secondary()), QLineEdit::LeadingPosition);
}

void SearchField::setPromptText(const QString& prompt) {
    setPlaceholderText(prompt);
    setAccessibleName(prompt);
}

void SearchField::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && !text().isEmpty()) {
        clear();
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // The search already follows every keystroke; Enter must not leave the field or
        // trigger a default button.
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

} // namespace tallybrook
