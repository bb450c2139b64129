#include <gtest/gtest.h>

#include "picker/mount_points.h"
#include "picker/picker_paths.h"

namespace varnock {
namespace {

// A doubled separator is made single in one pass; ".." stops at the root.
TEST(PickerPaths, CollapseBackslashesMakesOnePassOverPairsAndDotsStopAtTheRoot) {
  EXPECT_EQ(CollapseBackslashes("C:\\\\New", PathStyle::Windows), "C:\\New");
  EXPECT_EQ(CollapseBackslashes("C:\\a\\\\\\b", PathStyle::Windows), "C:\\a\\\\b");
  EXPECT_EQ(CollapseBackslashes("C:\\a\\", PathStyle::Windows), "C:\\a\\");
  EXPECT_EQ(CollapseBackslashes("//home//x", PathStyle::Posix), "/home/x");
  EXPECT_EQ(JoinFolder(*SplitFolder("/a/./b/../../..", PathStyle::Posix), PathStyle::Posix), "/");
}

// Windows drives are found by the picker's own tests on a Windows machine held in memory.
TEST(PickerPaths, DriveIndexOfTakesTheLongestMountOnAWholeName) {
  const std::vector<std::string> mounts{"/", "/home", "/home/user/games"};
  EXPECT_EQ(DriveIndexOf("/homework", mounts, PathStyle::Posix), 0);
  EXPECT_EQ(DriveIndexOf("/home", mounts, PathStyle::Posix), 1);
  EXPECT_EQ(DriveIndexOf("/home/user/games/tr4", mounts, PathStyle::Posix), 2);
  EXPECT_EQ(DriveIndexOf("relative", mounts, PathStyle::Posix), -1);
}

TEST(MountPoints, KeepsDevicesAndSharesRootFirst) {
  const std::string table =
      "overlay / overlay rw 0 0\n"
      "tmpfs /dev tmpfs rw 0 0\n"
      "/dev/sdb1 /media/My\\040Games ext4 rw 0 0\n"
      "/dev/sda2 /home ext4 rw 0 0\n"
      "/dev/sda2 /home ext4 rw 0 0\n"
      "server:/export /mnt/nas nfs4 rw 0 0\n"
      "/dev/loop4 /mnt/image squashfs ro 0 0\n"
      "/dev/sdc1 /run/media/me/USB vfat rw 0 0\n"
      "/dev/sda1 /run/lock ext4 rw 0 0\n"
      "tmpfs /tmp tmpfs rw 0 0\n"
      "broken line\n";
  EXPECT_EQ(ParseMountPoints(table), (std::vector<std::string>{"/", "/home", "/media/My Games",
                                                               "/mnt/nas", "/run/media/me/USB"}));
  EXPECT_EQ(ParseMountPoints(""), std::vector<std::string>{"/"});
}

}  // namespace
}  // namespace varnock
