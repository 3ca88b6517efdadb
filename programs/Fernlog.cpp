// Fernlog: the monitor of the TK5063GM data loggers' CSV files.
#include <QApplication>

#include "monitor/form.h"
#include "platform/messagebox.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  platform::SetApplicationTitle("Fernlog");
  monitor::TForm1 form;
  form.show();
  return app.exec();
}
