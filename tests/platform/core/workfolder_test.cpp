// The working folder of a start from the menu: the option, made at the first start, the
// same folder and its files at the next, nothing lost when something is in the way.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

#include "platform/core/workfolder.h"

namespace fs = std::filesystem;

namespace {

class WorkFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    started_ = fs::current_path();
    char tmpl[] = "/tmp/tk5063-home-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    home_ = tmpl;
    ASSERT_EQ(::chdir(home_.c_str()), 0);  // where the desktop starts a menu entry
  }
  void TearDown() override {
    fs::current_path(started_);
    fs::remove_all(home_);
  }
  static std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  fs::path started_;
  std::string home_;
};

TEST(WorkFolderOption, OnlyTheExactOptionAnywhereOnTheLine) {
  struct Case {
    std::vector<const char*> argv;
    bool expected;
  } cases[] = {
      {{"Fernlog"}, false},
      {{"Fernlog", "--work-folder"}, true},
      {{"TK5063SM", "somefile", "--work-folder"}, true},
      {{"TK5063SM", "--work-folder=/tmp"}, false},
      {{"TK5063SM", "--workfolder"}, false},
      {{"--work-folder"}, false},  // argv[0] is the program, not an option
  };
  for (const Case& c : cases)
    EXPECT_EQ(platform::HasWorkFolderOption(static_cast<int>(c.argv.size()), c.argv.data()),
              c.expected)
        << c.argv.back();
}

TEST_F(WorkFolderTest, MadeAtTheFirstStartAndFoundWithItsFilesAtTheNext) {
  const std::string folder = platform::WorkFolder(home_);
  EXPECT_EQ(folder, home_ + "/TK5063");
  ASSERT_FALSE(fs::exists(folder));

  ASSERT_EQ(platform::EnterWorkFolder(folder), "");
  EXPECT_TRUE(fs::equivalent(fs::current_path(), folder));
  std::ofstream("csv.cfg", std::ios::binary) << std::string(828, '\x05');  // a bare-name save

  // The next start begins in the home folder again.
  fs::current_path(home_);
  ASSERT_EQ(platform::EnterWorkFolder(platform::WorkFolder(home_)), "");
  EXPECT_TRUE(fs::equivalent(fs::current_path(), folder));
  EXPECT_EQ(Read("csv.cfg"), std::string(828, '\x05'));
}

TEST_F(WorkFolderTest, ALinkToAFolderIsFollowed) {
  fs::create_directory(home_ + "/elsewhere");
  fs::create_directory_symlink(home_ + "/elsewhere", home_ + "/TK5063");
  ASSERT_EQ(platform::EnterWorkFolder(platform::WorkFolder(home_)), "");
  EXPECT_TRUE(fs::equivalent(fs::current_path(), home_ + "/elsewhere"));
}

TEST_F(WorkFolderTest, SomethingInTheWayIsToldAndLeftAsItIs) {
  const std::string folder = platform::WorkFolder(home_);
  struct Case {
    const char* what;
    void (*make)(const std::string& folder);
  } cases[] = {
      {"a file", [](const std::string& f) { std::ofstream(f) << "mine"; }},
      {"a dangling link",
       [](const std::string& f) { fs::create_symlink("/nonexistent/tk5063-target", f); }},
      {"a file as its parent", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string target = folder;
    if (c.make) {
      c.make(folder);
    } else {
      std::ofstream(home_ + "/plain") << "mine";
      target = home_ + "/plain/TK5063";
    }
    EXPECT_NE(platform::EnterWorkFolder(target), "");
    EXPECT_TRUE(fs::equivalent(fs::current_path(), home_));
    if (c.make) fs::remove(folder);
  }
  EXPECT_EQ(Read(home_ + "/plain"), "mine");
}

}  // namespace
