// The shared block: one owner at a time, shared bytes, private to the user, taken over after its owner died.
#include "platform/sharedblock.h"

#include "fake/scopedvariable.h"
#include "fake/tempdir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <random>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class SharedBlockTest : public ::testing::Test
{
protected:
    SharedBlockTest()
        : name("stampkeep-test-" + std::to_string(std::random_device{}()) + "-" + std::to_string(getpid()))
    {
    }
    ~SharedBlockTest() override { shm_unlink(SharedBlock::systemName(name).c_str()); }

    std::unique_ptr<SharedBlock> openOrCreate()
    {
        std::string error;
        auto block = SharedBlock::openOrCreate(name, 336, error);
        EXPECT_TRUE(block) << error;
        return block;
    }

    std::string name;
};

TEST_F(SharedBlockTest, FirstOpenerOwnsTheBlockAndLaterOnesShareIt)
{
    const auto owner = openOrCreate();
    ASSERT_TRUE(owner);
    EXPECT_TRUE(owner->isOwner());
    EXPECT_EQ(owner->size(), 336u);
    {
        const auto guest = openOrCreate();
        ASSERT_TRUE(guest);
        EXPECT_FALSE(guest->isOwner());
        guest->data()[73] = 42;
    }
    EXPECT_EQ(owner->data()[73], 42);

    struct stat st;
    const int fd = shm_open(SharedBlock::systemName(name).c_str(), O_RDONLY, 0);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(fstat(fd, &st), 0);
    close(fd);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_NE(SharedBlock::systemName(name).find("." + std::to_string(getuid())), std::string::npos);
}

TEST_F(SharedBlockTest, ABlockLeftByADeadOwnerIsTakenOver)
{
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::string error;
        const auto block = SharedBlock::openOrCreate(name, 336, error);
        block->data()[0] = 7;
        raise(SIGKILL); // dies holding the lock, without closing anything
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));

    const auto block = openOrCreate();
    ASSERT_TRUE(block);
    EXPECT_TRUE(block->isOwner());
    EXPECT_EQ(block->data()[0], 7); // the stale content is still there until overwritten
}

TEST_F(SharedBlockTest, ABlockOthersCanReadIsRefused)
{
    const int fd = shm_open(SharedBlock::systemName(name).c_str(), O_RDWR | O_CREAT, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(fchmod(fd, 0644), 0);
    close(fd);
    std::string error;
    EXPECT_FALSE(SharedBlock::openOrCreate(name, 336, error));
    EXPECT_NE(error.find("not private"), std::string::npos);
}

// The block is the session's: its name follows the runtime folder, and its owner takes it away when it ends.
TEST_F(SharedBlockTest, BlockBelongsToTheSessionAndGoesWithItsOwner)
{
    const std::string here = SharedBlock::systemName(name);
    {
        const TempDir anotherSession;
        const ScopedVariable runtime("XDG_RUNTIME_DIR", anotherSession.path().c_str());
        EXPECT_NE(SharedBlock::systemName(name), here);
    }

    openOrCreate().reset();
    errno = 0;
    EXPECT_LT(shm_open(here.c_str(), O_RDONLY, 0), 0);
    EXPECT_EQ(errno, ENOENT);
}

} // namespace
