#include "monitor/folderlists.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>
#include <QStyle>
#include <algorithm>

#include "monitor/core/ftpparse.h"
#include "platform/core/cp1252.h"

namespace monitor {

// The bytes go with an item only where its text does not give them back as Windows-1252
// (UTF-8 names): a listing of plain names costs no more than its texts.
void KeepRemoteBytes(QListWidgetItem* item, const std::string& bytes) {
  if (platform::ToCp1252(item->text()) != bytes)
    item->setData(Qt::UserRole, QByteArray::fromStdString(bytes));
}

QListWidgetItem* NewRemoteItem(const std::string& bytes) {
  auto* item = new QListWidgetItem(ReadableName(bytes));
  KeepRemoteBytes(item, bytes);
  return item;
}

std::string RemoteName(const QListWidgetItem* item) {
  const QVariant bytes = item->data(Qt::UserRole);
  return bytes.isValid() ? bytes.toByteArray().toStdString() : platform::ToCp1252(item->text());
}

namespace {
constexpr char kRemoteBytes[] = "remoteName";
}  // namespace

void ShowRemoteName(QLineEdit* edit, const std::string& bytes) {
  edit->setText(ReadableName(bytes));
  edit->setProperty(kRemoteBytes, QByteArray::fromStdString(bytes));
}

std::string RemoteName(const QLineEdit* edit) {
  // The bytes hold while the edit still shows their name.
  const QByteArray bytes = edit->property(kRemoteBytes).toByteArray();
  if (!bytes.isNull() && edit->text() == ReadableName(bytes.toStdString()))
    return bytes.toStdString();
  return platform::ToCp1252(edit->text());
}

namespace {
// Name order of the lists: letters without regard to case, ties broken by the exact text
// so the order is the same on every read.
bool NameLess(const QString& a, const QString& b) {
  const int c = QString::compare(a, b, Qt::CaseInsensitive);
  return c != 0 ? c < 0 : a < b;
}

QString Clean(const QString& folder) { return QDir::cleanPath(QDir(folder).absolutePath()); }
}  // namespace

// ---- DriveComboBox --------------------------------------------------------------------

DriveComboBox::DriveComboBox(QWidget* parent) : QComboBox(parent) {
  const QStyle* style = QApplication::style();
  for (const QString& root : Roots()) {
    const bool home = root == Clean(QDir::homePath());
    addItem(style->standardIcon(home ? QStyle::SP_DirHomeIcon : QStyle::SP_DriveHDIcon), root);
  }
  connect(this, &QComboBox::activated, this, [this](int) { emit Change(); });
}

QStringList DriveComboBox::Roots() {
  QStringList roots{QStringLiteral("/")};
  const QString home = Clean(QDir::homePath());
  if (!roots.contains(home)) roots << home;
  // Removable and extra volumes where desktops mount them.
  QStringList volumes;
  for (const QStorageInfo& v : QStorageInfo::mountedVolumes()) {
    if (!v.isValid() || !v.isReady()) continue;
    const QString p = v.rootPath();
    if (p.startsWith(QLatin1String("/media/")) || p.startsWith(QLatin1String("/mnt/")) ||
        p.startsWith(QLatin1String("/run/media/")))
      volumes << p;
  }
  std::sort(volumes.begin(), volumes.end(), NameLess);
  for (const QString& v : volumes)
    if (!roots.contains(v)) roots << v;
  return roots;
}

QString DriveComboBox::Drive() const { return currentIndex() < 0 ? QString() : currentText(); }

int DriveComboBox::RootIndexOf(const QString& folder) const {
  const QString f = Clean(folder);
  int best = -1;
  qsizetype bestLen = -1;
  for (int i = 0; i < count(); ++i) {
    const QString r = itemText(i);
    const bool holds = r == QLatin1String("/") || f == r || f.startsWith(r + QLatin1Char('/'));
    if (holds && r.size() > bestLen) {
      best = i;
      bestLen = r.size();
    }
  }
  return best;
}

void DriveComboBox::ShowIndex(int index) {
  if (index < 0 || index >= count()) return;
  setCurrentIndex(index);  // `activated` is the user's signal only, so nothing follows
}

// ---- DirectoryListBox -----------------------------------------------------------------

DirectoryListBox::DirectoryListBox(QWidget* parent) : QListWidget(parent) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  dir_ = Clean(QDir::currentPath());
  Fill();
  connect(this, &QListWidget::itemActivated, this, &DirectoryListBox::Enter);
}

void DirectoryListBox::SetFileList(FileListBox* list) {
  files_ = list;
  if (files_) files_->SetDirectory(dir_);
}

