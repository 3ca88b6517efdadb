#pragma once
// Fernlog's FTP client: plain FTP over one control connection, an active-mode (PORT) data
// connection per listing or download. Every operation blocks its caller until it ends,
// but runs a local event loop meanwhile, so the window keeps painting, timers keep firing
// and buttons (Cancel, Exit) keep working.
//
// Names are the bytes (std::string) the server sends and takes, whatever their encoding;
// messages name them readably (MessageName).
//
// Everything the server sends is bounded: replies (FtpReplyReader), listings (Listing),
// downloads (the size the server gives, else UnsizedDownloadLimit). A reply that arrives
// while no command is outstanding is dropped, never taken as the next command's answer;
// a "421" among such replies closes the connection (OnDisconnect).
//
// Errors: an operation that fails raises FtpError (a platform::Error) after its events:
//   - no live connection: "Not Connected" (no events);
//   - a failure reply (4xx/5xx): OnUnSupportedFunction(code) for 500..502, then
//     OnFailure(handled, code); unless the handler sets handled, FtpError with the
//     server's reply text;
//   - the server stops answering (time-out), closes the connection, or a data connection
//     fails: FtpError with a text that says so (the control connection is then closed);
//   - another operation of this client is still waiting (a handler started from inside
//     the local event loop): FtpError, nothing is sent;
//   - Cancel or CancelAll ended it: FtpCancelled, which no one needs to be told about.
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "monitor/core/ftpparse.h"
#include "platform/messagebox.h"

class QEventLoop;
class QTcpSocket;

namespace monitor {

// The operation codes of OnSuccess, OnFailure and OnUnSupportedFunction, numbered from 0 in
// this order, each named once: the constant is ftp<Name>, and the status texts say <Name>.
// The client reports ChangeDir (0) to Rename (5) and Download (8); the others keep their
// places in the numbering.
// clang-format off
#define TK_FTP_OPERATIONS(X) \
  X(ChangeDir) \
  X(MakeDir) \
  X(Delete) \
  X(RemoveDir) \
  X(List) \
  X(Rename) \
  X(UploadRestore) \
  X(DownloadRestore) \
  X(Download) \
  X(Upload) \
  X(UploadAppend) \
  X(ReInit) \
  X(Allocate) \
  X(NList) \
  X(DoCommand)
// clang-format on

#define TK_FTP_CONSTANT(name) ftp##name,
enum FtpOperation : int { TK_FTP_OPERATIONS(TK_FTP_CONSTANT) ftpOperationCount };
#undef TK_FTP_CONSTANT

// The name of an operation code ("ChangeDir"); empty for a code that names none.
std::string_view FtpOperationName(int code);

class FtpError : public platform::Error {
 public:
  using platform::Error::Error;
};

// An operation ended by Cancel or CancelAll: the user asked for it, no message is due.
class FtpCancelled : public FtpError {
 public:
  FtpCancelled() : FtpError("Cancelled") {}
};

// Runs `f`; an operation of it that was cancelled ends it quietly.
template <class F>
void UnlessCancelled(F&& f) {
  try {
    f();
  } catch (const FtpCancelled&) {
  }
}

class TFTPClient : public QObject {
  Q_OBJECT
 public:
  explicit TFTPClient(QObject* parent = nullptr);
  // With a live connection: sends "QUIT", closes the socket and raises OnDisconnect.
  ~TFTPClient() override;

  // ---- settings, read by Connect ------------------------------------------------------
  std::string Host;
  int Port = 21;
  std::string UserID;
  std::string Password;
  std::string Proxy;  // empty: no proxy; else connect there and log in as user@host
  int ProxyPort = 0;
  // Longest wait in milliseconds for a reply or for data to arrive; 0 takes the default
  // (DefaultTimeOut, 30 s; tests shorten it). A transfer that keeps receiving data never
  // times out.
  int TimeOut = 0;
  static inline int DefaultTimeOut = 30000;
  // The most one listing may bring; past it the listing stops with a failure that says so
  // (what arrived until then has been reported). Tests lower it.
  ListingBounds Listing;
  // The most a download of unknown size may bring (tests lower it).
  std::int64_t UnsizedDownloadLimit = kMostUnsizedDownload;

  // Ends the running operation within a second, whatever it waits for; nothing when none
  // runs. A download that completes within half a second is kept; otherwise its data
  // connection is closed, the local file stays as it was, and the operation raises
  // FtpCancelled. The connection stays when the server answers in time, else it is closed.
  // No command is sent once Cancel is called; an operation that ends otherwise keeps its
  // result.
  void Cancel();
  // The program is ending (Exit, or the application quitting while an operation waits):
  // Cancel, and every later operation raises FtpCancelled unsent.
  void CancelAll();

  // True while the control connection is up and logged in.
  bool Connected() const;

