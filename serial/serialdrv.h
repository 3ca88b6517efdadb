#pragma once
// TSerialPortDriver: one serial port, opened with its line settings, written with a
// time-out, and polled on a timer; every poll tick that finds bytes hands them to the owner.
#include <QObject>
#include <cstdint>
#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

class QTimer;

namespace serial {

enum TPortNumber : int {
  pnCustom,
  pnCOM1,
  pnCOM2,
  pnCOM3,
  pnCOM4,
  pnCOM5,
  pnCOM6,
  pnCOM7,
  pnCOM8,
  pnCOM9,
  pnCOM10,
  pnCOM11,
  pnCOM12,
  pnCOM13,
  pnCOM14,
  pnCOM15,
  pnCOM16
};
enum TBaudRate : int {
  brCustom,
  br110,
  br300,
  br600,
  br1200,
  br2400,
  br4800,
  br9600,
  br14400,
  br19200,
  br38400,
  br56000,
  br57600,
  br115200,
  br128000,
  br256000
};
enum TDataBits : int { db5BITS, db6BITS, db7BITS, db8BITS };
enum TStopBits : int { sb1BITS, sb1HALFBITS, sb2BITS };
enum TParity : int { ptNONE, ptODD, ptEVEN, ptMARK, ptSPACE };
enum THwFlowControl : int { hfNONE, hfNONERTSON, hfRTSCTS };
enum TSwFlowControl : int { sfNONE, sfXONXOFF };
enum TPacketMode : int { pmDiscard, pmPass };

// Modem line bits of GetModemLines.
enum : unsigned {
  kLineCTS = 1u << 0,
  kLineDSR = 1u << 1,
  kLineRING = 1u << 2,
  kLineRLSD = 1u << 3
};

class TSerialPortDriver;
// The pointer is the driver's receive buffer, valid only during the call.
using TReceiveDataEvent =
    std::function<void(TSerialPortDriver* Sender, const void* DataPtr, std::uint32_t DataSize)>;
using TReceivePacketEvent =
    std::function<void(TSerialPortDriver* Sender, const void* Packet, std::uint32_t DataSize)>;
// The line failed under an open port (hung up, the device gone): the port is closed already.
using TLineLostEvent = std::function<void(TSerialPortDriver* Sender)>;

// Rate in bits per second of a table entry; 0 for brCustom.
std::uint32_t BaudRateValueOf(TBaudRate rate);
// Milliseconds that `count` bytes take at ten bits per byte, rounded half to even.
int TransferTimeMs(std::uint32_t bitsPerSecond, std::uint32_t count);
// Platform tag and version of the running system (see the definitions for their Linux meaning).
std::string GetPlatformTag();
std::uint32_t GetOsVersion();

// The folder of the UUCP lock files by which Linux serial programs share ports, /var/lock.
// Tests point it at a folder of their own.
const std::string& LockFolder();
void SetLockFolder(const std::string& folder);
// The PID that the content of a lock file names, 0 when it names none: a file of exactly four
// bytes holds a binary PID in host order; otherwise ten ASCII digits after leading blanks,
// alone on their line or followed by a blank and more text. Pass the whole file's content
// (a longer file may be cut after its first line).
pid_t LockFilePid(const std::string& bytes);
// The lock file of a device: "LCK.." and the base name of the device the path leads to.
std::string LockFileOf(const std::string& device);

// Why the last Connect of a driver failed, as the system told it.
struct TOpenFailure {
  enum Kind {
    kNone,      // the last Connect succeeded, or none was made
    kSystem,    // the device could not be opened: `error`
    kLocked,    // a lock file names a live process (`holder`), or no process that can be read
    kHeld,      // another program has the device open for itself (`holder` when found)
    kSettings,  // the device took no line settings (`error`; ENOTTY: it is no serial line)
  };
  Kind kind = kNone;
  int error = 0;
  std::string device;         // the path opened, made absolute
  std::string linkTarget;     // where the device path leads when it is a link, else empty
  std::string lockFile;       // kLocked: the lock file
  pid_t holder = 0;           // the holding process, 0 when unknown
  std::string holderName;     // its program name, empty when unknown
  std::string group;          // kSystem with EACCES: the group that owns the device
  bool groupMayOpen = false;  // that group may read and write the device
  std::string owner;          // the user who owns the device
};

// One line for the user: the device (and, for a link, where it points), the reason in plain
// words and what to do about it. Empty for kNone.
std::string OpenFailureLine(const TOpenFailure& failure);

class TSerialPortDriver : public QObject {
  Q_OBJECT
 public:
  explicit TSerialPortDriver(QObject* owner = nullptr);
  ~TSerialPortDriver() override;

  bool Connect();
  void Disconnect();
  bool Connected() const { return fd_ >= 0; }
  bool ApplyLineSettings();
  unsigned GetModemLines() const;
  bool PurgeBuffers(bool input, bool output);
  std::uint16_t FreeOutputSpace() const;
  std::uint32_t SendDataTimed(const void* data, std::uint32_t count, std::uint32_t timeoutMs);
  std::uint32_t SendData(const void* data, std::uint32_t count);
  bool SendByte(std::uint8_t value);