bool DirectoryListBox::SetDirectory(const QString& folder) {
  const QString f = Clean(folder);
  if (f == dir_) return true;
  const QFileInfo info(f);
  if (!info.isDir() || !info.isExecutable() || !QDir::setCurrent(f)) return false;
  dir_ = f;
  Fill();
  if (files_) files_->SetDirectory(dir_);
  if (drive_) drive_->ShowIndex(drive_->RootIndexOf(dir_));
  emit Change();
  return true;
}

void DirectoryListBox::Update() { Fill(); }

void DirectoryListBox::Fill() {
  clear();
  const QStyle* style = QApplication::style();
  const QIcon open = style->standardIcon(QStyle::SP_DirOpenIcon);
  const QIcon closed = style->standardIcon(QStyle::SP_DirClosedIcon);
  // The path from the root down, one level of indent per folder.
  QStringList parts = dir_.split(QLatin1Char('/'), Qt::SkipEmptyParts);
  QString path = QStringLiteral("/");
  auto add = [this](const QIcon& icon, const QString& text, const QString& full, int depth) {
    auto* item = new QListWidgetItem(icon, QString(depth * 3, QLatin1Char(' ')) + text, this);
    item->setData(Qt::UserRole, full);
    item->setToolTip(full);
    return item;
  };
  QListWidgetItem* current = add(open, QStringLiteral("/"), path, 0);
  int depth = 0;
  for (const QString& p : parts) {
    path = path == QLatin1String("/") ? path + p : path + QLatin1Char('/') + p;
    current = add(open, p, path, ++depth);
  }
  QStringList subs = QDir(dir_).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
  std::sort(subs.begin(), subs.end(), NameLess);
  for (const QString& s : subs)
    add(closed, s, dir_ == QLatin1String("/") ? dir_ + s : dir_ + QLatin1Char('/') + s, depth + 1);
  setCurrentItem(current);
}

void DirectoryListBox::Enter(QListWidgetItem* item) {
  if (!item) return;
  if (!SetDirectory(item->data(Qt::UserRole).toString())) QApplication::beep();
}

// ---- FileListBox ----------------------------------------------------------------------

FileListBox::FileListBox(QWidget* parent) : QListWidget(parent) {
  dir_ = Clean(QDir::currentPath());
  // Items of one height: a long list lays out without measuring every name.
  setUniformItemSizes(true);
}

const QIcon& FileListBox::FileIcon() {
  static const QIcon icon = QApplication::style()->standardIcon(QStyle::SP_FileIcon);
  return icon;
}

void FileListBox::SetMask(const QString& mask) {
  mask_ = mask;
  Update();
}

void FileListBox::SetDirectory(const QString& folder) {
  dir_ = Clean(folder);
  Update();
}

void FileListBox::Update() {
  QStringList names;
  for (const QString& n : QDir(dir_).entryList(QDir::Files | QDir::NoDotAndDotDot))
    if (Matches(mask_, n)) names << n;
  std::sort(names.begin(), names.end(), NameLess);
  clear();
  if (!glyphs_) {
    addItems(names);
    return;
  }
  for (const QString& n : names) new QListWidgetItem(FileIcon(), n, this);
}

void FileListBox::Add(const QString& name) {
  if (!Matches(mask_, name)) return;
  int lo = 0, hi = count();
  while (lo < hi) {
    const int mid = (lo + hi) / 2;
    if (NameLess(item(mid)->text(), name))
      lo = mid + 1;
    else
      hi = mid;
  }
  if (lo < count() && item(lo)->text() == name) return;  // listed already
  auto* added = new QListWidgetItem(name);
  if (glyphs_) added->setIcon(FileIcon());
  insertItem(lo, added);
}

QStringList FileListBox::Names() const {
  QStringList names;
  for (int i = 0; i < count(); ++i) names << item(i)->text();
  return names;
}

QString FileListBox::PathOf(const QString& name) const {
  return dir_ == QLatin1String("/") ? dir_ + name : dir_ + QLatin1Char('/') + name;
}

bool FileListBox::Matches(const QString& mask, const QString& name) {
  if (mask == QLatin1String("*.*") || mask == QLatin1String("*")) return true;
  // Wildcard match, '*' any run of characters, '?' one character.
  qsizetype m = 0, n = 0, star = -1, mark = 0;
  auto same = [](QChar a, QChar b) { return a.toCaseFolded() == b.toCaseFolded(); };
  while (n < name.size()) {
    if (m < mask.size() && (mask[m] == QLatin1Char('?') || same(mask[m], name[n]))) {
      ++m;
      ++n;
    } else if (m < mask.size() && mask[m] == QLatin1Char('*')) {
      star = m++;
      mark = n;
    } else if (star >= 0) {
      m = star + 1;
      n = ++mark;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == QLatin1Char('*')) ++m;
  return m == mask.size();
}

}  // namespace monitor
