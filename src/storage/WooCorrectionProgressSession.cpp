#include "storage/WooCorrectionProgressSession.h"

#include "core/JsonObjectReader.h"
#include "core/TextRules.h"
#include "corrections/CorrectionJson.h"
#include "storage/JsonTextWriter.h"

#include <QJsonArray>
#include <QJsonDocument>

using namespace Qt::StringLiterals;

namespace tallybrook {

namespace {

void appendRecordJson(QByteArray& out, const WooCorrectionProgressRecord& record) {
    using namespace jsontext;
    out.append('{');
    appendKey(out, "key");
    appendString(out, record.key);
    if (record.status) {
        out.append(',');
        appendKey(out, "status");
        appendString(out, rawValue(*record.status));
    }
    const auto optionalInteger = [&](const char* key, const std::optional<qint64>& value) {
        if (value) {
            out.append(',');
            appendKey(out, key);
            appendInteger(out, *value);
        }
    };
    const auto optionalDate = [&](const char* key, const std::optional<QDateTime>& value) {
        if (value) {
            out.append(',');
            appendKey(out, key);
            appendNumber(out, referenceSecondsFromDate(*value));
        }
    };
    const auto optionalBool = [&](const char* key, const std::optional<bool>& value) {
        if (value) {
            out.append(',');
            appendKey(out, key);
            appendBool(out, *value);
        }
    };
    optionalInteger("proposedQuantity", record.proposedQuantity);
    optionalInteger("requestedQuantity", record.requestedQuantity);
    optionalBool("isSelected", record.isSelected);
    if (record.message) {
        out.append(',');
        appendKey(out, "message");
        appendString(out, *record.message);
    }
    out.append(',');
    appendKey(out, "updatedAt");
    appendNumber(out, referenceSecondsFromDate(record.updatedAt));
    optionalDate("sentAt", record.sentAt);
    optionalInteger("lastRemoteQuantity", record.lastRemoteQuantity);
    optionalDate("lastRemoteReloadAt", record.lastRemoteReloadAt);
    optionalBool("success", record.success);
    out.append('}');
}

} // namespace

void appendProgressSessionJson(QByteArray& out, const WooCorrectionProgressSession& session) {
    using namespace jsontext;
    out.reserve(out.size() + session.records.size() * 200 + 256);
    out.append('{');
    appendKey(out, "sessionId");
    appendString(out, uuidText(session.sessionId));
    out.append(',');
    appendKey(out, "updatedAt");
    appendNumber(out, referenceSecondsFromDate(session.updatedAt));
    out.append(',');
    appendKey(out, "records");
    out.append('[');
    for (qsizetype i = 0; i < session.records.size(); ++i) {
        if (i > 0) {
            out.append(',');
        }
        appendRecordJson(out, session.records.at(i));
    }
    out.append("],");
    appendKey(out, "updateResults");
    out.append(QJsonDocument(toJsonArray(session.updateResults)).toJson(QJsonDocument::Compact));
    out.append('}');
}

WooCorrectionProgressRecord progressRecordFromJson(const QJsonObject& object) {
    const JsonObjectReader reader(object, u"WooCorrectionProgressRecord"_s);
    WooCorrectionProgressRecord record;
    record.key = reader.requiredString(u"key");
    const QJsonValue status = reader.value(u"status");
    if (!status.isUndefined() && !status.isNull()) {
        record.status = wooCorrectionStatusFromJson(status);
    }
    record.proposedQuantity = reader.optionalInteger(u"proposedQuantity");
    record.requestedQuantity = reader.optionalInteger(u"requestedQuantity");
    record.isSelected = reader.optionalBool(u"isSelected");
    record.message = reader.optionalString(u"message");
    record.updatedAt = reader.requiredDate(u"updatedAt");
    record.sentAt = reader.optionalDate(u"sentAt");
    record.lastRemoteQuantity = reader.optionalInteger(u"lastRemoteQuantity");
    record.lastRemoteReloadAt = reader.optionalDate(u"lastRemoteReloadAt");
    record.success = reader.optionalBool(u"success");
    return record;
}

WooCorrectionProgressSession progressSessionFromJson(const QJsonObject& object) {
    const JsonObjectReader reader(object, u"WooCorrectionProgressSession"_s);
    WooCorrectionProgressSession session;
    session.sessionId = reader.requiredUuid(u"sessionId");
    session.updatedAt = reader.requiredDate(u"updatedAt");
    const QJsonArray records = reader.requiredArray(u"records");
    session.records.reserve(records.size());
    for (const QJsonValue& element : records) {
        if (!element.isObject()) {
            reader.fail(u"records", u"element is not an object");
        }
        session.records.append(progressRecordFromJson(element.toObject()));
    }
    session.updateResults = listFromJson<WooUpdateResultLine>(reader.requiredArray(u"updateResults"));
    return session;
}

} // namespace tallybrook
