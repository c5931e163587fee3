#include "platform/volume.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/temp_dir.h"

namespace twinex::platform {
namespace {

const char* const kMountInfo =
    "21 1 8:2 / / rw,relatime shared:1 - ext4 /dev/sda2 rw\n"
    "30 21 8:17 / /media/usb\\040stick rw,nosuid shared:5 master:2 - vfat /dev/sdb1 rw\n"
    "31 21 0:45 / /mnt/nas rw - nfs4 server:/export rw\n"
    "32 21 0:46 / /mnt/share rw - cifs //srv/share rw\n"
    "33 21 11:0 / /media/cdrom ro - iso9660 /dev/sr0 ro\n"
    "34 21 0:30 / /tmp rw - tmpfs tmpfs rw\n"
    "35 21 0:31 / /home rw - btrfs /dev/nvme0n1p3 rw\n"
    "36 21 0:32 / /proc rw - proc proc rw\n"
    "garbage line\n"
    "37 34 0:33 / /tmp rw - ramfs none rw\n";

TEST(Mounts, ParsesMountInfoAndFindsTheMountOfAPath) {
  auto mounts = ParseMountInfo(kMountInfo);
  ASSERT_EQ(mounts.size(), 9u);
  EXPECT_EQ(mounts[0].major, 8u);
  EXPECT_EQ(mounts[0].minor, 2u);
  EXPECT_EQ(mounts[1].mountPoint, "/media/usb stick");
  EXPECT_EQ(mounts[1].fsType, "vfat");  // optional fields before "-" are skipped
  EXPECT_EQ(mounts[2].source, "server:/export");

  auto at = [&](const char* p) { return FindMount(mounts, p)->mountPoint; };
  EXPECT_EQ(at("/media/usb stick/photos/a.jpg"), "/media/usb stick");
  EXPECT_EQ(at("/media/usb"), "/");  // prefix only on whole components
  EXPECT_EQ(at("/mnt/nas"), "/mnt/nas");
  EXPECT_EQ(at("/etc/passwd"), "/");
  EXPECT_EQ(FindMount(mounts, "/tmp/x")->fsType, "ramfs");  // the later mount lies on top
  EXPECT_EQ(FindMount({}, "/x"), nullptr);
}

TEST(Mounts, KindsFollowTheFileSystemThenTheDevice) {
  auto mounts = ParseMountInfo(kMountInfo);
  auto kind = [&](const char* p, int removable) { return DriveTypeText(ClassifyMount(*FindMount(mounts, p), removable)); };
  EXPECT_EQ(kind("/", 0), "Lokaler Datenträger");
  EXPECT_EQ(kind("/media/usb stick", 1), "Wechseldatenträger");
  EXPECT_EQ(kind("/mnt/nas", -1), "Netzlaufwerk");
  EXPECT_EQ(kind("/mnt/share", -1), "Netzlaufwerk");
  EXPECT_EQ(kind("/media/cdrom", 1), "CD/DVD");
  EXPECT_EQ(kind("/tmp", -1), "RAM-Disk");
  EXPECT_EQ(kind("/home", -1), "Lokaler Datenträger");  // btrfs shows no real device number
  EXPECT_EQ(kind("/proc", -1), "?");
}

TEST(Mounts, RealPathsLieOnAKnownMountAndCarryTheirDevice) {
  test::TempDir tmp;
  MountFacts facts = GetMountFacts(tmp.path());
  EXPECT_FALSE(facts.mountPoint.empty());
  EXPECT_FALSE(facts.fsType.empty());
  struct stat st;
  ASSERT_EQ(stat(tmp.path().c_str(), &st), 0);
  EXPECT_EQ(GetVolumeSerial(tmp.path()), st.st_dev);
  EXPECT_EQ(GetVolumeSerial(tmp / "missing"), 0u);
  std::string error;
  xGetDriveLabel(tmp.path(), &error);
  EXPECT_EQ(error, "");
}

}  // namespace
}  // namespace twinex::platform
