#include "records/serial.h"

#include <cinttypes>
#include <cmath>
#include <compare>
#include <cstdio>
#include <iterator>
#include <limits>
#include <stdexcept>

#include "base/log.h"
#include "base/paths.h"
#include "base/text.h"

uint32_t CurrentVersion = kDataVersion;
uint32_t LoadedFileVersion = 0;
bool VersionTooNew = false;
bool NormalizeOnLoad = false;

namespace {

// The process-wide scratch values of reserved members, one per width.
uint8_t g_reservedByte = 0;
uint32_t g_reservedWord = 0;

long long LoadInt(const void* p, std::size_t width, bool isSigned)
{
    switch (width) {
    case 1: return isSigned ? static_cast<long long>(*static_cast<const int8_t*>(p)) : *static_cast<const uint8_t*>(p);
    case 2: return isSigned ? static_cast<long long>(*static_cast<const int16_t*>(p)) : *static_cast<const uint16_t*>(p);
    default: return isSigned ? static_cast<long long>(*static_cast<const int32_t*>(p)) : *static_cast<const uint32_t*>(p);
    }
}

void StoreInt(void* p, std::size_t width, long long v)
{
    switch (width) {
    case 1: *static_cast<uint8_t*>(p) = static_cast<uint8_t>(v); break;
    case 2: *static_cast<uint16_t*>(p) = static_cast<uint16_t>(v); break;
    default: *static_cast<uint32_t*>(p) = static_cast<uint32_t>(v); break;
    }
}

bool IntFits(long long v, std::size_t width, bool isSigned)
{
    int bits = static_cast<int>(width * 8);
    if (isSigned)
        return v >= -(1LL << (bits - 1)) && v < (1LL << (bits - 1));
    return v >= 0 && v < (1LL << bits);
}

// Reads a JSON number into an integer of the given width; false when it is not
// an integer or does not fit.
bool JsonToInt(const Json& j, std::size_t width, bool isSigned, long long& out)
{
    if (j.is_number_unsigned()) {
        uint64_t u = j.get<uint64_t>();
        if (u > static_cast<uint64_t>(std::numeric_limits<long long>::max()))
            return false;
        out = static_cast<long long>(u);
    } else if (j.is_number_integer()) {
        out = j.get<long long>();
    } else {
        return false;
    }
    return IntFits(out, width, isSigned);
}

// Doubles travel as JSON numbers; values JSON cannot hold (infinities, NaNs) as
// the string "0x" + the 16 hex digits of their bits.
Json RealToJson(double d)
{
    if (std::isfinite(d))
        return d;
    uint64_t bits;
    std::memcpy(&bits, &d, 8);
    char text[24];
    std::snprintf(text, sizeof text, "0x%016" PRIx64, bits);
    return text;
}

bool JsonToReal(const Json& j, double& out)
{
    if (j.is_number()) {
        out = j.get<double>();
        return true;
    }
    if (j.is_string()) {
        const std::string& s = j.get_ref<const std::string&>();
        if (s.size() != 18 || s[0] != '0' || s[1] != 'x')
            return false;
        char* end = nullptr;
        uint64_t bits = std::strtoull(s.c_str() + 2, &end, 16);
        if (*end)
            return false;
        std::memcpy(&out, &bits, 8);
        return true;
    }
    return false;
}

Json StringToJson(const std::string& s) { return Cp932ToUtf8Exact(s); }

bool JsonToString(const Json& j, std::string& out)
{
    if (!j.is_string())
        return false;
    return Utf8ToCp932Exact(j.get_ref<const std::string&>(), out);
}

void RemoveCarriageReturns(std::string& s) { std::erase(s, '\r'); }

// Reading of the members that are more than a fixed-size value. The generic walk
// and the read plans share them. Each leaves a member it reads as if it had been
// emptied first (where the format says so) while keeping the storage it has.

// Values of E one after the other in a file's bytes, at any alignment, as a
// random-access iterator (for a vector made from them in one go).
template <class E>
class StoredValues {
public:
    using iterator_category = std::random_access_iterator_tag;
    using value_type = E;
    using difference_type = std::ptrdiff_t;
    using pointer = const E*;
    using reference = E;

