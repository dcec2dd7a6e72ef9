#include "records/serial.h"

#include <cstring>

#include <gtest/gtest.h>

#include "tests/records/record_bytes.h"
#include "tests/test_util.h"

namespace {

enum class Colour : int32_t { Red, Green };
enum class Small : uint8_t { A, B };

class cLeaf : public cSerial {
public:
    cLeaf() { Init(); }
    SERIAL_MEMBERS
    {
        Members<cLeaf> m(*this, op, other, io, version);
        m.Int("id", &cLeaf::id);
        m.Str("name", &cLeaf::name);
        return m.Result();
    }
    int32_t id = 0;
    std::string name;
};

// One member of every kind, with gates.
class cSample : public cSerial {
public:
    cSample() { Init(); }
    SERIAL_MEMBERS
    {
        Members<cSample> m(*this, op, other, io, version);
        m.Int("i8", &cSample::i8);
        m.Int("u16", &cSample::u16);
        m.Int("i32", &cSample::i32, {}, 7);
        m.Int("colour", &cSample::colour);
        m.Real("real", &cSample::real, {}, 1.5);
        m.Str("text", &cSample::text, {}, "def");
        m.Obsolete(4, Range(0, 50));
        m.Array("ints", &cSample::ints);
        m.Array("reals", &cSample::reals);
        m.IntVec("vec", &cSample::vec);
        m.ByteVec("bytes", &cSample::bytes);
        m.IntVecArray("vecs", &cSample::vecs);
        m.IntVecVec("vecvec", &cSample::vecvec);
        m.StrVec("strs", &cSample::strs);
        m.List("leaves", &cSample::leaves);
        m.Nested("leaf", &cSample::leaf);
        m.Int("late", &cSample::late, Since(211));
        return m.Result();
    }