  // ---- operations (each blocks until it ends; see the error rules above) ----------------
  // Resolves the host, connects, reads the greeting, "USER" and, on 331, "PASS".
  // A host that does not resolve: OnInvalidHost(handled), then FtpError "Invalid Host"
  // unless handled. A refused connection, a refused greeting or login, or a time-out:
  // OnConnectionFailed, then FtpError. Success: OnConnect. A live connection is closed
  // first.
  void Connect();
  // "QUIT", close, OnDisconnect. Without a live connection: FtpError "Not Connected".
  void Disconnect();
  void ChangeDir(const std::string& name);                      // "CWD "
  void MakeDir(const std::string& name);                        // "MKD "
  void Delete(const std::string& name);                         // "DELE "
  void RemoveDir(const std::string& name);                      // "RMD "
  void Rename(const std::string& from, const std::string& to);  // "RNFR ", "RNTO "
  // "SYST" before the first listing of a connection, then "PORT" and "LIST": one
  // OnListItem per received line (line end removed, empty lines included), between
  // OnTransactionStart and OnTransactionStop, then OnSuccess(ftpList). A listing past one
  // of the Listing bounds: its data connection is closed, then the failure events and
  // FtpError "Listing stopped: more than <n> lines" (or "bytes", or "Listing stopped: a
  // line of more than <n> bytes").
  void List();
  // "PORT", "RETR " + remote: the bytes go to localPath as received. The local file is
  // replaced only when the whole download succeeded; a failed or cancelled download leaves
  // an existing local file as it was. OnPacketRecvd while data arrive.
  // Whole means as many bytes as the server gave for the file: the size in its "150"
  // reply, else its answer to "SIZE" (asked first, until the server shows it announces the
  // size or answers no SIZE); exactly that many in a "BINARY mode" transfer, at least that
  // many otherwise. Fewer: the failure events and FtpError "Incomplete download of <name>:
  // <n> of <m> bytes received". The same as soon as a transfer brings more than it may: more
  // than that many bytes in BINARY mode, more than twice that many and a MiB otherwise (a
  // server that never stops sending). With no size given, more than UnsizedDownloadLimit
  // (the largest file the monitor loads): FtpError "Download of <name> stopped: more than
  // <n> bytes". A failed local write ends the transfer at once: FtpError "Cannot write
  // <path>: " and the system's reason. Nothing of a failed download stays on the disk.
  // With syncToDisk the file is on the disk before it replaces the local one (a move deletes
  // the remote file next); a copy leaves the original on the server and need not wait.
  void Download(const std::string& remote, const std::string& localPath, bool syncToDisk = true);
  // "TYPE A" (no operation code, no events; a failure reply raises FtpError).
  void TransferModeAscii();

  // The server's answer to "SYST" (empty before the first listing of a connection).
  const std::string& SystemType() const { return systemType_; }
  // During a download: bytes received so far and the size the server announced in its
  // "150 ... (n bytes)" reply (0 when it announced none).
  std::int64_t BytesRecvd() const { return bytesRecvd_; }
  std::int64_t BytesTotal() const { return bytesTotal_; }
  // The last reply's text (its lines joined by "\r\n").
  const std::string& LastReply() const { return lastReply_; }

  // ---- events (empty functions are skipped) --------------------------------------------
  std::function<void(int code)> OnSuccess;
  std::function<void(bool& handled, int code)> OnFailure;
  std::function<void(int code)> OnUnSupportedFunction;
  std::function<void()> OnConnect;
  std::function<void()> OnDisconnect;  // once per connection that ends, for any reason
  std::function<void()> OnTransactionStart;
  std::function<void()> OnTransactionStop;
  std::function<void(std::int64_t received, std::int64_t total)> OnPacketRecvd;
  std::function<void()> OnHostResolved;
  std::function<void(bool& handled)> OnInvalidHost;
  std::function<void()> OnConnectionFailed;
  // A socket error on the control connection while no operation runs (the server closing
  // the connection is not an error: Connected() turns false and OnDisconnect follows).
  std::function<void(int number, const std::string& text)> OnError;
  std::function<void(const std::string& line)> OnListItem;
  std::function<void(const std::string& text)> OnStatus;

 private:
  struct Reply {
    int code = 0;
    std::string text;
  };
  class Operation;

  void RequireLive() const;
  void RequireIdle() const;
  int WaitLimit() const;
  // Runs the event loop until done() holds, looking at it at least every kCheckMs; a wait of
  // WaitLimit() without progress (bytes or connection events) closes the connection and
  // raises a time-out. A Cancel not done with after kCancelMs (at once while connecting)
  // closes the connection and raises FtpCancelled.
  template <class Done>
  void WaitUntil(Done done, const char* what);
  static constexpr int kCheckMs = 100;
  static constexpr int kCancelMs = 1000;
  static constexpr int kCancelGraceMs = 500;  // a running download may still complete
  bool Cancelling() const { return cancelled_ || shut_; }
  // Some event arrived: counts as progress and lets the waiting loop look again.
  void Wake();
  // Sends a command; raises FtpCancelled instead once the operation is cancelled.
  void Send(const std::string& command);
  void Write(const std::string& command);
  Reply Await();
  Reply Command(const std::string& command);
  // Raises the failure unless OnFailure marks it handled; then it returns.
  void Fail(int op, const Reply& reply);
  [[noreturn]] void Lost(const std::string& text);
  void Simple(int op, const std::string& command);
  // The data connection's part of List and Download (the caller holds the Operation).
  void Transfer(int op, const std::string& command, const std::string* localPath,
                const std::string& remote, bool syncToDisk);
  void ReadControl();
  // The command has its answer: later replies are dropped until the next command, and a
  // "421" among them closes the connection.
  void Answered();
  void Abort();
  void Closed();
  void SocketError();
  void Status(const std::string& text);
  static void CheckArgument(const std::string& text);

  QTcpSocket* socket_ = nullptr;
  std::unique_ptr<FtpReplyReader> reader_;
  bool loggedIn_ = false;
  bool announcedDisconnect_ = true;
  bool waiting_ = false;
  bool systSent_ = false;
  bool sizeInPreliminary_ = false;  // this server's "150" replies give the file's size
  bool sizeRefused_ = false;        // this server answers no "SIZE"
  bool progress_ = false;
  bool cancelled_ = false;     // the running operation is to end (Cancel)
  bool shut_ = false;          // every operation is to end (CancelAll)
  QElapsedTimer cancelClock_;  // runs since Cancel
  QEventLoop* loop_ = nullptr;
  std::string systemType_;
  std::string lastReply_;
  std::int64_t bytesRecvd_ = 0;
  std::int64_t bytesTotal_ = 0;
};

}  // namespace monitor