    explicit StoredValues(const uint8_t* at) : at_(at) {}
    E operator*() const
    {
        E v;
        std::memcpy(&v, at_, sizeof v);
        return v;
    }
    E operator[](difference_type i) const { return *(*this + i); }
    StoredValues& operator++() { at_ += sizeof(E); return *this; }
    StoredValues operator++(int) { StoredValues old = *this; ++*this; return old; }
    StoredValues& operator--() { at_ -= sizeof(E); return *this; }
    StoredValues operator--(int) { StoredValues old = *this; --*this; return old; }
    StoredValues& operator+=(difference_type n) { at_ += n * static_cast<difference_type>(sizeof(E)); return *this; }
    StoredValues& operator-=(difference_type n) { return *this += -n; }
    StoredValues operator+(difference_type n) const { StoredValues r = *this; return r += n; }
    StoredValues operator-(difference_type n) const { StoredValues r = *this; return r -= n; }
    difference_type operator-(const StoredValues& o) const
    {
        return (at_ - o.at_) / static_cast<difference_type>(sizeof(E));
    }
    auto operator<=>(const StoredValues&) const = default;

private:
    const uint8_t* at_;
};

template <class E>
void ReadVector(RecordReader& in, std::vector<E>& v)
{
    // A count of 0 keeps the old contents. The count is bounded by the bytes
    // left, so the elements are all there.
    uint32_t count = in.ReadCount(sizeof(E));
    if (count == 0)
        return;
    if (v.capacity() < count) {
        // Made at its size from the bytes, without zeroing it first.
        const uint8_t* at = in.Take(count * sizeof(E));
        v.assign(StoredValues<E>(at), StoredValues<E>(at + count * sizeof(E)));
        return;
    }
    v.resize(count);
    in.RawRun(v.data(), count * sizeof(E));
}

void ReadIntVectorVector(RecordReader& in, std::vector<std::vector<int32_t>>& v)
{
    // Unlike a single vector, the outer list is emptied first.
    uint32_t count = in.ReadCount(4);
    v.resize(count);
    for (auto& inner : v) {
        inner.clear();
        ReadVector(in, inner);
    }
}

void ReadStringVector(RecordReader& in, std::vector<std::string>& v)
{
    uint32_t count = in.ReadCount(4);
    if (v.size() > count)
        v.resize(count);
    v.reserve(count);
    // Strings the vector has keep their storage; the others are made from the text.
    const char* text = nullptr;
    std::size_t n = 0;
    std::size_t i = 0;
    for (; i < count && in.StringBytes(text, n); ++i) {
        if (i < v.size()) {
            v[i].clear();
            v[i].append(text, n);
        } else {
            v.emplace_back(text, n);
        }
    }
    for (std::size_t k = i; k < v.size(); ++k)  // the file ended: the rest are empty
        v[k].clear();
    v.resize(count);
}

void ReadCells(RecordReader& in, std::vector<CellPos>& v)
{
    static_assert(sizeof(CellPos) == 8, "a cell is x and y, 4 bytes each");
    // A count of 0 or less (signed) keeps the old cells.
    int32_t count = static_cast<int32_t>(in.U32());
    if (count <= 0)
        return;
    count = static_cast<int32_t>(in.BoundCount(static_cast<uint32_t>(count), 8));
    v.resize(static_cast<std::size_t>(count));
    in.Raw(v.data(), v.size() * 8);
}

void SkipVector(RecordReader& in, std::size_t width)
{
    uint32_t count = in.ReadCount(width);
    in.Skip(static_cast<std::size_t>(count) * width);
}

void SkipString(RecordReader& in)
{
    uint32_t len = 0;
    if (in.Raw(&len, 4) && len > 1)
        in.Skip(len);
}

void* ReservedScratch(std::size_t width)
{
    return width == 1 ? static_cast<void*>(&g_reservedByte) : static_cast<void*>(&g_reservedWord);
}

void ReadReserved(RecordReader& in, std::size_t width)
{
    uint32_t v = 0;
    if (in.Raw(&v, width))
        std::memcpy(ReservedScratch(width), &v, width);
}

void LogEnumWidth(std::size_t width)
{
    ErrorLogPrintf("cSerial ENUM err sizeof(Member) = %d", static_cast<int>(width));
}

// Init, Copy and Compare of a member held as one value (a vector of any kind):
// true when op was one of them.
template <class V>
bool InitCopyCompare(SerialOp op, V* mine, const V* theirs, bool& ok)
{
    switch (op) {
    case SerialOp::Init: *mine = V(); return true;
    case SerialOp::Copy:
        if (theirs)
            *mine = *theirs;
        return true;
    case SerialOp::Compare:
        if (!theirs || !(*mine == *theirs))
            ok = false;
        return true;
    default: return false;
    }
}

}  // namespace

// ---------------------------------------------------------------------------
// cSerial

int cSerial::Serial(SerialOp, cSerial*, SerialIO*, uint32_t) { return 1; }

int cSerial::LoadBody(RecordReader& in)
{
    int result = ReadPlanned(in, LoadedFileVersion);
    if (result < 0) {
        SerialIO io;
        io.in = &in;
        result = Serial(SerialOp::Read, nullptr, &io, LoadedFileVersion);
    }
    if (NormalizeOnLoad)
        Normalize();
    return result;
}

int cSerial::SaveBody(RecordWriter& out)
{
    SerialIO io;
    io.out = &out;
    return Serial(SerialOp::Write, nullptr, &io, CurrentVersion);
}

int cSerial::InitMembers()
{
    SerialIO io;
    return Serial(SerialOp::Init, nullptr, &io, CurrentVersion);
}

int cSerial::CopyFrom(const cSerial& source)
{
    if (&source == this)
        return 1;
    SerialIO io;
    return Serial(SerialOp::Copy, const_cast<cSerial*>(&source), &io, CurrentVersion);
}

int cSerial::Equals(const cSerial& other) const
{
    SerialIO io;
    return const_cast<cSerial*>(this)->Serial(SerialOp::Compare, const_cast<cSerial*>(&other), &io, CurrentVersion);
}

int cSerial::Normalize()
{
    SerialIO io;
    return Serial(SerialOp::Normalize, nullptr, &io, CurrentVersion);
}