    int8_t i8 = 0;
    uint16_t u16 = 0;
    int32_t i32 = 0;
    Colour colour = Colour::Red;
    double real = 0;
    std::string text;
    std::array<int32_t, 2> ints{};
    std::array<double, 2> reals{};
    std::vector<int32_t> vec;
    std::vector<uint8_t> bytes;
    std::array<std::vector<int32_t>, 2> vecs;
    std::vector<std::vector<int32_t>> vecvec;
    std::vector<std::string> strs;
    RecordList<cLeaf> leaves;
    cLeaf leaf;
    int32_t late = 0;
};

class cDerived : public cSample {
public:
    cDerived() { Init(); }
    SERIAL_MEMBERS
    {
        Members<cDerived> m(*this, op, other, io, version);
        m.Base<cSample>();
        m.Int("extra", &cDerived::extra);
        return m.Result();
    }
    int32_t extra = 0;
};

// A record class that declares its Serial without SERIAL_MEMBERS: it has no read
// plan of its own and must not be read by its base class's.
class cWithoutPlan : public cLeaf {
public:
    int Serial(SerialOp op, cSerial* other, SerialIO* io, uint32_t version) override
    {
        Members<cWithoutPlan> m(*this, op, other, io, version);
        m.Base<cLeaf>();
        m.Int("more", &cWithoutPlan::more);
        return m.Result();
    }
    int32_t more = 0;
};

class cBadEnum : public cSerial {
public:
    SERIAL_MEMBERS
    {
        Members<cBadEnum> m(*this, op, other, io, version);
        m.Int("small", &cBadEnum::small);
        m.Int("after", &cBadEnum::after);
        return m.Result();
    }
    Small small = Small::A;
    int32_t after = 0;
};

class cWithReserved : public cSerial {
public:
    cWithReserved() { Init(); }
    SERIAL_MEMBERS
    {
        Members<cWithReserved> m(*this, op, other, io, version);
        m.Int("a", &cWithReserved::a);
        m.Reserved("r1", 1);
        m.Reserved("r4", 4);
        return m.Result();
    }
    int32_t a = 0;
};

// Records whose member initialisers differ from their initial values, so
// that an element made without its Init and not read over whole shows.
class cBareLeaf : public cSerial {
public:
    SERIAL_CONSTRUCTOR(cBareLeaf)
    SERIAL_MEMBERS
    {
        Members<cBareLeaf> m(*this, op, other, io, version);
        m.Int("id", &cBareLeaf::id, {}, 5);
        m.Str("name", &cBareLeaf::name, {}, "leaf");
        return m.Result();
    }
    int32_t id = -1;
    std::string name = "not initialised";
};

class cBareValues : public cSerial {
public:
    SERIAL_CONSTRUCTOR(cBareValues)
    SERIAL_MEMBERS
    {
        Members<cBareValues> m(*this, op, other, io, version);
        m.Int("a", &cBareValues::a, {}, 7);
        m.Real("r", &cBareValues::r, {}, 1.5);
        m.Str("s", &cBareValues::s, {}, "def");
        m.IntVec("v", &cBareValues::v);
        m.StrVec("strs", &cBareValues::strs);
        m.List("leaves", &cBareValues::leaves);
        m.Int("late", &cBareValues::late, Since(300), 9);
        return m.Result();
    }
    int32_t a = -1;
    double r = -1;
    std::string s = "not initialised";
    std::vector<int32_t> v;
    std::vector<std::string> strs{"not initialised"};
    RecordList<cBareLeaf> leaves;
    int32_t late = -1;
};

// A vector that starts with values, which a count of 0 in a file leaves.
class cBareDefaultVector : public cSerial {
public:
    SERIAL_CONSTRUCTOR(cBareDefaultVector)
    SERIAL_MEMBERS
    {
        Members<cBareDefaultVector> m(*this, op, other, io, version);
        m.Int("a", &cBareDefaultVector::a, {}, 3);
        m.IntVec("v", &cBareDefaultVector::v);
        return m.Result();
    }
    int32_t a = -1;
    std::vector<int32_t> v{1, 2};
};

// A nested record is read over as it was made, not as Init leaves it.
class cBareNested : public cSerial {
public:
    SERIAL_CONSTRUCTOR(cBareNested)
    SERIAL_MEMBERS
    {
        Members<cBareNested> m(*this, op, other, io, version);
        m.Int("a", &cBareNested::a, {}, 3);
        m.Nested("leaf", &cBareNested::leaf);
        return m.Result();
    }
    int32_t a = -1;
    cBareLeaf leaf;
};

template <class T>
class cHolder : public cSerial {
public:
    cHolder() { Init(); }
    SERIAL_MEMBERS
    {
        Members<cHolder> m(*this, op, other, io, version);
        m.List("items", &cHolder::items);
        return m.Result();
    }
    RecordList<T> items;
};

cSample Filled()
{
    cSample s;
    s.i8 = -3;
    s.u16 = 65000;
    s.i32 = -123456;
    s.colour = Colour::Green;
    s.real = -2.25;
    s.text = "\x95\x5C\x8E\xA6";  // 表示
    s.ints = {11, -12};
    s.reals = {0.5, 1e300};
    s.vec = {1, 2, 3};
    s.bytes = {9, 255};
    s.vecs = {std::vector<int32_t>{4}, std::vector<int32_t>{5, 6}};
    s.vecvec = {{7}, {}, {8, 9}};
    s.strs = {"", "x"};
    s.leaves.emplace_back().id = 41;
    s.leaves.emplace_back().name = "leaf";
    s.leaf.id = 99;
    s.late = 211;
    return s;
}

}  // namespace

TEST(Serial, EncodingsOfEachKind)
{
    struct Case {
        const char* what;
        std::function<void(cSample&)> set;
        std::vector<uint8_t> expected;  // bytes from member i32 up to text, or the whole tail
    };
    cSample s;
    s.Init();
    // Init applies the table defaults.
    EXPECT_EQ(s.i32, 7);
    EXPECT_EQ(s.real, 1.5);
    EXPECT_EQ(s.text, "def");

    cLeaf leaf;
    EXPECT_EQ(Body(leaf), (Bytes().i32(0).u32(1).data)) << "empty string is 01 00 00 00";
    leaf.name = "abc";
    EXPECT_EQ(Body(leaf), (Bytes().i32(0).u32(4).u8('a').u8('b').u8('c').u8(0).data));

    cSample f = Filled();
    Bytes b;
    b.u8(0xFD).u16(65000).i32(-123456).i32(1).f64(-2.25).str("\x95\x5C\x8E\xA6");
    b.i32(11).i32(-12).f64(0.5).f64(1e300);
    b.u32(3).i32(1).i32(2).i32(3);
    b.u32(2).u8(9).u8(255);
    b.u32(1).i32(4).u32(2).i32(5).i32(6);
    b.u32(3).u32(1).i32(7).u32(0).u32(2).i32(8).i32(9);
    b.u32(2).str("").str("x");
    b.u32(2).i32(41).str("").i32(0).str("leaf");
    b.i32(99).str("");
    b.i32(211);
    EXPECT_EQ(Body(f), b.data);

    cSample empty;
    empty.leaves.clear();
    std::vector<uint8_t> body = Body(empty);
    // The leaf list is an empty count: 4 zero bytes right before the nested leaf.
    std::vector<uint8_t> tail(body.end() - 16, body.end());
    EXPECT_EQ(tail, (Bytes().u32(0).i32(0).u32(1).i32(0).data));
}

