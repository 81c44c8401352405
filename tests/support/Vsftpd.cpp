#include "Vsftpd.h"

#include "Loopback.h"

#include <chrono>
#include <pwd.h>
#include <sstream>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace tarvo::test {
namespace {

constexpr const char* kVsftpd = "/usr/sbin/vsftpd";

} // namespace

bool Vsftpd::Available(std::string& whyNot)
{
    whyNot = geteuid() != 0 ? "vsftpd needs root"
        : !getpwnam("ftp")  ? "there is no \"ftp\" account for anonymous sessions"
                            : "";
    for (const char* tool : {kVsftpd, "/usr/sbin/useradd", "/usr/sbin/userdel", "/usr/sbin/chpasswd"})
        if (whyNot.empty() && access(tool, X_OK) != 0)
            whyNot = std::string(tool) + " is missing";
    return whyNot.empty();
}

Vsftpd::Vsftpd(VsftpdOptions options)
    : root_(dir_.file("root"))
{
    // Sessions run as the account or as "ftp" and must reach root_; mkdtemp made it 0700.
    if (chmod(dir_.path().c_str(), 0755) != 0 || mkdir(root_.c_str(), 0755) != 0
        || mkdir(dir_.file("empty").c_str(), 0755) != 0 || chown(root_.c_str(), account_.uid(), account_.gid()) != 0)
        throw std::runtime_error("cannot prepare " + dir_.path());
    // The port is only known free until vsftpd binds it; another process may take it first.
    std::string failure;
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (TryStart(options, failure))
            return;
        if (failure.find("bind") == std::string::npos && failure.find("unexpected greeting") == std::string::npos)
            break; // not a lost race for the port: trying again would only fail the same way
    }
    throw std::runtime_error("vsftpd did not start: " + failure);
}

bool Vsftpd::TryStart(const VsftpdOptions& options, std::string& failure)
{
    port_ = FreeLoopbackPort();
    std::ostringstream config;
    config << "listen=YES\nlisten_ipv6=NO\nlisten_address=127.0.0.1\nlisten_port=" << port_ << "\n"
           << "background=NO\n"
           // vsftpd 3.0.3's seccomp filter kills sessions on system calls newer than it knows
           // ("500 OOPS: child died"); per-session namespaces need privileges a container may
           // lack and cost time on every connection.
           << "seccomp_sandbox=NO\nisolate=NO\nisolate_network=NO\n"
           << "secure_chroot_dir=" << dir_.file("empty") << "\n"
           << "write_enable=YES\nchmod_enable=YES\nlocal_umask=022\nfile_open_mode=0666\n"
           << "local_enable=YES\n"
           // Chrooted, so root() shows as "/" as with pyftpdlib. The account owns its home,
           // which vsftpd refuses as a chroot ("500 OOPS: vsftpd: refusing to run with writable
           // root inside chroot()") unless allowed.
           << "chroot_local_user=YES\nallow_writeable_chroot=YES\n"
           << "anonymous_enable=YES\nanon_root=" << root_ << "\nftp_username=ftp\n"
           << "anon_upload_enable=NO\nanon_mkdir_write_enable=NO\nanon_other_write_enable=NO\n"
           // Passive ports as the system hands them out, so parallel servers never meet.
           << "pasv_enable=YES\npasv_min_port=0\npasv_max_port=0\n"
           // Port 20 would be shared between parallel servers; any source port will do.
           << "port_enable=YES\nconnect_from_port_20=NO\n"
           << "accept_timeout=5\nconnect_timeout=5\ndata_connection_timeout=60\nidle_session_timeout=120\n"
           << "pam_service_name=vsftpd\nuserlist_enable=NO\ntcp_wrappers=NO\n"
           << "xferlog_enable=NO\nvsftpd_log_file=" << dir_.file("vsftpd.log") << "\n"
           << "dirmessage_enable=NO\nuse_localtime=NO\n"
           // Not 1 s: tests of a wrong password stay quicker (PAM still adds its own 2 s).
           << "delay_failed_login=0\n";
    if (options.maxClients > 0)
        config << "max_clients=" << options.maxClients << "\n";
    if (!options.tlsCertificate.empty()) {
        // vsftpd 3.0.3's default cipher list (DES-CBC3-SHA) is below OpenSSL 3's security level.
        config << "ssl_enable=YES\nrsa_cert_file=" << options.tlsCertificate
               << "\nrsa_private_key_file=" << options.tlsCertificate
               << "\nssl_ciphers=HIGH\nssl_tlsv1=YES\nssl_sslv2=NO\nssl_sslv3=NO\n"
               << "force_local_logins_ssl=YES\nforce_local_data_ssl=YES\nrequire_ssl_reuse=YES\n"
               << "allow_anon_ssl=YES\nforce_anon_logins_ssl=NO\nforce_anon_data_ssl=NO\n"
               << "implicit_ssl=" << (options.implicitTls ? "YES" : "NO") << "\n";
    }
    const std::string configPath = dir_.file("vsftpd.conf");
    WriteFileBytes(configPath, config.str());
    const std::string log = dir_.file("vsftpd.out");
    WriteFileBytes(log, "");
    std::vector<std::string> argv{kVsftpd, configPath};
    if (options.tls12Only) {
        // vsftpd 3.0.3 has no setting for it; OpenSSL's own configuration caps the version.
        const std::string openssl = dir_.file("openssl.cnf");
        WriteFileBytes(openssl,
                       "openssl_conf = init\n[init]\nssl_conf = ssl\n[ssl]\nsystem_default = tls\n"
                       "[tls]\nMaxProtocol = TLSv1.2\n");
        argv.insert(argv.begin(), {"/usr/bin/env", "OPENSSL_CONF=" + openssl});
    }
    process_ = std::make_unique<ChildProcess>(argv, log);

    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline && process_->Running()) {
        const int probe = ConnectLoopback(port_, 2000);
        if (options.implicitTls && probe >= 0) {
            // The greeting comes only after a handshake: a listener that accepts is enough.
            close(probe);
            return true;
        }
        std::string greeting;
        try {
            greeting = probe >= 0 ? ReceiveLine(probe, 2000) : "";
        } catch (const std::exception&) {
        }
        if (greeting.empty()) {
            if (probe >= 0)
                close(probe);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            continue;
        }
        // vsftpd's own complaint, or someone else took the port before vsftpd could.
        if (greeting.rfind("220", 0) != 0 || greeting.find("vsFTPd") == std::string::npos) {
            failure = greeting.rfind("500 OOPS", 0) == 0 ? greeting : "unexpected greeting: " + greeting;
            close(probe);
            break;
        }
        (void)!send(probe, "QUIT\r\n", 6, MSG_NOSIGNAL);
        WaitClosed(probe, 2000);
        close(probe);
        // vsftpd counts a session until it reaps its process; wait for that so the probe never
        // counts against max_clients in a test.
        auto reaped = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (!ChildrenOf(process_->pid()).empty() && std::chrono::steady_clock::now() < reaped)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        if (process_->Running())
            return true;
    }
    process_.reset();
    if (failure.empty())
        failure = ReadFileBytes(log);
    if (failure.empty())
        failure = "no greeting within 10 s";
    return false;
}

} // namespace tarvo::test
