#include "monitor/ftpclient.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QHostAddress>
#include <QHostInfo>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "monitor/core/ftpparse.h"
#include "platform/core/atomicfile.h"

namespace monitor {

namespace {

bool Positive(int code) { return code >= 200 && code < 300; }

constexpr qint64 kControlBuffer = 64 * 1024;
constexpr qint64 kDataBuffer = 1024 * 1024;
constexpr int kDrainPieces = 256;  // of kControlBuffer: 16 MiB
constexpr char kTooMuch[] = "Too long a reply from the server";

// The failure text of a listing past one of its bounds.
std::string ListingStopped(FtpLineSplitter::Passed passed, const ListingBounds& b) {
  switch (passed) {
    case FtpLineSplitter::Passed::Lines:
      return "Listing stopped: more than " + std::to_string(b.lines) + " lines";
    case FtpLineSplitter::Passed::Bytes:
      return "Listing stopped: more than " + std::to_string(b.bytes) + " bytes";
    default:
      return "Listing stopped: a line of more than " + std::to_string(b.lineLength) + " bytes";
  }
}

bool Preliminary(int code) { return code >= 100 && code < 200; }

// A line break would end a command early and start another one of the text's choice.
bool HasLineBreak(const std::string& text) {
  return text.find_first_of(std::string("\r\n\0", 3)) != std::string::npos;
}

// A download's local file: written beside the target under a name of its own, which
// replaces the target only by Commit, so a failed download leaves the target as it was and
// no part of it behind. A file that replaces an existing one takes over its permissions.
class DownloadFile {
 public:
  explicit DownloadFile(const std::string& target) : target_(target) {
    // A short name of our own in the target's folder: it fits whatever name the target has,
    // and the process number keeps two programs' downloads apart.
    static unsigned serial = 0;
    const std::size_t slash = target_.rfind('/');
    const std::string folder =
        slash == std::string::npos ? std::string() : target_.substr(0, slash + 1);
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
      temp_ = folder + ".fernlog-" + std::to_string(::getpid()) + "-" + std::to_string(++serial) +
              ".part";
      fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd_ < 0 && errno != EEXIST) break;
    }
    if (fd_ < 0) {
      error_ = errno;
      return;
    }
    struct stat old {};
    if (::stat(target_.c_str(), &old) == 0 && S_ISREG(old.st_mode))
      ::fchmod(fd_, old.st_mode & 07777);
  }
  ~DownloadFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!committed_ && !temp_.empty()) ::unlink(temp_.c_str());
  }
  DownloadFile(const DownloadFile&) = delete;
  DownloadFile& operator=(const DownloadFile&) = delete;

  bool Opened() const { return fd_ >= 0; }
  // The system's reason for the first failure.
  std::string Error() const { return std::strerror(error_ ? error_ : EIO); }
  std::int64_t Size() const { return size_; }
  bool Write(const char* data, std::size_t n) {
    if (const int err = platform::WriteAll(fd_, std::string_view(data, n))) {
      error_ = err;
      return false;
    }
    size_ += static_cast<std::int64_t>(n);
    return true;
  }
  // With `sync` the bytes are on the disk before the file takes the target's place.
  bool Commit(bool sync) {
    if (sync && ::fdatasync(fd_) != 0) return Failed();
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) return Failed();
    if (::rename(temp_.c_str(), target_.c_str()) != 0) return Failed();
    committed_ = true;
    return true;
  }

 private:
  bool Failed() {
    error_ = errno;
    return false;
  }
  std::string target_, temp_;
  int fd_ = -1;
  int error_ = 0;
  std::int64_t size_ = 0;
  bool committed_ = false;
};

}  // namespace

std::string_view FtpOperationName(int code) {
  static constexpr std::string_view kNames[] = {
#define TK_FTP_NAME(name) #name,
      TK_FTP_OPERATIONS(TK_FTP_NAME)
#undef TK_FTP_NAME
  };
  static_assert(std::size(kNames) == ftpOperationCount);
  if (code < 0 || code >= ftpOperationCount) return {};
  return kNames[code];
}

// Marks the client busy for the length of one operation; a Cancel ends with it.
class TFTPClient::Operation {
 public:
  explicit Operation(TFTPClient& c) : c_(c) { c_.waiting_ = true; }
  ~Operation() {
    c_.waiting_ = false;
    c_.cancelled_ = false;
  }
  Operation(const Operation&) = delete;
  Operation& operator=(const Operation&) = delete;

