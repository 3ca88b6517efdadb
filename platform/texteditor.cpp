#include "platform/texteditor.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include "platform/core/cp1252.h"
#include "platform/messagebox.h"

namespace platform {
namespace {

constexpr int kWaitMs = 5000;  // the query and the openers end at once; a hung one is given up

std::function<void(const std::string&)>& EditorHook() {
  static std::function<void(const std::string&)> hook;
  return hook;
}

ProgramRunner& RunnerHook() {
  static ProgramRunner runner;
  return runner;
}

bool RunProgram(const QString& program, const QStringList& arguments, QByteArray* output) {
  if (auto& r = RunnerHook()) return r(program, arguments, output);
  const QString exe = QStandardPaths::findExecutable(program);
  if (exe.isEmpty()) return false;
  QProcess p;
  p.setStandardInputFile(QProcess::nullDevice());
  p.setProcessChannelMode(output ? QProcess::ForwardedErrorChannel : QProcess::ForwardedChannels);
  p.start(exe, arguments);
  if (!p.waitForStarted(kWaitMs)) return false;
  if (!p.waitForFinished(kWaitMs)) {
    p.kill();
    p.waitForFinished(kWaitMs);
    return false;
  }
  if (output) *output = p.readAllStandardOutput();
  return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// The desktop file name of the default application for plain text, or empty.
QString PlainTextHandler() {
  QByteArray out;
  if (!RunProgram(
          QStringLiteral("xdg-mime"),
          {QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("text/plain")}, &out))
    return {};
  const QString id = QString::fromUtf8(out).section(QLatin1Char('\n'), 0, 0).trimmed();
  // A desktop file name, never a path or something an opener would read as an option.
  if (!id.endsWith(QLatin1String(".desktop")) || id.contains(QLatin1Char('/')) ||
      id.startsWith(QLatin1Char('-')))
    return {};
  return id;
}

bool StartEditor(const QString& file) {
  const QString id = PlainTextHandler();
  if (id.isEmpty()) return false;
  const QString desktopFile = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, id);
  if (!desktopFile.isEmpty() &&
      RunProgram(QStringLiteral("gio"), {QStringLiteral("launch"), desktopFile, file}, nullptr))
    return true;
  return RunProgram(QStringLiteral("gtk-launch"), {id, file}, nullptr);
}

}  // namespace

void OpenInTextEditor(const std::string& path) {
  if (auto& h = EditorHook()) return h(path);
  // An absolute path, so that no opener takes the name for an option.
  const QString file =
      QFileInfo(QFile::decodeName(QByteArray::fromStdString(path))).absoluteFilePath();
  if (StartEditor(file)) return;
  MessageBox("No text editor could be started for\r\n" + ToCp1252(file), std::string(),
             Icon::Warning, Buttons::Ok);
}

void SetOpenInTextEditorHook(std::function<void(const std::string&)> hook) {
  EditorHook() = std::move(hook);
}

void SetProgramRunner(ProgramRunner runner) { RunnerHook() = std::move(runner); }

}  // namespace platform
