#include "storage/InventoryFileReader.h"

#include "document/TallybrookFileDecoder.h"

#include <QFile>

namespace tallybrook {

namespace {

QByteArray readBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw InventoryFileReadError(file.errorString());
    }
    QByteArray bytes;
    if (file.isSequential()) {
        bytes = file.readAll(); // a pipe has no size to allocate for
    } else {
        const qint64 size = file.size();
        bytes.reserve(qsizetype(size) + TallybrookFileDecoder::roomAfterEndForReadingInPlace);
        bytes.resize(qsizetype(size));
        const qint64 read = file.read(bytes.data(), size);
        bytes.resize(qsizetype(qMax<qint64>(read, 0)));
        if (read == size && !file.atEnd()) {
            bytes += file.readAll(); // it grew since its size was read
        }
    }
    if (file.error() != QFileDevice::NoError) {
        throw InventoryFileReadError(file.errorString());
    }
    return bytes;
}

} // namespace

InventoryFile InventoryFileReader::read(const QString& path) {
    InventoryFile file;
    file.bytes = readBytes(path);
    file.decoded = decode(file.bytes);
    return file;
}

TallybrookDecodedInventory InventoryFileReader::decode(const QByteArray& bytes) {
    return TallybrookFileDecoder().decodeInventoryDocumentWithValidation(bytes);
}

} // namespace tallybrook
