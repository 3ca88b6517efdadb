// TK5063SM, the configurator of the TK5063 devices.
#include <QApplication>

#include "configurator/form.h"
#include "platform/messagebox.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  platform::SetApplicationTitle("TK5063SM");
  configurator::TForm1 Form1;
  Form1.show();
  return app.exec();
}
