#include "HeadlessRunner.h"

#include "operations/CommandThread.h"
#include "operations/Interaction.h"
#include "operations/OperationConnection.h"
#include "operations/OperationLists.h"
#include "operations/TraceLog.h"
#include "scripts/ScriptParser.h"
#include "scripts/ScriptWriter.h"
#include "servers/ServerMap.h"
#include "servers/ServerNameProblem.h"
#include "servers/ServerStore.h"
#include "servers/ServerStoreConversion.h"
#include "settings/Settings.h"

#include <QCoreApplication>

#include "QorFtp.h"

#include <cstdio>
#include <iostream>
#include <optional>
#include <string>

namespace {

QString Tr(const char* text)
{
    return QCoreApplication::translate("HeadlessRunner", text);
}

void PrintCertificate(std::FILE* out, const QorFtpCertificate& certificate)
{
    const auto row = [out](const char* caption, const std::string& value) {
        std::fprintf(out, "  %-22s %s\n", qPrintable(Tr(caption)), value.c_str());
    };
    row("Problem:", certificate.problem);
    row("Issued to:", certificate.subject);
    row("Issued by:", certificate.issuer);
    row("Valid from:", certificate.validFrom);
    row("Valid until:", certificate.validUntil);
    row("SHA-256 fingerprint:", certificate.fingerprint);
    if (!certificate.trustedBefore.empty())
        row("Trusted before:", certificate.trustedBefore);
}

void PrintHeading(std::FILE* out, const QorFtpCertificate& certificate)
{
    const QString server = QString::fromStdString(certificate.host) + u':' + QString::number(certificate.port);
    if (certificate.trustedBefore.empty())
        std::fprintf(out, "%s\n", qPrintable(Tr("The certificate of %1 could not be verified:").arg(server)));
    else
        std::fprintf(out, "%s\n",
                     qPrintable(Tr("WARNING: the certificate of %1 has CHANGED since it was trusted. Trust the "
                                   "new one only when the server's administrator confirms its fingerprint:")
                                    .arg(server)));
}

// The saved server a certificate came from, by address and port; the host itself when none is.
std::string ServerNameFor(const QorFtpCertificate& certificate)
{
    for (const auto& [name, record] : ServerMap) {
        if (record.address == certificate.host && record.port == static_cast<int>(certificate.port))
            return name;
    }
    return certificate.host;
}

// A script run has nobody to ask: an unverified certificate fails the login, and the message
// says how to trust it beforehand.
class ScriptRunUi : public QorFtpUi {
public:
    explicit ScriptRunUi(bool verbose)
        : m_verbose(verbose)
    {
    }
    bool Tracing() const override { return m_verbose; }
    // One call per line, so lines of connections on several threads do not mix.
    void Trace(const QorFtpTraceLine& line) override
    {
        std::fprintf(stderr, "%s\n", FormatTraceEntry(ToTraceEntry(line)).toLocal8Bit().constData());
    }
    bool AskTrustCertificate(const QorFtpCertificate& certificate) override
    {
        std::fprintf(stderr, "tarvo: ");
        PrintHeading(stderr, certificate);
        PrintCertificate(stderr, certificate);
        std::fprintf(stderr, "tarvo: %s\n",
                     qPrintable(Tr("The certificate is not trusted, so the step fails. To trust it, run: "
                                   "tarvo --trust-certificate %1")
                                    .arg(QString::fromStdString(ServerNameFor(certificate)))));
        return false;
    }

private:
    bool m_verbose;
};

// --trust-certificate: the question on the terminal; the answer is read from standard input.
class TerminalTrustUi : public QorFtpUi {
public:
    bool AskTrustCertificate(const QorFtpCertificate& certificate) override
    {
        asked = true;
        PrintHeading(stdout, certificate);
        PrintCertificate(stdout, certificate);
        std::printf("%s ", qPrintable(Tr("Trust this certificate? (yes/no)")));
        std::fflush(stdout);
        std::string answer;
        if (!std::getline(std::cin, answer))
            answer.clear();
        while (!answer.empty() && (answer.back() == '\r' || answer.back() == ' '))
            answer.pop_back();
        const bool yes = QString::fromStdString(answer).compare(QLatin1String("yes"), Qt::CaseInsensitive) == 0
            || QString::fromStdString(answer) == Tr("yes");
        if (yes)
            trusted = certificate.fingerprint;
        return yes;
    }

