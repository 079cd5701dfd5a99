#include "core/inifile.h"
#include "core/integertext.h"
#include "fake/tempdir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <limits>
#include <random>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string contents(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> namesIn(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    return names;
}

mode_t modeOf(const std::string& path)
{
    struct stat info
    {
    };
    EXPECT_EQ(::stat(path.c_str(), &info), 0);
    return info.st_mode & 07777;
}

// Last modified that many minutes ago; a link itself, not what it points to.
void age(const std::string& path, int minutes)
{
    const timespec when{std::time(nullptr) - minutes * 60, 0};
    const timespec times[2] = {when, when};
    EXPECT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << path;
}

// A FIFO, a folder, a device behind a link and a sparse file of 2 MiB, side by side in `dir`, each with the reason it
// is not read.
std::vector<std::pair<std::string, std::string>> noSettingsFiles(const TempDir& dir)
{
    const std::string fifo = dir / "fifo.ini";
    EXPECT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string device = dir / "zero.ini";
    fs::create_symlink("/dev/zero", device);
    const std::string big = dir.makeFile("big.ini", "[S]\nk=v\n");
    fs::resize_file(big, 2 * 1024 * 1024);
    return {{fifo, "not a regular file"},
            {dir.makeFolder("folder.ini"), "not a regular file"},
            {device, "not a regular file"},
            {big, "2.1 MB, more than a settings file may hold (1 MiB)"}};
}

void expectRefused(const std::function<void()>& write, const std::string& path)
{
    try {
        write();
        ADD_FAILURE() << "no IniWriteError for " << path;
    } catch (const IniWriteError& error) {
        EXPECT_EQ(std::string(error.what()), "Unable to write to " + path);
    }
}

} // namespace

