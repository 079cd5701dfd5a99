// The drive of a path and the refusals told for network and CD-ROM drives.
#include "core/driveclass.h"

#include "fake/fakeplatform.h"

#include <gtest/gtest.h>

namespace {

class DriveClassTest : public ::testing::Test
{
protected:
    DriveClassTest()
    {
        platform.setDrive("/mnt/mapped/", DriveType::Network, "//server/share");
        platform.setDrive("/mnt/plain/", DriveType::Network);
        platform.setDrive("/media/cd/", DriveType::CdRom);
    }

    FakePlatform platform;
};

TEST_F(DriveClassTest, RootTypeAndShareOfThePath)
{
    const DriveClass mapped = ClassifyDrive("/mnt/mapped/sub/a.txt");
    EXPECT_EQ(mapped.type, DriveType::Network);
    EXPECT_EQ(mapped.root, "/mnt/mapped/");
    EXPECT_EQ(mapped.remote, "//server/share");
    EXPECT_TRUE(mapped.refused());

    const DriveClass plain = ClassifyDrive("/mnt/plain/a.txt");
    EXPECT_EQ(plain.remote, "/mnt/plain/");
    EXPECT_EQ(ClassifyDrive("/media/cd/a.txt").type, DriveType::CdRom);

    const DriveClass local = ClassifyDrive("/home/a.txt");
    EXPECT_EQ(local.type, DriveType::Fixed);
    EXPECT_EQ(local.root, "/");
    EXPECT_FALSE(local.refused());
}

// A fixed drive has no refusal in any wording.
TEST_F(DriveClassTest, OneRefusalPerWording)
{
    EXPECT_EQ(specRefusal(ClassifyDrive("/mnt/plain/a")), "Network drives not supported (/mnt/plain/)");
    EXPECT_EQ(specRefusal(ClassifyDrive("/media/cd/a")), "CD-ROM drives not supported (/media/cd/)");
    EXPECT_EQ(specRefusal(ClassifyDrive("/home/a")), "");

    EXPECT_EQ(selectionRefusal(ClassifyDrive("/mnt/plain/a")),
              "You have selected files from the Network drive \"/mnt/plain/\". Stampkeep only works with files on "
              "local drives. Please run Stampkeep on the machine that contains the drive identified as "
              "\"/mnt/plain/\".");
    EXPECT_EQ(selectionRefusal(ClassifyDrive("/media/cd/a")),
              "You have selected files from the CD-ROM drive \"/media/cd/\". Stampkeep cannot modify files on a "
              "CD-ROM.");
    EXPECT_EQ(selectionRefusal(ClassifyDrive("/home/a")), "");
}

TEST_F(DriveClassTest, DroppedFilesNameEachDriveOnce)
{
    DropRefusals refusals;
    EXPECT_TRUE(refusals.refuse(ClassifyDrive("/mnt/mapped/a")));
    EXPECT_TRUE(refusals.refuse(ClassifyDrive("/mnt/mapped/b")));
    EXPECT_TRUE(refusals.refuse(ClassifyDrive("/media/cd/a")));
    EXPECT_FALSE(refusals.refuse(ClassifyDrive("/home/a")));
    EXPECT_EQ(refusals.messages(),
              (std::vector<std::string>{
                  "You have selected one or more files from the following Network drive:\r\n"
                  "\t//server/share (mapped to /mnt/mapped/)\r\n\r\nStampkeep only works with files on local drives. "
                  "Please run Stampkeep on the machine that contains the drive listed above.",
                  "You have selected one or more files from the CD-ROM drive /media/cd/. Stampkeep cannot modify "
                  "files on a CD-ROM."}));
    EXPECT_TRUE(DropRefusals().messages().empty());
}

} // namespace