int cSerial::LoadFile(const std::string& path)
{
    RecordReader in;
    if (!OpenRecordFile(path, in))
        return 0;
    LoadBody(in);
    NoteIfEndedEarly(path, in);
    return 1;
}

int cSerial::SaveFile(const std::string& path)
{
    RecordWriter out;
    if (!BeginRecordFile(out, path))
        return 0;
    SaveBody(out);
    return out.Commit() ? 1 : 0;
}

Json cSerial::ToJson()
{
    Json object = Json::object();
    SerialIO io;
    io.json = &object;
    Serial(SerialOp::ToJson, nullptr, &io, CurrentVersion);
    return object;
}

bool cSerial::FromJson(const Json& object, std::string& error)
{
    if (!object.is_object()) {
        error = "expected an object";
        return false;
    }
    SerialIO io;
    io.json = const_cast<Json*>(&object);
    if (!Serial(SerialOp::FromJson, nullptr, &io, CurrentVersion)) {
        error = io.error.empty() ? "invalid record" : io.error;
        return false;
    }
    if (io.jsonSeen != object.size()) {
        // Name the first key no member asked for.
        error = "unknown member";
        Json names = ToJson();
        for (auto it = object.begin(); it != object.end(); ++it)
            if (!names.contains(it.key())) {
                error = "unknown member \"" + it.key() + "\"";
                break;
            }
        return false;
    }
    return true;
}

std::size_t cSerial::MinSize(uint32_t version)
{
    SerialIO io;
    Serial(SerialOp::MinSize, nullptr, &io, version);
    return io.minSize;
}

// ---------------------------------------------------------------------------
// Read plans

void ReadPlan::Add(Kind kind, const SerialIO* io, const void* member, std::size_t width, std::size_t count,
                   ReadCall call, InitCall init)
{
    Step step{};
    step.kind = kind;
    step.offset = member ? static_cast<uint32_t>(static_cast<const char*>(member) - io->planBase) : 0;
    step.width = static_cast<uint32_t>(width);
    step.count = static_cast<uint32_t>(count);
    step.call = call;
    step.init = init;
    steps_.push_back(step);
}

void ReadPlan::Build(cSerial& record, const char* base, uint32_t version)
{
    SerialIO io;
    io.plan = this;
    io.planBase = base;
    record.Serial(SerialOp::Plan, nullptr, &io, version);
    // Fixed-size values that lie next to each other in the record as in the file
    // are copied in one go.
    for (std::size_t i = 0; i < steps_.size();) {
        if (steps_[i].kind != Kind::Fixed) {
            ++i;
            continue;
        }
        std::size_t j = i;
        uint32_t end = steps_[i].offset;
        while (j < steps_.size() && steps_[j].kind == Kind::Fixed && steps_[j].offset == end) {
            end += steps_[j].width * steps_[j].count;
            ++j;
        }
        steps_[i].runBytes = end - steps_[i].offset;
        steps_[i].runSteps = static_cast<uint32_t>(j - i);
        i = j;
    }
}

int ReadPlan::Run(char* base, RecordReader& in, uint32_t version) const
{
    const Step* step = steps_.data();
    const Step* last = step + steps_.size();
    while (step < last) {
        // A read past the end delivers nothing: the members from here keep their
        // values, and the file counts as ended early.
        if (in.AtEnd()) {
            in.SetEndedEarly(true);
            return 1;
        }
        char* p = base + step->offset;
        switch (step->kind) {
        case Kind::Fixed:
            if (step->runBytes <= in.Left()) {
                in.RawRun(p, step->runBytes);
                step += step->runSteps;
                continue;
            }
            // The file ends inside the run: each value whole or not at all.
            for (const Step* s = step; s < step + step->runSteps; ++s)
                for (uint32_t k = 0; k < s->count; ++k)
                    in.Raw(base + s->offset + k * s->width, s->width);
            return 1;
        case Kind::String: in.String(*reinterpret_cast<std::string*>(p)); break;
        case Kind::IntVecs:
            for (uint32_t k = 0; k < step->count; ++k)
                ReadVector(in, reinterpret_cast<std::vector<int32_t>*>(p)[k]);
            break;
        case Kind::ByteVec: ReadVector(in, *reinterpret_cast<std::vector<uint8_t>*>(p)); break;
        case Kind::IntVecVec: ReadIntVectorVector(in, *reinterpret_cast<std::vector<std::vector<int32_t>>*>(p)); break;
        case Kind::StrVec: ReadStringVector(in, *reinterpret_cast<std::vector<std::string>*>(p)); break;
        case Kind::Cells: ReadCells(in, *reinterpret_cast<std::vector<CellPos>*>(p)); break;
        case Kind::Skip: in.Skip(step->width); break;
        case Kind::SkipVec: SkipVector(in, step->width); break;
        case Kind::DroppedStr: SkipString(in); break;
        case Kind::Reserved: ReadReserved(in, step->width); break;
        case Kind::Call:
        case Kind::List:
            if (!step->call(p, in, version))
                return 0;
            break;
        case Kind::EnumWidth: LogEnumWidth(step->width); return 0;
        }
        ++step;
    }
    return 1;
}