 private:
  TFTPClient& c_;
};

TFTPClient::TFTPClient(QObject* parent)
    : QObject(parent), socket_(new QTcpSocket(this)), reader_(std::make_unique<FtpReplyReader>()) {
  // The socket holds little of what the server sends: the rest waits in the system's
  // buffers, and a server that floods the connection is slowed down, not stored.
  socket_->setReadBufferSize(kControlBuffer);
  // A file-size limit (ulimit -f) must make a download's write fail like a full disk, not
  // end the program: the kernel's signal for it is ignored, so the write returns EFBIG.
  std::signal(SIGXFSZ, SIG_IGN);
  connect(socket_, &QTcpSocket::readyRead, this, [this] { ReadControl(); });
  connect(socket_, &QTcpSocket::connected, this, [this] { Wake(); });
  connect(socket_, &QTcpSocket::disconnected, this, [this] { Closed(); });
  connect(socket_, &QTcpSocket::errorOccurred, this, [this] { SocketError(); });
}

TFTPClient::~TFTPClient() {
  disconnect(socket_, nullptr, this, nullptr);
  if (socket_->state() == QAbstractSocket::ConnectedState) {
    // Say goodbye without waiting for the answer: nothing may wait in a destructor.
    socket_->write("QUIT\r\n");
    socket_->waitForBytesWritten(1000);
    socket_->disconnectFromHost();
  }
  socket_->abort();
  delete socket_;
  socket_ = nullptr;
  if (loggedIn_ && !announcedDisconnect_) {
    loggedIn_ = false;
    announcedDisconnect_ = true;
    if (OnDisconnect) OnDisconnect();
  }
}

bool TFTPClient::Connected() const {
  return loggedIn_ && socket_->state() == QAbstractSocket::ConnectedState;
}

int TFTPClient::WaitLimit() const { return TimeOut > 0 ? TimeOut : DefaultTimeOut; }

void TFTPClient::RequireLive() const {
  if (shut_) throw FtpCancelled();
  if (!Connected()) throw FtpError("Not Connected");
}

void TFTPClient::RequireIdle() const {
  if (shut_) throw FtpCancelled();
  // A handler started from inside another operation's wait would mix its commands and
  // replies with the running one.
  if (waiting_) throw FtpError("The FTP client is busy with another operation");
}

void TFTPClient::Cancel() {
  if (!waiting_ || cancelled_) return;
  cancelled_ = true;
  cancelClock_.start();
  Wake();
}

void TFTPClient::CancelAll() {
  shut_ = true;
  Cancel();
}

void TFTPClient::CheckArgument(const std::string& text) {
  if (HasLineBreak(text)) throw FtpError("Invalid name: it holds a line break");
}

void TFTPClient::Status(const std::string& text) {
  if (OnStatus) OnStatus(text);
}

void TFTPClient::Wake() {
  progress_ = true;
  if (loop_) loop_->quit();
}

