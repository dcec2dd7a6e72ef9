// Helpers of the database record tests: bodies as bytes, reads at a version,
// and a table source installed for the life of a test.
#pragma once

#include <gtest/gtest.h>

#include "records/serial.h"
#include "records/tables.h"
#include "tests/records/record_bytes.h"
#include "tests/test_util.h"

// Reads a body as a file of the version holds it; true when every byte was used.
inline bool ReadsWhole(cSerial& r, const std::vector<uint8_t>& bytes, uint32_t version)
{
    return ReadBody(r, bytes, version) == bytes.size();
}

// The filled record writes exactly the expected bytes, and a fresh record read
// from them equals it and writes them again.
template <class T>
void ExpectLayout(T& filled, const std::vector<uint8_t>& expected)
{
    EXPECT_EQ(Body(filled), expected);
    T back;
    EXPECT_TRUE(ReadsWhole(back, expected, kDataVersion));
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
