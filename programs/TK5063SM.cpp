// TK5063SM, the configurator of the TK5063 devices.
#include <QApplication>

#include "configurator/form.h"
#include "platform/workfolder.h"
#include "platform/messagebox.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  platform::SetApplicationTitle("TK5063SM");
  QGuiApplication::setDesktopFileName("org.tk5063.TK5063SM");
  // Started from the menu: the user's working folder, which holds its settings file.
  platform::EnterWorkFolderWhenAsked(argc, argv);
  configurator::TForm1 Form1;
  Form1.show();
  return app.exec();
}