bool ReadPlan::ReadsOver(const ReadPlan& init, const char* bare) const
{
    for (const Step& set : init.steps_) {
        const char* p = bare + set.offset;
        switch (set.kind) {
        case Kind::Skip:
        case Kind::SkipVec:
        case Kind::DroppedStr: continue;  // nothing to set
        case Kind::Fixed:
        case Kind::String:
        case Kind::IntVecVec:
        case Kind::StrVec:
        case Kind::Reserved:
        case Kind::List: break;  // read whatever the file holds
        // A count of 0 in the file leaves these as they were.
        case Kind::IntVecs:
            for (uint32_t k = 0; k < set.count; ++k)
                if (!reinterpret_cast<const std::vector<int32_t>*>(p)[k].empty())
                    return false;
            break;
        case Kind::ByteVec:
            if (!reinterpret_cast<const std::vector<uint8_t>*>(p)->empty())
                return false;
            break;
        case Kind::Cells:
            if (!reinterpret_cast<const std::vector<CellPos>*>(p)->empty())
                return false;
            break;
        // A nested record is read over as it was made, not as Init leaves it.
        case Kind::Call:
        case Kind::EnumWidth: return false;
        }
        bool read = std::any_of(steps_.begin(), steps_.end(), [&](const Step& step) {
            return step.kind == set.kind && step.offset == set.offset && step.width == set.width &&
                   step.count == set.count;
        });
        if (!read)
            return false;
    }
    return true;
}

void ReadPlan::TakeInitialValues(const char* model)
{
    initialBytes_.clear();
    initialStrings_.clear();
    for (Step& step : steps_) {
        if (step.kind == Kind::Fixed && step.runSteps > 0) {
            step.initialAt = static_cast<uint32_t>(initialBytes_.size());
            initialBytes_.insert(initialBytes_.end(), model + step.offset, model + step.offset + step.runBytes);
        } else if (step.kind == Kind::String) {
            const std::string& initial = *reinterpret_cast<const std::string*>(model + step.offset);
            step.initialAt = initial.empty() ? kEmptyString : static_cast<uint32_t>(initialStrings_.size());
            if (!initial.empty())
                initialStrings_.push_back(initial);
        }
    }
}

int ReadPlan::RunInit(char* base) const
{
    const Step* step = steps_.data();
    const Step* last = step + steps_.size();
    while (step < last) {
        char* p = base + step->offset;
        switch (step->kind) {
        case Kind::Fixed:
            CopyBytes(reinterpret_cast<uint8_t*>(p), initialBytes_.data() + step->initialAt, step->runBytes);
            step += step->runSteps;
            continue;
        case Kind::String:
            if (step->initialAt == kEmptyString)
                reinterpret_cast<std::string*>(p)->clear();
            else
                *reinterpret_cast<std::string*>(p) = initialStrings_[step->initialAt];
            break;
        case Kind::IntVecs:
            for (uint32_t k = 0; k < step->count; ++k)
                reinterpret_cast<std::vector<int32_t>*>(p)[k].clear();
            break;
        case Kind::ByteVec: *reinterpret_cast<std::vector<uint8_t>*>(p) = {}; break;
        case Kind::IntVecVec: *reinterpret_cast<std::vector<std::vector<int32_t>>*>(p) = {}; break;
        case Kind::StrVec: *reinterpret_cast<std::vector<std::string>*>(p) = {}; break;
        case Kind::Cells: *reinterpret_cast<std::vector<CellPos>*>(p) = {}; break;
        case Kind::Skip:
        case Kind::SkipVec:
        case Kind::DroppedStr: break;
        case Kind::Reserved: StoreInt(ReservedScratch(step->width), step->width, 0); break;
        case Kind::Call:
        case Kind::List:
            if (!step->init(p))
                return 0;
            break;
        case Kind::EnumWidth: LogEnumWidth(step->width); return 0;
        }
        ++step;
    }
    return 1;
}

// ---------------------------------------------------------------------------
// Files

bool LastLoadEndedEarly = false;
std::string LastReadError;

namespace {

std::vector<EndedEarlyFile>& EndedEarlyList()
{
    static std::vector<EndedEarlyFile> files;
    return files;
}

}  // namespace

const std::vector<EndedEarlyFile>& EndedEarlyFiles() { return EndedEarlyList(); }

void ClearEndedEarlyFiles() { EndedEarlyList().clear(); }

void NoteIfEndedEarly(const std::string& path, const RecordReader& in, long long record, long long promised,
                      std::size_t recordStart)
{
    if (!in.EndedEarly())
        return;
    LastLoadEndedEarly = true;
    std::string where;
    if (in.Size() < 4)
        where = StrPrintf("ends at byte %zu of its version header", in.Size());
    else if (promised >= 0 && in.Size() < 8)
        where = StrPrintf("ends at byte %zu of its record count", in.Size() - 4);
    else if (record >= 0)
        where = StrPrintf("ends at byte %zu of record %lld of the %lld its count promises", in.Size() - recordStart,
                          record + 1, promised);
    else
        where = StrPrintf("ends at byte %zu, before its last member", in.Size());
    EndedEarlyList().push_back({path, where, in.Size() < 4});
}

