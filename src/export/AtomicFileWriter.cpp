#include "export/AtomicFileWriter.h"

#include "localization/AppText.h"

#include <QSaveFile>

namespace tallybrook {

QString FileWriteError::localizedDescription(std::optional<AppLanguage> language) const {
    return AppText::formatted(u"file.writeFailed", language, {path_, reason_});
}

void writeFileAtomically(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    // Never fall back to writing the target in place: that is what could leave it truncated.
    file.setDirectWriteFallback(false);
    // Unbuffered, so that every write reaches the file here and its outcome is seen: QSaveFile
    // flushes its buffer in commit() and renames the file over the target even when that last
    // write falls short, so a full disk would replace a good file with a truncated one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        throw FileWriteError(path, file.errorString());
    }
    // A write that runs out of room returns what fitted; the next one says why.
    for (qint64 written = 0; written < bytes.size();) {
        const qint64 count = file.write(bytes.constData() + written, bytes.size() - written);
        if (count <= 0) {
            const QString reason = file.errorString();
            file.cancelWriting();
            throw FileWriteError(path, reason);
        }
        written += count;
    }
    if (!file.commit()) {
        throw FileWriteError(path, file.errorString());
    }
}

} // namespace tallybrook
