// A shop's answers come from another program over the network: whatever status, headers and
// body arrive, every client operation returns its record or throws the client's own errors
// (WooCommerceAPIError, WooDecodingError), and the connector built on it keeps its promises:
// a reload gives one stock level per numeric item and an issue for every item it could not
// read, a send gives one result line per selected row, each a success or a worded failure.
//
// An input is an answer as `curl -i` shows it: a status line ("HTTP/1.1 200 OK", or just the
// code), header lines, an empty line, then the body. Without the empty line the whole input is
// the body of a 200 answer.

#include "corrections/WooStockUpdateRunner.h"
#include "FuzzSupport.h"
#include "document/InventoryExportDocument.h"
#include "woocommerce/WooCommerceAPIClient.h"
#include "woocommerce/WooCommerceAPIError.h"
#include "woocommerce/WooCommerceConnector.h"
#include "woocommerce/WooDecodingError.h"

using namespace tallybrook;

namespace {

QDateTime fixedNow() {
    return QDateTime(QDate(2024, 5, 1), QTime(10, 0), Qt::UTC);
}

HttpResponse answerOf(const QByteArray& input) {
    HttpResponse response;
    response.statusCode = 200;
    qsizetype headEnd = input.indexOf("\r\n\r\n");
    qsizetype bodyStart = headEnd + 4;
    if (headEnd < 0) {
        headEnd = input.indexOf("\n\n");
        bodyStart = headEnd + 2;
    }
    if (headEnd < 0) {
        response.body = input;
        return response;
    }
    const QList<QByteArray> lines = input.first(headEnd).split('\n');
    QByteArray status = lines.constFirst().trimmed();
    if (status.startsWith("HTTP/")) {
        status = status.mid(status.indexOf(' ') + 1);
    }
    bool ok = false;
    const int code = status.left(3).toInt(&ok);
    response.statusCode = ok ? code : 200;
    for (const QByteArray& line : lines.sliced(1)) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0) {
            response.headers.append({line.first(colon).trimmed(), line.sliced(colon + 1).trimmed()});
        }
    }
    response.body = input.sliced(bodyStart);
    return response;
}

/// Answers every request with the same recorded answer.
class RecordedAnswer final : public HttpTransport {
public:
    explicit RecordedAnswer(HttpResponse response)
        : response_(std::move(response)) {}
    HttpResponse send(const HttpRequest&) override { return response_; }

private:
    HttpResponse response_;
};

template <typename Operation> void expectRecordOrClientError(Operation operation) {
    try {
        operation();
    } catch (const WooCommerceAPIError& error) {
        fuzz::check(!error.localizedDescription().isEmpty(), "a client error without words");
    } catch (const WooDecodingError& error) {
        fuzz::check(!error.localizedDescription().isEmpty(), "a decoding error without words");
    } catch (const std::exception& error) {
        fuzz::fail("the client threw something else than its errors", QString::fromUtf8(error.what()));
    }
}

void fuzzClient(const WooCommerceAPIClient& client) {
    expectRecordOrClientError([&] { client.validateCredentials(); });
    expectRecordOrClientError([&] { client.fetchProductsPage(2, 50, fixedNow()); });
    expectRecordOrClientError([&] { client.fetchProduct(12); });
    expectRecordOrClientError([&] { client.fetchVariationsPage(12, 1, 100); });
    expectRecordOrClientError([&] { client.fetchVariation(12, 34); });
    expectRecordOrClientError([&] { client.updateProduct(12, -3); });
    expectRecordOrClientError([&] { client.updateVariation(12, 34, 7); });
}

InventoryExportRow row(const QString& product, const std::optional<QString>& variation) {
    InventoryExportRow row;
    row.externalProductId = product;
    row.externalVariantId = variation;
    row.itemName = QStringLiteral("Article ") + product;
    row.countedQuantity = 4;
    row.referenceQuantity = 2;
    return row;
}

WooCorrectionPreview preview(const InventoryExportRow& row, bool selected) {
    WooCorrectionPreview preview;
    preview.id = QUuid::createUuid();
    preview.externalProductId = row.externalProductId;
    preview.externalVariantId = row.externalVariantId;
    preview.itemName = *row.itemName;
    preview.proposedQuantity = row.countedQuantity;
    preview.status = WooCorrectionStatus::ready;
    preview.isSelected = selected;
    return preview;
}

void fuzzConnector(WooCommerceConnector& connector) {
    // Four distinct keys, three of them numeric: a product, a variation, a product read for a
    // variation id that is not a number; "abc" is never requested.
    InventoryExportDocument document;
    document.rows = {row(QStringLiteral("12"), std::nullopt), row(QStringLiteral("12"), QStringLiteral("34")),
                     row(QStringLiteral("abc"), std::nullopt),
                     row(QStringLiteral("13"), QStringLiteral("x9")), row(QStringLiteral("12"), QString())};
    const RemoteStockReloadReport report = connector.fetchCurrentStocksWithReport(document);
    fuzz::check(report.requestedItemCount == 4, "requested items miscounted");
    fuzz::check(report.levels.size() == 3, "not one stock level per numeric item");
    qint64 withQuantity = 0;
    for (const RemoteStockLevel& level : report.levels) {
        withQuantity += level.quantity ? 1 : 0;
    }
    fuzz::check(report.quantityCount == withQuantity, "quantities miscounted");
    fuzz::check(report.issues.size() == 1 + report.levels.size() - withQuantity,
                "an item without stock has no issue, or one with stock has one");
    for (const RemoteStockReloadIssue& issue : report.issues) {
        fuzz::check(!issue.message.isEmpty(), "a reload issue without words");
    }

    const QList<WooCorrectionPreview> previews{
        preview(document.rows[0], true), preview(document.rows[1], true), preview(document.rows[2], true),
        preview(document.rows[3], false)};
    // Through the runner, as every send goes: it keeps the selected rows.
    const QList<WooUpdateResultLine> lines =
        WooStockUpdateRunner(std::shared_ptr<CommerceStockConnector>(&connector, [](CommerceStockConnector*) {}))
            .updateSelectedStocks(previews);
    fuzz::check(lines.size() == 3, "not one result line per selected row");
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const WooUpdateResultLine& line = lines[i];
        fuzz::check(line.correctionId == previews[i].id, "a result line for the wrong row");
        fuzz::check(line.message && !line.message->isEmpty(), "a result line without words");
        fuzz::check(line.success == line.remoteQuantityAfterUpdate.has_value(),
                    "a sent row without the stock after the send, or a failed one with it");
    }
    fuzz::check(!lines[2].success, "a row without a numeric product id was sent");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::useEnglish();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto transport = std::make_shared<RecordedAnswer>(answerOf(fuzz::bytesOf(data, size)));
    const QUrl shop(QStringLiteral("http://127.0.0.1:8080/boutique/"));
    fuzzClient(WooCommerceAPIClient(shop, QStringLiteral("ck_fuzz"), QStringLiteral("cs_fuzz"), transport));
    WooCommerceConnector connector(shop, QStringLiteral("ck_fuzz"), QStringLiteral("cs_fuzz"), transport,
                                   fixedNow);
    fuzzConnector(connector);
    return 0;
}
