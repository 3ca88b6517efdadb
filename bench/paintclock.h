#pragma once
// The clock of the window benchmarks: an application object that notes when a frame of a
// window has been painted, so a benchmark sees what the user sees without touching the
// program's own code. A frame is one Expose or UpdateRequest during which widgets were
// painted; its time is taken when the event returns, after the backing store was flushed
// to the X server.
//
// Times are CLOCK_MONOTONIC nanoseconds, the clock the driver (bench/run.py) reads just
// before it starts the process; figures go to stdout as "key value" lines.
#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace benchclock {

inline std::int64_t NowNs() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<std::int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

// CPU time of the whole process: what a step costs apart from other processes' load.
inline std::int64_t CpuNs() {
  timespec t;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<std::int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

// A field of /proc/self/status in kB ("VmRSS", "VmHWM").
inline long StatusKb(const char* key) {
  std::ifstream in("/proc/self/status");
  std::string line;
  const std::string prefix = std::string(key) + ":";
  while (std::getline(in, line)) {
    if (line.compare(0, prefix.size(), prefix) == 0) return std::stol(line.substr(prefix.size()));
  }
  return 0;
}
// Lowers the peak resident size to the present one, so a later VmHWM is the step's peak.
inline void ResetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

inline void Report(const char* key, long long value) {
  std::printf("%s %lld\n", key, value);
  std::fflush(stdout);
}

class ClockApp : public QApplication {
 public:
  using QApplication::QApplication;

  // Widgets whose paint a step waits for (a chart's viewport, the table's viewport).
  void Watch(QWidget* w) { watched_.push_back({w, false}); }
  // Forgets what was painted so far: the next frames are the step's.
  void StartStep() {
    for (auto& w : watched_) w.painted = false;
    lastWatchedFrame_ = 0;
    stepStartCpu_ = CpuNs();
    stepStart_ = NowNs();
  }
  bool AllWatchedPainted() const {
    for (const auto& w : watched_)
      if (!w.painted) return false;
    return true;
  }
  std::int64_t FirstFrame() const { return firstFrame_; }
  std::int64_t LastFrame() const { return lastFrame_; }
  // The end of the last frame of this step that painted a watched widget (0: none yet).
  std::int64_t LastWatchedFrame() const { return lastWatchedFrame_; }
  std::int64_t StepStart() const { return stepStart_; }
  // CPU time spent from the step's start to its last watched frame.
  std::int64_t StepCpu() const { return lastWatchedCpu_ - stepStartCpu_; }

  // Calls `done` once no frame has been painted for `quietMs` and `ready` holds; gives up
  // after `limitMs` (then `done` runs anyway, and the figures show it).
  void WhenSettled(int quietMs, std::function<bool()> ready, std::function<void()> done,
                   int limitMs = 20000) {
    auto* poll = new QTimer(this);
    const std::int64_t begin = NowNs();
    connect(poll, &QTimer::timeout, this, [=, this] {
      const std::int64_t now = NowNs();
      const bool quiet = now - std::max(lastFrame_, begin) >= quietMs * 1000000LL;
      if ((quiet && ready()) || now - begin > limitMs * 1000000LL) {
        poll->stop();
        poll->deleteLater();
        done();
      }
    });
    poll->start(5);
  }

  bool notify(QObject* receiver, QEvent* event) override {
    const QEvent::Type type = event->type();
    if (type == QEvent::Paint) {
      ++paints_;
      for (auto& w : watched_) {
        if (w.widget == receiver) {
          w.painted = true;
          ++watchedPaints_;
        }
      }
    }
    const bool frame = type == QEvent::UpdateRequest || type == QEvent::Expose;
    const long long paints = paints_, watched = watchedPaints_;
    const bool result = QApplication::notify(receiver, event);
    if (frame && paints_ != paints) {
      const std::int64_t now = NowNs();
      if (firstFrame_ == 0) firstFrame_ = now;
      lastFrame_ = now;
      if (watchedPaints_ != watched) {
        lastWatchedFrame_ = now;
        lastWatchedCpu_ = CpuNs();
      }
    }
    return result;
  }

 private:
  struct Watched {
    QWidget* widget;
    bool painted;
  };
  std::vector<Watched> watched_;
  long long paints_ = 0;
  long long watchedPaints_ = 0;
  std::int64_t firstFrame_ = 0;
  std::int64_t lastFrame_ = 0;
  std::int64_t lastWatchedFrame_ = 0;
  std::int64_t stepStart_ = 0;
  std::int64_t stepStartCpu_ = 0;
  std::int64_t lastWatchedCpu_ = 0;
};

// The figures of a start: its first frame, and peak memory once the window has settled.
inline void ReportStart(const ClockApp& app) {
  Report("first_frame_ns", app.FirstFrame());
  Report("settled_frame_ns", app.LastFrame());
  Report("start_hwm_kb", StatusKb("VmHWM"));
  Report("start_rss_kb", StatusKb("VmRSS"));
}

// A start alone: its figures once the window has settled, then the process ends.
inline void EndWhenStarted(ClockApp& app) {
  app.WhenSettled(
      200, [&app] { return app.FirstFrame() != 0; },
      [&app] {
        ReportStart(app);
        std::_Exit(0);
      });
}

}  // namespace benchclock
