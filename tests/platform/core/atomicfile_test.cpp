// What a save killed half-way leaves beside the file is removed at the next start: only the
// temporary names of that file, only when their process is gone.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "platform/core/atomicfile.h"
#include "support/deadpid.h"

namespace fs = std::filesystem;

TEST(StaleTemporaryFiles, OnlyOurOwnNamesOfEndedProcessesGo) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const fs::path folder = dir.path().toStdString();
  const fs::path target = folder / "real";
  fs::create_directory(target);
  // The settings file is a link: its temporaries lie beside the file it leads to.
  std::ofstream(target / "TK5063.cfg") << "saved";
  fs::create_symlink(target / "TK5063.cfg", folder / "TK5063.cfg");

  const std::string dead = std::to_string(testsupport::DeadPid());
  const std::string alive = std::to_string(::getppid());
  const struct {
    std::string name;
    bool removed;
  } cases[] = {
      {".TK5063.cfg.tmp" + dead + "_0", true},
      {".TK5063.cfg.tmp" + dead + "_99", true},
      {".TK5063.cfg.tmp" + alive + "_0", false},   // its save may be under way
      {".TK5063.cfg.tmp" + dead + "_100", false},  // not a name a save makes
      {".TK5063.cfg.tmp0" + dead + "_0", false},
      {".TK5063.cfg.tmp" + dead + "_0x", false},
      {".TK5063.cfg.tmp" + dead, false},
      {".csv.cfg.tmp" + dead + "_0", false},  // another file's
      {"TK5063.cfg.tmp" + dead + "_0", false},
  };
  for (const auto& c : cases) std::ofstream(target / c.name) << "partial";
  fs::create_directory(target / (".TK5063.cfg.tmp" + dead + "_1"));  // not a file
  std::ofstream(folder / (".TK5063.cfg.tmp" + dead + "_0")) << "beside the link";

  EXPECT_EQ(platform::RemoveStaleTemporaryFiles((folder / "TK5063.cfg").string()), 2);
  for (const auto& c : cases) EXPECT_EQ(fs::exists(target / c.name), !c.removed) << c.name;
  EXPECT_TRUE(fs::is_directory(target / (".TK5063.cfg.tmp" + dead + "_1")));
  EXPECT_TRUE(fs::exists(folder / (".TK5063.cfg.tmp" + dead + "_0")));
  EXPECT_TRUE(fs::exists(target / "TK5063.cfg"));
  EXPECT_TRUE(fs::is_symlink(folder / "TK5063.cfg"));
}
