#include "storage/QtKeychainSecretStore.h"

#include <QEventLoop>
#include <QMetaObject>
#include <QStringDecoder>
#include <QThread>
#include <QTimer>
#include <qt6keychain/keychain.h>

namespace tallybrook {

namespace {

bool isUtf8(const QByteArray& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    (void)decoder.decode(bytes);
    return !decoder.hasError();
}

/// Runs `job` to its end in a local event loop. Returns false when it did not finish in time;
/// the job then deletes itself whenever it finishes and must not be touched again.
bool runJob(QKeychain::Job* job, std::chrono::milliseconds timeout) {
    job->setAutoDelete(false);
    job->setInsecureFallback(false);
    QEventLoop loop;
    bool finished = false;
    QObject::connect(job, &QKeychain::Job::finished, &loop, [&] {
        finished = true;
        loop.quit();
    });
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(timeout);
    job->start();
    if (!finished) {
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    if (!finished) {
        QObject::disconnect(job, nullptr, &loop, nullptr);
        job->setAutoDelete(true);
        return false;
    }
    return true;
}

/// The one thread on which every QtKeychain job of the process runs. QtKeychain queues all
/// jobs through a single executor object that belongs to the thread of the first job ever made
/// and that jobs of other threads reach through queued calls: jobs of two threads then race (a
/// job its thread has deleted is touched later by the executor's thread, a crash) and, once
/// the first thread has ended, no job starts any more. The thread lives as long as the process.
QObject& keychainContext() {
    static QObject* const context = [] {
        auto* thread = new QThread;
        thread->setObjectName(QStringLiteral("Tallybrook keychain"));
        thread->start();
        auto* object = new QObject;
        object->moveToThread(thread);
        return object;
    }();
    return *context;
}

qint32 statusOf(QKeychain::Error error) {
    switch (error) {
    case QKeychain::NoError:
        return SecretStore::success;
    case QKeychain::EntryNotFound:
        return SecretStore::itemNotFound;
    default:
        return qint32(error);
    }
}

} // namespace

QtKeychainSecretStore::QtKeychainSecretStore(std::chrono::milliseconds timeout)
    : timeout_(timeout) {}

template <typename Work>
auto QtKeychainSecretStore::onKeychainThread(Work work) {
    QObject& context = keychainContext();
    if (QThread::currentThread() == context.thread()) {
        return work();
    }
    // The caller simply blocks, like a synchronous keychain call; the job's own event loop runs
    // on the keychain thread, so no event is ever processed re-entrantly on the caller's thread.
    decltype(work()) result{};
    QMetaObject::invokeMethod(&context, [&] { result = work(); }, Qt::BlockingQueuedConnection);
    return result;
}

qint32 QtKeychainSecretStore::updateOrAdd(const QString& service, const QString& account,
                                          const QByteArray& secret) {
    return onKeychainThread([&] { return writeOnThisThread(service, account, secret); });
}

SecretReadResult QtKeychainSecretStore::read(const QString& service, const QString& account) {
    return onKeychainThread([&] { return readOnThisThread(service, account); });
}

qint32 QtKeychainSecretStore::writeOnThisThread(const QString& service, const QString& account,
                                                const QByteArray& secret) {
    auto* job = new QKeychain::WritePasswordJob(service);
    job->setKey(account);
    // Text items hold the UTF-8 bytes as they are, which other tools of the platform can read;
    // anything else goes in as binary data.
    if (isUtf8(secret)) {
        job->setTextData(QString::fromUtf8(secret));
    } else {
        job->setBinaryData(secret);
    }
    if (!runJob(job, timeout_)) {
        return recordTimeout();
    }
    const qint32 status = finish(*job);
    delete job;
    // Writing never reports a missing item; keep the contract of the interface anyway.
    return status == itemNotFound ? qint32(QKeychain::OtherError) : status;
}

SecretReadResult QtKeychainSecretStore::readOnThisThread(const QString& service, const QString& account) {
    auto* job = new QKeychain::ReadPasswordJob(service);
    job->setKey(account);
    if (!runJob(job, timeout_)) {
        return {recordTimeout(), {}};
    }
    SecretReadResult result{finish(*job), {}};
    if (result.status == success) {
        result.data = job->binaryData();
    }
    delete job;
    return result;
}

qint32 QtKeychainSecretStore::finish(QKeychain::Job& job) {
    const qint32 status = statusOf(job.error());
    const QMutexLocker lock(&failureMutex_);
    failureReason_ = status == success || status == itemNotFound ? QString() : job.errorString();
    return status;
}

qint32 QtKeychainSecretStore::recordTimeout() {
    const QMutexLocker lock(&failureMutex_);
    failureReason_.clear();
    return timedOut;
}

QString QtKeychainSecretStore::failureReason() const {
    const QMutexLocker lock(&failureMutex_);
    return failureReason_;
}

} // namespace tallybrook
