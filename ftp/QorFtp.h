// QorFtp: the client side of FTP (RFC 959, with RFC 2428 for IPv6) over POSIX sockets.
// One QorFtpConnection is one control connection. Every operation blocks until the server has
// answered, the connection failed, the time-out passed or CancelOperation was called.
#pragma once

#include "QorFtpUi.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#define QORFTP_HIDDEN __attribute__((visibility("hidden")))

// How a connection encrypts (FTP over TLS). The values are stored in settings files: keep them.
enum class QorFtpEncryption : int {
    IfAvailable = 0, // AUTH TLS, and plain FTP only when the server refuses it
    RequireExplicit = 1, // AUTH TLS or no login at all
    RequireImplicit = 2, // TLS from the first byte (usually port 990)
    PlainOnly = 3, // never encrypt
};

namespace qorftp {
struct TlsState;
struct Features;
} // namespace qorftp

// One entry of a Unix long-format listing.
struct QORFTP_EXPORT _Qor_Ftp_FileData {
    std::string Name; // for a link: "name -> target" as listed
    std::string Date; // the three date fields joined by single spaces
    std::uint64_t Size = 0;
    int Type = 0; // 0 file, 1 directory, 2 link, 3 special
    std::string Permissions; // the mode letters without the type letter
    std::string Owner;
    std::string Group;
};

// A control socket; the descriptor can be taken out and put back (GetSocketHandle, AttachSocket).
class QORFTP_EXPORT QorFtpSocket {
public:
    explicit QorFtpSocket(int fd = -1);
    ~QorFtpSocket();
    QorFtpSocket(const QorFtpSocket&) = delete;
    QorFtpSocket& operator=(const QorFtpSocket&) = delete;

    int Handle() const { return m_fd; }
    bool IsValid() const { return m_fd >= 0; }
    // The encryption stays with this object when its descriptor is taken out and put back.
    int Detach();
    void Attach(int fd);
    void CloseHandle();
    qorftp::TlsState* Tls() const { return m_tls.get(); }
    void SetTls(std::unique_ptr<qorftp::TlsState> tls);

private:
    int m_fd;
    std::unique_ptr<qorftp::TlsState> m_tls;
};

class QORFTP_EXPORT QorFtpConnection {
public:
    QorFtpConnection();
    virtual ~QorFtpConnection();
    QorFtpConnection(const QorFtpConnection&) = delete;
    QorFtpConnection& operator=(const QorFtpConnection&) = delete;

    // Connection and control channel
    int Login(std::string host, std::string user, std::string password, unsigned int port, std::string account);
    void Close();
    // Logs in again with the details of the last successful Login, after the server closed the
    // connection (an open one is dropped first, without QUIT), and goes back to the folder it was
    // in or to the nearest parent that still exists. The caller needs no copy of the password.
    int Relogin();
    unsigned long GetError();
    void SetShowError(int show);

    // Directories and listings
    std::string GetCurrentDirectoryA();
    int GetCurrentFtpDirectory(std::string& dir);
    int ChangeDirectory(std::string dir);
    int GetDir(std::string path);
    int GetNextFile(_Qor_Ftp_FileData& rec, int remove);
    int FindFile(std::string path, _Qor_Ftp_FileData& rec);
    int GetFilePermission(std::string path, std::string& permissions);

    // Transfers
    int GetFile(std::string remote, std::string local, std::uint64_t offset, int append);
    int PutFile(std::string local, std::string remote, std::uint64_t offset, int append);

    // Server to server, socket hand-over, cancel
    int GetPassive(std::string& text);
    int FromTo(QorFtpSocket* target, std::string source, std::string destination, int append);
    QorFtpSocket* GetSocket();
    int GetSocketHandle(int& handle);
    int AttachSocket(int handle);
    // The one member meant for another thread. It ends the running call, or the next one when
    // none runs yet; ClearCancel drops a cancel that no call has taken, for an owner that lends
    // the connection on after its own work.
    int CancelOperation();
    void ClearCancel();

    // File management and raw commands
    int ChMod(std::string file, std::string mode);
    int DeleteFileA(std::string file);
    int RemoveDirectoryA(std::string directory);
    int MakeDirectory(std::string directory);
    int Rename(std::string oldName, std::string newName);
    int SendRaw(std::string command, int waitReply, char* unused = nullptr);

    // Settings of ours: passive data connections (PASV, or EPSV on IPv6) instead of PORT/EPRT,
    // the time-out of every wait and of every whole reply in seconds (0 or less: wait without
    // limit; otherwise kept within 1 s to 1 hour), and an interface of this object's own instead
    // of the process-wide one.
    void SetPassive(int passive);
    int GetPassiveMode() const { return m_passive ? 1 : 0; }
    void SetTimeout(int seconds);
    void SetUi(QorFtpUi* ui);
    // Encryption of the next Login. PlainOnly unless set, so that a caller of old hears the
    // same conversation; the program sets each server's own.
    void SetEncryption(QorFtpEncryption mode);
    // The fingerprint of a certificate the user trusted for this server before: a certificate
    // that fails the checks but has it is accepted without a question.
    void SetTrustedFingerprint(std::string fingerprint);
    // After Login: the fingerprint of a certificate the user was asked about and trusted in it;
    // empty when nobody was asked. The program remembers it for the server.
    std::string NewlyTrustedFingerprint() const;
    // "TLSv1.3, TLS_AES_256_GCM_SHA384" while the control connection is encrypted; empty when not.
    std::string EncryptionDescription() const;
    // Whether FromTo can copy to the target's server directly. False when the data of either
    // side is encrypted and the target cannot take the client's part of the data connection's
    // TLS (SSCN): the file must then pass through the program.
    bool CanCopyDirectlyTo(QorFtpSocket* target) const;
    // MLSD listings where the server offers them (the default); off, GetDir always sends LIST.
    void SetUseMlsd(int use);
    // The most lines a listing may hold (10 million unless set, at least 1); GetDir fails on a
    // longer one with a message instead of taking all memory.
    void SetListingLimit(int lines);

private:
    class Lock;
    struct Reply;
    class DataChannel;
    class TransferLoop;