TEST(Serial, RoundTripCopyCompareAndDerived)
{
    cSample f = Filled();
    std::vector<uint8_t> bytes = Body(f);
    cSample back;
    ReadBody(back, bytes, kDataVersion);
    EXPECT_TRUE(back.Equals(f));
    EXPECT_EQ(Body(back), bytes);

    cSample copy;
    copy.CopyFrom(f);
    EXPECT_TRUE(copy.Equals(f));
    // Any change, down to a member of a list element, breaks Compare.
    std::vector<std::function<void(cSample&)>> changes = {
        [](cSample& s) { s.i8 = 1; },
        [](cSample& s) { s.real = 0; },
        [](cSample& s) { s.text += "x"; },
        [](cSample& s) { s.ints[1] = 0; },
        [](cSample& s) { s.vecs[1].push_back(0); },
        [](cSample& s) { s.vecvec[1].push_back(0); },
        [](cSample& s) { s.strs[0] = "y"; },
        [](cSample& s) { s.leaves[1].name = "other"; },
        [](cSample& s) { s.leaves.emplace_back(); },
        [](cSample& s) { s.leaf.id = 0; },
        [](cSample& s) { s.late = 0; },
    };
    for (std::size_t i = 0; i < changes.size(); ++i) {
        cSample changed = f;
        changes[i](changed);
        EXPECT_FALSE(changed.Equals(f)) << "change " << i;
    }

    // Copy shrinks and grows lists.
    cSample shorter;
    shorter.leaves.resize(5);
    shorter.CopyFrom(f);
    EXPECT_EQ(shorter.leaves.size(), 2);

    // A derived record writes its base's members first.
    cDerived d;
    static_cast<cSample&>(d) = Filled();
    d.extra = 5;
    std::vector<uint8_t> db = Body(d);
    ASSERT_EQ(db.size(), bytes.size() + 4);
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), db.begin()));
    cDerived d2;
    d2.CopyFrom(d);
    EXPECT_TRUE(d2.Equals(d));
    d2.leaves[0].id = 0;
    EXPECT_FALSE(d2.Equals(d));
}

TEST(Serial, VersionGatesAndObsoleteMembers)
{
    cSample f = Filled();
    std::vector<uint8_t> bytes = Body(f);

    // A version-210 file lacks the member since 211: it keeps its prior value.
    std::vector<uint8_t> v210(bytes.begin(), bytes.end() - 4);
    cSample s;
    s.late = 555;
    ReadBody(s, v210, 210);
    EXPECT_EQ(s.late, 555);
    EXPECT_EQ(s.leaf.id, 99);
    // Written now, it is stored.
    std::vector<uint8_t> again = Body(s);
    EXPECT_EQ(again.size(), bytes.size());
    int32_t late = 0;
    std::memcpy(&late, &again[again.size() - 4], 4);
    EXPECT_EQ(late, 555);

    // Files of versions below 50 hold 4 obsolete bytes after the text, read and dropped.
    std::vector<uint8_t> old = v210;
    std::size_t afterText = 1 + 2 + 4 + 4 + 8 + 4 + 5;
    uint8_t junk[4] = {0xAA, 0xBB, 0xCC, 0xDD};
    old.insert(old.begin() + static_cast<long>(afterText), junk, junk + 4);
    cSample o;
    ReadBody(o, old, 49);
    EXPECT_EQ(o.ints[0], 11);
    EXPECT_EQ(o.leaf.id, 99);
    EXPECT_EQ(o.text, f.text);
}

