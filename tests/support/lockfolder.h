#pragma once
// Keeps the serial driver's lock files of a test program in a temporary folder of its own,
// out of the system's lock folder: include once in a test program that opens ports.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "serial/serialdrv.h"

namespace testsupport {

class LockFolderEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "tk5063-locks-XXXXXX").string();
    if (::mkdtemp(pattern.data())) folder_ = pattern;
    if (!folder_.empty()) serial::SetLockFolder(folder_);
  }
  void TearDown() override {
    if (folder_.empty()) return;
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

 private:
  std::string folder_;
};

inline ::testing::Environment* const kLockFolder =
    ::testing::AddGlobalTestEnvironment(new LockFolderEnvironment);

}  // namespace testsupport
