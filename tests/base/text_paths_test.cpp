#include <gtest/gtest.h>

#include <filesystem>

#include "base/paths.h"
#include "base/text.h"
#include "tests/test_util.h"

// 表 is 0x95 0x5C: its second byte is a backslash.
static const std::string kHyou = "\x95\x5C";
// ソ is 0x83 0x5C.
static const std::string kSo = "\x83\x5C";

TEST(Text, LeadBytesAndCutting)
{
    EXPECT_TRUE(IsLeadByte(0x81));
    EXPECT_TRUE(IsLeadByte(0x9F));
    EXPECT_TRUE(IsLeadByte(0xE0));
    EXPECT_TRUE(IsLeadByte(0xFC));
    EXPECT_FALSE(IsLeadByte(0x80));
    EXPECT_FALSE(IsLeadByte(0xA0));  // half-width katakana are single bytes
    EXPECT_FALSE(IsLeadByte(0xDF));
    EXPECT_FALSE(IsLeadByte('\\'));

    std::string s = "a" + kHyou + "b";
    EXPECT_EQ(CutToBytes(s, 2), "a");  // never half a character
    EXPECT_EQ(CutToBytes(s, 3), "a" + kHyou);
    EXPECT_EQ(FindLastSingleByte("x\\" + kHyou, '\\'), 1u);
    EXPECT_EQ(FindLastSingleByte(kSo, '\\'), std::string::npos);
}

TEST(Text, ConversionBothWays)
{
    EXPECT_EQ(Cp932ToUtf8(kHyou + "a"), "\xE8\xA1\xA8" "a");
    EXPECT_EQ(Utf8ToCp932("表示"), "\x95\x5C\x8E\xA6");
    EXPECT_EQ(SJ("エラー"), "\x83\x47\x83\x89\x81\x5B");
    EXPECT_EQ(Cp932ToUtf16(kHyou), u"表");
    EXPECT_EQ(Utf16ToCp932(u"表示"), "\x95\x5C\x8E\xA6");
    EXPECT_EQ(Utf8ToCp932("\xF0\x9F\x98\x80"), "?");  // not in CP932
    EXPECT_EQ(Cp932ToUtf8("\x81"), "\xEF\xBF\xBD");     // a lone lead byte
}

TEST(Text, ExactConversionKeepsEveryByte)
{
    // Valid text, a character with two codes (0xED40 and 0xFA5C), a lone lead
    // byte, an undefined pair, half-width katakana and every single byte.
    std::vector<std::string> inputs = {
        "abc" + kHyou, "\xED\x40", "\xFA\x5C", "\x81", "\x85\x40", "\xB1\xB2", "a\x80z", "\xFD\xFE\xFF",
    };
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    inputs.push_back(all);
    for (const std::string& in : inputs) {
        std::string utf8 = Cp932ToUtf8Exact(in);
        std::string back;
        ASSERT_TRUE(Utf8ToCp932Exact(utf8, back));
        EXPECT_EQ(back, in);
    }
    EXPECT_EQ(Cp932ToUtf8Exact(kHyou), "\xE8\xA1\xA8");
    std::string out;
    EXPECT_FALSE(Utf8ToCp932Exact("\xC3", out));                // broken UTF-8
    EXPECT_FALSE(Utf8ToCp932Exact("\xF0\x9F\x98\x80", out));    // not in CP932
}

TEST(Paths, PartsAndExtensionsAreDoubleByteAware)
{
    struct Case {
        std::string path, file, folder, ext;
        bool hasDot;
    } cases[] = {
        {"data\\stg\\a.stg2", "a.stg2", "data\\stg\\", "stg2", true},
        {"data\\" + kHyou, kHyou, "data\\", "", false},
        {kSo + "\\x.dat", "x.dat", kSo + "\\", "dat", true},
        {"noext", "noext", "", "", false},
        {"a.b\\c", "c", "a.b\\", "b\\c", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FileNamePart(c.path), c.file) << c.path;
        EXPECT_EQ(FolderPart(c.path), c.folder) << c.path;
        std::string ext;
        EXPECT_EQ(GetExtension(ext, c.path), c.hasDot) << c.path;
        EXPECT_EQ(ext, c.ext) << c.path;
    }
    std::string out;
    EXPECT_TRUE(ReplaceExtension(out, "data\\stg\\a.stg", "stg2"));
    EXPECT_EQ(out, "data\\stg\\a.stg2");
    EXPECT_TRUE(ReplaceExtension(out, "a.b.c", ""));
    EXPECT_EQ(out, "a.b");
    EXPECT_FALSE(ReplaceExtension(out, "data\\stg\\noext", "stg2"));
    EXPECT_EQ(out, "data\\stg\\noext");
    EXPECT_TRUE(HasExtension("x.stg2", "stg2"));
    EXPECT_FALSE(HasExtension("x.STG2", "stg2"));
}

TEST(Paths, RelativeAbsoluteAndHostMapping)
{
    TempDir dir;
    std::string cwd = CurrentDirectory();
    std::string p = "data\\a.dat";
    MakeAbsolute(p);
    EXPECT_EQ(p, cwd + "\\data\\a.dat");
    EXPECT_TRUE(MakeRelative(p));
    EXPECT_EQ(p, "data\\a.dat");
    std::string rel = "x\\y";
    EXPECT_TRUE(MakeRelative(rel));
    EXPECT_EQ(rel, "x\\y");
    std::string other = "Q:\\elsewhere\\a.dat";
    EXPECT_FALSE(MakeRelative(other)) << "another drive";
    EXPECT_EQ(other, "Q:\\elsewhere\\a.dat");
    std::string up = cwd + "\\..\\sibling\\b.dat";
    EXPECT_TRUE(MakeRelative(up));
    EXPECT_EQ(up, "..\\sibling\\b.dat");

    // A folder and file named with a 0x5C trail byte.
    std::filesystem::create_directories("data/表");
    WriteFile("data/表/ソ.dat", {1, 2});
    EXPECT_EQ(HostPath("data\\" + kHyou + "\\" + kSo + ".dat"), "data/表/ソ.dat");
    std::vector<std::string> files;
    ListFiles("data\\" + kHyou, "dat", files);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0], "data\\" + kHyou + "\\" + kSo + ".dat");

    // Projects from Windows: names differ only in case.
    std::filesystem::create_directories("Proj/Database");
    WriteFile("Proj/Database/Class.DAT", {3});
    EXPECT_EQ(HostPath("proj\\database\\class.dat"), "Proj/Database/Class.DAT");
    EXPECT_EQ(HostPath("PROJ\\DATABASE\\New.dat"), "Proj/Database/New.dat") << "existing folders matched, the rest kept";
    EXPECT_EQ(ReadFile(HostPath("PROJ\\database\\CLASS.dat")), (std::vector<uint8_t>{3}));
}

TEST(Paths, RelativeToAFolderThatDiffersOnlyInCase)
{
    // Here "Proj" and "proj" are two folders: a file chosen in the other one must
    // not be taken for the file of the same name in the project.
    TempDir dir;
    std::filesystem::create_directories("Proj/data");
    std::filesystem::create_directories("proj/data");
    std::filesystem::current_path("Proj");
    std::string p = StoredPath((dir.Path() / "proj/data/a.stg2").string());
    EXPECT_TRUE(MakeRelative(p));
    EXPECT_EQ(p, "..\\proj\\data\\a.stg2");
    std::filesystem::current_path(dir.Path());
}