TEST(Serial, ReadsAreAsymmetric)
{
    // Vectors read with a count of 0 keep their contents; lists, string vectors
    // and vectors of vectors are emptied first.
    cSample empty;
    std::vector<uint8_t> bytes = Body(empty);
    cSample s = Filled();
    ReadBody(s, bytes, kDataVersion);
    EXPECT_EQ(s.vec, (std::vector<int32_t>{1, 2, 3}));
    EXPECT_EQ(s.bytes, (std::vector<uint8_t>{9, 255}));
    EXPECT_EQ(s.vecs[1], (std::vector<int32_t>{5, 6}));
    EXPECT_TRUE(s.vecvec.empty());
    EXPECT_TRUE(s.strs.empty());
    EXPECT_TRUE(s.leaves.empty());
}

TEST(Serial, NormalizeRemovesCarriageReturnsEverywhere)
{
    cSample s;
    s.text = "a\r\nb";
    s.strs = {"a\r\nb"};
    s.leaves.emplace_back().name = "a\r\nb";
    s.leaf.name = "\r";
    s.Normalize();
    EXPECT_EQ(s.text, "a\nb");
    EXPECT_EQ(s.strs[0], "a\nb");
    EXPECT_EQ(s.leaves[0].name, "a\nb");
    EXPECT_EQ(s.leaf.name, "");

    // With NormalizeOnLoad the load does it.
    cSample crlf;
    crlf.text = "x\r\ny";
    std::vector<uint8_t> bytes = Body(crlf);
    NormalizeOnLoad = true;
    cSample back;
    ReadBody(back, bytes, kDataVersion);
    NormalizeOnLoad = false;
    EXPECT_EQ(back.text, "x\ny");
}

TEST(Serial, EnumerationOfWrongWidthIsRefused)
{
    cBadEnum e;
    e.after = 3;
    RecordWriter out;
    EXPECT_EQ(e.SaveBody(out), 0);
    EXPECT_TRUE(out.Bytes().empty()) << "the enumeration stops at the refused member";
}

TEST(Serial, ReservedValuesShareOneScratchPerWidth)
{
    cWithReserved r;
    r.Init();
    EXPECT_EQ(Body(r), (Bytes().i32(0).u8(0).u32(0).data)) << "Init zeroes the scratch";

    cWithReserved loaded;
    cWithReserved other;  // constructed (hence Init) before the read
    ReadBody(loaded, Bytes().i32(1).u8(0x12).u32(0x3456).data, kDataVersion);
    // Any record writes the last values read anywhere.
    other.a = 2;
    EXPECT_EQ(Body(other), (Bytes().i32(2).u8(0x12).u32(0x3456).data));
    EXPECT_TRUE(other.Equals(loaded) == 0);  // a differs
    other.a = 1;
    EXPECT_TRUE(other.Equals(loaded));
    cWithReserved fresh;
    EXPECT_EQ(Body(loaded), (Bytes().i32(1).u8(0).u32(0).data)) << "constructing a record runs Init";
}

TEST(Serial, PlannedReadMatchesTheMemberWalk)
{
    // For every prefix of a body of two versions, read into a default record and
    // over a filled one: the read plan leaves what walking the members leaves.
    for (uint32_t version : {kDataVersion, 49u}) {
        cDerived full;
        static_cast<cSample&>(full) = Filled();
        full.extra = 5;
        CurrentVersion = version;
        std::vector<uint8_t> bytes = Body(full);
        CurrentVersion = kDataVersion;
        for (std::size_t n = 0; n <= bytes.size(); ++n) {
            std::vector<uint8_t> prefix(bytes.begin(), bytes.begin() + static_cast<long>(n));
            for (bool over : {false, true}) {
                cDerived planned, walked;
                if (over) {
                    static_cast<cSample&>(planned) = Filled();
                    planned.vecvec = {{1, 2}, {3}, {4}, {5}};
                    planned.strs = {"a", "b", "c"};
                    planned.leaves.resize(4);
                    walked.CopyFrom(planned);
                }
                ReadBody(planned, prefix, version);
                RecordReader in(prefix);
                SerialIO io;
                io.in = &in;
                walked.Serial(SerialOp::Read, nullptr, &io, version);
                EXPECT_TRUE(planned.Equals(walked)) << "version " << version << ", " << n << " bytes, over " << over;
            }
        }
    }

    cWithoutPlan w;
    w.id = 3;
    w.more = 7;
    std::vector<uint8_t> bytes = Body(w);
    cWithoutPlan back;
    ReadBody(back, bytes, kDataVersion);
    EXPECT_EQ(back.id, 3);
    EXPECT_EQ(back.more, 7);
}

