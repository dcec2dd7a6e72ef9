// Record bodies written by hand, member by member, as a file of a given version
// holds them, together with the record a reader must end up with.
#pragma once

#include <array>
#include <string>
#include <type_traits>
#include <vector>

#include "records/serial.h"
#include "records/tables.h"
#include "tests/test_util.h"

template <class R>
struct HandFile {
    // prior: what the record held before the read; members the version lacks keep it.
    explicit HandFile(uint32_t version, const R& prior = R()) : v(version) { want.CopyFrom(prior); }

    template <class V>
    HandFile& Put(V R::*m, const V& x, uint32_t since = 0)
    {
        if (v < since)
            return *this;
        want.*m = x;
        if constexpr (std::is_same_v<V, double>) {
            b.f64(x);
        } else if constexpr (std::is_same_v<V, std::string>) {
            b.str(x);
        } else if constexpr (std::is_same_v<V, std::array<int32_t, 9>>) {
            for (int32_t e : x)
                b.i32(e);
        } else if constexpr (std::is_same_v<V, std::vector<int32_t>>) {
            b.u32(static_cast<uint32_t>(x.size()));
            for (int32_t e : x)
                b.i32(e);
        } else if constexpr (std::is_same_v<V, std::vector<std::vector<int32_t>>>) {
            b.u32(static_cast<uint32_t>(x.size()));
            for (const auto& inner : x) {
                b.u32(static_cast<uint32_t>(inner.size()));
                for (int32_t e : inner)
                    b.i32(e);
            }
        } else {
            static_assert(std::is_integral_v<V>);
            b.raw(&x, sizeof x);
        }
        return *this;
    }

    // A list member from element bodies written by hand.
    template <class L>
    HandFile& PutList(RecordList<L> R::*m, const std::vector<HandFile<L>>& elements, uint32_t since = 0)
    {
        if (v < since)
            return *this;
        b.u32(static_cast<uint32_t>(elements.size()));
        RecordList<L> list;
        for (const HandFile<L>& e : elements) {
            b.raw(e.b.data.data(), e.b.data.size());
            list.push_back(e.want);
        }
        want.*m = list;
        return *this;
    }

    // A nested record written inline.
    template <class L>
    HandFile& PutNested(L R::*m, const HandFile<L>& element)
    {
        b.raw(element.b.data.data(), element.b.data.size());
        want.*m = element.want;
        return *this;
    }

    // An obsolete 4-byte value, present below the given version.
    HandFile& Old(uint32_t below, int32_t x)
    {
        if (v < below)
            b.i32(x);
        return *this;
    }

    uint32_t v;
    Bytes b;
    R want;
};

// Reads one body at a version; returns the number of bytes consumed.
template <class R>
std::size_t ReadBody(R& r, const std::vector<uint8_t>& bytes, uint32_t version)
{
    RecordReader in(bytes);
    LoadedFileVersion = version;
    r.LoadBody(in);
    return in.Position();
}

template <class R>
std::vector<uint8_t> WriteBody(R& r)
{
    RecordWriter out;
    r.SaveBody(out);
    return out.Bytes();
}

// Installs a table source of fixed sizes for one test.
class ScopedTables {
public:
    ScopedTables() { old_ = SetTableSource(&source); }
    ~ScopedTables() { SetTableSource(old_); }
    ScopedTables& Size(Table t, int n)
    {
        source.sizes[static_cast<int>(t)] = n;
        return *this;
    }
    FixedTableSource source;

private:
    const TableSource* old_;
};
