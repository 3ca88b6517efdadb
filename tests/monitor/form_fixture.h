#pragma once
// A monitor window in a temporary current folder, with message boxes, beeps and the text
// editor answered by hooks.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "monitor/form.h"
#include "platform/messagebox.h"
#include "platform/texteditor.h"
#include "platform/widgets.h"

namespace monitor_test {

class FormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(tmp_.isValid());
    oldDir_ = QDir::currentPath();
    root_ = QDir::cleanPath(QDir(tmp_.path()).canonicalPath());
    ASSERT_TRUE(QDir::setCurrent(root_));
    platform::SetMessageHook([this](const platform::MessageRequest& r) {
      messages.push_back(r);
      return answer;
    });
    platform::SetBeepHook([this] { ++beeps; });
    platform::SetOpenInTextEditorHook([this](const std::string& p) { opened.push_back(p); });
  }
  void TearDown() override {
    form.reset();
    platform::SetMessageHook({});
    platform::SetBeepHook({});
    platform::SetOpenInTextEditorHook({});
    QDir::setCurrent(oldDir_);
  }

  // The window, made in the temporary folder on first use.
  monitor::TForm1& Form() {
    if (!form) form = std::make_unique<monitor::TForm1>();
    return *form;
  }
  std::string Path(const std::string& name) const { return root_.toStdString() + "/" + name; }
  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(Path(name), std::ios::binary) << bytes;
  }
  // A day file of one record whose last field flags it, which turns the table's text red.
  void WriteFlaggedDay(const std::string& name) const {
    std::string record = "01.03.2009,00:00:00,+025.6,000001,+021.0";
    for (int i = 0; i < 28; ++i) record += ",00.0";
    Write(name, record + ",00T\r\n");
  }
  bool Exists(const std::string& name) const {
    return QFile::exists(QString::fromStdString(Path(name)));
  }
  std::vector<std::string> Texts() const {
    std::vector<std::string> t;
    for (const auto& m : messages) t.push_back(m.text);
    return t;
  }

  QTemporaryDir tmp_;
  QString oldDir_;
  QString root_;
  std::unique_ptr<monitor::TForm1> form;
  std::vector<platform::MessageRequest> messages;
  platform::Answer answer = platform::Answer::Ok;
  int beeps = 0;
  std::vector<std::string> opened;
};

}  // namespace monitor_test
