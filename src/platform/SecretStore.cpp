#include "platform/SecretStore.h"

#include "platform/Folders.h"

#include <QEventLoop>
#include <QTimer>
#include <qt6keychain/keychain.h>

namespace platform {
namespace {

const QString kService = QStringLiteral("Quorvantil");

QString keyOf(const QString& name) {
    return configFolder() + QLatin1Char('|') + name;
}

// Runs a job to its end; true when the keyring answered it (a keyring that says nothing
// within ten seconds counts as none).
bool run(QKeychain::Job& job) {
    job.setAutoDelete(false);
    bool finished = false;
    QEventLoop loop;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, [&] {
        finished = true;
        loop.quit();
    });
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    job.start();
    if (!finished) loop.exec();
    return finished && (job.error() == QKeychain::NoError || job.error() == QKeychain::EntryNotFound);
}

}  // namespace

SecretRead readSecret(const QString& name) {
    QKeychain::ReadPasswordJob job(kService);
    job.setKey(keyOf(name));
    SecretRead read;
    read.keyring = run(job);
    if (read.keyring && job.error() == QKeychain::NoError) read.value = job.textData();
    return read;
}

bool writeSecret(const QString& name, const QString& value) {
    QKeychain::WritePasswordJob job(kService);
    job.setKey(keyOf(name));
    job.setTextData(value);
    return run(job) && job.error() == QKeychain::NoError;
}

}  // namespace platform