bool OpenRecordFile(const std::string& path, RecordReader& in)
{
    HostFileBytes bytes;
    LastLoadEndedEarly = false;
    LastReadError.clear();
    if (!ReadHostFile(HostPath(path.empty() ? std::string("err") : path), bytes, &LastReadError)) {
        VersionTooNew = false;
        return false;
    }
    in.Reset(std::move(bytes));
    uint32_t version = 0;
    in.Raw(&version, 4);
    LoadedFileVersion = version;
    if (LoadedFileVersion > CurrentVersion) {
        VersionTooNew = true;
        return false;
    }
    VersionTooNew = false;
    return true;
}

int OpenListFile(const std::string& path, RecordReader& in, uint32_t& count)
{
    if (!OpenRecordFile(path, in))
        return 0;
    count = in.U32();
    return 1;
}

bool BeginRecordFile(RecordWriter& out, const std::string& path)
{
    if (!HostNameMappable(path)) {
        NoteWriteFailure(path, HostPath(path), SJ("ファイル名を変換できません"));
        return false;
    }
    if (!out.BeginFile(HostPath(path), path))
        return false;
    out.U32(CurrentVersion);
    return true;
}

void RecordIndexError(long long index, long long count, std::size_t elementSize)
{
    ErrorLogPrintf("err V[%lld] ( %lld , %zu )", index, count, elementSize);
    ReportPrintf("err V[%lld] ( %lld , %zu )", index, count, elementSize);
    CurrentMessageSink().RequestQuit();
    throw std::out_of_range("record list index out of range");
}

// ---------------------------------------------------------------------------
// MemberVisitor

bool MemberVisitor::Admit(Gate gate) const
{
    if (!ok_ || !gate.Admits(version_))
        return false;
    if (op_ == SerialOp::Read && io_->in->AtEnd()) {
        io_->in->SetEndedEarly(true);
        return false;  // a read past the end delivers nothing: the member keeps its value
    }
    return true;
}

void MemberVisitor::JsonError(const char* name, const char* what)
{
    if (io_->error.empty())
        io_->error = std::string("member \"") + name + "\": " + what;
    ok_ = false;
}

void MemberVisitor::DoEnumWidthError(std::size_t width)
{
    if (op_ == SerialOp::Plan) {
        io_->plan->Add(ReadPlan::Kind::EnumWidth, io_, nullptr, width);
        return;
    }
    LogEnumWidth(width);
    ok_ = false;
}

void MemberVisitor::DoInt(const char* name, void* mine, const void* theirs, std::size_t width, bool isSigned,
                          long long def)
{
    switch (op_) {
    case SerialOp::Init: StoreInt(mine, width, def); break;
    case SerialOp::Copy:
        if (theirs)
            std::memcpy(mine, theirs, width);
        break;
    case SerialOp::Compare:
        if (!theirs || std::memcmp(mine, theirs, width) != 0)
            ok_ = false;
        break;
    case SerialOp::Read: {
        uint32_t v = 0;
        if (io_->in->Raw(&v, width))
            std::memcpy(mine, &v, width);
        break;
    }
    case SerialOp::Plan: io_->plan->Add(ReadPlan::Kind::Fixed, io_, mine, width); break;
    case SerialOp::Write: io_->out->Raw(mine, width); break;
    case SerialOp::Normalize: break;
    case SerialOp::ToJson: (*io_->json)[name] = LoadInt(mine, width, isSigned); break;
    case SerialOp::FromJson: {
        auto it = io_->json->find(name);
        long long v = 0;
        if (it == io_->json->end() || !JsonToInt(*it, width, isSigned, v))
            return JsonError(name, "expected an integer in range");
        ++io_->jsonSeen;
        StoreInt(mine, width, v);
        break;
    }
    case SerialOp::MinSize: io_->minSize += width; break;
    }
}

void MemberVisitor::DoReal(const char* name, double* mine, const double* theirs, double def)
{
    switch (op_) {
    case SerialOp::Init: *mine = def; break;
    case SerialOp::Copy:
        if (theirs)
            *mine = *theirs;
        break;
    case SerialOp::Compare:
        if (!theirs || !(*mine == *theirs))
            ok_ = false;
        break;
    case SerialOp::Read: io_->in->Raw(mine, 8); break;
    case SerialOp::Plan: io_->plan->Add(ReadPlan::Kind::Fixed, io_, mine, 8); break;
    case SerialOp::Write: io_->out->Raw(mine, 8); break;
    case SerialOp::Normalize: break;
    case SerialOp::ToJson: (*io_->json)[name] = RealToJson(*mine); break;
    case SerialOp::FromJson: {
        auto it = io_->json->find(name);
        if (it == io_->json->end() || !JsonToReal(*it, *mine))
            return JsonError(name, "expected a number");
        ++io_->jsonSeen;
        break;
    }
    case SerialOp::MinSize: io_->minSize += 8; break;
    }
}

