#include "core/JsonObjectReader.h"

#include "core/TextRules.h"

#include <cmath>
#include <utility>

using namespace Qt::StringLiterals;

namespace tallybrook {

namespace {

// 2001-01-01T00:00:00Z in milliseconds since the Unix epoch.
constexpr qint64 referenceEpochMSecs = Q_INT64_C(978307200000);
// About 31 million years either side: far inside QDateTime's range and clear of qint64
// overflow once converted to milliseconds.
constexpr double maximumReferenceSeconds = 1e15;

} // namespace

double referenceSecondsFromDate(const QDateTime& date) {
    if (!date.isValid()) {
        return 0.0;
    }
    // Subtract in integers first so the double keeps every millisecond of recent dates.
    return double(date.toMSecsSinceEpoch() - referenceEpochMSecs) / 1000.0;
}

QDateTime dateFromReferenceSeconds(double seconds) {
    if (!std::isfinite(seconds) || std::fabs(seconds) > maximumReferenceSeconds) {
        return {};
    }
    const auto milliseconds = qint64(std::llround(seconds * 1000.0));
    return QDateTime::fromMSecsSinceEpoch(milliseconds + referenceEpochMSecs, Qt::UTC);
}

QJsonValue jsonInteger(qint64 value) {
    return QJsonValue(value);
}

QJsonValue jsonUuid(const QUuid& uuid) {
    return QJsonValue(uuidText(uuid));
}

QJsonValue jsonDate(const QDateTime& date) {
    return QJsonValue(referenceSecondsFromDate(date));
}

JsonObjectReader::JsonObjectReader(const QJsonObject& object, QString recordName)
    : object_(object)
    , recordName_(std::move(recordName)) {}

void JsonObjectReader::fail(QStringView key, QStringView problem) const {
    throw ModelDecodingError(recordName_ + u": "_s + problem.toString() + u" at key \""_s + key.toString() +
                             u"\""_s);
}

std::optional<QJsonValue> JsonObjectReader::present(QStringView key) const {
    const auto it = object_.constFind(key);
    if (it == object_.constEnd() || it->isNull()) {
        return std::nullopt;
    }
    return *it;
}

QJsonValue JsonObjectReader::required(QStringView key) const {
    const auto value = present(key);
    if (!value) {
        fail(key, u"missing required value");
    }
    return *value;
}

std::optional<qint64> JsonObjectReader::integerValue(const QJsonValue& value) {
    if (!value.isDouble()) {
        return std::nullopt;
    }
    // toInteger falls back to its argument for fractions and out-of-range doubles; two
    // different fallbacks tell that case apart from a stored whole number.
    const qint64 first = value.toInteger(0);
    const qint64 second = value.toInteger(1);
    if (first != second) {
        return std::nullopt;
    }
    return first;
}

std::optional<QUuid> JsonObjectReader::uuidValue(const QJsonValue& value) {
    if (!value.isString()) {
        return std::nullopt;
    }
    return parseUuidText(value.toString());
}

std::optional<QDateTime> JsonObjectReader::dateValue(const QJsonValue& value) {
    if (!value.isDouble()) {
        return std::nullopt;
    }
    QDateTime date = dateFromReferenceSeconds(value.toDouble());
    if (!date.isValid()) {
        return std::nullopt;
    }
    return date;
}

QString JsonObjectReader::requiredString(QStringView key) const {
    const QJsonValue value = required(key);
    if (!value.isString()) {
        fail(key, u"expected a string");
    }
    return value.toString();
}

std::optional<QString> JsonObjectReader::optionalString(QStringView key) const {
    if (!present(key)) {
        return std::nullopt;
    }
    return requiredString(key);
}

qint64 JsonObjectReader::requiredInteger(QStringView key) const {
    const auto integer = integerValue(required(key));
    if (!integer) {
        fail(key, u"expected a whole number within the 64-bit range");
    }
    return *integer;
}

std::optional<qint64> JsonObjectReader::optionalInteger(QStringView key) const {
    if (!present(key)) {
        return std::nullopt;
    }
    return requiredInteger(key);
}

bool JsonObjectReader::requiredBool(QStringView key) const {
    const QJsonValue value = required(key);
    if (!value.isBool()) {
        fail(key, u"expected a boolean");
    }
    return value.toBool();
}

std::optional<bool> JsonObjectReader::optionalBool(QStringView key) const {
    if (!present(key)) {
        return std::nullopt;
    }
    return requiredBool(key);
}

QUuid JsonObjectReader::requiredUuid(QStringView key) const {
    const auto uuid = uuidValue(required(key));
    if (!uuid) {
        fail(key, u"expected a UUID text");
    }
    return *uuid;
}

std::optional<QUuid> JsonObjectReader::optionalUuid(QStringView key) const {
    if (!present(key)) {
        return std::nullopt;
    }
    return requiredUuid(key);
}

QDateTime JsonObjectReader::requiredDate(QStringView key) const {
    const auto date = dateValue(required(key));
    if (!date) {
        fail(key, u"expected a number of seconds since 2001-01-01");
    }
    return *date;
}

std::optional<QDateTime> JsonObjectReader::optionalDate(QStringView key) const {
    if (!present(key)) {
        return std::nullopt;
    }
    return requiredDate(key);
}

QJsonObject JsonObjectReader::requiredObject(QStringView key) const {
    const QJsonValue value = required(key);
    if (!value.isObject()) {
        fail(key, u"expected an object");
    }
    return value.toObject();
}

QJsonArray JsonObjectReader::requiredArray(QStringView key) const {
    const QJsonValue value = required(key);
    if (!value.isArray()) {
        fail(key, u"expected an array");
    }
    return value.toArray();
}

void insertOptional(QJsonObject& object, const QString& key, const std::optional<QString>& value) {
    if (value) {
        object.insert(key, *value);
    }
}

void insertOptional(QJsonObject& object, const QString& key, const std::optional<qint64>& value) {
    if (value) {
        object.insert(key, jsonInteger(*value));
    }
}

void insertOptional(QJsonObject& object, const QString& key, const std::optional<bool>& value) {
    if (value) {
        object.insert(key, *value);
    }
}

void insertOptional(QJsonObject& object, const QString& key, const std::optional<QUuid>& value) {
    if (value) {
        object.insert(key, jsonUuid(*value));
    }
}

void insertOptional(QJsonObject& object, const QString& key, const std::optional<QDateTime>& value) {
    if (value) {
        object.insert(key, jsonDate(*value));
    }
}

} // namespace tallybrook
