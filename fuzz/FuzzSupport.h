#pragma once

// What the fuzz targets share: the libFuzzer entry points, a fatal check that the fuzzer
// reports as a crash with its input, and the splitting of one input into several values.

#include "localization/PreferencesStore.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace tallybrook::fuzz {

/// Stops the run with `what` and `detail`: the fuzzer keeps the input that led here.
[[noreturn]] inline void fail(const char* what, const QString& detail = {}) {
    std::fprintf(stderr, "fuzz check failed: %s\n%s\n", what, detail.toUtf8().constData());
    std::abort();
}

inline void check(bool condition, const char* what, const QString& detail = {}) {
    if (!condition) {
        fail(what, detail);
    }
}

inline QByteArray bytesOf(const std::uint8_t* data, std::size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

/// The parts of `input` between `separator` bytes (a trailing separator ends the last part).
inline QList<QByteArray> splitParts(const QByteArray& input, char separator) {
    QList<QByteArray> parts = input.split(separator);
    if (!parts.isEmpty() && parts.constLast().isEmpty()) {
        parts.removeLast();
    }
    return parts;
}

/// Messages worded in English whatever the machine's languages, so runs are repeatable.
inline void useEnglish() {
    PreferencesStore::standard()->setString(QStringLiteral("com.tallybrook.control.language"),
                                            QStringLiteral("en"));
}

} // namespace tallybrook::fuzz