void MemberVisitor::DoString(const char* name, std::string* mine, const std::string* theirs, const char* def)
{
    switch (op_) {
    case SerialOp::Init: *mine = def; break;
    case SerialOp::Copy:
        if (theirs)
            *mine = *theirs;
        break;
    case SerialOp::Compare:
        if (!theirs || *mine != *theirs)
            ok_ = false;
        break;
    case SerialOp::Read: io_->in->String(*mine); break;
    case SerialOp::Plan: io_->plan->Add(ReadPlan::Kind::String, io_, mine); break;
    case SerialOp::Write: io_->out->String(*mine); break;
    case SerialOp::Normalize: RemoveCarriageReturns(*mine); break;
    case SerialOp::ToJson: (*io_->json)[name] = StringToJson(*mine); break;
    case SerialOp::FromJson: {
        auto it = io_->json->find(name);
        if (it == io_->json->end() || !JsonToString(*it, *mine))
            return JsonError(name, "expected a string that Shift-JIS can hold");
        ++io_->jsonSeen;
        break;
    }
    case SerialOp::MinSize: io_->minSize += 4; break;
    }
}

void MemberVisitor::DoIntArray(const char* name, void* mine, const void* theirs, std::size_t count,
                               std::size_t width, bool isSigned)
{
    uint8_t* p = static_cast<uint8_t*>(mine);
    switch (op_) {
    case SerialOp::Init: std::memset(mine, 0, count * width); break;
    case SerialOp::Copy:
        if (theirs)
            std::memcpy(mine, theirs, count * width);
        break;
    case SerialOp::Compare:
        if (!theirs || std::memcmp(mine, theirs, count * width) != 0)
            ok_ = false;
        break;
    case SerialOp::Read:
        for (std::size_t i = 0; i < count; ++i)
            io_->in->Raw(p + i * width, width);
        break;
    case SerialOp::Plan: io_->plan->Add(ReadPlan::Kind::Fixed, io_, mine, width, count); break;
    case SerialOp::Write: io_->out->Raw(mine, count * width); break;
    case SerialOp::Normalize: break;
    case SerialOp::ToJson: {
        Json array = Json::array();
        for (std::size_t i = 0; i < count; ++i)
            array.push_back(LoadInt(p + i * width, width, isSigned));
        (*io_->json)[name] = std::move(array);
        break;
    }
    case SerialOp::FromJson: {
        auto it = io_->json->find(name);
        if (it == io_->json->end() || !it->is_array() || it->size() != count)
            return JsonError(name, "expected an array of fixed length");
        for (std::size_t i = 0; i < count; ++i) {
            long long v = 0;
            if (!JsonToInt((*it)[i], width, isSigned, v))
                return JsonError(name, "expected integers in range");
            StoreInt(p + i * width, width, v);
        }
        ++io_->jsonSeen;
        break;
    }
    case SerialOp::MinSize: io_->minSize += count * width; break;
    }
}

void MemberVisitor::DoRealArray(const char* name, double* mine, const double* theirs, std::size_t count)
{
    switch (op_) {
    case SerialOp::Init:
        for (std::size_t i = 0; i < count; ++i)
            mine[i] = 0.0;
        break;
    case SerialOp::Copy:
        if (theirs)
            for (std::size_t i = 0; i < count; ++i)
                mine[i] = theirs[i];
        break;
    case SerialOp::Compare:
        for (std::size_t i = 0; i < count; ++i)
            if (!theirs || !(mine[i] == theirs[i]))
                ok_ = false;
        break;
    case SerialOp::Read:
        for (std::size_t i = 0; i < count; ++i)
            io_->in->Raw(mine + i, 8);
        break;
    case SerialOp::Plan: io_->plan->Add(ReadPlan::Kind::Fixed, io_, mine, 8, count); break;
    case SerialOp::Write: io_->out->Raw(mine, count * 8); break;
    case SerialOp::Normalize: break;
    case SerialOp::ToJson: {
        Json array = Json::array();
        for (std::size_t i = 0; i < count; ++i)
            array.push_back(RealToJson(mine[i]));
        (*io_->json)[name] = std::move(array);
        break;
    }
    case SerialOp::FromJson: {
        auto it = io_->json->find(name);
        if (it == io_->json->end() || !it->is_array() || it->size() != count)
            return JsonError(name, "expected an array of fixed length");
        for (std::size_t i = 0; i < count; ++i)
            if (!JsonToReal((*it)[i], mine[i]))
                return JsonError(name, "expected numbers");
        ++io_->jsonSeen;
        break;
    }
    case SerialOp::MinSize: io_->minSize += count * 8; break;
    }
}

namespace {

template <class E>
void WriteVector(RecordWriter& out, const std::vector<E>& v)
{
    out.U32(static_cast<uint32_t>(v.size()));
    if (!v.empty())
        out.Raw(v.data(), v.size() * sizeof(E));
}

template <class E>
Json VectorToJson(const std::vector<E>& v)
{
    Json array = Json::array();
    for (E e : v)
        array.push_back(static_cast<long long>(e));
    return array;
}

template <class E>
bool JsonToVector(const Json& j, std::vector<E>& v)
{
    if (!j.is_array())
        return false;
    std::vector<E> result;
    result.reserve(j.size());
    for (const Json& e : j) {
        long long x = 0;
        if (!JsonToInt(e, sizeof(E), std::is_signed_v<E>, x))
            return false;
        result.push_back(static_cast<E>(x));
    }
    v = std::move(result);
    return true;
}

}  // namespace

void MemberVisitor::DoIntVector(const char* name, std::vector<int32_t>* mine, const std::vector<int32_t>* theirs)
{
    DoIntVectors(name, mine, theirs, 1);
}