template <class Done>
void TFTPClient::WaitUntil(Done done, const char* what) {
  if (done()) return;
  QElapsedTimer idle;
  idle.start();
  // One loop and one timer for the whole wait: a download wakes it many times.
  QEventLoop loop;
  QTimer timer;
  timer.setSingleShot(true);
  connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
  while (!done()) {
    const qint64 left = WaitLimit() - idle.elapsed();
    if (left <= 0) {
      Abort();
      throw FtpError(std::string("No answer from the server (") + what + ")");
    }
    // A cancelled connect has nothing to finish; a session gets the time to stay in step.
    if (cancelled_ && (!loggedIn_ || cancelClock_.elapsed() >= kCancelMs)) {
      Abort();
      throw FtpCancelled();
    }
    timer.start(static_cast<int>(std::min<qint64>(left, kCheckMs)));
    QEventLoop* outer = loop_;
    loop_ = &loop;
    progress_ = false;
    // Once the application is quitting (Exit closed the window during a transfer), every
    // event loop returns at once: the operation is cancelled, and waits for events
    // directly until it has ended.
    if (loop.exec() < 0) {
      if (!shut_) CancelAll();
      if (!progress_) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    loop_ = outer;
    if (progress_) idle.restart();
  }
}

void TFTPClient::ReadControl() {
  char piece[16384];
  for (qint64 n; (n = socket_->read(piece, sizeof piece)) > 0;)
    reader_->Feed(std::string_view(piece, static_cast<std::size_t>(n)));
  if (reader_->Closing()) Abort();  // "421" while no command waits: the server closes
  Wake();
}

void TFTPClient::Answered() {
  reader_->Idle();
  if (reader_->Closing()) Abort();
}

void TFTPClient::Closed() {
  if (socket_->bytesAvailable() > 0) ReadControl();
  loggedIn_ = false;
  Wake();
  if (!announcedDisconnect_) {
    announcedDisconnect_ = true;
    Status("Disconnected");
    if (OnDisconnect) OnDisconnect();
  }
}

void TFTPClient::SocketError() {
  const auto error = socket_->error();
  // During an operation the operation reports what went wrong; the server closing the
  // connection is no error (OnDisconnect tells it).
  if (!waiting_ && error != QAbstractSocket::RemoteHostClosedError && OnError)
    OnError(static_cast<int>(error), socket_->errorString().toStdString());
  Wake();
}

void TFTPClient::Abort() {
  if (socket_->state() != QAbstractSocket::UnconnectedState) socket_->abort();
  reader_->Clear();
  if (loggedIn_ || !announcedDisconnect_) Closed();
}

void TFTPClient::Lost(const std::string& text) {
  Abort();
  throw FtpError(text);
}

void TFTPClient::Send(const std::string& command) {
  if (Cancelling()) throw FtpCancelled();
  // What the server sent before this command is no answer to it: it is read and dropped
  // first (within a bound: a server that never stops sending gets its command anyway).
  for (int piece = 0; piece < kDrainPieces && socket_->state() == QAbstractSocket::ConnectedState &&
                      socket_->waitForReadyRead(0);
       ++piece)
    ReadControl();
  if (socket_->bytesAvailable() > 0) ReadControl();
  reader_->Expect();
  Write(command);
}

void TFTPClient::Write(const std::string& command) {
  socket_->write(command.data(), static_cast<qint64>(command.size()));
  socket_->write("\r\n", 2);
}

TFTPClient::Reply TFTPClient::Await() {
  WaitUntil(
      [this] {
        return reader_->Pending() || reader_->Overflowed() ||
               socket_->state() != QAbstractSocket::ConnectedState;
      },
      "reply");
  if (reader_->Overflowed()) Lost(kTooMuch);
  if (std::optional<FtpReply> r = reader_->Next()) {
    lastReply_ = r->Text();
    const Reply reply{r->code, lastReply_};
    if (!Preliminary(reply.code)) Answered();
    return reply;
  }
  Lost("Connection closed by the server");
}

TFTPClient::Reply TFTPClient::Command(const std::string& command) {
  Send(command);
  Reply r = Await();
  while (Preliminary(r.code)) r = Await();
  return r;
}

void TFTPClient::Fail(int op, const Reply& reply) {
  if (reply.code >= 500 && reply.code <= 502 && OnUnSupportedFunction) OnUnSupportedFunction(op);
  bool handled = false;
  if (OnFailure) OnFailure(handled, op);
  if (!handled) throw FtpError(reply.text.empty() ? std::string("FTP failure") : reply.text);
}

// ---- connection -------------------------------------------------------------------------

void TFTPClient::Connect() {
  RequireIdle();
  if (socket_->state() != QAbstractSocket::UnconnectedState) {
    if (Connected()) Write("QUIT");
    socket_->flush();
    Abort();
  }
  Operation busy(*this);
  systSent_ = false;
  sizeInPreliminary_ = false;
  sizeRefused_ = false;
  systemType_.clear();
  reader_->Clear();

  const bool viaProxy = !Proxy.empty();
  const std::string target = viaProxy ? Proxy : Host;
  const int port = viaProxy ? ProxyPort : Port;

  // The name first: a host that does not resolve is its own event.
  QHostAddress address;
  if (!address.setAddress(QString::fromStdString(target))) {
    bool invalid = target.empty() || HasLineBreak(target);
    if (!invalid) {
      Status("Resolving host");
      bool looked = false;
      QHostInfo info;
      QObject context;  // no answer reaches this frame once it is gone
      QHostInfo::lookupHost(QString::fromStdString(target), &context, [&](const QHostInfo& i) {
        info = i;
        looked = true;
        Wake();
      });
      WaitUntil([&] { return looked; }, "host name");
      invalid = info.error() != QHostInfo::NoError || info.addresses().isEmpty();
      if (!invalid) {
        address = info.addresses().first();
        for (const QHostAddress& a : info.addresses())
          if (a.protocol() == QAbstractSocket::IPv4Protocol) {
            address = a;  // PORT names IPv4 addresses only
            break;
          }
      }
    }
    if (invalid) {
      bool handled = false;
      if (OnInvalidHost) OnInvalidHost(handled);
      if (!handled) throw FtpError("Invalid Host");
      return;
    }
  }
  if (OnHostResolved) OnHostResolved();

  try {
    CheckArgument(UserID);
    CheckArgument(Password);
    if (port < 1 || port > 65535) throw FtpError("Invalid port " + std::to_string(port));
    Status("Connecting");
    socket_->connectToHost(address, static_cast<quint16>(port));
    WaitUntil(
        [this] {
          const auto s = socket_->state();
          return s == QAbstractSocket::ConnectedState || s == QAbstractSocket::UnconnectedState;
        },
        "connection");
    if (socket_->state() != QAbstractSocket::ConnectedState)
      throw FtpError(socket_->errorString().toStdString());

    Reply r = Await();
    while (Preliminary(r.code)) r = Await();
    if (!Positive(r.code)) throw FtpError(r.text);

    r = Command("USER " + (viaProxy ? UserID + "@" + Host : UserID));
    if (r.code == 331) r = Command("PASS " + Password);
    if (!Positive(r.code)) throw FtpError(r.text);
  } catch (const FtpCancelled&) {
    loggedIn_ = false;
    announcedDisconnect_ = true;
    Abort();
    throw;  // asked for: no failure to report
  } catch (const FtpError&) {
    loggedIn_ = false;
    announcedDisconnect_ = true;  // no disconnect event for a connection that never was
    Abort();
    if (OnConnectionFailed) OnConnectionFailed();
    throw;
  }
  loggedIn_ = true;
  announcedDisconnect_ = false;
  Status("Connected");
  if (OnConnect) OnConnect();
}

void TFTPClient::Disconnect() {
  if (!Connected()) throw FtpError("Not Connected");
  if (waiting_ || shut_) {
    // Called from inside a running operation, or with the program ending: no waiting here;
    // a running operation ends with the closed connection.
    Write("QUIT");
    socket_->flush();
    Abort();
    return;
  }
  {
    Operation busy(*this);
    try {
      Command("QUIT");
    } catch (const FtpError&) {
      // Closed either way.
    }
  }
  if (socket_->state() != QAbstractSocket::UnconnectedState) socket_->disconnectFromHost();
  Abort();
}

// ---- commands ---------------------------------------------------------------------------

void TFTPClient::Simple(int op, const std::string& command) {
  RequireLive();
  RequireIdle();
  Operation busy(*this);
  const Reply r = Command(command);
  if (!Positive(r.code)) {
    Fail(op, r);
    return;
  }
  if (OnSuccess) OnSuccess(op);
}

void TFTPClient::ChangeDir(const std::string& name) {
  CheckArgument(name);
  Simple(ftpChangeDir, "CWD " + name);
}

void TFTPClient::MakeDir(const std::string& name) {
  CheckArgument(name);
  Simple(ftpMakeDir, "MKD " + name);
}

void TFTPClient::Delete(const std::string& name) {
  CheckArgument(name);
  Simple(ftpDelete, "DELE " + name);
}

void TFTPClient::RemoveDir(const std::string& name) {
  CheckArgument(name);
  Simple(ftpRemoveDir, "RMD " + name);
}

void TFTPClient::Rename(const std::string& from, const std::string& to) {
  CheckArgument(from);
  CheckArgument(to);
  RequireLive();
  RequireIdle();
  Operation busy(*this);
  Reply r = Command("RNFR " + from);
  if (r.code != 350 && !Positive(r.code)) {
    Fail(ftpRename, r);
    return;
  }
  r = Command("RNTO " + to);
  if (!Positive(r.code)) {
    Fail(ftpRename, r);
    return;
  }
  if (OnSuccess) OnSuccess(ftpRename);
}

void TFTPClient::TransferModeAscii() {
  RequireLive();
  RequireIdle();
  Operation busy(*this);
  const Reply r = Command("TYPE A");
  if (!Positive(r.code)) throw FtpError(r.text);
}

void TFTPClient::List() {
  RequireLive();
  RequireIdle();
  Operation busy(*this);
  if (!systSent_) {
    systSent_ = true;
    const Reply r = Command("SYST");
    // A server that will not say what it is still lists.
    if (Positive(r.code)) systemType_ = r.text.size() > 4 ? r.text.substr(4) : std::string();
  }
  Transfer(ftpList, "LIST", nullptr, {}, false);
}

void TFTPClient::Download(const std::string& remote, const std::string& localPath,
                          bool syncToDisk) {
  CheckArgument(remote);
  RequireLive();
  RequireIdle();
  Operation busy(*this);
  Transfer(ftpDownload, "RETR " + remote, &localPath, remote, syncToDisk);
}

// ---- data connections -------------------------------------------------------------------

void TFTPClient::Transfer(int op, const std::string& command, const std::string* localPath,
                          const std::string& remote, bool syncToDisk) {
  // The size to hold the download against. Servers that announce it in their "150" reply
  // need no question; for the others "SIZE" asks first (asked before the transfer, a file
  // that grows meanwhile still arrives whole). A server that refuses SIZE for a file it then
  // sends refuses it for every file, and is asked no more on this connection.
  std::int64_t sizeAnswered = -1;
  bool sizeAsked = false;
  if (localPath && !sizeInPreliminary_ && !sizeRefused_) {
    sizeAsked = true;
    const Reply r = Command("SIZE " + remote);
    if (r.code == 213) sizeAnswered = SizeAnswer(r.text).value_or(-1);
  }

  // The download goes to a file of its own beside the target, which replaces the target
  // only once everything arrived.
  std::unique_ptr<DownloadFile> file;
  if (localPath) {
    file = std::make_unique<DownloadFile>(*localPath);
    if (!file->Opened())
      throw FtpError("Cannot create " + MessageName(*localPath) + ": " + file->Error());
  }

  const QHostAddress local = socket_->localAddress();
  bool ipv4 = false;
  const quint32 localV4 = local.toIPv4Address(&ipv4);
  QTcpServer listener;
  if (!ipv4 || !listener.listen(local, 0))
    throw FtpError("Cannot open a data port: " + listener.errorString().toStdString());
  connect(&listener, &QTcpServer::newConnection, this, [this] { Wake(); });

  Reply r = Command("PORT " + PortArgument(localV4, listener.serverPort()));
  if (!Positive(r.code)) {
    Fail(op, r);
    return;
  }
  Send(command);

  const QHostAddress server = socket_->peerAddress();
  QTcpSocket* data = nullptr;  // a child of the listener
  bool started = false;
  bool dataDone = false;
  bool binary = false;
  std::int64_t announced = -1;
  std::int64_t most = -1;  // the bytes the download may bring (-1: no bound)
  std::optional<Reply> final;
  FtpLineSplitter splitter(Listing);
  auto passed = FtpLineSplitter::Passed::None;
  std::vector<std::string> lines;
  bytesRecvd_ = 0;
  bytesTotal_ = 0;

  // A transfer that must end before its data do: the data connection is closed and the
  // server has kCancelMs to answer for the transfer, else the connection is closed too.
  enum class Cut { None, Cancel, TooLong, WriteFailed, ListingBound };
  Cut cut = Cut::None;
  QElapsedTimer cutClock;
  auto cutData = [&](Cut why) {
    if (cut != Cut::None) return;
    cut = why;
    cutClock.start();
    if (data) data->abort();
    listener.close();
    dataDone = true;
  };

  auto pump = [&] {
    while (!data && cut == Cut::None && listener.hasPendingConnections()) {
      QTcpSocket* s = listener.nextPendingConnection();
      if (s->peerAddress().isEqual(server, QHostAddress::TolerantConversion)) {
        data = s;
        s->setReadBufferSize(kDataBuffer);  // the rest waits in the system's buffers
        connect(s, &QTcpSocket::readyRead, this, [this] { Wake(); });
        connect(s, &QTcpSocket::disconnected, this, [this] { Wake(); });
      } else {
        s->abort();  // only the server may deliver the data
      }
    }
    while (std::optional<FtpReply> rr = reader_->Next()) {
      lastReply_ = rr->Text();
      if (!started && Preliminary(rr->code)) {
        started = true;
        announced = AnnouncedSize(lastReply_).value_or(-1);
        binary = AnnouncesBinary(lastReply_);
        bytesTotal_ = announced < 0 ? 0 : announced;
        most = MostDownloadBytes(announced >= 0 ? announced : sizeAnswered,
                                 binary && announced >= 0, UnsizedDownloadLimit);
        if (OnTransactionStart) OnTransactionStart();
      } else if (!final) {
        final = Reply{rr->code, lastReply_};
        Answered();
      }
    }
    if (started && data && !dataDone) {
      const QByteArray chunk = data->readAll();
      if (!chunk.isEmpty()) {
        bytesRecvd_ += chunk.size();
        if (file) {
          if (!file->Write(chunk.constData(), static_cast<std::size_t>(chunk.size())))
            cutData(Cut::WriteFailed);
          else if (most >= 0 && bytesRecvd_ > most)
            cutData(Cut::TooLong);
          if (OnPacketRecvd) OnPacketRecvd(bytesRecvd_, bytesTotal_);
        } else {
          lines.clear();
          passed = splitter.Feed(std::string_view(chunk.constData(), chunk.size()), lines);
          for (const std::string& line : lines)
            if (OnListItem) OnListItem(line);
          if (passed != FtpLineSplitter::Passed::None) cutData(Cut::ListingBound);
        }
      }
      if (!dataDone && data->state() == QAbstractSocket::UnconnectedState &&
          data->bytesAvailable() == 0) {
        dataDone = true;
        if (!file) {
          lines.clear();
          passed = splitter.Finish(lines);
          for (const std::string& line : lines)
            if (OnListItem) OnListItem(line);
          if (passed != FtpLineSplitter::Passed::None) cutData(Cut::ListingBound);  // its last line
        }
      }
    }
  };
  WaitUntil(
      [&] {
        pump();
        if (reader_->Overflowed()) return true;
        const bool live = socket_->state() == QAbstractSocket::ConnectedState;
        if (cut != Cut::None) {
          if (final || !live) return true;
          if (cutClock.elapsed() < kCancelMs) return false;
          Abort();  // the server does not answer for the transfer: out of step
          return true;
        }
        if (final && (!Positive(final->code) || !started || dataDone)) return true;
        if (!final && !live) return true;
        // A Cancel gives data that are arriving the grace to complete, and ends any other wait
        // at once.
        if (Cancelling() && (!started || !data || cancelClock_.elapsed() >= kCancelGraceMs))
          cutData(Cut::Cancel);
        return false;
      },
      "data");

  if (reader_->Overflowed()) Lost(kTooMuch);
  if (cut != Cut::None && !final) Abort();
  switch (cut) {
    case Cut::Cancel: throw FtpCancelled();
    case Cut::WriteFailed:
      throw FtpError("Cannot write " + MessageName(*localPath) + ": " + file->Error());
    case Cut::ListingBound: Fail(op, Reply{451, ListingStopped(passed, Listing)}); return;
    case Cut::TooLong: break;  // reported below, as every download that did not bring its file
    case Cut::None:
      if (!final) Lost("Connection closed by the server");
      break;
  }
  if (final && !Positive(final->code) && cut == Cut::None) {
    Fail(op, *final);
    return;
  }
  // A download that ends without the server ever opening its data transfer (no 1xx reply)
  // has brought no file: keeping an empty one would replace the local copy, and a move
  // would then delete the remote file.
  if (file && !started) {
    Fail(op, Reply{451, "No data transfer was opened: " + final->text});
    return;
  }
  if (file) {
    if (announced >= 0)
      sizeInPreliminary_ = true;
    else if (sizeAsked && sizeAnswered < 0)
      sizeRefused_ = true;  // the file was there
    // A cut transfer (the data connection closed early, then "226") must not replace the
    // local copy: a move would delete the remote original next. Nor may one that brought
    // more than it may.
    const std::int64_t expected = announced >= 0 ? announced : sizeAnswered;
    if (cut == Cut::TooLong && expected < 0) {
      Fail(op, Reply{451, "Download of " + MessageName(remote) + " stopped: more than " +
                              std::to_string(UnsizedDownloadLimit) + " bytes"});
      return;
    }
    if (cut == Cut::TooLong || !DownloadComplete(bytesRecvd_, expected, binary && announced >= 0)) {
      Fail(op, Reply{451, "Incomplete download of " + MessageName(remote) + ": " +
                              std::to_string(bytesRecvd_) + " of " + std::to_string(expected) +
                              " bytes received"});
      return;
    }
    if (file->Size() != bytesRecvd_ || !file->Commit(syncToDisk))
      throw FtpError("Cannot write " + MessageName(*localPath) + ": " + file->Error());
  }
  if (OnTransactionStop) OnTransactionStop();
  if (OnSuccess) OnSuccess(op);
}

}  // namespace monitor
