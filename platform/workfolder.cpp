#include "platform/workfolder.h"

#include <QDir>
#include <QString>

#include "platform/core/cp1252.h"
#include "platform/core/workfolder.h"
#include "platform/messagebox.h"

namespace platform {

void EnterWorkFolderWhenAsked(int argc, const char* const* argv) {
  if (!HasWorkFolderOption(argc, argv)) return;
  const std::string folder = WorkFolder(QDir::homePath().toStdString());
  const std::string why = EnterWorkFolder(folder);
  if (why.empty()) return;
  MessageBox(ToCp1252(QString::fromStdString("Could not use the working folder " + folder + ": " +
                                             why + ".\r\nThe program works in ") +
                      QDir::currentPath() + " instead."),
             "", Icon::Warning);
}

}  // namespace platform
