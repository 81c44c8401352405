// Throughput of QorFtp against curl on vsftpd on loopback, in clear and over TLS (vsftpd requiring
// it, with session reuse), and the time to list a folder of 100,000 entries. Run through
// bench/run.sh; prints a table, asserts nothing.
#include "QorFtp.h"
#include "TempDir.h"
#include "TestCertificates.h"
#include "UnpackedFtpd.h"
#include "Vsftpd.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

using namespace tarvo::test;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
constexpr int kRuns = 3;

namespace {

double Seconds(Clock::time_point since)
{
    return std::chrono::duration<double>(Clock::now() - since).count();
}

void MakeFile(const std::string& path, std::uint64_t size)
{
    // Real bytes, not a sparse file, so both clients read and write the same disk work.
    std::string block(1 << 20, '\0');
    for (std::size_t i = 0; i < block.size(); ++i)
        block[i] = static_cast<char>(i * 2654435761u >> 24);
    FILE* f = std::fopen(path.c_str(), "wb");
    for (std::uint64_t done = 0; done < size; done += block.size())
        std::fwrite(block.data(), 1, block.size(), f);
    std::fclose(f);
}

double RunCurl(const std::string& arguments)
{
    const auto start = Clock::now();
    const std::string command = "curl -s -S " + arguments;
    if (std::system(command.c_str()) != 0)
        std::fprintf(stderr, "curl failed: %s\n", command.c_str());
    return Seconds(start);
}

void Row(const char* what, double bytes, double ours, double curl)
{
    const double oursRate = bytes / ours / 1e6;
    const double curlRate = bytes / curl / 1e6;
    std::printf("%-22s QorFtp %8.1f MB/s   curl %8.1f MB/s   ratio %.2f\n", what, oursRate, curlRate,
                oursRate / curlRate);
}

} // namespace

int main(int argc, char** argv)
{
    std::string whyNot;
    if (!Vsftpd::Available(whyNot)) {
        std::fprintf(stderr, "vsftpd cannot run here: %s\n", whyNot.c_str());
        return 1;
    }
    const std::uint64_t size = argc > 1 ? std::strtoull(argv[1], nullptr, 10) << 20 : 1ULL << 30;
    const int entries = argc > 2 ? std::atoi(argv[2]) : 100000;

    TestCertificates certificates;
    // The library checks the server against the test CA; curl is told the same CA.
    setenv("SSL_CERT_FILE", certificates.ca().c_str(), 1);
    Vsftpd server;
    Vsftpd tlsServer(VsftpdOptions{.tlsCertificate = certificates.server("good")});
    TempDir local;
    MakeFile(local.file("up"), size);
    std::printf("file %llu MiB, vsftpd on 127.0.0.1, best of %d runs each\n",
                static_cast<unsigned long long>(size >> 20), kRuns);
    for (Vsftpd* target : {&server, &tlsServer}) {
        const bool tls = target == &tlsServer;
        MakeFile(target->root() + "/big", size);
        const std::string url = "ftp://" + target->user() + ":" + target->password()
            + "@127.0.0.1:" + std::to_string(target->port()) + "/";
        const std::string curlTls = tls ? "--ssl-reqd --cacert " + certificates.ca() + " " : "";
        // Downloads go to /dev/null for both clients, so the disk's write-back does not decide.
        for (int passive : {0, 1}) {
            QorFtpConnection connection;
            connection.SetPassive(passive);
            connection.SetEncryption(tls ? QorFtpEncryption::RequireExplicit : QorFtpEncryption::PlainOnly);
            if (!connection.Login("127.0.0.1", target->user(), target->password(), target->port(), ""))
                return 1;
            const std::string curlMode = curlTls + (passive ? "--ftp-pasv " : "--ftp-port - ");
            double ourDown = 1e9, curlDown = 1e9, ourUp = 1e9, curlUp = 1e9;
            for (int run = 0; run < kRuns; ++run) {
                auto start = Clock::now();
                if (!connection.GetFile("big", "/dev/null", 0, 0))
                    return 1;
                ourDown = std::min(ourDown, Seconds(start));
                curlDown = std::min(curlDown, RunCurl(curlMode + "-o /dev/null " + url + "big"));

                start = Clock::now();
                if (!connection.PutFile(local.file("up"), "up", 0, 0))
                    return 1;
                ourUp = std::min(ourUp, Seconds(start));
                fs::remove(target->root() + "/up");
                curlUp = std::min(curlUp, RunCurl(curlMode + "-T " + local.file("up") + " " + url + "up"));
                fs::remove(target->root() + "/up");
            }
            connection.Close();
            const std::string mode = std::string(tls ? "TLS " : "") + (passive ? "passive" : "active");
            Row(("download " + mode).c_str(), static_cast<double>(size), ourDown, curlDown);
            Row(("upload " + mode).c_str(), static_cast<double>(size), ourUp, curlUp);
        }
        fs::remove(target->root() + "/big");
    }

    // The listing: vsftpd (LIST only), and proftpd by MLSD and by LIST, when it can run here.
    std::unique_ptr<UnpackedFtpd> proftpd;
    if (UnpackedFtpd::Available(UnpackedFtpd::Kind::ProFtpd, whyNot))
        proftpd = std::make_unique<UnpackedFtpd>(UnpackedFtpd::Kind::ProFtpd);
    struct Listed {
        const char* name;
        std::string root, user, password;
        unsigned port;
        bool mlsd;
    };
    std::vector<Listed> listings{
        {"vsftpd LIST", server.root(), server.user(), server.password(), server.port(), false}};
    if (proftpd) {
        listings.push_back(
            {"proftpd MLSD", proftpd->root(), proftpd->user(), proftpd->password(), proftpd->port(), true});
        listings.push_back(
            {"proftpd LIST", proftpd->root(), proftpd->user(), proftpd->password(), proftpd->port(), false});
    }
    for (const Listed& listing : listings) {
        if (!fs::exists(listing.root + "/many")) {
            fs::create_directory(listing.root + "/many");
            for (int i = 0; i < entries; ++i) {
                const std::string name = listing.root + "/many/entry-" + std::to_string(i) + ".txt";
                ::close(::open(name.c_str(), O_CREAT | O_WRONLY, 0644));
            }
        }
        QorFtpConnection connection;
        connection.SetUseMlsd(listing.mlsd);
        if (!connection.Login("127.0.0.1", listing.user, listing.password, listing.port, ""))
            return 1;
        auto start = Clock::now();
        const int lines = connection.GetDir("many");
        const double listed = Seconds(start);
        _Qor_Ftp_FileData rec;
        int records = 0;
        start = Clock::now();
        while (connection.GetNextFile(rec, 1))
            ++records;
        const double parsed = Seconds(start);
        std::printf("%-13s %d entries: GetDir %.3f s (%d lines), GetNextFile %.3f s (%d records)\n", listing.name,
                    entries, listed, lines, parsed, records);
        connection.Close();
    }
    return 0;
}