  // Published properties: a getter and a setter that keeps the setter rules.
  TPortNumber Port() const { return port_; }
  void SetPort(TPortNumber value);
  const std::string& PortName() const { return portName_; }
  void SetPortName(const std::string& value);
  TBaudRate BaudRate() const { return baudRate_; }
  void SetBaudRate(TBaudRate value);
  std::uint32_t BaudRateValue() const { return baudRateValue_; }
  void SetBaudRateValue(std::uint32_t value);
  TDataBits DataBits() const { return dataBits_; }
  void SetDataBits(TDataBits value);
  TStopBits StopBits() const { return stopBits_; }
  void SetStopBits(TStopBits value);
  TParity Parity() const { return parity_; }
  void SetParity(TParity value);
  THwFlowControl HwFlow() const { return hwFlow_; }
  void SetHwFlow(THwFlowControl value);
  TSwFlowControl SwFlow() const { return swFlow_; }
  void SetSwFlow(TSwFlowControl value);
  std::uint32_t InBufSize() const { return inBufSize_; }
  void SetInBufSize(std::uint32_t value);
  std::uint32_t OutBufSize() const { return outBufSize_; }
  void SetOutBufSize(std::uint32_t value);
  std::int16_t PacketSize() const { return packetSize_; }
  void SetPacketSize(std::int16_t value);
  int PacketTimeout() const { return packetTimeout_; }
  void SetPacketTimeout(int value);
  TPacketMode PacketMode() const { return packetMode_; }
  void SetPacketMode(TPacketMode value) { packetMode_ = value; }
  std::uint16_t PollingDelay() const { return pollingDelay_; }
  void SetPollingDelay(std::uint16_t value);
  bool EnableDTROnOpen() const { return enableDTROnOpen_; }
  void SetEnableDTROnOpen(bool value) { enableDTROnOpen_ = value; }
  std::uint16_t OutputTimeout() const { return outputTimeout_; }
  void SetOutputTimeout(std::uint16_t value) { outputTimeout_ = value; }
  std::uint32_t InputTimeout() const { return inputTimeout_; }
  void SetInputTimeout(std::uint32_t value) { inputTimeout_ = value; }
  bool CheckLineStatus() const { return checkLineStatus_; }
  void SetCheckLineStatus(bool value) { checkLineStatus_ = value; }

  TReceiveDataEvent OnReceiveData;
  TReceivePacketEvent OnReceivePacket;
  // Raised once when a write, a poll or a queue count finds the line failed (EIO, hang-up,
  // the device gone). The driver has closed the port and dropped its lock by then; Connect
  // opens it again from its name.
  TLineLostEvent OnLineLost;
  // The port was closed because its line failed; false again after the next Connect.
  bool Lost() const { return lost_; }

  // The poll tick, as the timer runs it; tests may call it directly.
  void PollTick();
  // Why the last Connect failed (kNone after a successful one).
  const TOpenFailure& LastOpenFailure() const { return openFailure_; }
  // The device actually opened by the last successful Connect (after path resolution).
  const std::string& OpenedDevice() const { return openedDevice_; }
  // The lock file this driver holds while connected; empty when it holds none (the lock
  // folder could not be written).
  const std::string& HeldLock() const { return lock_; }
  // The poll timer, for inspection.
  const QTimer* PollTimer() const { return timer_; }
  // Calls of write() on the line so far, for inspection (a failed line takes no more).
  std::uint64_t WriteAttempts() const { return writeAttempts_; }
  // The XON/XOFF thresholds worked out by the last ApplyLineSettings (the kernel keeps its
  // own; kept so the rule stays visible).
  std::uint32_t XonLimit() const { return xonLimit_; }

 private:
  int fd_ = -1;
  TPortNumber port_ = pnCOM2;
  std::string portName_ = "\\\\.\\COM2";
  TBaudRate baudRate_ = br9600;
  std::uint32_t baudRateValue_ = 9600;
  TDataBits dataBits_ = db8BITS;
  TStopBits stopBits_ = sb1BITS;
  TParity parity_ = ptNONE;
  THwFlowControl hwFlow_ = hfNONERTSON;
  TSwFlowControl swFlow_ = sfNONE;
  std::uint32_t inBufSize_ = 2048;
  std::uint32_t outBufSize_ = 2048;
  std::int16_t packetSize_ = -1;
  int packetTimeout_ = -1;
  TPacketMode packetMode_ = pmDiscard;
  std::uint16_t pollingDelay_ = 50;
  bool enableDTROnOpen_ = true;
  std::uint16_t outputTimeout_ = 500;
  std::uint32_t inputTimeout_ = 200;
  bool checkLineStatus_ = false;
  QTimer* timer_ = nullptr;
  std::vector<std::uint8_t> receiveBuffer_;
  std::uint32_t packetStartTime_ = 0xFFFFFFFFu;  // -1: no partial packet pending
  int pollPauseCount_ = 0;
  std::string openedDevice_;
  std::string lock_;
  TOpenFailure openFailure_;
  std::uint32_t xonLimit_ = 0;
  int eventDepth_ = 0;  // receive events in progress (a handler may run a nested event loop)
  bool lost_ = false;
  std::uint64_t writeAttempts_ = 0;
  void RaiseData(const std::uint8_t* data, std::uint32_t size);
  void RaisePacket(const std::uint8_t* data, std::uint32_t size);
  long ReadInto(std::uint8_t* buffer, std::uint32_t size);
  void DropLock();
  // Room left in the output queue; false when the queue can't be counted.
  bool FreeSpace(std::uint16_t& space) const;
  // Polls for `events` up to `waitMs`; true when the descriptor reports a hang-up or an error.
  bool HungUp(short events, int waitMs) const;
  // Closes a port whose line failed and tells the owner.
  void LoseLine();
  // Records why Connect fails; returns false for Connect to return.
  bool Refuse(TOpenFailure::Kind kind, int error, const std::string& device,
              const std::string& lock = {});
};

}  // namespace serial