TEST(Serial, PlannedInitMatchesTheMemberWalk)
{
    // Init by plan (after the first Init of the class at a version) leaves what
    // walking the members leaves, over a filled record, at two versions.
    for (uint32_t version : {kDataVersion, 49u}) {
        CurrentVersion = version;
        for (int round = 0; round < 2; ++round) {
            cDerived planned, walked;
            static_cast<cSample&>(planned) = Filled();
            planned.extra = 5;
            walked.CopyFrom(planned);
            EXPECT_EQ(planned.Init(), 1);
            SerialIO io;
            EXPECT_EQ(walked.Serial(SerialOp::Init, nullptr, &io, version), 1);
            EXPECT_TRUE(planned.Equals(walked)) << "version " << version;
            EXPECT_EQ(Body(planned), Body(walked));
            EXPECT_EQ(planned.text, "def");
            EXPECT_EQ(planned.i32, 7);
            EXPECT_EQ(planned.real, 1.5);
            EXPECT_TRUE(planned.leaves.empty() && planned.strs.empty() && planned.vecs[1].empty());
            EXPECT_EQ(planned.leaf.id, 0);
            EXPECT_EQ(planned.late, version >= 211 ? 0 : 211) << "a member the version lacks keeps its value";
        }
    }
    CurrentVersion = kDataVersion;

    cWithoutPlan w;
    w.id = 3;
    w.more = 7;
    w.Init();
    EXPECT_EQ(w.id, 0);
    EXPECT_EQ(w.more, 0);
    cBadEnum bad;
    bad.after = 4;
    EXPECT_EQ(bad.Init(), 0);
    EXPECT_EQ(bad.after, 4) << "Init stops at the refused member";
}

TEST(Serial, TruncatedAndHostileInput)
{
    cSample f = Filled();
    std::vector<uint8_t> bytes = Body(f);
    // Every prefix reads without fault; members past the end keep their values.
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        cSample s;
        s.late = -1;
        ReadBody(s, std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<long>(n)), kDataVersion);
        EXPECT_EQ(s.late, -1) << n;
    }

    // Huge counts in a tiny file: bounded by the bytes left, no large allocation.
    for (int field = 0; field < 6; ++field) {
        Bytes b;
        b.u8(0).u16(0).i32(0).i32(0).f64(0);
        if (field == 0) { b.u32(0x7fffffff); }                     // string length
        else {
            b.str("");
            b.i32(0).i32(0).f64(0).f64(0);
            if (field == 1) b.u32(0x7fffffff);                      // int vector
            else {
                b.u32(0);
                if (field == 2) b.u32(0x7fffffff);                  // byte vector
                else {
                    b.u32(0).u32(0).u32(0);
                    if (field == 3) b.u32(0x7fffffff);              // vector of vectors
                    else {
                        b.u32(0);
                        if (field == 4) b.u32(0x7fffffff);          // string vector
                        else b.u32(0).u32(0x7fffffff);              // record list
                    }
                }
            }
        }
        b.u32(1).u32(2).u32(3);
        cSample s;
        ReadBody(s, b.data, kDataVersion);
        EXPECT_LE(s.vec.size(), 4u);
        EXPECT_LE(s.bytes.size(), 16u);
        EXPECT_LE(s.vecvec.size(), 4u);
        EXPECT_LE(s.strs.size(), 4u);
        EXPECT_LE(s.leaves.size(), 2);
    }
}

