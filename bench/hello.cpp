// The floor of a Qt Widgets program: a hello world window, timed by the same clock as the
// programs' start (bench/paintclock.h). Prints its first painted frame and exits once the
// window has settled.
#include <QLabel>

#include "paintclock.h"

int main(int argc, char** argv) {
  benchclock::ClockApp app(argc, argv);
  QLabel hello(QStringLiteral("Hello, world"));
  hello.show();
  benchclock::EndWhenStarted(app);
  return app.exec();
}
