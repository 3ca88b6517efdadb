#pragma once
// Opening a file in the user's text editor: the desktop's default application for plain
// text, whatever the file's own type, started through the desktop's opener.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <string>

namespace platform {

// Opens a file in the text editor; `path` is the file system's own bytes for the name
// (QFile::encodeName), so any folder name reaches the editor. The editor is the desktop's
// handler for text/plain (`xdg-mime query default text/plain`), started by `gio launch`
// with its desktop file or else by `gtk-launch`. Where none starts, a message box says so
// and names the file. Tests may replace the whole action.
void OpenInTextEditor(const std::string& path);
void SetOpenInTextEditorHook(std::function<void(const std::string&)> hook);

// Runs a program found on PATH with an argument list (no shell) and waits a few seconds
// for its end; true when it ended by itself with exit code 0. With `output` its standard
// output is read there, else it writes where this process does. Tests may replace it;
// an empty function restores the real one.
using ProgramRunner =
    std::function<bool(const QString& program, const QStringList& arguments, QByteArray* output)>;
void SetProgramRunner(ProgramRunner runner);

}  // namespace platform