TEST(SerialFiles, HeaderVersionAndListFiles)
{
    TempDir dir;
    cLeaf leaf;
    leaf.id = 5;
    ASSERT_EQ(leaf.SaveFile("leaf.dat"), 1);
    std::vector<uint8_t> bytes = ReadFile("leaf.dat");
    EXPECT_EQ(bytes, (Bytes().u32(340).i32(5).u32(1).data));

    // 340 is accepted, 341 refused without reading any member.
    WriteFile("v340.dat", Bytes().u32(340).i32(8).str("a").data);
    WriteFile("v341.dat", Bytes().u32(341).i32(9).str("b").data);
    cLeaf l;
    EXPECT_EQ(l.LoadFile("v341.dat"), 0);
    EXPECT_TRUE(VersionTooNew);
    EXPECT_EQ(l.id, 0);
    EXPECT_EQ(l.LoadFile("v340.dat"), 1);
    EXPECT_FALSE(VersionTooNew);
    EXPECT_EQ(l.id, 8);
    EXPECT_EQ(LoadedFileVersion, 340u);
    VersionTooNew = true;
    EXPECT_EQ(l.LoadFile("missing.dat"), 0);
    EXPECT_FALSE(VersionTooNew) << "cleared at every failed open";
    EXPECT_EQ(l.id, 8);

    // List files: header, count, bodies. A load resizes and reads over existing elements.
    RecordList<cLeaf> list;
    list.emplace_back().id = 1;
    list.emplace_back().id = 2;
    ASSERT_EQ(SaveListFile(list, "list.dat"), 1);
    EXPECT_EQ(ReadFile("list.dat"), (Bytes().u32(340).u32(2).i32(1).u32(1).i32(2).u32(1).data));
    RecordList<cLeaf> three;
    three.resize(3);
    three[2].id = 33;
    ASSERT_EQ(LoadListFile(three, "list.dat"), 1);
    ASSERT_EQ(three.size(), 2);
    EXPECT_EQ(three[1].id, 2);
    // A count of 0 leaves the list as it was.
    WriteFile("zero.dat", Bytes().u32(340).u32(0).data);
    ASSERT_EQ(LoadListFile(three, "zero.dat"), 1);
    EXPECT_EQ(three.size(), 2);
    // A hostile count in a 20-byte file reads as far as the bytes go.
    WriteFile("hostile.dat", Bytes().u32(340).u32(0x7fffffff).i32(4).u32(1).i32(5).data);
    RecordList<cLeaf> h;
    ASSERT_EQ(LoadListFile(h, "hostile.dat"), 1);
    EXPECT_LE(h.size(), 2);
    EXPECT_EQ(h[0].id, 4);
}

// A list file read into an empty list while spare records of its class wait
// (a project loaded again) reads exactly as into new records, at every length
// the file may be cut to: a member the file ends before keeps the fresh value,
// never the recycled record's.
TEST(SerialFiles, SpareRecordsReadLikeNewOnes)
{
    TempDir dir;
    RecordList<cSample> list;
    list.push_back(Filled());
    list.emplace_back().text = "second";
    ASSERT_EQ(SaveListFile(list, "full.dat"), 1);
    const std::vector<uint8_t> bytes = ReadFile("full.dat");
    for (std::size_t n = 8; n <= bytes.size(); ++n) {
        WriteFile("cut.dat", std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<long>(n)));
        RecordList<cSample> fresh;
        ASSERT_EQ(LoadListFile(fresh, "cut.dat"), 1);
        for (int spares : {1, 3}) {
            RecordList<cSample> old;
            for (int i = 0; i < spares; ++i) {
                cSample& s = old.push_back(Filled());
                s.i32 = 1000 + i;
                s.text = "a recycled record's text, longer than a short string";
                s.vecvec = {{1, 2}, {3}, {4}, {5}};
                s.strs = {"a", "b", "c"};
                s.leaves.resize(4);
                s.leaves[3].name = "old leaf";
            }
            RecycleRecords(old);
            EXPECT_TRUE(old.empty());
            RecordList<cSample> again;
            ASSERT_EQ(LoadListFile(again, "cut.dat"), 1);
            ASSERT_EQ(again.size(), fresh.size()) << n << " bytes, " << spares << " spare";
            for (int i = 0; i < again.size(); ++i)
                EXPECT_EQ(again[i].ToJson(), fresh[i].ToJson()) << n << " bytes, " << spares << " spare, record " << i;
            EXPECT_TRUE(SpareRecords<cSample>().empty()) << "taken by the load";
        }
    }
    // A list that is not empty is read over as before: the spares wait.
    RecordList<cSample> old{Filled()};
    RecycleRecords(old);
    RecordList<cSample> two;
    two.resize(2);
    ASSERT_EQ(LoadListFile(two, "full.dat"), 1);
    EXPECT_EQ(SpareRecords<cSample>().size(), 1u);
    SpareRecords<cSample>().clear();
}

