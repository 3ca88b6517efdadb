// Page "RunTime": the sixteen counter/run-time modes, one "Write" button each in a panel whose
// labels spell its setting.
#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "configurator/form.h"
#include "configurator/pagebuild.h"
#include "configurator/core/tempcounter.h"

namespace configurator {

void TForm1::BuildRunTimePage() {
  // Four columns: masks 0-3 and 4-7 at input level 0, then the same at level 1.
  QWidget* runTime = PageOf(Page::RunTime);
  for (int level = 0; level <= 1; ++level) {
    for (int mask = 0; mask <= 7; ++mask) {
      const int column = level * 2 + mask / 4;
      const int row = mask % 4;
      auto* frame = new QFrame(runTime);
      frame->setObjectName(QString("PanelRTMode%1%2").arg(level).arg(mask));
      frame->setFrameShape(QFrame::StyledPanel);
      frame->setGeometry(6 + column * 211 + (level ? 4 : 0), 6 + row * 92, 205, 88);
      QStringList lines;
      for (int counter = 1; counter <= 3; ++counter) {
        const QString text =
            QString::fromStdString(tempcounter::RunTimeModeLabel(level, mask, counter));
        lines << text;
        ui::MakeLabel(frame, text, 8, 2 + (counter - 1) * 17, 190, 22);
      }
      const int number = level == 0 ? 27 - mask : 28 + mask;
      auto* write =
          ui::MakeButton(frame, platform::Nr("Button", number), "Write", "Write", 8, 56, 80, 26);
      write->setAccessibleDescription(lines.join(", "));
      RunTimeWrite[static_cast<std::size_t>(level)][static_cast<std::size_t>(mask)] = write;
      platform::OnClick(this, write, [this, level, mask] { RunTimeWriteClick(level, mask); });
    }
  }
}

void TForm1::RunTimeWriteClick(int level, int mask) {
  const std::string command = tempcounter::RunTimeModeCommand(level, mask);
  if (!command.empty()) RunCommandNoClear(command);
}

}  // namespace configurator
