// Fernlog: the monitor of the TK5063GM data loggers' CSV files.
#include <QApplication>

#include "monitor/form.h"
#include "platform/workfolder.h"
#include "platform/messagebox.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  platform::SetApplicationTitle("Fernlog");
  QGuiApplication::setDesktopFileName("org.tk5063.Fernlog");
  // Started from the menu: the user's working folder, which holds csv.cfg and the CSV files.
  platform::EnterWorkFolderWhenAsked(argc, argv);
  monitor::TForm1 form;
  form.show();
  return app.exec();
}
