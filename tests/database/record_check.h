// Helpers of the database record tests: bodies as bytes, reads at a version,
// and a table source installed for the life of a test.
#pragma once

#include <gtest/gtest.h>

#include "records/serial.h"
#include "records/tables.h"
#include "tests/test_util.h"

inline std::vector<uint8_t> Body(cSerial& r)
{
    RecordWriter out;
    r.SaveBody(out);
    return out.Bytes();
}

// Reads a body as a file of the version holds it; true when every byte was used.
inline bool ReadBody(cSerial& r, const std::vector<uint8_t>& bytes, uint32_t version)
{
    RecordReader in(bytes);
    LoadedFileVersion = version;
    r.LoadBody(in);
    return in.AtEnd();
}

// The filled record writes exactly the expected bytes, and a fresh record read
// from them equals it and writes them again.
template <class T>
void ExpectLayout(T& filled, const std::vector<uint8_t>& expected)
{
    EXPECT_EQ(Body(filled), expected);
    T back;
    EXPECT_TRUE(ReadBody(back, expected, kDataVersion));
    EXPECT_TRUE(back.Equals(filled));
    EXPECT_EQ(Body(back), expected);
}

class ScopedTables {
public:
    ScopedTables() { old_ = SetTableSource(&source); }
    ~ScopedTables() { SetTableSource(old_); }
    ScopedTables& Set(Table t, int n)
    {
        source.sizes[static_cast<int>(t)] = n;
        return *this;
    }
    FixedTableSource source;

private:
    const TableSource* old_;
};
