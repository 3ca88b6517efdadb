// Device paths: COM names, the port folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <unistd.h>

#include "platform/core/devicepath.h"

namespace fs = std::filesystem;

namespace {

class DevicePath : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/tk5063-ports-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    root_ = tmpl;
    if (const char* old = std::getenv("XDG_CONFIG_HOME")) oldXdg_ = old;
    setenv("XDG_CONFIG_HOME", root_.c_str(), 1);
  }
  void TearDown() override {
    if (oldXdg_)
      setenv("XDG_CONFIG_HOME", oldXdg_->c_str(), 1);
    else
      unsetenv("XDG_CONFIG_HOME");
    fs::remove_all(root_);
  }
  std::string root_;
  std::optional<std::string> oldXdg_;
};

TEST_F(DevicePath, ComNamesMapToLinksOrSerialDevices) {
  EXPECT_EQ(platform::PortFolder(), root_ + "/tk5063/ports");
  fs::create_directories(platform::PortFolder());
  fs::create_symlink("/dev/ttyUSB0", platform::PortFolder() + "/com3");  // dangling is fine
  struct Case {
    const char* name;
    std::string want;
  };
  const Case cases[] = {
      {"\\\\.\\COM1", "/dev/ttyS0"},
      {"COM2", "/dev/ttyS1"},
      {"\\\\.\\com16", "/dev/ttyS15"},
      {"\\\\.\\COM3", root_ + "/tk5063/ports/com3"},
      {"com3", root_ + "/tk5063/ports/com3"},
      {"\\\\.\\COM0", "\\\\.\\COM0"},
      {"COM", "COM"},
      {"COM3x", "COM3x"},
      {"\\\\.\\COM-1", "\\\\.\\COM-1"},
      {"/dev/ttyACM0", "/dev/ttyACM0"},
      {"/tmp/COM3", "/tmp/COM3"},
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(platform::ResolveDevicePath(c.name), c.want);
  }
}

TEST_F(DevicePath, PortFolderFallsBackToHome) {
  setenv("XDG_CONFIG_HOME", "", 1);
  const char* home = std::getenv("HOME");
  ASSERT_NE(home, nullptr);
  EXPECT_EQ(platform::PortFolder(), std::string(home) + "/.config/tk5063/ports");
}

}  // namespace
