#pragma once

#include "localization/LocalizedError.h"

#include <QByteArray>
#include <QString>

namespace tallybrook {

/// A stored record could not be read back: a required key is missing, a value has the wrong
/// JSON type, or a text is not one of the values the field accepts. Readers of persisted state
/// catch it and fall back to an empty state, so its text is technical and never shown to the
/// user; it is therefore not translated.
class ModelDecodingError : public LocalizedError {
public:
    explicit ModelDecodingError(QString detail);

    QString localizedDescription() const override { return detail_; }
    const char* what() const noexcept override { return utf8_.constData(); }
    const QString& detail() const { return detail_; }

private:
    QString detail_;
    QByteArray utf8_;
};

} // namespace tallybrook
