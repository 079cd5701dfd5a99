// The mount table: which mount holds a path, and what kind of drive that mount is.
#include "platform/mounts.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

// A machine with a local root, a USB disk, an NFS export, a Samba share, a CD, a mount nested inside the NFS one, a
// mount point with a space in its name, and a second mount stacked on /mnt/usb that hides the first.
constexpr const char* kMountInfo =
    "22 1 254:1 / / rw,relatime shared:1 - ext4 /dev/vda1 rw\n"
    "30 22 0:27 / /proc rw,nosuid,nodev,noexec,relatime shared:12 - proc proc rw\n"
    "41 22 8:17 / /mnt/usb rw,relatime shared:20 - vfat /dev/sdb1 rw,fmask=0022\n"
    "42 22 0:45 / /mnt/nfs rw,relatime shared:21 master:3 - nfs4 server:/export rw,vers=4.2\n"
    "43 22 0:46 / /mnt/share rw,relatime shared:22 - cifs //server/share rw,vers=3.1.1\n"
    "44 22 11:0 / /media/cdrom ro,relatime shared:23 - iso9660 /dev/sr0 ro\n"
    "45 42 8:33 / /mnt/nfs/local rw,relatime shared:24 - ext4 /dev/sdc1 rw\n"
    "46 22 8:49 / /mnt/my\\040disk rw,relatime shared:25 - ext4 /dev/sdd1 rw\n"
    "47 41 0:50 / /mnt/usb rw,relatime shared:26 - udf /dev/sr1 ro\n"
    "garbage line\n"
    "48 22 0:51 / /mnt/cut rw,relatime shared:27 -\n";

class MountsTest : public ::testing::Test
{
protected:
    const std::vector<MountEntry> mounts = parseMountInfo(kMountInfo);

    const MountEntry& mountOf(std::string_view path)
    {
        const MountEntry* mount = findMount(mounts, path);
        EXPECT_NE(mount, nullptr) << path;
        static const MountEntry kNone;
        return mount ? *mount : kNone;
    }
};

TEST_F(MountsTest, ParsesEveryWellFormedLine)
{
    ASSERT_EQ(mounts.size(), 9u);
    EXPECT_EQ(mounts[3].mountPoint, "/mnt/nfs");
    EXPECT_EQ(mounts[3].fsType, "nfs4");
    EXPECT_EQ(mounts[3].source, "server:/export");
    EXPECT_EQ(mounts[4].source, "//server/share");
    EXPECT_EQ(mounts[7].mountPoint, "/mnt/my disk");
}

TEST_F(MountsTest, NetworkMountsAreNetworkDrivesWithTheirShares)
{
    const MountEntry& nfs = mountOf("/mnt/nfs/dir/file.txt");
    EXPECT_EQ(driveTypeOf(nfs.fsType), DriveType::Network);
    EXPECT_EQ(nfs.source, "server:/export");

    const MountEntry& cifs = mountOf("/mnt/share/");
    EXPECT_EQ(cifs.mountPoint, "/mnt/share");
    EXPECT_EQ(driveTypeOf(cifs.fsType), DriveType::Network);
    EXPECT_EQ(cifs.source, "//server/share");
}

TEST_F(MountsTest, DiscAndLocalFileSystems)
{
    EXPECT_EQ(driveTypeOf(mountOf("/media/cdrom/setup.exe").fsType), DriveType::CdRom);
    EXPECT_EQ(driveTypeOf(mountOf("/home/user/a.txt").fsType), DriveType::Fixed);
    EXPECT_EQ(mountOf("/home/user/a.txt").mountPoint, "/");
    EXPECT_EQ(mountOf("/mnt/my disk/x").mountPoint, "/mnt/my disk");
}

// The longest mount point wins, whole components only, and a later mount on the same point hides the earlier one.
TEST_F(MountsTest, PicksTheInnermostMountByWholeComponents)
{
    EXPECT_EQ(mountOf("/mnt/nfs/local/file").mountPoint, "/mnt/nfs/local");
    EXPECT_EQ(driveTypeOf(mountOf("/mnt/nfs/local/file").fsType), DriveType::Fixed);
    EXPECT_EQ(mountOf("/mnt/nfs/localx").mountPoint, "/mnt/nfs");
    EXPECT_EQ(mountOf("/mnt/nfsx/file").mountPoint, "/");
    EXPECT_EQ(mountOf("/mnt/nfs").mountPoint, "/mnt/nfs");
    EXPECT_EQ(mountOf("/mnt/usb/a").fsType, "udf");
}

TEST(MountsFallbackTest, NoTableHoldsNothing)
{
    EXPECT_TRUE(parseMountInfo("").empty());
    EXPECT_EQ(findMount({}, "/home"), nullptr);
    EXPECT_EQ(findMount(parseMountInfo("41 22 8:17 / /mnt/usb rw - vfat /dev/sdb1 rw\n"), "/home"), nullptr);
}

TEST(MountsDriveTypeTest, KnowsEveryNetworkFileSystem)
{
    for (const char* type :
         {"nfs", "nfs4", "cifs", "smb3", "smbfs", "9p", "afs", "ceph", "glusterfs", "ncpfs", "davfs", "fuse.sshfs"})
        EXPECT_EQ(driveTypeOf(type), DriveType::Network) << type;
    for (const char* type : {"udf", "iso9660"})
        EXPECT_EQ(driveTypeOf(type), DriveType::CdRom) << type;
    for (const char* type : {"ext4", "btrfs", "tmpfs", "fuse", "nfsd", "overlay"})
        EXPECT_EQ(driveTypeOf(type), DriveType::Fixed) << type;
}

} // namespace

// An entry's drive is judged from the mount its descriptor reports, whatever path led to it.
TEST(MountsByIdTest, TheKernelsMountIdFindsTheMount)
{
    struct statx status;
    ASSERT_EQ(statx(AT_FDCWD, "/proc/self", 0, STATX_MNT_ID, &status), 0);
    ASSERT_TRUE(status.stx_mask & STATX_MNT_ID);
    const std::optional<MountEntry> mount = mountWithId(status.stx_mnt_id);
    ASSERT_TRUE(mount);
    EXPECT_EQ(mount->mountPoint, "/proc");
    EXPECT_EQ(mount->fsType, "proc");
    EXPECT_FALSE(mountWithId(~std::uint64_t{0}));
}