void MemberVisitor::DoIntVectors(const char* name, std::vector<int32_t>* mine, const std::vector<int32_t>* theirs,
                                 std::size_t n)
{
    // n == 1 is a single integer vector; in JSON an array of n vectors otherwise.
    switch (op_) {
    case SerialOp::Init:
        for (std::size_t i = 0; i < n; ++i)
            mine[i].clear();
        break;
    case SerialOp::Copy:
        if (theirs)
            for (std::size_t i = 0; i < n; ++i)
                mine[i] = theirs[i];
        break;
    case SerialOp::Compare:
        for (std::size_t i = 0; i < n; ++i)
            if (!theirs || mine[i] != theirs[i])
                ok_ = false;
        break;
    case SerialOp::Read:
        for (std::size_t i = 0; i < n; ++i)
            ReadVector(*io_->in, mine[i]);
        break;
    case SerialOp::Plan: io_->plan->Add(ReadPlan::Kind::IntVecs, io_, mine, 4, n); break;
    case SerialOp::Write:
        for (std::size_t i = 0; i < n; ++i)
            WriteVector(*io_->out, mine[i]);
        break;
    case SerialOp::Normalize: break;
    case SerialOp::ToJson:
        if (n == 1) {
            (*io_->json)[name] = VectorToJson(mine[0]);
        } else {
            Json array = Json::array();
            for (std::size_t i = 0; i < n; ++i)
                array.push_back(VectorToJson(mine[i]));
            (*io_->json)[name] = std::move(array);
        }
        break;
    case SerialOp::FromJson: {
        auto it = io_->json->find(name);
        if (it == io_->json->end())
            return JsonError(name, "missing");
        if (n == 1) {
            if (!JsonToVector(*it, mine[0]))
                return JsonError(name, "expected an array of 32-bit integers");
        } else {
            if (!it->is_array() || it->size() != n)
                return JsonError(name, "expected an array of fixed length");
            for (std::size_t i = 0; i < n; ++i)
                if (!JsonToVector((*it)[i], mine[i]))
                    return JsonError(name, "expected arrays of 32-bit integers");
        }
        ++io_->jsonSeen;
        break;
    }
    case SerialOp::MinSize: io_->minSize += 4 * n; break;
    }
}

void MemberVisitor::DoByteVector(const char* name, std::vector<uint8_t>* mine, const std::vector<uint8_t>* theirs)
{
    if (InitCopyCompare(op_, mine, theirs, ok_))
        return;
    switch (op_) {
    case SerialOp::Read: ReadVector(*io_->in, *mine); break;
    case SerialOp::Plan: io_->plan->Add(ReadPlan::Kind::ByteVec, io_, mine); break;
    case SerialOp::Write: WriteVector(*io_->out, *mine); break;
    case SerialOp::Normalize: break;
    case SerialOp::ToJson: (*io_->json)[name] = VectorToJson(*mine); break;
    case SerialOp::FromJson: {
        auto it = io_->json->find(name);
        if (it == io_->json->end() || !JsonToVector(*it, *mine))
            return JsonError(name, "expected an array of bytes");
        ++io_->jsonSeen;
        break;
    }
    case SerialOp::MinSize: io_->minSize += 4; break;
    default: break;
    }
}

void MemberVisitor::DoIntVectorVector(const char* name, std::vector<std::vector<int32_t>>* mine,
                                      const std::vector<std::vector<int32_t>>* theirs)
{
    if (InitCopyCompare(op_, mine, theirs, ok_))
        return;
    switch (op_) {
    case SerialOp::Read: ReadIntVectorVector(*io_->in, *mine); break;
    case SerialOp::Plan: io_->plan->Add(ReadPlan::Kind::IntVecVec, io_, mine); break;
    case SerialOp::Write:
        io_->out->U32(static_cast<uint32_t>(mine->size()));
        for (auto& v : *mine)
            WriteVector(*io_->out, v);
        break;
    case SerialOp::Normalize: break;
    case SerialOp::ToJson: {
        Json array = Json::array();
        for (auto& v : *mine)
            array.push_back(VectorToJson(v));
        (*io_->json)[name] = std::move(array);
        break;
    }
    case SerialOp::FromJson: {
        auto it = io_->json->find(name);
        if (it == io_->json->end() || !it->is_array())
            return JsonError(name, "expected an array of arrays");
        std::vector<std::vector<int32_t>> result(it->size());
        for (std::size_t i = 0; i < result.size(); ++i)
            if (!JsonToVector((*it)[i], result[i]))
                return JsonError(name, "expected arrays of 32-bit integers");
        *mine = std::move(result);
        ++io_->jsonSeen;
        break;
    }
    case SerialOp::MinSize: io_->minSize += 4; break;
    default: break;
    }
}

