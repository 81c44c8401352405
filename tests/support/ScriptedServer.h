#pragma once

#include <condition_variable>
#include <mutex>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <vector>

namespace tarvo::test {

// A tiny FTP server of our own on 127.0.0.1 that plays an exact script, for replies real
// servers will not give on demand. Build the script, then Start(): the steps run in order,
// on a thread, on the first control connection accepted. Reads, accepts and transfers time
// out (SetTimeout, 5 s by default) so a broken test fails instead of hanging; destruction
// takes well under a second whatever the script is doing. After the last step the
// connection stays open, and lines still arriving are recorded, until Close, Hang or
// destruction.
class ScriptedServer {
public:
  ScriptedServer();  // listens at once, so port() is known before Start(); throws on failure
  ~ScriptedServer();
  ScriptedServer(const ScriptedServer&) = delete;
  ScriptedServer& operator=(const ScriptedServer&) = delete;

  unsigned port() const { return port_; }

  // Steps (add them before Start()).
  ScriptedServer& Send(std::string raw);       // bytes exactly as given; include "\r\n"
  ScriptedServer& Expect(std::string prefix);  // one line, must start with prefix (any case)
  ScriptedServer& ExpectAny();                 // one line, whatever it is
  // Opens a data listener on 127.0.0.1:0 and announces its real port:
  // "227 Entering Passive Mode (<shownAddress>,p1,p2)\r\n".
  ScriptedServer& SendPasv(std::string shownAddress = "127,0,0,1");
  ScriptedServer& SendEpsv();  // "229 Entering Extended Passive Mode (|||port|)\r\n"
  // One data connection: accepted on the listener of the last SendPasv/SendEpsv (used once),
  // else connected to the address of the last PORT or EPRT line received (loopback only).
  ScriptedServer& DataSend(std::string bytes);  // sends, then closes
  ScriptedServer& DataReceive();                // reads until EOF, see DataReceived()
  ScriptedServer& Wait(int ms);
  ScriptedServer& Close();  // closes the control connection
  ScriptedServer& Hang();   // stops reading and answering; the connection stays open

  // Not a step: the limit for accepting and for each read or transfer (default 5000 ms).
  ScriptedServer& SetTimeout(int ms);

  void Start();
  // True once every step has run; false on timeout or when the script broke off.
  bool WaitDone(int timeoutMs);
  // Every line received, in order, without CR LF.
  std::vector<std::string> Received() const;
  // Failed expectations, data failures, timeouts; empty when all went as scripted.
  std::vector<std::string> Mismatches() const;
  // Everything the DataReceive steps received, one after the other.
  std::string DataReceived() const;

private:
  enum class Kind { Send, Expect, ExpectAny, SendPasv, SendEpsv, DataSend, DataReceive, Wait, Close, Hang };
  struct Step {
    Kind kind;
    std::string text;
    int ms = 0;
  };
  enum class Io { Ok, Timeout, Closed, Failed, Stopped };

  ScriptedServer& Add(Step step);
  void Run();
  bool RunStep(const Step& step);  // false: the script cannot go on
  Io WaitFor(int fd, short events, int timeoutMs);
  Io ReadLine(std::string& line);
  Io SendAll(int fd, const std::string& data);
  bool OpenPassive(unsigned& port);
  int OpenDataConnection();
  void Transfer(const Step& step);
  void Record(const std::string& line);
  void NoteActiveAddress(const std::string& line);
  void Mismatch(const std::string& what);
  void Finish(bool completed);

  std::vector<Step> steps_;
  bool started_ = false;
  int timeoutMs_ = 5000;
  unsigned port_ = 0;

  // Used by the server thread only, once started.
  int listenFd_ = -1;
  int controlFd_ = -1;
  int passiveFd_ = -1;
  int wake_[2] = {-1, -1};  // written to by the destructor to stop the thread
  bool stopping_ = false;
  std::string input_;
  sockaddr_storage active_{};
  socklen_t activeLength_ = 0;
  std::thread thread_;

  mutable std::mutex mutex_;
  std::condition_variable finishedChanged_;
  bool finished_ = false;
  bool completed_ = false;
  std::vector<std::string> received_;
  std::vector<std::string> mismatches_;
  std::string dataReceived_;
};

}  // namespace tarvo::test