    QORFTP_HIDDEN QorFtpUi& Ui();
    QORFTP_HIDDEN bool IsConnected() const;
    QORFTP_HIDDEN bool CheckConnected();
    QORFTP_HIDDEN int ReadLine(QorFtpSocket* socket, std::string& line, Reply& reply);
    // allLines, when given, receives every line of the reply, each ended by LF.
    QORFTP_HIDDEN int ReadReply(QorFtpSocket* socket, std::string& text, std::string* allLines = nullptr);
    QORFTP_HIDDEN int ReadReply(std::string& text) { return ReadReply(nullptr, text); }
    QORFTP_HIDDEN long long SendAll(QorFtpSocket* socket, const char* bytes, std::size_t length);
    QORFTP_HIDDEN int SendCommand(const std::string& text);
    QORFTP_HIDDEN int SendCommandTo(QorFtpSocket* socket, const std::string& text);
    QORFTP_HIDDEN bool ArgumentIsSafe(const std::string& argument);
    QORFTP_HIDDEN void ShowMessage(int id, const std::string& insert1 = {}, const std::string& insert2 = {});
    QORFTP_HIDDEN void ShowReply(int id, const std::string& insert1, const std::string& reply);
    QORFTP_HIDDEN void ShowSocketError(int error);
    QORFTP_HIDDEN void ShowFileError(int error);
    QORFTP_HIDDEN void LoseConnection(int error);
    QORFTP_HIDDEN int Wait(int fd, short events, int timeoutMs);
    QORFTP_HIDDEN int WaitTimeoutMs() const;
    QORFTP_HIDDEN int RunCommand(const std::string& command, int messageId, const std::string& name);
    QORFTP_HIDDEN void TraceLine(bool sent, const std::string& text);
    QORFTP_HIDDEN bool LearnFeatures();
    QORFTP_HIDDEN int FindInParent(const std::string& path, _Qor_Ftp_FileData& rec);
    QORFTP_HIDDEN int ListInto(const std::string& path, bool mlsd);
    QORFTP_HIDDEN bool TypeBinary();
    QORFTP_HIDDEN bool StartTls(const std::string& host, unsigned port);
    QORFTP_HIDDEN bool ProtectData(const std::string& host);
    QORFTP_HIDDEN bool SecureData(DataChannel& channel);
    QORFTP_HIDDEN void AwaitDataEnd(DataChannel& channel);
    QORFTP_HIDDEN int CopyToTarget(QorFtpSocket* target, const std::string& source, const std::string& destination,
                                   int append);
    QORFTP_HIDDEN bool OpenDataPort(DataChannel& channel);
    QORFTP_HIDDEN bool AcceptData(DataChannel& channel, bool finalReplyCame);
    QORFTP_HIDDEN int ReceiveToFile(DataChannel& channel, const std::string& local, std::uint64_t offset, int append,
                                    std::uint64_t total, std::uint64_t& size);
    QORFTP_HIDDEN int SendFromFile(DataChannel& channel, const std::string& local, std::uint64_t offset);
    QORFTP_HIDDEN int EndTransfer(TransferLoop& loop);
    QORFTP_HIDDEN int ReceiveListing(DataChannel& channel, std::string& lines, std::size_t& count);
    QORFTP_HIDDEN std::string_view CurrentLine() const;
    QORFTP_HIDDEN int PassiveReply(std::string& text);
    QORFTP_HIDDEN void RegisterProgress(QorFtpProgress* progress);

    // Fields in the order the library has always kept them. The lines of the last listing are
    // one string, each line ended by LF (blank lines are not kept), and m_nextLine is where the
    // next one begins: a listing takes little more memory than its own bytes.
    std::string m_pLines;
    std::size_t m_nextLine = 0;
    std::atomic<QorFtpProgress*> m_pProgress{nullptr};
    std::mutex m_progressLock; // CancelOperation must not reach a window that is going away
    unsigned long m_dwError = 0;
    int m_bShowError = 1;
    std::mutex m_pLock;
    std::string m_strHost;
    std::string m_strCurDir;
    std::unique_ptr<QorFtpSocket> m_pSocket;

    bool m_passive = false;
    int m_timeoutSeconds = 60;
    QorFtpEncryption m_encryption = QorFtpEncryption::PlainOnly;
    std::string m_trustedFingerprint;
    std::string m_newlyTrusted;
    std::string m_loginHost; // for the trace before the login has succeeded
    struct LastLogin {
        std::string host, user, password;
        unsigned port = 0;
        std::string account;
    } m_lastLogin; // for Relogin
    std::unique_ptr<qorftp::Features> m_features; // what FEAT said at the login
    bool m_useMlsd = true;
    bool m_listingIsMlsd = false; // how the lines of the last listing are to be read
    int m_listingLimit = 10'000'000;
    QorFtpUi* m_ui = nullptr;
    // Wakes a waiting poll() when CancelOperation is called from another thread.
    int m_wakeFd = -1;
    // TYPE I was accepted in this session: a folder of many small files needs it only once.
    // Anything that may have changed the type since (a raw command, another owner of the
    // socket, a new login) clears it.
    bool m_typeIsBinary = false;
};
