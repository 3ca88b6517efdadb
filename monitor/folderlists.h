#pragma once
// The local working folder's widgets: a drive list of the user's file system roots, a
// folder list that moves the process's current folder, and file lists filtered by a mask.
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QString>
#include <QStringList>
#include <string>

namespace monitor {

// ---- the remote lists' names ----------------------------------------------------------
// A remote list's item shows its name readably (ReadableName) and keeps the bytes the
// server sent, which commands and local file names take back unchanged.
QListWidgetItem* NewRemoteItem(const std::string& bytes);
// Gives an item that shows a remote name the bytes its text does not give back.
void KeepRemoteBytes(QListWidgetItem* item, const std::string& bytes);
std::string RemoteName(const QListWidgetItem* item);
// The same for an edit that shows a remote name (the remote folder).
void ShowRemoteName(QLineEdit* edit, const std::string& bytes);
std::string RemoteName(const QLineEdit* edit);

class FileListBox;

// The file system roots a user has: "/" and the home folder, then mounted removable
// volumes. Choosing an entry (the user's choice only, not code's) raises Change.
class DriveComboBox : public QComboBox {
  Q_OBJECT
 public:
  explicit DriveComboBox(QWidget* parent = nullptr);
  static QStringList Roots();
  QString Drive() const;                         // the root shown, empty when none
  int RootIndexOf(const QString& folder) const;  // the root that holds a folder
  // Shows the entry of `index` without raising Change; an index the list lacks leaves it.
  void ShowIndex(int index);

 signals:
  void Change();
};

// A folder list: the path from "/" down to the folder, then its subfolders. Moving to a
// folder makes it the process's current folder and points the linked file list at it.
class DirectoryListBox : public QListWidget {
  Q_OBJECT
 public:
  explicit DirectoryListBox(QWidget* parent = nullptr);
  QString Directory() const { return dir_; }
  // Moves to `folder`. Setting the folder it already shows does nothing (so linked lists
  // don't call each other without end). Returns false when the folder can't be entered.
  bool SetDirectory(const QString& folder);
  void SetDrive(const QString& root) { SetDirectory(root); }
  void Update();  // re-reads the subfolders
  void SetFileList(FileListBox* list);
  void SetDriveCombo(DriveComboBox* combo) { drive_ = combo; }

 signals:
  void Change();

 private:
  void Fill();
  void Enter(QListWidgetItem* item);
  QString dir_;
  FileListBox* files_ = nullptr;
  DriveComboBox* drive_ = nullptr;
};

// The files of one folder that match a mask, in ascending name order with letters
// compared without regard to case.
class FileListBox : public QListWidget {
  Q_OBJECT
 public:
  explicit FileListBox(QWidget* parent = nullptr);
  void SetMask(const QString& mask);
  QString Mask() const { return mask_; }
  void SetDirectory(const QString& folder);
  QString Directory() const { return dir_; }
  void Update();  // re-reads the folder
  // A file of the folder just written: shows `name` in its place when it matches the mask
  // and is not listed yet, without re-reading the folder.
  void Add(const QString& name);
  void SetShowGlyphs(bool on) { glyphs_ = on; }  // a file icon before each name
  QStringList Names() const;
  // Full path of a listed name in the list's folder.
  QString PathOf(const QString& name) const;
  // Whether a name matches a mask ('*' and '?', letters without regard to case).
  static bool Matches(const QString& mask, const QString& name);

 private:
  static const QIcon& FileIcon();
  QString dir_;
  QString mask_ = QStringLiteral("*.*");
  bool glyphs_ = false;
};

}  // namespace monitor
