// Path text: absolute paths, folder parts and extensions.
#include "platform/paths.h"

#include <gtest/gtest.h>

namespace {

// Every result is absolute and without `.`/`..` components, whether the input was relative or not.
TEST(PathsTest, FullPathFoldsLexically)
{
    const std::string cwd = "/home/user/work";
    EXPECT_EQ(FullPath("a.txt", cwd), "/home/user/work/a.txt");
    EXPECT_EQ(FullPath("./sub/../a.txt", cwd), "/home/user/work/a.txt");
    EXPECT_EQ(FullPath("../other/*.txt", cwd), "/home/user/other/*.txt");
    EXPECT_EQ(FullPath("/etc//ssh///x", cwd), "/etc/ssh/x");
    EXPECT_EQ(FullPath("../../../../..", cwd), "/");
    EXPECT_EQ(FullPath("/../x", cwd), "/x");
    EXPECT_EQ(FullPath(".", cwd), cwd);
    EXPECT_EQ(FullPath("", cwd), cwd);
    EXPECT_EQ(FullPath("x", "/"), "/x");
    EXPECT_EQ(FullPath("x/..", "/"), "/");
}

TEST(PathsTest, FullPathKeepsATrailingSlash)
{
    EXPECT_EQ(FullPath("sub/", "/w"), "/w/sub/");
    EXPECT_EQ(FullPath("sub/../", "/w"), "/w/");
    EXPECT_EQ(FullPath("/", "/w"), "/");
    EXPECT_EQ(FullPath("..//", "/w"), "/");
    EXPECT_EQ(FullPath("sub/.", "/w"), "/w/sub");
}

TEST(PathsTest, FolderAndNameSplitAtTheLastSlash)
{
    EXPECT_EQ(FolderPart("/a/b/c.txt"), "/a/b/");
    EXPECT_EQ(NamePart("/a/b/c.txt"), "c.txt");
    EXPECT_EQ(FolderPart("c.txt"), "");
    EXPECT_EQ(NamePart("c.txt"), "c.txt");
    EXPECT_EQ(FolderPart("/a/b/"), "/a/b/");
    EXPECT_EQ(NamePart("/a/b/"), "");
    EXPECT_EQ(FolderPart("/x"), "/");
}

TEST(PathsTest, WithTrailingSlashAddsOnlyOne)
{
    EXPECT_EQ(WithTrailingSlash("/mnt/a"), "/mnt/a/");
    EXPECT_EQ(WithTrailingSlash("/mnt/a/"), "/mnt/a/");
    EXPECT_EQ(WithTrailingSlash("/"), "/");
    EXPECT_EQ(WithTrailingSlash(""), "/");
}

// Only a dot in the last component starts an extension.
TEST(PathsTest, ChangeExtensionReplacesOrAppends)
{
    EXPECT_EQ(ChangeExtension("/a/report.txt", ".*"), "/a/report.*");
    EXPECT_EQ(ChangeExtension("/a/archive.tar.gz", ".bak"), "/a/archive.tar.bak");
    EXPECT_EQ(ChangeExtension("/a.d/readme", ".ini"), "/a.d/readme.ini");
    EXPECT_EQ(ChangeExtension("/opt/stampkeep", ".ini"), "/opt/stampkeep.ini");
    EXPECT_EQ(ChangeExtension("/home/.profile", ".*"), "/home/.*");
    EXPECT_EQ(ChangeExtension("name.txt", ""), "name");
}

} // namespace