void MemberVisitor::DoStringVector(const char* name, std::vector<std::string>* mine,
                                   const std::vector<std::string>* theirs)
{
    if (InitCopyCompare(op_, mine, theirs, ok_))
        return;
    switch (op_) {
    case SerialOp::Read: ReadStringVector(*io_->in, *mine); break;
    case SerialOp::Plan: io_->plan->Add(ReadPlan::Kind::StrVec, io_, mine); break;
    case SerialOp::Write:
        io_->out->U32(static_cast<uint32_t>(mine->size()));
        for (auto& s : *mine)
            io_->out->String(s);
        break;
    case SerialOp::Normalize:
        for (auto& s : *mine)
            RemoveCarriageReturns(s);
        break;
    case SerialOp::ToJson: {
        Json array = Json::array();
        for (auto& s : *mine)
            array.push_back(StringToJson(s));
        (*io_->json)[name] = std::move(array);
        break;
    }
    case SerialOp::FromJson: {
        auto it = io_->json->find(name);
        if (it == io_->json->end() || !it->is_array())
            return JsonError(name, "expected an array of strings");
        std::vector<std::string> result(it->size());
        for (std::size_t i = 0; i < result.size(); ++i)
            if (!JsonToString((*it)[i], result[i]))
                return JsonError(name, "expected strings that Shift-JIS can hold");
        *mine = std::move(result);
        ++io_->jsonSeen;
        break;
    }
    case SerialOp::MinSize: io_->minSize += 4; break;
    default: break;
    }
}

void MemberVisitor::DoCells(const char* name, std::vector<CellPos>* mine, const std::vector<CellPos>* theirs)
{
    if (InitCopyCompare(op_, mine, theirs, ok_))
        return;
    switch (op_) {
    case SerialOp::Read: ReadCells(*io_->in, *mine); break;
    case SerialOp::Plan: io_->plan->Add(ReadPlan::Kind::Cells, io_, mine); break;
    case SerialOp::Write:
        io_->out->U32(static_cast<uint32_t>(mine->size()));
        for (const CellPos& c : *mine) {
            io_->out->Raw(&c.x, 4);
            io_->out->Raw(&c.y, 4);
        }
        break;
    case SerialOp::Normalize: break;
    case SerialOp::ToJson: {
        Json array = Json::array();
        for (const CellPos& c : *mine)
            array.push_back(Json::array({c.x, c.y}));
        (*io_->json)[name] = std::move(array);
        break;
    }
    case SerialOp::FromJson: {
        auto it = io_->json->find(name);
        if (it == io_->json->end() || !it->is_array())
            return JsonError(name, "expected an array of [x, y] pairs");
        std::vector<CellPos> result;
        result.reserve(it->size());
        for (const Json& pair : *it) {
            long long x = 0, y = 0;
            if (!pair.is_array() || pair.size() != 2 || !JsonToInt(pair[0], 4, true, x) || !JsonToInt(pair[1], 4, true, y))
                return JsonError(name, "expected an array of [x, y] pairs of 32-bit integers");
            result.push_back({static_cast<int32_t>(x), static_cast<int32_t>(y)});
        }
        *mine = std::move(result);
        ++io_->jsonSeen;
        break;
    }
    case SerialOp::MinSize: io_->minSize += 4; break;
    default: break;
    }
}

void MemberVisitor::DoObsolete(std::size_t width, Gate)
{
    if (op_ == SerialOp::Read)
        io_->in->Skip(width);
    else if (op_ == SerialOp::Plan)
        io_->plan->Add(ReadPlan::Kind::Skip, io_, nullptr, width);
    else if (op_ == SerialOp::MinSize)
        io_->minSize += width;
}

void MemberVisitor::DoObsoleteVector(std::size_t width)
{
    if (op_ == SerialOp::Read) {
        if (!io_->in->AtEnd())
            SkipVector(*io_->in, width);
    } else if (op_ == SerialOp::Plan) {
        io_->plan->Add(ReadPlan::Kind::SkipVec, io_, nullptr, width);
    } else if (op_ == SerialOp::MinSize) {
        io_->minSize += 4;
    }
}

void MemberVisitor::DoDroppedString()
{
    if (op_ == SerialOp::Read) {
        SkipString(*io_->in);
    } else if (op_ == SerialOp::Plan) {
        io_->plan->Add(ReadPlan::Kind::DroppedStr, io_, nullptr);
    } else if (op_ == SerialOp::Write) {
        io_->out->U32(1);
    } else if (op_ == SerialOp::MinSize) {
        io_->minSize += 4;
    }
}

void MemberVisitor::DoReserved(const char* name, std::size_t width)
{
    void* scratch = ReservedScratch(width);
    switch (op_) {
    case SerialOp::Init: StoreInt(scratch, width, 0); break;
    case SerialOp::Copy:
    case SerialOp::Compare:
    case SerialOp::Normalize: break;  // the scratch is shared: always equal
    case SerialOp::Read: ReadReserved(*io_->in, width); break;
    case SerialOp::Plan: io_->plan->Add(ReadPlan::Kind::Reserved, io_, nullptr, width); break;
    case SerialOp::Write: io_->out->Raw(scratch, width); break;
    case SerialOp::ToJson: (*io_->json)[name] = LoadInt(scratch, width, false); break;
    case SerialOp::FromJson: {
        auto it = io_->json->find(name);
        long long v = 0;
        if (it == io_->json->end() || !JsonToInt(*it, width, false, v))
            return JsonError(name, "expected an integer in range");
        ++io_->jsonSeen;
        StoreInt(scratch, width, v);
        break;
    }
    case SerialOp::MinSize: io_->minSize += width; break;
    }
}
