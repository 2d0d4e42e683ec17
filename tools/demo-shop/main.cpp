// tallybrook-demo-shop: a small WooCommerce-compatible shop on 127.0.0.1 for trying Tallybrook
// Control without a real shop, and for tests and benchmarks.

#include "DemoShop.h"
#include "document/TallybrookFileDecoder.h"
#include "document/TallybrookImportError.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>
#include <QStringList>
#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <limits>
#include <mutex>
#include <thread>

using namespace tallybrook;

namespace {

std::atomic<bool> stopRequested{false};

void requestStop(int) {
    stopRequested = true;
}

const char* const usage =
    "usage: tallybrook-demo-shop [--port N] [--seed FILE.tallybrook [--drift N] [--unmanaged N] | --catalog "
    "FILE.json]\n"
    "                            [--consumer-key K] [--consumer-secret S] [--key-permissions "
    "read|write|read_write]\n"
    "                            [--site-path /PATH] [--connection-close] [--latency-ms N]\n"
    "                            [--batch-limit N]\n"
    "                            [--fault KIND[@PATH_SUFFIX]]... [--slow-ms N] [--huge-bytes N]\n"
    "                            [--tls-cert FILE --tls-key FILE] [--log FILE] [--write-catalog FILE]\n"
    "  Serves WooCommerce REST v3 products and variations on 127.0.0.1 (port 0: any free port)\n"
    "  until interrupted. Credentials default to ck_demo / cs_demo. Reads take include=ID,ID,...\n"
    "  (orderby=include keeps their order) and _fields=a,b; POST products/batch and\n"
    "  products/<parent>/variations/batch take {\"update\": [{\"id\": ID, \"stock_quantity\": N}, ...]}.\n"
    "  --seed         catalogue from an inventory file: store stock = reference quantity\n"
    "  --drift N      every N-th seeded item gets a store stock that differs from its reference\n"
    "  --unmanaged N  every N-th seeded item has no own stock (product: not managed;\n"
    "                 variation: managed by its parent)\n"
    "  --key-permissions  what the key may do (default read_write), as WooCommerce's key settings\n"
    "  --site-path    the folder the site lives in; other paths get the themed HTML 404 page\n"
    "  --connection-close  closes the connection after every answer, as some hosts do\n"
    "  --latency-ms N waits N ms before every answer\n"
    "  --batch-limit N  most items a batch request may carry (default 100); more: 413, nothing written\n"
    "  --fault KIND   server-error, too-many-requests, drop-connection, not-json, empty-body,\n"
    "                 wrong-shape, slow, huge-body, redirect-away, redirect-here; for every request\n"
    "                 or those whose path ends\n"
    "                 with PATH_SUFFIX (e.g. slow@/products/12)\n"
    "  --log FILE     appends one line per request: method, target, status, client port\n"
    "                 (one client port per TCP connection)\n"
    "  POST /demo/sell with {\"id\": ID, \"quantity\": N} (no credentials, outside the site) sells N\n"
    "  of a product or variation as an order would (a variation whose stock its parent keeps sells\n"
    "  from the parent) and answers {\"id\": ID, \"stock_quantity\": NEW}; 404 for an unknown id.\n";

int usageError(const QString& message) {
    std::fprintf(stderr, "%s\n%s", message.toLocal8Bit().constData(), usage);
    return 2;
}

int failure(const QString& message) {
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    return 1;
}

std::optional<qint64> integerArgument(const QString& text) {
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    return ok && value >= 0 ? std::optional<qint64>(value) : std::nullopt;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments().mid(1);

    QHash<QString, QString> values;
    QList<DemoShopFaultRule> faults;
    static const QStringList valueOptions{QStringLiteral("port"),
                                          QStringLiteral("seed"),
                                          QStringLiteral("drift"),
                                          QStringLiteral("unmanaged"),
                                          QStringLiteral("catalog"),
                                          QStringLiteral("consumer-key"),
                                          QStringLiteral("consumer-secret"),
                                          QStringLiteral("key-permissions"),
                                          QStringLiteral("site-path"),
                                          QStringLiteral("latency-ms"),
                                          QStringLiteral("batch-limit"),
                                          QStringLiteral("slow-ms"),
                                          QStringLiteral("huge-bytes"),
                                          QStringLiteral("tls-cert"),
                                          QStringLiteral("tls-key"),
                                          QStringLiteral("log"),
                                          QStringLiteral("write-catalog"),
                                          QStringLiteral("fault")};
    for (qsizetype index = 0; index < arguments.size(); ++index) {
        const QString& argument = arguments.at(index);
        if (argument == u"--help" || argument == u"-h") {
            std::fputs(usage, stdout);
            return 0;
        }
        const QString name = argument.startsWith(u"--") ? argument.mid(2) : QString();
        if (name == u"connection-close") {
            values.insert(name, QString());
            continue;
        }
        if (!valueOptions.contains(name)) {
            return usageError(QStringLiteral("unknown argument ") + argument);
        }
        if (index + 1 >= arguments.size()) {
            return usageError(argument + QStringLiteral(" needs a value"));
        }
        const QString value = arguments.at(++index);
        if (name == u"fault") {
            const qsizetype at = value.indexOf(u'@');
            const auto fault =
                demoShopFaultFromName(at < 0 ? QStringView(value) : QStringView(value).left(at));
            if (!fault) {
                return usageError(QStringLiteral("unknown fault ") + value);
            }
            faults.append(DemoShopFaultRule{*fault, at < 0 ? QString() : value.mid(at + 1)});
        } else {
            values.insert(name, value);
        }
    }
    for (const QString& name : {QStringLiteral("port"), QStringLiteral("drift"), QStringLiteral("unmanaged"),
                                QStringLiteral("latency-ms"), QStringLiteral("batch-limit"),
                                QStringLiteral("slow-ms"), QStringLiteral("huge-bytes")}) {
        if (values.contains(name) && !integerArgument(values.value(name))) {
            return usageError(QStringLiteral("--") + name + QStringLiteral(" takes a non-negative integer"));
        }
    }
    DemoKeyPermissions keyPermissions = DemoKeyPermissions::readWrite;
    const QString permissions = values.value(QStringLiteral("key-permissions"), QStringLiteral("read_write"));
    if (permissions == u"read") {
        keyPermissions = DemoKeyPermissions::read;
    } else if (permissions == u"write") {
        keyPermissions = DemoKeyPermissions::write;
    } else if (permissions != u"read_write") {
        return usageError(QStringLiteral("--key-permissions takes read, write or read_write"));
    }
    if (values.contains(QStringLiteral("seed")) && values.contains(QStringLiteral("catalog"))) {
        return usageError(QStringLiteral("--seed and --catalog exclude each other"));
    }
    if (values.contains(QStringLiteral("tls-cert")) != values.contains(QStringLiteral("tls-key"))) {
        return usageError(QStringLiteral("--tls-cert and --tls-key go together"));
    }

    DemoCatalog catalog;
    try {
        if (values.contains(QStringLiteral("seed"))) {
            QFile file(values.value(QStringLiteral("seed")));
            if (!file.open(QIODevice::ReadOnly)) {
                return failure(file.fileName() + QStringLiteral(": ") + file.errorString());
            }
            const auto decoded =
                TallybrookFileDecoder().decodeInventoryDocumentWithValidation(file.readAll());
            DemoSeedOptions seed;
            seed.driftEvery =
                int(integerArgument(values.value(QStringLiteral("drift"), QStringLiteral("0"))).value_or(0));
            seed.unmanagedEvery = int(
                integerArgument(values.value(QStringLiteral("unmanaged"), QStringLiteral("0"))).value_or(0));
            catalog = DemoCatalog::fromDocument(decoded.document, seed);
        } else if (values.contains(QStringLiteral("catalog"))) {
            QFile file(values.value(QStringLiteral("catalog")));
            if (!file.open(QIODevice::ReadOnly)) {
                return failure(file.fileName() + QStringLiteral(": ") + file.errorString());
            }
            catalog = DemoCatalog::fromJson(file.readAll());
        }
    } catch (const TallybrookImportError& error) {
        return failure(error.localizedDescription());
    } catch (const std::exception& error) {
        return failure(QString::fromLocal8Bit(error.what()));
    }
    if (values.contains(QStringLiteral("write-catalog"))) {
        QSaveFile file(values.value(QStringLiteral("write-catalog")));
        if (!file.open(QIODevice::WriteOnly) || file.write(catalog.toJson()) < 0 || !file.commit()) {
            return failure(file.fileName() + QStringLiteral(": ") + file.errorString());
        }
    }

    DemoShopOptions options;
    options.consumerKey = values.value(QStringLiteral("consumer-key"), options.consumerKey);
    options.consumerSecret = values.value(QStringLiteral("consumer-secret"), options.consumerSecret);
    options.keyPermissions = keyPermissions;
    options.sitePath = values.value(QStringLiteral("site-path"));
    options.closeConnections = values.contains(QStringLiteral("connection-close"));
    options.latency = std::chrono::milliseconds(
        values.value(QStringLiteral("latency-ms"), QStringLiteral("0")).toLongLong());
    options.batchLimit =
        int(std::min<qint64>(values.value(QStringLiteral("batch-limit"), QStringLiteral("100")).toLongLong(),
                             std::numeric_limits<int>::max()));
    options.tlsCertificatePath = values.value(QStringLiteral("tls-cert"));
    options.tlsKeyPath = values.value(QStringLiteral("tls-key"));

    DemoShop shop(catalog, options);
    for (const DemoShopFaultRule& rule : faults) {
        shop.addFault(rule);
    }
    if (values.contains(QStringLiteral("slow-ms"))) {
        shop.setSlowAnswerDelay(
            std::chrono::milliseconds(values.value(QStringLiteral("slow-ms")).toLongLong()));
    }
    if (values.contains(QStringLiteral("huge-bytes"))) {
        shop.setHugeBodyBytes(values.value(QStringLiteral("huge-bytes")).toLongLong());
    }
    std::FILE* logFile = nullptr;
    std::mutex logMutex;
    if (values.contains(QStringLiteral("log"))) {
        logFile = std::fopen(values.value(QStringLiteral("log")).toLocal8Bit().constData(), "a");
        if (!logFile) {
            return failure(values.value(QStringLiteral("log")) + QStringLiteral(": cannot open for writing"));
        }
        shop.setRequestObserver([logFile, &logMutex](const DemoShopRequest& request) {
            const QByteArray line =
                (request.method + u' ' + request.target + u' ' + QString::number(request.status) + u' ' +
                 QString::number(request.remotePort) + u'\n')
                    .toUtf8();
            std::lock_guard lock(logMutex);
            std::fwrite(line.constData(), 1, size_t(line.size()), logFile);
            std::fflush(logFile);
        });
    }

    std::signal(SIGINT, requestStop);
    std::signal(SIGTERM, requestStop);
    try {
        shop.start(int(values.value(QStringLiteral("port"), QStringLiteral("0")).toInt()));
    } catch (const std::exception& error) {
        return failure(QString::fromLocal8Bit(error.what()));
    }
    std::printf("listening on %s\n", shop.url().toString().toUtf8().constData());
    std::fflush(stdout);

    while (!stopRequested) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    shop.stop();
    shop.setRequestObserver({});
    if (logFile) {
        std::fclose(logFile);
    }
    return 0;
}
