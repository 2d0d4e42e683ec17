#include "InventoryGenerator.h"

#include <QRandomGenerator>
#include <QString>
#include <QStringList>

namespace tallybrook::bench {

namespace {

using namespace Qt::StringLiterals;

const QString sessionId = u"6F1C2A34-8B7D-4E2F-9A10-3C5D7E9F1B2A"_s;
const QStringList locations{u"Réserve"_s, u"Magasin"_s, u"Vitrine"_s, u"Entrepôt Nord"_s, u"Étage"_s};
const QStringList nouns{u"Bougie"_s, u"Théière"_s, u"Coussin"_s, u"Plaid"_s, u"Vase"_s, u"Bol"_s,
                        u"Carafe"_s, u"Lampe"_s, u"Panier"_s, u"Miroir"_s, u"Tasse"_s, u"Assiette"_s};
const QStringList adjectives{u"parfumée"_s, u"en grès"_s, u"rouge"_s, u"écru"_s, u"doré"_s, u"tressé"_s,
                             u"émaillée"_s, u"à fleurs"_s, u"bleu nuit"_s, u"céladon"_s};
const QStringList variants{u"Petit"_s, u"Moyen"_s, u"Grand"_s, u"Lot de 2"_s};
const QStringList categories{u"Décoration"_s, u"Cuisine"_s, u"Linge de maison"_s, u"Luminaires"_s};

QString jsonText(const QString& text) {
    QString escaped;
    escaped.reserve(text.size() + 2);
    escaped.append(u'"');
    for (const QChar c : text) {
        if (c == u'"' || c == u'\\') {
            escaped.append(u'\\');
        }
        escaped.append(c);
    }
    escaped.append(u'"');
    return escaped;
}

QString ean13(quint64 body12) {
    QString digits = QString::number(body12).rightJustified(12, u'0');
    int sum = 0;
    for (int i = 0; i < 12; ++i) {
        sum += (digits.at(i).unicode() - u'0') * (i % 2 == 0 ? 1 : 3);
    }
    return digits + QString::number((10 - sum % 10) % 10);
}

QString uuidFor(quint64 n) {
    return QStringLiteral("%1-%2-4%3-8%4-%5")
        .arg(n & 0xffffffffu, 8, 16, QChar(u'0'))
        .arg((n >> 8) & 0xffff, 4, 16, QChar(u'0'))
        .arg(n & 0xfff, 3, 16, QChar(u'0'))
        .arg((n >> 4) & 0xfff, 3, 16, QChar(u'0'))
        .arg(n * 2654435761u & 0xffffffffffffULL, 12, 16, QChar(u'0'))
        .toUpper();
}

} // namespace

QByteArray generateInventory(int rowCount) {
    QRandomGenerator random(20261206);
    QString out;
    out.reserve(qsizetype(rowCount) * 640);
    out += u"{\"format\":\"com.tallybrook.inventory-export\",\"formatVersion\":1,"
           u"\"exportedAt\":\"2026-11-30T18:42:10Z\",\"appName\":\"Tallybrook\",\"appVersion\":\"3.2.0\","
           u"\"deviceName\":\"iPhone de Camille\","
           u"\"source\":{\"type\":\"woocommerce\",\"displayName\":\"Boutique Lumière\",\"locationId\":\"1\","
           u"\"locationName\":\"Magasin\"},"
           u"\"session\":{\"id\":\""_s +
           sessionId +
           u"\",\"name\":\"Inventaire annuel\",\"status\":\"closed\",\"createdAt\":\"2026-11-30T08:00:00Z\","
           u"\"inventoryDate\":\"2026-11-30T08:00:00+01:00\"},\"rows\":["_s;

    for (int i = 0; i < rowCount; ++i) {
        const int kind = int(random.bounded(100));
        const QString name = nouns.at(int(random.bounded(nouns.size()))) + u' ' +
                             adjectives.at(int(random.bounded(adjectives.size()))) + u' ' + QString::number(i);
        const bool hasVariant = random.bounded(3) == 0;
        const qint64 reference = random.bounded(40);
        const bool counted = kind >= 8;
        const qint64 countedQuantity = reference + (random.bounded(5) == 0 ? qint64(random.bounded(7)) - 3 : 0);
        QString status;
        QString source = u"woocommerce"_s;
        if (kind < 3) {
            status = u"unknown_code"_s;
            source = u"unknown"_s;
        } else if (kind < 5) {
            status = u"temporary_item"_s;
            source = u"temporary"_s;
        } else if (!counted) {
            status = u"not_counted"_s;
        } else {
            status = countedQuantity == reference ? u"counted"_s : u"difference"_s;
        }
        if (i > 0) {
            out += u',';
        }
        out += u"{\"sessionId\":\""_s + sessionId + u"\",\"sessionName\":\"Inventaire annuel\","
               u"\"inventoryDate\":\"2026-11-30T08:00:00Z\",\"source\":\""_s +
               source + u'"';
        if (source == u"woocommerce") {
            out += u",\"externalProductId\":\""_s + QString::number(1000 + i) + u'"';
            if (hasVariant) {
                out += u",\"externalVariantId\":\""_s + QString::number(500000 + i) + u'"' +
                       u",\"variantName\":"_s + jsonText(variants.at(i % variants.size()));
            }
            out += u",\"localItemId\":\""_s + uuidFor(quint64(i) + 1) + u'"' + u",\"itemName\":"_s + jsonText(name) +
                   u",\"sku\":\"SKU-"_s + QString::number(i) + u'"';
            if (i % 4 != 0) {
                out += u",\"barcode\":\""_s + ean13(3760000000000ULL / 10 + quint64(i)) + u'"';
            }
            out += u",\"category\":"_s + jsonText(categories.at(i % categories.size()));
            out += u",\"referenceQuantity\":"_s + QString::number(reference);
        } else {
            out += u",\"inventoryCode\":\"INV-"_s + QString::number(i) + u'"';
        }
        if (i % 7 != 0) {
            out += u",\"location\":"_s + jsonText(locations.at(i % locations.size()));
        }
        if (counted) {
            out += u",\"countedQuantity\":"_s + QString::number(countedQuantity);
            if (source == u"woocommerce") {
                out += u",\"difference\":"_s + QString::number(countedQuantity - reference);
            }
            out += u",\"lastScannedAt\":\"2026-11-30T1"_s + QString::number(i % 10) + u":2"_s +
                   QString::number(i % 6) + u":0"_s + QString::number(i % 10) + u".250+01:00\""_s;
        }
        if (i % 11 == 0) {
            out += u",\"note\":\"Vérifier l'étiquette; carton abîmé\""_s;
        }
        out += u",\"status\":\""_s + status + u"\"}"_s;
    }
    out += u"],\"unknownCodes\":["_s;
    const int unknownCount = qMax(1, rowCount / 50);
    for (int i = 0; i < unknownCount; ++i) {
        out += (i ? u","_s : QString()) + u"{\"sessionId\":\""_s + sessionId + u"\",\"code\":\"INV-"_s +
               QString::number(i * 37) + u"\",\"quantity\":"_s + QString::number(1 + i % 4) + u",\"location\":"_s +
               jsonText(locations.at(i % locations.size())) + u",\"lastScannedAt\":\"2026-11-30T10:00:00Z\"}"_s;
    }
    out += u"],\"temporaryItems\":["_s;
    const int temporaryCount = qMax(3, rowCount / 100);
    for (int i = 0; i < temporaryCount; ++i) {
        const QString itemSession = i % 10 == 0 ? QString() : (i % 10 == 1 ? u"\"sessionId\":\"0B9E6C1D-2F3A-4B5C-8D7E-1F2A3B4C5D6E\","_s
                                                                             : u"\"sessionId\":\""_s + sessionId + u"\","_s);
        out += (i ? u","_s : QString()) + u"{\"id\":\""_s + uuidFor(900000 + quint64(i)) + u"\","_s + itemSession +
               u"\"scannedCode\":\"TMP-"_s + QString::number(i) + u"\",\"provisionalName\":\"Article à identifier "_s +
               QString::number(i) + u"\",\"quantity\":"_s + QString::number(1 + i % 3) +
               u",\"createdAt\":\"2026-11-30T11:00:00Z\",\"status\":\"pending\"}"_s;
    }
    out += u"],\"scanAliasesCreated\":["_s;
    const int aliasCount = qMax(2, rowCount / 200);
    for (int i = 0; i < aliasCount; ++i) {
        out += (i ? u","_s : QString()) + u"{\"id\":\""_s + uuidFor(800000 + quint64(i)) + u"\",\"code\":\"ALIAS-"_s +
               QString::number(i) + u"\",\"itemLocalId\":\""_s + uuidFor(quint64(i) * 4 + 1) +
               u"\",\"source\":\"scan\",\"createdAt\":\"2026-11-30T12:00:00Z\"}"_s;
    }
    out += u"]}"_s;
    return out.toUtf8();
}

} // namespace tallybrook::bench
