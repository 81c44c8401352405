#include "servers/PasswordKeyring.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <qt6keychain/keychain.h>

#include <memory>
#include <mutex>

namespace {

// Entries are filed under the program's name, one per server name.
const QString service = QStringLiteral("Tarvo");

// The keyring answers asynchronously. The loop waits without taking user input, so the window
// keeps painting while no command can start beside the one waiting; a keyring that asks the user
// to unlock it does so in a window of its own. A keyring that never answers is given up on.
template <typename Job> QString runJob(std::unique_ptr<Job>& owned)
{
    Job* job = owned.get();
    job->setAutoDelete(false);
    QEventLoop loop;
    bool finished = false;
    QObject::connect(job, &QKeychain::Job::finished, &loop, [&] {
        finished = true;
        loop.quit();
    });
    QTimer::singleShot(30'000, &loop, &QEventLoop::quit);
    job->start();
    if (!finished)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (!finished) {
        QObject::disconnect(job, nullptr, &loop, nullptr);
        // Its answer may still come; the job goes then.
        QObject::connect(owned.release(), &QKeychain::Job::finished, job, &QObject::deleteLater);
        return QCoreApplication::translate("PasswordKeyring", "The keyring did not answer.");
    }
    if (job->error() == QKeychain::NoError || job->error() == QKeychain::EntryNotFound)
        return {};
    const QString reason = job->errorString();
    return reason.isEmpty() ? QCoreApplication::translate("PasswordKeyring", "The keyring is not available.") : reason;
}

class DesktopKeyring final : public PasswordKeyring {
public:
    QString Read(const std::string& server, std::string& password) override
    {
        auto job = std::make_unique<QKeychain::ReadPasswordJob>(service);
        job->setKey(QString::fromStdString(server));
        const QString problem = runJob(job);
        const QByteArray bytes = problem.isEmpty() && job ? job->binaryData() : QByteArray();
        password.assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        return problem;
    }

    QString Write(const std::string& server, const std::string& password) override
    {
        auto job = std::make_unique<QKeychain::WritePasswordJob>(service);
        job->setKey(QString::fromStdString(server));
        // Bytes, not text: a password is whatever the user typed, sent to the server as it is.
        job->setBinaryData(QByteArray(password.data(), static_cast<qsizetype>(password.size())));
        return runJob(job);
    }

    QString Remove(const std::string& server) override
    {
        auto job = std::make_unique<QKeychain::DeletePasswordJob>(service);
        job->setKey(QString::fromStdString(server));
        return runJob(job);
    }
};

std::mutex keyringLock;
std::shared_ptr<PasswordKeyring> installed;

} // namespace

void SetPasswordKeyring(std::shared_ptr<PasswordKeyring> keyring)
{
    std::lock_guard<std::mutex> guard(keyringLock);
    installed = std::move(keyring);
}

std::shared_ptr<PasswordKeyring> GetPasswordKeyring()
{
    std::lock_guard<std::mutex> guard(keyringLock);
    if (!installed)
        installed = std::make_shared<DesktopKeyring>();
    return installed;
}