TEST(IntegerText, AcceptsSignedDecimalAndHexadecimalPatterns)
{
    EXPECT_EQ(parseInteger("0"), 0);
    EXPECT_EQ(parseInteger("+7"), 7);
    EXPECT_EQ(parseInteger("-13"), -13);
    EXPECT_EQ(parseInteger("007"), 7);
    EXPECT_EQ(parseInteger("2147483647"), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(parseInteger("-2147483648"), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(parseInteger("0x3"), 3);
    EXPECT_EQ(parseInteger("0X1f"), 31);
    EXPECT_EQ(parseInteger("$1F"), 31);
    EXPECT_EQ(parseInteger("-$10"), -16);
    // Hexadecimal is a 32-bit pattern, leading zeros allowed.
    EXPECT_EQ(parseInteger("$FFFFFFFF"), -1);
    EXPECT_EQ(parseInteger("0x80000000"), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(parseInteger("$000000001"), 1);
}

TEST(IntegerText, RejectsJunkAndValuesBeyond32Bits)
{
    for (const char* text : {"", "abc", "2147483648", "-2147483649", "$100000000", "0x", "$", "-", "+", " 5", "5 ",
                             "5x", "1.0", "--5", "0x-5", "$+5", "true"})
        EXPECT_EQ(parseInteger(text), std::nullopt) << text;
}

// Headers, keys, blanks, quotes, comments and lines that are no entry.
TEST(IniFile, ReadsNamesWithoutRegardToCaseAndTrimsValues)
{
    TempDir dir;
    const IniFile ini(dir.makeFile("s.ini", "[preset1]\nname=Foo\n"
                                            "  [ Other ]  \n\t Key \t=\t two words \t\n;Key2=comment\nno equals\n"
                                            "q1=\"quoted \"\nq2='single'\nq3=\"mixed'\nq4=\"\nempty=\n"));
    EXPECT_EQ(ini.readValue("Preset1", "NAME"), "Foo");
    EXPECT_EQ(ini.readValue("OTHER", "key"), "two words");
    EXPECT_EQ(ini.readValue("Other", "Key2"), std::nullopt);
    EXPECT_EQ(ini.readValue("Other", "no equals"), std::nullopt);
    EXPECT_EQ(ini.readValue("Other", "q1"), "quoted ");
    EXPECT_EQ(ini.readValue("Other", "q2"), "single");
    EXPECT_EQ(ini.readValue("Other", "q3"), "\"mixed'");
    EXPECT_EQ(ini.readValue("Other", "q4"), "\"");
    EXPECT_EQ(ini.readString("Other", "empty", "fallback"), "");
    EXPECT_EQ(ini.readString("Other", "missing", "fallback"), "fallback");
    EXPECT_EQ(ini.readValue("Preset2", "Name"), std::nullopt);
}

TEST(IniFile, FirstDuplicateWinsForReadingAndWriting)
{
    TempDir dir;
    IniFile ini(dir.makeFile("s.ini", "[A]\nk=1\nk=2\n[a]\nk=3\nm=4\n"));
    EXPECT_EQ(ini.readValue("a", "K"), "1");
    EXPECT_EQ(ini.readValue("A", "m"), std::nullopt);
    ini.writeString("a", "K", "9");
    ini.writeString("A", "m", "5");
    EXPECT_EQ(contents(ini.path()), "[A]\nk=9\nk=2\nm=5\n[a]\nk=3\nm=4\n");
}

// Integers and Booleans read as the fallback unless the whole value is a number.
TEST(IniFile, ReadsIntegersAndBooleans)
{
    TempDir dir;
    const IniFile ini(dir.makeFile("s.ini", "[S]\nhex=0x3\ndollar=$1F\nword=abc\nempty=\nbig=2147483648\n"
                                            "neg = -12 \nbool=true\none=1\nzero=0\ntwo=2\n"));
    EXPECT_EQ(ini.readInteger("S", "hex", 7), 3);
    EXPECT_EQ(ini.readInteger("S", "dollar", 7), 31);
    EXPECT_EQ(ini.readInteger("S", "neg", 7), -12);
    for (const char* key : {"word", "empty", "big", "missing"})
        EXPECT_EQ(ini.readInteger("S", key, 7), 7) << key;
    EXPECT_TRUE(ini.readBool("S", "bool", true));
    EXPECT_FALSE(ini.readBool("S", "bool", false));
    EXPECT_TRUE(ini.readBool("S", "one", false));
    EXPECT_FALSE(ini.readBool("S", "zero", true));
    EXPECT_TRUE(ini.readBool("S", "two", false));
    EXPECT_TRUE(ini.readBool("S", "missing", true));
}

TEST(IniFile, AbsentFileReadsAsAbsentAndAWriteCreatesIt)
{
    TempDir dir;
    IniFile ini(dir / "s.ini");
    EXPECT_EQ(ini.readValue("S", "k"), std::nullopt);
    EXPECT_EQ(ini.readInteger("S", "k", 4), 4);
    ini.eraseSection("S");
    EXPECT_FALSE(fs::exists(ini.path()));

    const mode_t previous = ::umask(027);
    ini.writeInteger("S", "n", -5);
    ::umask(previous);
    ini.writeBool("S", "t", true);
    ini.writeBool("S", "f", false);
    EXPECT_EQ(contents(ini.path()), "[S]\nn=-5\nt=1\nf=0\n");
    EXPECT_EQ(modeOf(ini.path()), 0640u);
}

// A file read once answers from the text of its first read: later changes by others are not seen, its own writes
// are, and a file absent then stays absent for it.
TEST(IniFile, ReadOnceAnswersFromTheTextItRead)
{
    TempDir dir;
    const std::string path = dir.makeFile("s.ini", "[Preset1]\nMod=1\n");
    const IniFile absent = IniFile::readOnce(dir / "none.ini");
    IniFile once = IniFile::readOnce(path);
    EXPECT_EQ(once.readInteger("Preset1", "Mod", 0), 1);
    EXPECT_EQ(absent.readInteger("Preset1", "Mod", 0), 0);

    IniFile(path).writeInteger("Preset1", "Mod", 2);
    IniFile(dir / "none.ini").writeInteger("Preset1", "Mod", 3);
    EXPECT_EQ(once.readInteger("Preset1", "Mod", 0), 1);
    EXPECT_EQ(absent.readInteger("Preset1", "Mod", 0), 0);
    EXPECT_EQ(IniFile(path).readInteger("Preset1", "Mod", 0), 2);

    once.writeInteger("Preset1", "Cre", 4);
    EXPECT_EQ(once.readInteger("Preset1", "Cre", 0), 4);
    EXPECT_EQ(once.readInteger("Preset1", "Mod", 0), 2);
    once.eraseSection("Preset1");
    EXPECT_EQ(once.readValue("Preset1", "Cre"), std::nullopt);
}

// Until a value is asked for, a file read once is not looked at: what is there at the first read counts, and a FIFO
// in its place holds nothing up (the alarm ends a run that blocks).
TEST(IniFile, ReadOnceReadsAtTheFirstValueAskedFor)
{
    TempDir dir;
    const std::string path = dir / "s.ini";
    const IniFile once = IniFile::readOnce(path);
    dir.makeFile("s.ini", "[Preset1]\nMod=1\n");
    EXPECT_EQ(once.readInteger("Preset1", "Mod", 0), 1);

    const std::string fifo = dir / "fifo.ini";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ::alarm(10);
    const IniFile waiting = IniFile::readOnce(fifo);
    EXPECT_EQ(waiting.readInteger("Preset1", "Mod", 0), 0);
    ::alarm(0);
}

// A CR LF file with comments, odd spacing and a section with duplicate keys changes only where written.
TEST(IniFile, WriteKeepsEveryOtherByte)
{
    const std::string head = "; settings\r\n[Settings]\r\n  ChangeDate =  ";
    const std::string middle = "  \r\n\tName\t=";
    const std::string tail = "\r\n; trailing comment\r\n\r\n[Other]\r\nName=x\r\nname=y\r\nodd line\r\n";
    TempDir dir;
    IniFile ini(dir.makeFile("s.ini", head + "1" + middle + "\"Old name\"" + tail));

    ini.writeInteger("settings", "CHANGEDATE", 0);
    ini.writeString("Settings", "name", "New");
    EXPECT_EQ(contents(ini.path()), head + "0" + middle + "New" + tail);

    ini.writeString("Settings", "Extra", "e");
    ini.writeString("New", "k", "v");
    EXPECT_EQ(contents(ini.path()), head + "0" + middle + "New\r\nExtra=e" + tail + "[New]\r\nk=v\r\n");
}

// Appending to a file without a final line end must not glue the new line to the last one.
TEST(IniFile, AddsKeysAndSectionsAtTheEnd)
{
    TempDir dir;
    IniFile ini(dir.makeFile("s.ini", "[A]\nx=1\nblank = \n\n[B]\ny=2"));
    ini.writeString("B", "z", "3");
    EXPECT_EQ(contents(ini.path()), "[A]\nx=1\nblank = \n\n[B]\ny=2\nz=3");
    ini.writeString("A", "blank", "filled");
    ini.writeString("A", "w", "line\r\nbreak");
    EXPECT_EQ(contents(ini.path()), "[A]\nx=1\nblank = filled\nw=line\n\n[B]\ny=2\nz=3");
    ini.writeString("C", "k", "v");
    EXPECT_EQ(contents(ini.path()), "[A]\nx=1\nblank = filled\nw=line\n\n[B]\ny=2\nz=3\n[C]\nk=v\n");
}

TEST(IniFile, EraseSectionRemovesTheFirstMatchUpToTheNextHeader)
{
    TempDir dir;
    IniFile ini(dir.makeFile("s.ini", "top=1\n[A]\nk=1\n; c\n\n[b]\nk=2\n[a]\nk=3"));
    ini.eraseSection("a");
    EXPECT_EQ(contents(ini.path()), "top=1\n[b]\nk=2\n[a]\nk=3");
    ini.eraseSection("missing");
    EXPECT_EQ(contents(ini.path()), "top=1\n[b]\nk=2\n[a]\nk=3");
    ini.eraseSection("A");
    EXPECT_EQ(contents(ini.path()), "top=1\n[b]\nk=2\n");
}

TEST(IniFile, LongValuesAreCut)
{
    TempDir dir;
    IniFile ini(dir / "s.ini");
    ini.writeString("S", "k", std::string(5000, 'v'));
    EXPECT_EQ(ini.readValue("S", "k"), std::string(IniFile::kMaxValueLength, 'v'));
}

// Random bytes with NULs, lone CRs and a half-megabyte line around one known section.
TEST(IniFile, BinaryGarbageNeitherCrashesNorChangesOnWrite)
{
    std::mt19937 random(20240601);
    std::string noise(200000, '\0');
    for (char& c : noise)
        c = static_cast<char>(random() % 256);
    const std::string head = "junk\n" + noise + "\n" + std::string(1 << 19, '\0') + "=[\n[Known]\nkey=";
    const std::string tail = "\n" + noise.substr(0, 5000) + "x";
    TempDir dir;
    IniFile ini(dir.makeFile("s.ini", head + "5" + tail));

    EXPECT_EQ(ini.readInteger("Known", "key", 0), 5);
    EXPECT_EQ(ini.readValue("Absent", "key"), std::nullopt);
    ini.writeString("known", "KEY", "6");
    EXPECT_EQ(contents(ini.path()), head + "6" + tail);
    ini.writeString("Fresh", "k", "v");
    EXPECT_EQ(contents(ini.path()), head + "6" + tail + "\n[Fresh]\nk=v\n");
}

// Refusals that hold for root too: no folder, a folder in the file's place, a file size limit.
TEST(IniFile, RefusedWriteThrowsAndKeepsTheOldFile)
{
    TempDir dir;
    const std::string missing = dir / "missing/s.ini";
    expectRefused([&] { IniFile(missing).writeString("S", "k", "v"); }, missing);
    EXPECT_FALSE(fs::exists(dir / "missing"));

    const std::string folder = dir.makeFolder("folder.ini");
    expectRefused([&] { IniFile(folder).writeString("S", "k", "v"); }, folder);
    expectRefused([&] { IniFile(folder).eraseSection("S"); }, folder);
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_EQ(IniFile(folder).readValue("S", "k"), std::nullopt);

    const std::string file = dir.makeFile("s.ini", "[S]\nk=old\n");
    rlimit limit{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit small{4096, limit.rlim_max};
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    expectRefused([&] { IniFile(file).writeString("S", "k", std::string(8000, 'v')); }, file);
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, handler);
    EXPECT_EQ(contents(file), "[S]\nk=old\n");
    EXPECT_EQ(namesIn(dir.path()).size(), 2u) << "a temporary file was left behind";
}

// Permission bits bind only ordinary users.
TEST(IniFile, RefusedByPermissions)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root ignores permission bits";
    TempDir dir;
    const std::string file = dir.makeFile("locked/s.ini", "[S]\nk=old\n");
    fs::permissions(dir / "locked", fs::perms::owner_read | fs::perms::owner_exec);
    expectRefused([&] { IniFile(file).writeString("S", "k", "new"); }, file);
    expectRefused([&] { IniFile(file).eraseSection("S"); }, file);
    EXPECT_EQ(contents(file), "[S]\nk=old\n");
    EXPECT_EQ(namesIn(dir / "locked").size(), 1u);

    const std::string readOnly = dir.makeFile("ro.ini", "[S]\nk=old\n");
    fs::permissions(readOnly, fs::perms::owner_read);
    expectRefused([&] { IniFile(readOnly).writeString("S", "k", "new"); }, readOnly);
    EXPECT_EQ(contents(readOnly), "[S]\nk=old\n");

    const std::string writeOnly = dir.makeFile("wo.ini", "[S]\nk=old\n");
    fs::permissions(writeOnly, fs::perms::owner_write);
    EXPECT_EQ(IniFile(writeOnly).readValue("S", "k"), std::nullopt);
    EXPECT_EQ(IniFile(writeOnly).problem(), "Cannot read " + writeOnly + ": Permission denied");
    expectRefused([&] { IniFile(writeOnly).writeString("S", "j", "new"); }, writeOnly);
    fs::permissions(writeOnly, fs::perms::owner_read, fs::perm_options::add);
    EXPECT_EQ(contents(writeOnly), "[S]\nk=old\n");
}

// Whatever stands in the settings file's place, a read ends at once and says why it took nothing; the alarm ends a
// run that would block or read without end. A file of exactly the limit is still read; an absent file is no problem.
TEST(IniFile, ReadRefusesWhatIsNoSettingsFile)
{
    TempDir dir;
    const auto refused = noSettingsFiles(dir);
    ::alarm(10);
    for (const auto& [path, reason] : refused) {
        const IniFile ini(path);
        EXPECT_EQ(ini.readValue("S", "k"), std::nullopt) << path;
        EXPECT_EQ(ini.problem(), "Cannot read " + path + ": " + reason);
        EXPECT_EQ(IniFile::readOnce(path).problem(), "Cannot read " + path + ": " + reason);
    }
    ::alarm(0);

    const std::string head = "[S]\nk=v\n";
    const IniFile limit(dir.makeFile("limit.ini", head + std::string(kMaxSettingsFileSize - head.size(), ';')));
    EXPECT_EQ(limit.readValue("S", "k"), "v");
    EXPECT_EQ(limit.problem(), std::nullopt);
    EXPECT_EQ(IniFile(dir / "absent.ini").problem(), std::nullopt);
}

// A refused file is never written over: the write throws as any refused write does, and the file stays what it was.
// Nor does a write make a file that later reads would refuse.
TEST(IniFile, RefusedFileIsNotWrittenOver)
{
    TempDir dir;
    const auto refused = noSettingsFiles(dir);
    ::alarm(10);
    for (const auto& [path, reason] : refused) {
        expectRefused([&] { IniFile(path).writeString("S", "k", "new"); }, path);
        expectRefused([&] { IniFile(path).eraseSection("S"); }, path);
    }
    ::alarm(0);
    EXPECT_TRUE(fs::is_fifo(dir / "fifo.ini"));
    EXPECT_TRUE(fs::is_directory(dir / "folder.ini"));
    EXPECT_EQ(fs::read_symlink(dir / "zero.ini"), "/dev/zero");
    EXPECT_EQ(fs::file_size(dir / "big.ini"), 2u * 1024 * 1024);
    EXPECT_EQ(contents(dir / "big.ini").substr(0, 8), "[S]\nk=v\n");

    const std::string nearly = dir.makeFile("nearly.ini", "[S]\n" + std::string(kMaxSettingsFileSize - 10, ';') + "\n");
    expectRefused([&] { IniFile(nearly).writeString("S", "k", std::string(100, 'v')); }, nearly);
    EXPECT_EQ(fs::file_size(nearly), kMaxSettingsFileSize - 5);
    EXPECT_EQ(namesIn(dir.path()).size(), 5u) << "a temporary file was left behind";
}

// A byte-order mark is no part of the first section's header, and a write keeps it where it was.
TEST(IniFile, ByteOrderMarkIsSkippedAndKept)
{
    const std::string mark = "\xEF\xBB\xBF";
    TempDir dir;
    IniFile ini(dir.makeFile("s.ini", mark + "[Preset1]\r\nEnabled=1\r\n[Other]\r\nk=v\r\n"));
    EXPECT_TRUE(ini.readBool("Preset1", "Enabled", false));
    EXPECT_EQ(IniFile::readOnce(ini.path()).readValue("preset1", "ENABLED"), "1");

    ini.writeInteger("Preset1", "Enabled", 0);
    ini.writeString("Preset1", "Name", "N");
    EXPECT_EQ(contents(ini.path()), mark + "[Preset1]\r\nEnabled=0\r\nName=N\r\n[Other]\r\nk=v\r\n");
    ini.eraseSection("preset1");
    EXPECT_EQ(contents(ini.path()), mark + "[Other]\r\nk=v\r\n");

    IniFile bare(dir.makeFile("bare.ini", mark));
    bare.writeString("S", "k", "v");
    EXPECT_EQ(contents(bare.path()), mark + "[S]\nk=v\n");
}

TEST(IniFile, ReplacementKeepsPermissionBitsAndSymbolicLinks)
{
    TempDir dir;
    const std::string file = dir.makeFile("real/s.ini", "[S]\nk=old\n");
    fs::permissions(file, static_cast<fs::perms>(0604));
    const std::string link = dir / "link.ini";
    fs::create_symlink(file, link);

    IniFile(link).writeString("S", "k", "new");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(contents(file), "[S]\nk=new\n");
    EXPECT_EQ(modeOf(file), 0604u);
    EXPECT_EQ(namesIn(dir / "real"), std::vector<std::string>{"s.ini"});
}

// A write clears away what writes of the same file killed before their rename left an hour or more ago. A younger
// temporary may be a live writer's; names not of this file's temporaries, links and folders are not the write's.
TEST(IniFile, WriteRemovesOldLeftoverTemporariesOfItsFile)
{
    TempDir dir;
    const std::string file = dir.makeFile("s.ini", "[S]\nk=old\n");
    for (const char* name : {".s.ini.a1B2c3", ".s.ini.Zz9yX8", ".s.ini.a1B2c", ".s.ini.a1B2c3d", ".s.ini.a1-2c3",
                             ".t.ini.a1B2c3", "s.ini.a1B2c3", "old.txt"})
        age(dir.makeFile(name, "partial"), 65);
    age(dir.makeFile(".s.ini.k0K0k0", "partial"), 55);
    age(dir.makeFolder(".s.ini.dir001"), 65);
    fs::create_symlink(dir / "old.txt", dir / ".s.ini.link01");
    age(dir / ".s.ini.link01", 65);

    // A write that leaves the file as it is clears nothing.
    IniFile(file).eraseSection("Absent");
    EXPECT_TRUE(fs::exists(dir / ".s.ini.a1B2c3"));

    IniFile(file).writeString("S", "k", "new");
    std::vector<std::string> names = namesIn(dir.path());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{".s.ini.a1-2c3", ".s.ini.a1B2c", ".s.ini.a1B2c3d", ".s.ini.dir001",
                                               ".s.ini.k0K0k0", ".s.ini.link01", ".t.ini.a1B2c3", "old.txt", "s.ini",
                                               "s.ini.a1B2c3"}));
    EXPECT_EQ(contents(file), "[S]\nk=new\n");

    // Later writes in the same process do not read the folder again.
    age(dir.makeFile(".s.ini.later1", "partial"), 65);
    IniFile(file).writeString("S", "k", "newer");
    EXPECT_TRUE(fs::exists(dir / ".s.ini.later1"));
}

// Another user's file in a shared folder is left to that user, however old.
TEST(IniFile, LeftoverTemporaryOfAnotherUserIsKept)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root can give a file to another user";
    TempDir dir;
    const std::string file = dir.makeFile("s.ini", "[S]\nk=old\n");
    const std::string foreign = dir.makeFile(".s.ini.q7W3e9", "partial");
    ASSERT_EQ(::chown(foreign.c_str(), 65534, 65534), 0);
    age(foreign, 120);
    IniFile(file).writeString("S", "k", "new");
    EXPECT_TRUE(fs::exists(foreign));
}
