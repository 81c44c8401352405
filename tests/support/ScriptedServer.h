#pragma once

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tarvo::test {

// A tiny FTP server of our own on 127.0.0.1 that plays an exact script, for replies real
// servers will not give on demand. Build the script, then Start(): the steps run in order, on a
// thread, on the first control connection accepted. Reads, accepts and transfers give up after
// 5 s, so a broken test fails instead of hanging; destruction takes well under a second
// whatever the script is doing. After the last step the connection stays open, and lines still
// arriving are recorded, until Close, Hang or destruction.
class ScriptedServer {
public:
    ScriptedServer(); // listens at once, so port() is known before Start(); throws on failure
    ~ScriptedServer();
    ScriptedServer(const ScriptedServer&) = delete;
    ScriptedServer& operator=(const ScriptedServer&) = delete;

    unsigned port() const { return port_; }

    // Steps (add them before Start()).
    ScriptedServer& Send(std::string raw) { return Add(Kind::Send, std::move(raw)); } // include "\r\n"
    // One line, which must start with prefix (any case).
    ScriptedServer& Expect(std::string prefix) { return Add(Kind::Expect, std::move(prefix)); }
    // An ordinary login after the greeting: USER, then PASS, both accepted, and FEAT refused
    // (a server of the oldest kind).
    ScriptedServer& LogIn()
    {
        return Expect("USER").Send("331 password\r\n").Expect("PASS").Send("230 in\r\n").RefuseFeat();
    }
    ScriptedServer& RefuseFeat() { return Expect("FEAT").Send("500 FEAT not understood\r\n"); }
    // Opens a data listener on 127.0.0.1 and announces its real port:
    // "227 Entering Passive Mode (<shownAddress>,p1,p2)\r\n".
    ScriptedServer& SendPasv(std::string shownAddress = "127,0,0,1") { return Add(Kind::SendPasv, shownAddress); }
    // One data connection: accepted on the listener of the last SendPasv (used once), else made
    // to the port of the last PORT line received (127.0.0.1 only).
    ScriptedServer& DataSend(std::string bytes) { return Add(Kind::DataSend, std::move(bytes)); } // then closes
    ScriptedServer& DataReceive() { return Add(Kind::DataReceive); } // until EOF, see DataReceived()
    // As DataSend to the last PORT, but from another loopback address ("127.0.0.2"): a stranger
    // that the client must turn away.
    ScriptedServer& DataSendFrom(std::string source, std::string bytes)
    {
        Add(Kind::DataSend, std::move(bytes));
        steps_.back().from = std::move(source);
        return *this;
    }
    ScriptedServer& Wait(int ms) { return Add(Kind::Wait, {}, ms); }
    ScriptedServer& Close() { return Add(Kind::Close); } // closes the control connection
    ScriptedServer& Hang() { return Add(Kind::Hang); } // stops reading and answering; stays open

    void Start();
    // True once every step has run; false on timeout or when the script broke off.
    bool WaitDone(int timeoutMs);
    // Every line received, in order, without CR LF.
    std::vector<std::string> Received() const { return Locked(received_); }
    // Failed expectations, data failures, timeouts; empty when all went as scripted.
    std::vector<std::string> Mismatches() const { return Locked(mismatches_); }
    // Everything the DataReceive steps received, one after the other.
    std::string DataReceived() const { return Locked(dataReceived_); }

private:
    enum class Kind { Send, Expect, SendPasv, DataSend, DataReceive, Wait, Close, Hang };
    struct Step {
        Kind kind;
        std::string text;
        int ms = 0;
        std::string from{}; // DataSendFrom's source address
    };
    enum class Io { Ok, Timeout, Closed, Failed, Stopped };

    template <typename T> T Locked(const T& value) const
    {
        std::lock_guard lock(mutex_);
        return value;
    }
    ScriptedServer& Add(Kind kind, std::string text = {}, int ms = 0);
    void Run();
    bool RunStep(const Step& step); // false: the script cannot go on
    Io WaitFor(int fd, short events, int timeoutMs);
    Io Receive(int fd, std::string& into);
    Io ReadLine(std::string& line);
    Io SendAll(int fd, const std::string& data);
    int OpenDataConnection(const std::string& from);
    void Transfer(const Step& step);
    void Record(const std::string& line);
    void Mismatch(const std::string& what);
    void Finish(bool completed);

    static constexpr int kTimeoutMs = 5000;
    std::vector<Step> steps_;
    bool started_ = false;
    unsigned port_ = 0;

    // Used by the server thread only, once started.
    int listenFd_ = -1;
    int controlFd_ = -1;
    int passiveFd_ = -1;
    unsigned activePort_ = 0; // of the last PORT line; 0: none
    int wake_[2] = {-1, -1}; // written to by the destructor to stop the thread
    bool stopping_ = false;
    std::string input_;
    std::thread thread_;

    mutable std::mutex mutex_;
    std::condition_variable finishedChanged_;
    bool finished_ = false;
    bool completed_ = false;
    std::vector<std::string> received_;
    std::vector<std::string> mismatches_;
    std::string dataReceived_;
};

} // namespace tarvo::test
