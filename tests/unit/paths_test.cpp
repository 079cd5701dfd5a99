// Path text: absolute paths, folder parts and extensions.
#include "platform/paths.h"

#include <gtest/gtest.h>

namespace {

// Every result is absolute and without `.`/`..` components, whether the input was relative or not.
TEST(PathsTest, FullPathFoldsLexically)
{
    const std::string cwd = "/home/user/work";
    EXPECT_EQ(fullPath("a.txt", cwd), "/home/user/work/a.txt");
    EXPECT_EQ(fullPath("./sub/../a.txt", cwd), "/home/user/work/a.txt");
    EXPECT_EQ(fullPath("../other/*.txt", cwd), "/home/user/other/*.txt");
    EXPECT_EQ(fullPath("/etc//ssh///x", cwd), "/etc/ssh/x");
    EXPECT_EQ(fullPath("../../../../..", cwd), "/");
    EXPECT_EQ(fullPath("/../x", cwd), "/x");
    EXPECT_EQ(fullPath(".", cwd), cwd);
    EXPECT_EQ(fullPath("", cwd), cwd);
    EXPECT_EQ(fullPath("x", "/"), "/x");
    EXPECT_EQ(fullPath("x/..", "/"), "/");
}

TEST(PathsTest, FullPathKeepsATrailingSlash)
{
    EXPECT_EQ(fullPath("sub/", "/w"), "/w/sub/");
    EXPECT_EQ(fullPath("sub/../", "/w"), "/w/");
    EXPECT_EQ(fullPath("/", "/w"), "/");
    EXPECT_EQ(fullPath("..//", "/w"), "/");
    EXPECT_EQ(fullPath("sub/.", "/w"), "/w/sub");
}

TEST(PathsTest, FolderAndNameSplitAtTheLastSlash)
{
    EXPECT_EQ(folderPart("/a/b/c.txt"), "/a/b/");
    EXPECT_EQ(namePart("/a/b/c.txt"), "c.txt");
    EXPECT_EQ(folderPart("c.txt"), "");
    EXPECT_EQ(namePart("c.txt"), "c.txt");
    EXPECT_EQ(folderPart("/a/b/"), "/a/b/");
    EXPECT_EQ(namePart("/a/b/"), "");
    EXPECT_EQ(folderPart("/x"), "/");
}

TEST(PathsTest, WithTrailingSlashAddsOnlyOne)
{
    EXPECT_EQ(withTrailingSlash("/mnt/a"), "/mnt/a/");
    EXPECT_EQ(withTrailingSlash("/mnt/a/"), "/mnt/a/");
    EXPECT_EQ(withTrailingSlash("/"), "/");
    EXPECT_EQ(withTrailingSlash(""), "/");
}

// Only a dot in the last component starts an extension.
TEST(PathsTest, ChangeExtensionReplacesOrAppends)
{
    EXPECT_EQ(changeExtension("/a/report.txt", ".*"), "/a/report.*");
    EXPECT_EQ(changeExtension("/a/archive.tar.gz", ".bak"), "/a/archive.tar.bak");
    EXPECT_EQ(changeExtension("/a.d/readme", ".ini"), "/a.d/readme.ini");
    EXPECT_EQ(changeExtension("/opt/stampkeep", ".ini"), "/opt/stampkeep.ini");
    EXPECT_EQ(changeExtension("/home/.profile", ".*"), "/home/.*");
    EXPECT_EQ(changeExtension("name.txt", ""), "name");
}

} // namespace
