// The model variant switch: the standard device (temperatures 2 and 3 double as counters) or
// the run-time variant (two run-time meters, no analog inputs 5-8, digital inputs 8-12 or
// outputs 6-8). It adapts controls of several pages; each page's file builds them.
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include "configurator/form.h"
#include "configurator/pagebuild.h"
#include "platform/widgets.h"

namespace configurator {

namespace {
// Edit-and-button pairs first..last: the button, then the edit.
template <std::size_t E, std::size_t B>
void SetPairsEnabled(const std::array<platform::Edit*, E>& edits,
                     const std::array<QPushButton*, B>& buttons, int first, int last,
                     bool enabled) {
  for (int n = first; n <= last; ++n) {
    buttons.at(static_cast<std::size_t>(n))->setEnabled(enabled);
    edits.at(static_cast<std::size_t>(n))->setEnabled(enabled);
  }
}
}  // namespace

void TForm1::BindVariantMenu() {
  platform::OnSignal(this, TKM506GM1, &QAction::triggered, [this] { TKM506GM1Click(); });
}

void TForm1::TKM506GM1Click() {
  Config.RunTimeVariant = Config.RunTimeVariant ? 0 : 1;
  TKM506GM1->setChecked(Config.RunTimeVariant != 0);
  ApplyModelVariant(Config.RunTimeVariant != 0);
}

void TForm1::RestoreVariantMark(const TSetupConfig& c) {
  // Setting the check mark from code raises no click.
  TKM506GM1->setChecked(AsBool(c.RunTimeVariant));
}

// The saved flag itself is not changed here.
void TForm1::RestoreVariant(const TSetupConfig& c) { ApplyModelVariant(AsBool(c.RunTimeVariant)); }

void TForm1::StoreVariant(TSetupConfig& c) const {
  c.RunTimeVariant = FromBool(TKM506GM1->isChecked());
}

void TForm1::ApplyModelVariant(bool runTime) {
  RunTimeVariant = runTime;
  const bool flag = runTime;

  // What only one of the variants shows.
  for (const auto& [w, visible] : {std::pair<QWidget*, bool>{LabelRT1, flag},
                                   {LabelT2, !flag},
                                   {LabelRT2, flag},
                                   {LabelT3, !flag},
                                   {iLabelRT1, flag},
                                   {iLabelT2, !flag},
                                   {iLabelRT2, flag},
                                   {iLabelT3, !flag},
                                   {ReadRT, flag},
                                   {PanelRT, flag},
                                   {Panel1, flag}})
    w->setVisible(visible);

  // Settings of the channels the run-time variant lacks.
  for (int n = 5; n <= 8; ++n) AMode[static_cast<std::size_t>(n)]->setEnabled(!flag);
  for (const auto& [first, last] : {std::pair{65, 69}, {77, 81}, {87, 89}, {95, 97}})
    SetPairsEnabled(iTXTSMS, TXTSMSb, first, last, !flag);
  for (const auto& [first, last] : {std::pair{22, 33}, {41, 45}, {53, 57}})
    SetPairsEnabled(TXTSMS, TXTSMSb, first, last, !flag);
  for (const auto& [first, last] : {std::pair{22, 33}, {41, 45}, {53, 57}})
    SetPairsEnabled(iTXTSMS, iTXTSMSb, first, last, !flag);

  // Their channels leave the number masks (or come back); each real change runs the
  // Disable box's handler.
  for (int p = 5; p <= 8; ++p) CheckBoxAdis[static_cast<std::size_t>(p)]->setChecked(flag);
  for (int p = 8; p <= 12; ++p) CheckBoxDdis[static_cast<std::size_t>(p)]->setChecked(flag);

  // Row captions of T/C channels 2 and 3.
  platform::SetCaption(RTname1, flag ? "Runtime 1" : "T2 / Counter1");
  platform::SetCaption(RTname2, flag ? "Runtime 2" : "T3 / Counter2");
}

}  // namespace configurator