    bool asked = false;
    std::string trusted;
};

int TrustCertificate(const ProgramCommandLine& line)
{
    const std::string name = line.server.value(0).toStdString();
    ConvertServerStore();
    LoadServers();
    ServerRecord record;
    if (!GetServerRecord(name, record)) {
        std::fprintf(stderr, "tarvo: %s\n",
                     qPrintable(Tr("There is no saved server named '%1'.").arg(QString::fromStdString(name))));
        return 2;
    }
    if (record.encryption == static_cast<int>(QorFtpEncryption::PlainOnly)) {
        std::fprintf(stderr, "tarvo: %s\n",
                     qPrintable(Tr("'%1' is set to use plain FTP only, so it has no certificate to trust.")
                                    .arg(QString::fromStdString(name))));
        return 2;
    }
    TerminalInteraction terminal;
    SetInteraction(&terminal);
    TerminalTrustUi ui;
    QorFtpSetUi(&ui);
    QorFtpConnection connection;
    connection.SetUi(&ui);
    connection.SetPassive(record.passive);
    connection.SetTimeout(ProgramSettings().timeoutSeconds);
    const int loggedIn = LoginWith(connection, record);
    const std::string description = connection.EncryptionDescription();
    connection.Close();
    QorFtpSetUi(nullptr);
    SetInteraction(nullptr);
    // The answer counts even when the login itself failed (a wrong password, say): the
    // certificate was seen and trusted.
    if (!ui.trusted.empty()) {
        if (ui.trusted != record.trustedFingerprint && !SaveTrustedFingerprint(name, ui.trusted))
            return 2;
        std::printf(
            "%s\n",
            qPrintable(Tr("The certificate is trusted for '%1' from now on.").arg(QString::fromStdString(name))));
        return 0;
    }
    if (ui.asked) {
        std::printf("%s\n", qPrintable(Tr("The certificate was not trusted.")));
        return 1;
    }
    if (!loggedIn)
        return 1;
    if (description.empty()) {
        std::printf("%s\n",
                    qPrintable(Tr("'%1' did not encrypt the connection: there is no certificate to trust.")
                                   .arg(QString::fromStdString(name))));
        return 1;
    }
    std::printf("%s\n",
                qPrintable(Tr("The certificate of '%1' is already trusted (%2).")
                               .arg(QString::fromStdString(name), QString::fromStdString(description))));
    return 0;
}

int AddServer(const ProgramCommandLine& line)
{
    ServerRecord record;
    record.name = line.server[0].toStdString();
    if (const std::optional<std::string> problem = ServerNameProblem(record.name)) {
        std::fprintf(stderr, "tarvo: %s\n", problem->c_str());
        return 2;
    }
    QString host = line.server[1];
    // The port follows the last colon, unless the colon belongs to a bare IPv6 address.
    const int colon = host.lastIndexOf(':');
    const bool portGiven = colon > 0 && (host.count(':') == 1 || host.startsWith('['));
    if (portGiven) {
        bool ok = false;
        const int port = host.mid(colon + 1).toInt(&ok);
        if (!ok || port <= 0 || port > 65535) {
            std::fprintf(stderr, "tarvo: '%s' is not a port.\n", qPrintable(host.mid(colon + 1)));
            return 2;
        }
        record.port = port;
        host = host.left(colon);
    }
    record.address = host.toStdString();
    record.userName = line.server[2].toStdString();
    record.password = line.server[3].toStdString();
    if (record.password == "-") {
        std::string line;
        std::getline(std::cin, line);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        record.password = line;
    }
    record.passive = line.passive ? 1 : 0;
    if (line.encryption >= 0)
        record.encryption = line.encryption;
    // Implicit TLS has a port of its own, unless HOST named another.
    if (record.encryption == static_cast<int>(QorFtpEncryption::RequireImplicit) && !portGiven)
        record.port = 990;
    ConvertServerStore();
    LoadServers();
    if (!SaveNewServer(record))
        return 2;
    std::printf("Saved server '%s' (%s:%d).\n", record.name.c_str(), record.address.c_str(), record.port);
    return 0;
}

int RunScriptFile(const QString& path, bool verbose)
{
    // Questions are never asked here: every one is answered No or Cancel.
    TerminalInteraction terminal;
    SetInteraction(&terminal);
    ConvertServerStore();
    LoadServers();
    // A message about the settings file is no fault of the script's.
    const int messagesBefore = terminal.Messages();
    const bool loaded = LoadScriptFile(path.toStdString());
    if (!loaded || terminal.Messages() > messagesBefore) {
        std::fprintf(stderr, "tarvo: %s was not run.\n", qPrintable(path));
        SetInteraction(nullptr);
        return 2;
    }
    bool allSucceeded = true;
    ScriptRunUi ui(verbose);
    QorFtpSetUi(&ui);
    QorFtpConnection connection;
    for (const OperationRequest& step : ScriptStepList.Snapshot()) {
        const int result = RunScriptStep(step, connection);
        std::printf("%s: %s\n", StepText(step).c_str(), result ? "ok" : "failed");
        std::fflush(stdout);
        allSucceeded = allSucceeded && result;
    }
    connection.Close();
    QorFtpSetUi(nullptr);
    SetInteraction(nullptr);
    return allSucceeded ? 0 : 1;
}

} // namespace

int RunHeadless(const ProgramCommandLine& line)
{
    switch (line.mode) {
    case ProgramCommandLine::Mode::Help:
    case ProgramCommandLine::Mode::Version:
        std::fprintf(stdout, "%s\n", qPrintable(line.text));
        return 0;
    case ProgramCommandLine::Mode::AddServer:
        return AddServer(line);
    case ProgramCommandLine::Mode::TrustCertificate:
        return TrustCertificate(line);
    case ProgramCommandLine::Mode::RunScript:
        return RunScriptFile(line.script, line.verbose);
    case ProgramCommandLine::Mode::Error:
    case ProgramCommandLine::Mode::Window:
        break;
    }
    std::fprintf(stderr, "tarvo: %s\n", qPrintable(line.text));
    return 2;
}
