// The model variant switch: the standard device (temperatures 2 and 3 double as counters) or
// the run-time variant (two run-time meters, no analog inputs 5-8, digital inputs 8-12 or
// outputs 6-8). The controls of other pages are found by name when the switch runs; those
// whose page isn't on the window are skipped.
#include <QAction>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>

#include "configurator/form.h"
#include "configurator/pagebuild.h"
#include "platform/messagebox.h"
#include "platform/widgets.h"

namespace configurator {

namespace {
void SetVisibleNamed(QObject* root, const QString& name, bool visible) {
  if (auto* w = root->findChild<QWidget*>(name)) w->setVisible(visible);
}
void SetEnabledNamed(QObject* root, const QString& name, bool enabled) {
  if (auto* w = root->findChild<QWidget*>(name)) w->setEnabled(enabled);
}
// Edit-and-button pairs first..last: the button, then the edit.
void SetPairsEnabled(QObject* root, const char* edit, const char* button, int first, int last,
                     bool enabled) {
  for (int n = first; n <= last; ++n) {
    SetEnabledNamed(root, QString("%1%2").arg(button).arg(n), enabled);
    SetEnabledNamed(root, QString("%1%2").arg(edit).arg(n), enabled);
  }
}
}  // namespace

void TForm1::BuildVariantPanel() {
  // Panel1: an empty panel over the level rows of analog inputs 5 to 8 on the Analog page,
  // which hides them in the run-time variant. It spans the rows' full width in their group and
  // starts at their top, clear of row 4's controls.
  QWidget* parent = nullptr;
  QRect rows;
  for (int n = 5; n <= 8; ++n)
    for (const char* stem : {"ScrollBarMin", "ScrollBarMax", "MinLv", "MaxLv"})
      if (auto* w = findChild<QWidget*>(QString("%1%2").arg(stem).arg(n))) {
        if (!parent) parent = w->parentWidget();
        if (w->parentWidget() == parent) rows |= w->geometry();
      }
  if (!parent) return;  // no Analog page on this window
  auto* panel = new QFrame(parent);
  panel->setObjectName("Panel1");
  panel->setAccessibleName("Analog inputs 5 to 8 not available");
  panel->setAutoFillBackground(true);
  panel->setGeometry(4, rows.top(), parent->width() - 8, rows.height() + 2);
  panel->raise();
  Panel1 = panel;
}

void TForm1::BindVariantMenu() {
  ui::OnSignal(this, TKM506GM1, &QAction::triggered, [this] { TKM506GM1Click(); });
}

void TForm1::TKM506GM1Click() {
  Config.RunTimeVariant = Config.RunTimeVariant ? 0 : 1;
  TKM506GM1->setChecked(Config.RunTimeVariant != 0);
  ApplyModelVariant(Config.RunTimeVariant != 0);
}

void TForm1::ApplyModelVariant(bool runTime) {
  RunTimeVariant = runTime;
  const bool flag = runTime;

  // 1. What only one of the variants shows.
  for (const auto& [name, visible] :
       {std::pair{"LabelRT1", flag}, {"LabelT2", !flag}, {"LabelRT2", flag}, {"LabelT3", !flag},
        {"iLabelRT1", flag}, {"iLabelT2", !flag}, {"iLabelRT2", flag}, {"iLabelT3", !flag},
        {"ReadRT", flag}, {"PanelRT", flag}, {"Panel1", flag}})
    SetVisibleNamed(this, name, visible);

  // 2. Settings of the channels the run-time variant lacks.
  for (int n = 5; n <= 8; ++n) SetEnabledNamed(this, QString("AMode%1").arg(n), !flag);
  for (const auto& [first, last] : {std::pair{65, 69}, {77, 81}, {87, 89}, {95, 97}})
    SetPairsEnabled(this, "iTXTSMS", "TXTSMSb", first, last, !flag);
  for (const auto& [first, last] : {std::pair{22, 33}, {41, 45}, {53, 57}})
    SetPairsEnabled(this, "TXTSMS", "TXTSMSb", first, last, !flag);
  for (const auto& [first, last] : {std::pair{22, 33}, {41, 45}, {53, 57}})
    SetPairsEnabled(this, "iTXTSMS", "iTXTSMSb", first, last, !flag);

  // 3. Their channels leave the number masks (or come back); each real change runs the
  // Disable box's handler.
  for (int p = 5; p <= 8; ++p) CheckBoxAdis[static_cast<std::size_t>(p)]->setChecked(flag);
  for (int p = 8; p <= 12; ++p) CheckBoxDdis[static_cast<std::size_t>(p)]->setChecked(flag);

  // 4. Row captions of T/C channels 2 and 3.
  platform::SetCaption(RTname1, flag ? "Runtime 1" : "T2 / Counter1");
  platform::SetCaption(RTname2, flag ? "Runtime 2" : "T3 / Counter2");
}

}  // namespace configurator