TEST(SerialFiles, FailedSaveKeepsTheOldFile)
{
    TempDir dir;
    cLeaf leaf;
    leaf.id = 1;
    ASSERT_EQ(leaf.SaveFile("keep.dat"), 1);
    // A folder in the way of the temporary file makes the save fail.
    std::filesystem::create_directory("keep.dat.saving~");
    std::filesystem::create_directory("keep.dat.saving~/x");
    leaf.id = 2;
    EXPECT_EQ(leaf.SaveFile("keep.dat"), 0);
    cLeaf back;
    ASSERT_EQ(back.LoadFile("keep.dat"), 1);
    EXPECT_EQ(back.id, 1);
    EXPECT_EQ(leaf.SaveFile("no\\such\\folder\\x.dat"), 0);
}

TEST(RecordListTest, CheckedIndexLogsAndAsksToQuit)
{
    RecordingSink sink;
    RecordList<cLeaf> list;
    list.resize(2);
    EXPECT_THROW(list[2], std::out_of_range);
    EXPECT_THROW(list[-1], std::out_of_range);
    EXPECT_EQ(sink.quits, 2);
    list.insert(2, cLeaf());
    list[0].id = 10;
    list.move(0, 2);
    EXPECT_EQ(list[2].id, 10);
}

TEST(SerialJson, RoundTripAndErrors)
{
    cDerived d;
    static_cast<cSample&>(d) = Filled();
    d.reals[1] = -0.0;
    d.extra = -1;
    Json j = d.ToJson();
    EXPECT_EQ(j["text"], "\xE8\xA1\xA8\xE7\xA4\xBA");  // 表示 in UTF-8
    EXPECT_EQ(j.begin().key(), "i8") << "base members first";
    cDerived back;
    std::string error;
    ASSERT_TRUE(back.FromJson(j, error)) << error;
    EXPECT_TRUE(back.Equals(d));
    EXPECT_EQ(Body(back), Body(d));

    struct Bad {
        std::function<void(Json&)> edit;
        const char* expect;
    } bad[] = {
        {[](Json& x) { x.erase("i8"); }, "i8"},
        {[](Json& x) { x["i8"] = 200; }, "i8"},
        {[](Json& x) { x["u16"] = -1; }, "u16"},
        {[](Json& x) { x["text"] = 5; }, "text"},
        {[](Json& x) { x["ints"] = Json::array({1}); }, "ints"},
        {[](Json& x) { x["extraKey"] = 1; }, "extraKey"},
        {[](Json& x) { x["leaves"][0]["bogus"] = 1; }, "unknown"},
        {[](Json& x) { x["leaf"] = 3; }, "leaf"},
    };
    for (const Bad& b : bad) {
        Json broken = j;
        b.edit(broken);
        cDerived r;
        std::string err;
        EXPECT_FALSE(r.FromJson(broken, err));
        EXPECT_NE(err.find(b.expect), std::string::npos) << err;
    }
}

TEST(RecordReaderTest, StringTextEndsAtItsFirstNul)
{
    // Every stored length up to past the word-wise scan, with the first NUL at
    // every place or nowhere; the bytes around it are those a wrong zero test
    // takes for a NUL (0x01 and 0x80 after a zero, lead bytes of CP932).
    const uint8_t fillers[] = {'a', 0x01, 0x80, 0x81, 0xFF, 0x7F};
    for (std::size_t stored = 2; stored <= 80; ++stored) {
        for (std::size_t nul = 0; nul <= stored; ++nul) {
            std::vector<uint8_t> text(stored);
            for (std::size_t k = 0; k < stored; ++k)
                text[k] = fillers[(k + stored) % std::size(fillers)];
            if (nul < stored)
                text[nul] = 0;
            if (nul + 1 < stored)
                text[stored - 1] = 0;  // a later NUL changes nothing
            std::vector<uint8_t> bytes(4);
            const uint32_t len = static_cast<uint32_t>(stored);
            std::memcpy(bytes.data(), &len, 4);
            bytes.insert(bytes.end(), text.begin(), text.end());
            RecordReader in(bytes);
            std::string s = "old";
            ASSERT_TRUE(in.String(s));
            const std::size_t expected = std::min(nul, stored);
            ASSERT_EQ(s, std::string(text.begin(), text.begin() + static_cast<long>(expected)))
                << "stored " << stored << ", NUL at " << nul;
            EXPECT_TRUE(in.AtEnd());
            EXPECT_FALSE(in.EndedEarly());
        }
    }
}

