#pragma once

#include "localization/AppLanguage.h"
#include "localization/LocalizedError.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace tallybrook {

/// A file could not be saved. Carries the path and the system's reason; the description
/// names both and is worded when it is read.
class FileWriteError : public LocalizedError {
public:
    FileWriteError(QString path, QString reason)
        : path_(std::move(path))
        , reason_(std::move(reason)) {}

    const QString& path() const { return path_; }
    const QString& reason() const { return reason_; }
    QString localizedDescription() const override { return localizedDescription(std::nullopt); }
    QString localizedDescription(std::optional<AppLanguage> language) const;

private:
    QString path_;
    QString reason_;
};

/// Writes all of `bytes` to `path` through a temporary file beside it that replaces the target
/// only once it is complete and flushed, so a full disk, a missing permission or a crash never
/// leaves a half-written file, and a file that already stood at `path` stays intact on any
/// failure. Throws FileWriteError. Any thread.
void writeFileAtomically(const QString& path, const QByteArray& bytes);

} // namespace tallybrook