// New list elements that a file fills whole are made without their Init. Cut
// at every byte, at the current version and at one that lacks a member, a
// list reads into new elements exactly as over fresh ones: in a list file and
// in a list inside a record.
template <class T>
void ExpectNewElementsReadLikeFreshOnes(const RecordList<T>& list, uint32_t version)
{
    const uint32_t current = CurrentVersion;
    CurrentVersion = version;
    RecordList<T> saved = list;
    ASSERT_EQ(SaveListFile(saved, "list.dat"), 1);
    cHolder<T> holder;
    holder.items = list;
    const std::vector<uint8_t> body = Body(holder);
    CurrentVersion = current;
    const std::vector<uint8_t> file = ReadFile("list.dat");
    for (std::size_t n = 8; n <= file.size(); ++n) {
        WriteFile("cut.dat", std::vector<uint8_t>(file.begin(), file.begin() + static_cast<long>(n)));
        RecordList<T> made;
        ClearEndedEarlyFiles();
        ASSERT_EQ(LoadListFile(made, "cut.dat"), 1);
        const std::vector<EndedEarlyFile> madeEnds = EndedEarlyFiles();
        RecordList<T> over;
        over.resize(list.size());
        ClearEndedEarlyFiles();
        ASSERT_EQ(LoadListFile(over, "cut.dat"), 1);
        ASSERT_EQ(made.size(), over.size()) << n;
        for (int i = 0; i < made.size(); ++i)
            EXPECT_EQ(made[i].ToJson(), over[i].ToJson()) << version << ": " << n << " bytes, record " << i;
        ASSERT_EQ(madeEnds.size(), EndedEarlyFiles().size()) << n;
        if (!madeEnds.empty()) {
            EXPECT_EQ(madeEnds[0].where, EndedEarlyFiles()[0].where) << n;
        }
    }
    for (std::size_t n = 4; n <= body.size(); ++n) {
        const std::vector<uint8_t> cut(body.begin(), body.begin() + static_cast<long>(n));
        cHolder<T> made;
        ReadBody(made, cut, version);
        cHolder<T> over;
        over.items.resize(list.size());
        ReadBody(over, cut, version);
        EXPECT_EQ(made.ToJson(), over.ToJson()) << version << ": " << n << " bytes of the record";
    }
    ClearEndedEarlyFiles();
}

TEST(SerialFiles, NewElementsReadLikeFreshOnes)
{
    TempDir dir;
    RecordList<cBareValues> values;
    values.resize(2);
    values[0].a = 70;
    values[0].r = -0.5;
    values[0].s = "a text longer than a short string's";
    values[0].v = {1, 2, 3};
    values[0].strs = {"x", ""};
    values[0].leaves.emplace_back().id = 50;
    values[0].leaves.emplace_back().name = "second";
    values[0].late = 90;
    values[1].strs.clear();  // every count 0, and the rest as Init left them
    values[1].leaves.clear();
    ExpectNewElementsReadLikeFreshOnes(values, kDataVersion);
    ExpectNewElementsReadLikeFreshOnes(values, 299);

    RecordList<cBareDefaultVector> defaults;
    defaults.resize(2);
    defaults[0].v = {4};
    defaults[1].v.clear();
    ExpectNewElementsReadLikeFreshOnes(defaults, kDataVersion);
    RecordList<cBareNested> nested;
    nested.resize(1);
    nested[0].leaf.id = 8;
    ExpectNewElementsReadLikeFreshOnes(nested, kDataVersion);

    // Which classes take the quicker way: none whose file lacks a member, whose
    // vector starts with values, that nests a record, or whose constructor may
    // do more than its Init.
    EXPECT_TRUE(ReadsOverBare<cBareValues>(kDataVersion));
    EXPECT_TRUE(ReadsOverBare<cBareLeaf>(kDataVersion));
    EXPECT_FALSE(ReadsOverBare<cBareValues>(299));
    EXPECT_FALSE(ReadsOverBare<cBareDefaultVector>(kDataVersion));
    EXPECT_FALSE(ReadsOverBare<cBareNested>(kDataVersion));
    EXPECT_FALSE(ReadsOverBare<cLeaf>(kDataVersion));
}
