// The serial record framework.
//
// Every persistent object is a record derived from cSerial. A record has one
// member enumeration, Serial, that visits its members in file order and applies
// one operation to each: Init, Copy, Compare, Read, Write or Normalize (and, for
// the data tool, conversion to and from JSON). A record's Serial is a short list:
//
//   int cWndPosInfo::Serial(SerialOp op, cSerial* other, SerialIO* io, uint32_t version)
//   {
//       Members<cWndPosInfo> m(*this, op, other, io, version);
//       m.Int("valid", &cWndPosInfo::m_bValid);
//       m.Int("left", &cWndPosInfo::m_nLeft);
//       ...
//       return m.Result();
//   }
//
// The name given to each member is its key in the JSON form. Version gates are
// arguments: Since(87) for a member stored from version 87 on, Range(a, b) for an
// obsolete member stored in versions [a, b) and read only to be discarded.
//
// Reading does not walk the list value by value. The first read of a class at a
// version runs Serial once to record a read plan: the members that version holds,
// with their offsets in the record, neighbouring fixed-size values joined into one
// copy. Later reads of that class and version follow the plan. A Serial is
// therefore made of member calls only; what it holds must not depend on values.
//
// Init follows a plan too: the class's plan at CurrentVersion with the values
// the first Init of the class gave each member, set again from there.
//
// A class whose constructor is its Init and nothing else says so with
// SERIAL_CONSTRUCTOR(cClass). A new list element of such a class that a file
// fills whole is then made without the Init, as the reading sets every member
// the Init would (see ReadsOverBare).
#pragma once

#include <algorithm>
#include <array>
#include <concepts>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <typeinfo>
#include <vector>

#include "records/record_io.h"

// The data version this system writes.
inline constexpr uint32_t kDataVersion = 340;

// Process-wide values shared by all records.
extern uint32_t CurrentVersion;     // written into every file header; the version of every operation but Read
extern uint32_t LoadedFileVersion;  // header of the file most recently opened for reading
extern bool VersionTooNew;          // the last file opened for reading was newer than CurrentVersion
extern bool NormalizeOnLoad;        // run Normalize on everything just loaded
extern bool LastLoadEndedEarly;     // the file most recently read ended before all it should hold
extern std::string LastReadError;   // why the file most recently opened for reading could not be read

// A file that ended before all it should hold: what could not be read kept its
// value. where says how far it got ("ends at byte 0 of its version header").
struct EndedEarlyFile {
    std::string path;
    std::string where;
    bool noHeader = false;  // not even the version header was whole
};
// Every file noted since the last ClearEndedEarlyFiles, in load order.
const std::vector<EndedEarlyFile>& EndedEarlyFiles();
void ClearEndedEarlyFiles();
// Notes path when the reader ended early (and sets LastLoadEndedEarly). For a
// list, record is the index of the record the file ended in and promised the
// count the file gave; for a single record both are -1.
void NoteIfEndedEarly(const std::string& path, const RecordReader& in, long long record = -1,
                      long long promised = -1, std::size_t recordStart = 0);

enum class SerialOp : int32_t {
    Init = 0,
    Copy = 1,
    Compare = 2,
    Read = 3,
    Write = 4,
    Normalize = 5,
    // Beyond the six: the data tool's JSON form, and the smallest encoded size of
    // a record at a version (used to bound counts read from a file).
    ToJson = 100,
    FromJson = 101,
    MinSize = 102,
    // Records the read plan of a class at a version (see ReadPlan).
    Plan = 103,
};

class cSerial;
class ReadPlan;

// A map cell: column and row counted from 0.
struct CellPos {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const CellPos&) const = default;
};

// What an operation works on besides the record and its partner.
struct SerialIO {
    RecordReader* in = nullptr;    // Read
    RecordWriter* out = nullptr;   // Write
    Json* json = nullptr;          // ToJson: the object being filled; FromJson: the object being read
    std::size_t jsonSeen = 0;      // FromJson: keys of *json consumed so far
    std::size_t minSize = 0;       // MinSize: accumulated bytes
    std::string error;             // FromJson: what was wrong
    ReadPlan* plan = nullptr;      // Plan: the plan being recorded
    const char* planBase = nullptr;  // Plan: the record the offsets are taken from
};

// A version gate: the member takes part when since <= version < until.
struct Gate {
    uint32_t since = 0;
    uint32_t until = UINT32_MAX;
    constexpr bool Admits(uint32_t v) const { return since <= v && v < until; }
};
constexpr Gate Since(uint32_t v) { return {v, UINT32_MAX}; }
constexpr Gate Range(uint32_t from, uint32_t below) { return {from, below}; }

class cSerial {
public:
    virtual ~cSerial() = default;

    // The member enumeration. Returns 1 on success (and equality under Compare),
    // 0 at a Compare difference or a refused member.
    virtual int Serial(SerialOp op, cSerial* other, SerialIO* io, uint32_t version);

    // Reads the record's members from an open file; overrides add fix-ups after
    // calling the base.
    virtual int LoadBody(RecordReader& in);
    // Writes the record's members; overrides bring derived values up to date first.
    virtual int SaveBody(RecordWriter& out);

    // Sets every member to its initial value: by the class's init plan where it
    // has one (inline, so that a constructor's Init goes straight to its class's
    // plan), else member by member.
    int Init()
    {
        int planned = InitPlanned();
        return planned >= 0 ? planned : InitMembers();
    }
    int CopyFrom(const cSerial& source);
    int Equals(const cSerial& other) const;
    int Normalize();

    // path is a stored path (CP932, backslashes) relative to the current directory
    // or absolute. 1 on success, 0 on failure (the record is then unchanged).
    int LoadFile(const std::string& path);
    int SaveFile(const std::string& path);

    // JSON form of the record at CurrentVersion (members by name, in file order).
    Json ToJson();
    // Sets the members from a JSON object; false with io.error on a mismatch.
    bool FromJson(const Json& object, std::string& error);

    // Smallest number of bytes the record's body occupies in a file of the version.
    std::size_t MinSize(uint32_t version);

    // Reads the members by the class's read plan; -1 when the object's class has
    // none (it does not declare SERIAL_MEMBERS itself), and Serial reads instead.
    virtual int ReadPlanned(RecordReader&, uint32_t) { return -1; }
    // Init by the class's plan; -1 as above.
    virtual int InitPlanned() { return -1; }

private:
    int InitMembers();
};

// A function that reads one member that has its own reading (a nested record or
// a list); 0 when that read failed.
using ReadCall = int (*)(void* member, RecordReader& in, uint32_t version);
// Its Init; 0 when that failed.
using InitCall = int (*)(void* member);

// The members a file of one version holds for one record class, in file order,
// by their offset in the record.
class ReadPlan {
public:
    enum class Kind : uint8_t {
        Fixed,       // count values of width bytes
        String,
        IntVecs,     // count vectors of 32-bit integers one after the other
        ByteVec,
        IntVecVec,
        StrVec,
        Cells,
        Skip,        // width bytes read and dropped
        SkipVec,     // a count, then that many values of width bytes, dropped
        DroppedStr,
        Reserved,    // a value of width bytes into the process-wide scratch
        Call,        // call reads the member
        List,        // call reads a list member, which it replaces whole
        EnumWidth,   // an enumeration that is not 4 bytes: the read fails
    };
    struct Step {
        Kind kind;
        uint32_t offset;
        uint32_t width;
        uint32_t count;
        // At the first of neighbouring Fixed steps: their bytes and their number.
        uint32_t runBytes;
        uint32_t runSteps;
        // Fixed (first of a run) and String: where its initial value is kept.
        uint32_t initialAt;
        ReadCall call;
        InitCall init;
    };

    // Records the members of record's class at the version (record is not changed;
    // base is its address as the class's object).
    void Build(cSerial& record, const char* base, uint32_t version);
    // Reads the members into the record at base. 1 on success, 0 when a nested
    // read failed; members after the end of the file keep their values.
    int Run(char* base, RecordReader& in, uint32_t version) const;

    // Keeps the values of model (an object of the class just initialised by
    // Serial) as the members' initial values.
    void TakeInitialValues(const char* model);
    // Sets the members of the record at base to those values, as Init does.
    int RunInit(char* base) const;

    void Add(Kind kind, const SerialIO* io, const void* member, std::size_t width = 0, std::size_t count = 1,
             ReadCall call = nullptr, InitCall init = nullptr);
    std::size_t Size() const { return steps_.size(); }

    // Whether a record read whole by this plan holds what it would hold had it
    // been initialised by init first: every member init sets, this plan reads,
    // and reads whatever the file holds. bare is a record of the class as its
    // member initialisers leave it; a vector the file may leave as it was must be
    // empty there, as init leaves it.
    bool ReadsOver(const ReadPlan& init, const char* bare) const;

private:
    static constexpr uint32_t kEmptyString = UINT32_MAX;  // initialAt of a string that starts empty
    std::vector<Step> steps_;
    std::vector<uint8_t> initialBytes_;
    std::vector<std::string> initialStrings_;
};

// The plans of one class, by version; the one used last is found first.
class PlanCache {
public:
    // The plan used last when it is the one of version, else nullptr.
    const ReadPlan* Last(uint32_t version) const { return version == version_ ? plan_ : nullptr; }
    const ReadPlan* Find(uint32_t version)
    {
        if (version == version_)
            return plan_;
        for (auto& entry : all_)
            if (entry.first == version) {
                version_ = version;
                plan_ = entry.second.get();
                return plan_;
            }
        return nullptr;
    }
    const ReadPlan& Add(uint32_t version, std::unique_ptr<ReadPlan> plan)
    {
        all_.emplace_back(version, std::move(plan));
        version_ = version;
        plan_ = all_.back().second.get();
        return *plan_;
    }

private:
    uint32_t version_ = UINT32_MAX;
    const ReadPlan* plan_ = nullptr;
    std::vector<std::pair<uint32_t, std::unique_ptr<ReadPlan>>> all_;
};

// The read and init plans of class T. Made before main, so their use needs no
// check of a first use.
template <class T>
constinit inline PlanCache g_readPlans{};
template <class T>
constinit inline PlanCache g_initPlans{};

// ReadPlanOf when T's plan at the version is not the one used last.
template <class T>
const ReadPlan& FindReadPlan(T& self, uint32_t version)
{
    if (const ReadPlan* plan = g_readPlans<T>.Find(version))
        return *plan;
    auto plan = std::make_unique<ReadPlan>();
    plan->Build(self, reinterpret_cast<const char*>(&self), version);
    return g_readPlans<T>.Add(version, std::move(plan));
}

// The read plan of class T at a version, recorded from self on first use.
template <class T>
inline const ReadPlan& ReadPlanOf(T& self, uint32_t version)
{
    if (const ReadPlan* plan = g_readPlans<T>.Last(version))
        return *plan;
    return FindReadPlan<T>(self, version);
}

// Reads self (of class exactly T) by T's plan; -1 for an object of a derived class.
template <class T>
int ReadByPlan(T& self, RecordReader& in, uint32_t version)
{
    if (typeid(self) != typeid(T))
        return -1;
    return ReadPlanOf<T>(self, version).Run(reinterpret_cast<char*>(&self), in, version);
}

// InitByPlan the first time T is initialised at a version: member by member,
// leaving the plan with the values it gave.
template <class T>
int FirstInit(T& self, uint32_t version)
{
    char* base = reinterpret_cast<char*>(&self);
    if (const ReadPlan* plan = g_initPlans<T>.Find(version))
        return plan->RunInit(base);
    SerialIO io;
    int ok = self.Serial(SerialOp::Init, nullptr, &io, version);
    if (!ok)
        return ok;  // a class whose Init fails gets no plan
    auto plan = std::make_unique<ReadPlan>();
    plan->Build(self, base, version);
    plan->TakeInitialValues(base);
    g_initPlans<T>.Add(version, std::move(plan));
    return ok;
}

// The class whose next Init is left out: that of a list element about to be
// read whole (see WithoutInit). Set for one construction only.
constinit inline thread_local const void* t_initLeftOut = nullptr;

// Initialises self (of class exactly T) by T's plan at CurrentVersion; -1 for
// an object of a derived class.
template <class T>
int InitByPlan(T& self)
{
    if (t_initLeftOut == &g_initPlans<T>) {
        t_initLeftOut = nullptr;
        return 1;
    }
    if (typeid(self) != typeid(T))
        return -1;
    if (const ReadPlan* plan = g_initPlans<T>.Last(CurrentVersion))
        return plan->RunInit(reinterpret_cast<char*>(&self));
    return FirstInit<T>(self, CurrentVersion);
}

// Opens a record file for reading (version header checked, LoadedFileVersion and
// VersionTooNew set). False when it cannot be opened (LastReadError says why),
// is not a regular file or is too new.
bool OpenRecordFile(const std::string& path, RecordReader& in);
// Starts writing a record file at path (version header written). The writer
// streams into a temporary file beside it; out.Commit() puts it in place.
bool BeginRecordFile(RecordWriter& out, const std::string& path);

// Logs a broken list index and asks the program to end; throws std::out_of_range.
[[noreturn]] void RecordIndexError(long long index, long long count, std::size_t elementSize);

// Smallest encoded size of a default T at a version, cached per version.
template <class T>
std::size_t MinRecordSize(uint32_t version)
{
    static uint32_t cachedVersion = UINT32_MAX;
    static std::size_t cachedSize = 0;
    if (cachedVersion != version) {
        T probe;
        cachedSize = probe.MinSize(version);
        cachedVersion = version;
    }
    return cachedSize;
}

// An ordered list of records of one class, held by value, with checked access.
template <class T>
class RecordList {
public:
    using value_type = T;
    using iterator = typename std::vector<T>::iterator;
    using const_iterator = typename std::vector<T>::const_iterator;

    RecordList() = default;
    RecordList(std::initializer_list<T> init) : items_(init) {}

    int size() const { return static_cast<int>(items_.size()); }
    bool empty() const { return items_.empty(); }

    T& operator[](long long i) { Check(i); return items_[static_cast<std::size_t>(i)]; }
    const T& operator[](long long i) const { Check(i); return items_[static_cast<std::size_t>(i)]; }
    T& front() { return (*this)[0]; }
    T& back() { return (*this)[size() - 1]; }

    iterator begin() { return items_.begin(); }
    iterator end() { return items_.end(); }
    const_iterator begin() const { return items_.begin(); }
    const_iterator end() const { return items_.end(); }

    void clear() { items_.clear(); }
    void resize(int n)
    {
        std::size_t count = n < 0 ? 0 : static_cast<std::size_t>(n);
        if (count <= items_.size() + 1) {
            items_.resize(count);
            return;
        }
        // New elements are copies of one default element: one Init instead of many.
        T fresh;
        items_.reserve(count);
        items_.resize(count, fresh);
    }
    void reserve(int n) { items_.reserve(n < 0 ? 0 : static_cast<std::size_t>(n)); }
    T& push_back(const T& value) { items_.push_back(value); return items_.back(); }
    T& emplace_back() { return items_.emplace_back(); }
    // Inserts at position i (0..size()).
    T& insert(int i, const T& value) { CheckInsert(i); return *items_.insert(items_.begin() + i, value); }
    void erase(int i) { Check(i); items_.erase(items_.begin() + i); }
    void move(int from, int to)
    {
        Check(from);
        Check(to);
        T item = std::move(items_[from]);
        items_.erase(items_.begin() + from);
        items_.insert(items_.begin() + to, std::move(item));
    }

    std::vector<T>& items() { return items_; }
    const std::vector<T>& items() const { return items_; }

    // The list's part in a record's enumeration.
    int Serial(SerialOp op, RecordList* other, SerialIO* io, uint32_t version);
    // Reads a count and that many elements, as if into an emptied list; the
    // elements already there lend their storage.
    int Read(RecordReader& in, uint32_t version);

private:
    void Check(long long i) const
    {
        if (i < 0 || i >= static_cast<long long>(items_.size()))
            RecordIndexError(i, static_cast<long long>(items_.size()), sizeof(T));
    }
    void CheckInsert(long long i) const
    {
        if (i < 0 || i > static_cast<long long>(items_.size()))
            RecordIndexError(i, static_cast<long long>(items_.size()), sizeof(T));
    }

    std::vector<T> items_;
};

// Members that have their own reading, as read plans call them.
template <class R>
int ReadNestedAt(void* member, RecordReader& in, uint32_t version);
template <class R>
int ReadListAt(void* member, RecordReader& in, uint32_t version);
template <class R>
int ReadListVecAt(void* member, RecordReader& in, uint32_t version);
template <class R>
int InitNestedAt(void* member);
template <class R>
int InitListAt(void* member);
template <class R>
int InitListVecAt(void* member);

// Standalone list files: version header, 32-bit count, element bodies.
template <class T>
int LoadListFile(RecordList<T>& list, const std::string& path);
template <class T>
int SaveListFile(RecordList<T>& list, const std::string& path);

// ---------------------------------------------------------------------------
// The member visitor. MemberVisitor holds the operation and does the work for
// every member kind without templates; Members<T> binds it to one record class
// through pointers to members.

class MemberVisitor {
public:
    MemberVisitor(SerialOp op, SerialIO* io, uint32_t version) : op_(op), io_(io), version_(version) {}

    int Result() const { return ok_ ? 1 : 0; }
    bool Ok() const { return ok_; }
    SerialOp Op() const { return op_; }
    uint32_t Version() const { return version_; }
    SerialIO* IO() const { return io_; }

protected:
    bool Admit(Gate gate) const;
    void Fail() { ok_ = false; }
    void JsonError(const char* name, const char* what);

    // mine: this record's member; theirs: the partner's (Copy, Compare) or null.
    void DoInt(const char* name, void* mine, const void* theirs, std::size_t width, bool isSigned, long long def);
    void DoEnumWidthError(std::size_t width);
    void DoReal(const char* name, double* mine, const double* theirs, double def);
    void DoString(const char* name, std::string* mine, const std::string* theirs, const char* def);
    void DoIntArray(const char* name, void* mine, const void* theirs, std::size_t count, std::size_t width, bool isSigned);
    void DoRealArray(const char* name, double* mine, const double* theirs, std::size_t count);
    void DoIntVector(const char* name, std::vector<int32_t>* mine, const std::vector<int32_t>* theirs);
    void DoByteVector(const char* name, std::vector<uint8_t>* mine, const std::vector<uint8_t>* theirs);
    void DoIntVectors(const char* name, std::vector<int32_t>* mine, const std::vector<int32_t>* theirs, std::size_t n);
    void DoIntVectorVector(const char* name, std::vector<std::vector<int32_t>>* mine,
                           const std::vector<std::vector<int32_t>>* theirs);
    void DoStringVector(const char* name, std::vector<std::string>* mine, const std::vector<std::string>* theirs);
    void DoCells(const char* name, std::vector<CellPos>* mine, const std::vector<CellPos>* theirs);
    void DoObsolete(std::size_t width, Gate range);
    void DoObsoleteVector(std::size_t width);
    void DoReserved(const char* name, std::size_t width);
    void DoDroppedString();

    // Runs fn on a JSON sub-object (nested record or list element) with its own key count.
    template <class Fn>
    int WithJsonObject(Json& object, Fn&& fn);

    SerialOp op_;
    SerialIO* io_;
    uint32_t version_;
    bool ok_ = true;
};

template <class T>
class Members : public MemberVisitor {
public:
    Members(T& self, SerialOp op, cSerial* other, SerialIO* io, uint32_t version)
        : MemberVisitor(op, io, version), self_(self), other_(other ? dynamic_cast<T*>(other) : nullptr)
    {
    }

    // Integers of 1, 2 or 4 bytes, flags and enumerations (enumerations must be 4 bytes).
    template <class V>
    void Int(const char* name, V T::*m, Gate gate = {}, long long def = 0)
    {
        static_assert(std::is_integral_v<V> || std::is_enum_v<V>, "Int() takes an integer or enumeration member");
        if (!Admit(gate))
            return;
        if constexpr (std::is_enum_v<V>) {
            if (sizeof(V) != 4) {
                DoEnumWidthError(sizeof(V));
                return;
            }
            DoInt(name, &(self_.*m), Partner(m), 4, true, def);
        } else {
            static_assert(sizeof(V) == 1 || sizeof(V) == 2 || sizeof(V) == 4, "integer members are 1, 2 or 4 bytes");
            DoInt(name, &(self_.*m), Partner(m), sizeof(V), std::is_signed_v<V>, def);
        }
    }

    void Real(const char* name, double T::*m, Gate gate = {}, double def = 0.0)
    {
        if (Admit(gate))
            DoReal(name, &(self_.*m), Partner(m), def);
    }

    void Str(const char* name, std::string T::*m, Gate gate = {}, const char* def = "")
    {
        if (Admit(gate))
            DoString(name, &(self_.*m), Partner(m), def);
    }

    // Fixed arrays of N integers or N doubles (no count in the file).
    template <class V, std::size_t N>
    void Array(const char* name, std::array<V, N> T::*m, Gate gate = {})
    {
        if (!Admit(gate))
            return;
        auto* theirs = Partner(m);
        if constexpr (std::is_same_v<V, double>) {
            DoRealArray(name, (self_.*m).data(), theirs ? theirs->data() : nullptr, N);
        } else {
            static_assert(std::is_integral_v<V> && sizeof(V) == 4, "fixed arrays hold 4-byte integers or doubles");
            DoIntArray(name, (self_.*m).data(), theirs ? theirs->data() : nullptr, N, sizeof(V), std::is_signed_v<V>);
        }
    }

    void IntVec(const char* name, std::vector<int32_t> T::*m, Gate gate = {})
    {
        if (Admit(gate))
            DoIntVector(name, &(self_.*m), Partner(m));
    }

    void ByteVec(const char* name, std::vector<uint8_t> T::*m, Gate gate = {})
    {
        if (Admit(gate))
            DoByteVector(name, &(self_.*m), Partner(m));
    }

    // N integer vectors one after the other.
    template <std::size_t N>
    void IntVecArray(const char* name, std::array<std::vector<int32_t>, N> T::*m, Gate gate = {})
    {
        if (!Admit(gate))
            return;
        auto* theirs = Partner(m);
        DoIntVectors(name, (self_.*m).data(), theirs ? theirs->data() : nullptr, N);
    }

    void IntVecVec(const char* name, std::vector<std::vector<int32_t>> T::*m, Gate gate = {})
    {
        if (Admit(gate))
            DoIntVectorVector(name, &(self_.*m), Partner(m));
    }

    void StrVec(const char* name, std::vector<std::string> T::*m, Gate gate = {})
    {
        if (Admit(gate))
            DoStringVector(name, &(self_.*m), Partner(m));
    }

    // Map cells: 32-bit count, then x and y per cell (JSON [[x, y], ...]).
    void Cells(const char* name, std::vector<CellPos> T::*m, Gate gate = {})
    {
        if (Admit(gate))
            DoCells(name, &(self_.*m), Partner(m));
    }

    template <class R>
    void List(const char* name, RecordList<R> T::*m, Gate gate = {})
    {
        if (!Admit(gate))
            return;
        RecordList<R>& mine = self_.*m;
        RecordList<R>* theirs = Partner(m);
        if (op_ == SerialOp::Plan) {
            io_->plan->Add(ReadPlan::Kind::List, io_, &mine, 0, 1, &ReadListAt<R>, &InitListAt<R>);
            return;
        }
        if (op_ == SerialOp::ToJson || op_ == SerialOp::FromJson) {
            Json* parent = io_->json;
            if (op_ == SerialOp::ToJson) {
                Json& slot = (*parent)[name];
                slot = Json::array();
                io_->json = &slot;
            } else {
                auto it = parent->find(name);
                if (it == parent->end() || !it->is_array()) {
                    JsonError(name, "expected an array");
                    return;
                }
                ++io_->jsonSeen;
                io_->json = &*it;
            }
            if (!mine.Serial(op_, theirs, io_, version_))
                Fail();
            io_->json = parent;
            return;
        }
        if (!mine.Serial(op_, theirs, io_, version_))
            Fail();
    }

    // A 32-bit count, then that many record lists (JSON: an array of arrays).
    template <class R>
    void ListVec(const char* name, std::vector<RecordList<R>> T::*m, Gate gate = {})
    {
        if (!Admit(gate))
            return;
        std::vector<RecordList<R>>& mine = self_.*m;
        std::vector<RecordList<R>>* theirs = Partner(m);
        Json* outer = nullptr;
        switch (op_) {
        case SerialOp::Init: mine.clear(); return;
        case SerialOp::Copy:
            if (!theirs)
                return;
            mine.resize(theirs->size());
            break;
        case SerialOp::Compare:
            if (!theirs || mine.size() != theirs->size())
                return Fail();
            break;
        case SerialOp::Read:
            // Like a vector of integer vectors, as if the outer list were emptied first.
            if (!ReadListVecAt<R>(&mine, *io_->in, version_))
                Fail();
            return;
        case SerialOp::Plan:
            io_->plan->Add(ReadPlan::Kind::List, io_, &mine, 0, 1, &ReadListVecAt<R>, &InitListVecAt<R>);
            return;
        case SerialOp::Write: io_->out->U32(static_cast<uint32_t>(mine.size())); break;
        case SerialOp::Normalize: break;
        case SerialOp::ToJson: outer = &((*io_->json)[name] = Json::array()); break;
        case SerialOp::FromJson: {
            auto it = io_->json->find(name);
            if (it == io_->json->end() || !it->is_array())
                return JsonError(name, "expected an array of arrays");
            for (const Json& inner : *it)
                if (!inner.is_array())
                    return JsonError(name, "expected an array of arrays");
            ++io_->jsonSeen;
            outer = &*it;
            mine.clear();
            mine.resize(it->size());
            break;
        }
        case SerialOp::MinSize: io_->minSize += 4; return;
        }
        Json* parent = io_->json;
        for (std::size_t i = 0; i < mine.size() && ok_; ++i) {
            if (op_ == SerialOp::ToJson)
                io_->json = &outer->emplace_back(Json::array());
            else if (op_ == SerialOp::FromJson)
                io_->json = &(*outer)[i];
            if (!mine[i].Serial(op_, theirs ? &(*theirs)[i] : nullptr, io_, version_))
                Fail();
            io_->json = parent;
        }
    }

    template <class R>
    void Nested(const char* name, R T::*m, Gate gate = {})
    {
        static_assert(std::is_base_of_v<cSerial, R>, "Nested() takes a record member");
        if (!Admit(gate))
            return;
        Json* slot = nullptr;
        if (op_ == SerialOp::ToJson) {
            slot = &((*io_->json)[name] = Json::object());
        } else if (op_ == SerialOp::FromJson) {
            auto it = io_->json->find(name);
            if (it == io_->json->end() || !it->is_object())
                return JsonError(name, "expected an object");
            ++io_->jsonSeen;
            slot = &*it;
        }
        VisitRecord(self_.*m, Partner(m), slot);
    }

    // N records one after the other, no count (a JSON array of N objects).
    template <class R, std::size_t N>
    void Nested(const char* name, std::array<R, N> T::*m, Gate gate = {})
    {
        static_assert(std::is_base_of_v<cSerial, R>, "Nested() takes record members");
        if (!Admit(gate))
            return;
        std::array<R, N>& mine = self_.*m;
        std::array<R, N>* theirs = Partner(m);
        Json* array = nullptr;
        if (op_ == SerialOp::ToJson) {
            array = &((*io_->json)[name] = Json::array());
            for (std::size_t i = 0; i < N; ++i)
                array->push_back(Json::object());
        } else if (op_ == SerialOp::FromJson) {
            auto it = io_->json->find(name);
            if (it == io_->json->end() || !it->is_array() || it->size() != N)
                return JsonError(name, "expected an array of fixed length");
            ++io_->jsonSeen;
            array = &*it;
        }
        for (std::size_t i = 0; i < N && ok_; ++i)
            VisitRecord(mine[i], theirs ? &(*theirs)[i] : nullptr, array ? &(*array)[i] : nullptr);
    }

    // The members of the base class B come first, in its own order.
    template <class B>
    void Base()
    {
        static_assert(std::is_base_of_v<B, T> && std::is_base_of_v<cSerial, B>, "Base() takes a base record class");
        if (ok_ && !self_.B::Serial(op_, other_, io_, version_))
            Fail();
    }

    // A value older files hold at this place, width 1 or 4, read and discarded.
    void Obsolete(std::size_t width, Gate range)
    {
        if (ok_ && range.Admits(version_))
            DoObsolete(width, range);
    }

    // A counted list of width-byte values older files hold at this place, read
    // and discarded (4 bytes of count in the smallest size).
    void ObsoleteVector(std::size_t width, Gate range)
    {
        if (ok_ && range.Admits(version_))
            DoObsoleteVector(width);
    }

    // A string files hold at this place but nothing uses: read and dropped, written
    // empty. It has no member behind it and no JSON form.
    void DroppedStr(Gate gate = {})
    {
        if (Admit(gate))
            DoDroppedString();
    }

    // A reserved value (width 1 or 4) held in the process-wide scratch of its width.
    void Reserved(const char* name, std::size_t width, Gate gate = {})
    {
        if (Admit(gate))
            DoReserved(name, width);
    }

    T& Self() { return self_; }
    T* Other() { return other_; }

private:
    // One nested record: its body in files, its own object in JSON (slot).
    template <class R>
    void VisitRecord(R& mine, R* theirs, Json* slot)
    {
        switch (op_) {
        case SerialOp::Read:
            if (!mine.LoadBody(*io_->in))
                Fail();
            return;
        case SerialOp::Plan:
            io_->plan->Add(ReadPlan::Kind::Call, io_, &mine, 0, 1, &ReadNestedAt<R>, &InitNestedAt<R>);
            return;
        case SerialOp::Write:
            if (!mine.SaveBody(*io_->out))
                Fail();
            return;
        case SerialOp::ToJson: {
            Json* parent = io_->json;
            io_->json = slot;
            if (!mine.Serial(op_, nullptr, io_, version_))
                Fail();
            io_->json = parent;
            return;
        }
        case SerialOp::FromJson:
            if (!slot->is_object() || !WithJsonObject(*slot, [&] { return mine.Serial(op_, nullptr, io_, version_); }))
                Fail();
            return;
        default:
            if (!mine.Serial(op_, theirs, io_, version_))
                Fail();
        }
    }

    template <class M>
    M* Partner(M T::*m)
    {
        return other_ ? &(other_->*m) : nullptr;
    }

    T& self_;
    T* other_;
};

// ---------------------------------------------------------------------------

template <class Fn>
int MemberVisitor::WithJsonObject(Json& object, Fn&& fn)
{
    Json* parent = io_->json;
    std::size_t parentSeen = io_->jsonSeen;
    io_->json = &object;
    io_->jsonSeen = 0;
    int ok = fn();
    if (ok && io_->jsonSeen != object.size()) {
        io_->error = "unknown member in object";
        ok = 0;
    }
    io_->json = parent;
    io_->jsonSeen = parentSeen;
    return ok;
}

template <class T>
int RecordList<T>::Serial(SerialOp op, RecordList* other, SerialIO* io, uint32_t version)
{
    switch (op) {
    case SerialOp::Init:
        items_.clear();
        return 1;
    case SerialOp::Read: return Read(*io->in, version);
    case SerialOp::Plan: return 1;
    case SerialOp::Write:
        io->out->U32(static_cast<uint32_t>(items_.size()));
        for (T& item : items_)
            if (!item.SaveBody(*io->out))
                return 0;
        return 1;
    case SerialOp::Copy:
        if (!other)
            return 1;
        if (other == this)
            return 1;
        items_.resize(other->items_.size());
        for (std::size_t i = 0; i < items_.size(); ++i)
            if (!items_[i].CopyFrom(other->items_[i]))
                return 0;
        return 1;
    case SerialOp::Compare:
        if (!other || items_.size() != other->items_.size())
            return 0;
        for (std::size_t i = 0; i < items_.size(); ++i)
            if (!items_[i].Serial(SerialOp::Compare, &other->items_[i], io, version))
                return 0;
        return 1;
    case SerialOp::Normalize:
        for (T& item : items_)
            item.Normalize();
        return 1;
    case SerialOp::ToJson: {
        Json* array = io->json;
        for (T& item : items_) {
            Json& slot = array->emplace_back(Json::object());
            io->json = &slot;
            int ok = item.Serial(op, nullptr, io, version);
            io->json = array;
            if (!ok)
                return 0;
        }
        return 1;
    }
    case SerialOp::FromJson: {
        Json* array = io->json;
        items_.clear();
        items_.resize(array->size());
        for (std::size_t i = 0; i < items_.size(); ++i) {
            Json& element = (*array)[i];
            if (!element.is_object()) {
                io->error = "list element is not an object";
                return 0;
            }
            std::string error;
            if (!items_[i].FromJson(element, error)) {
                io->error = "[" + std::to_string(i) + "] " + error;
                return 0;
            }
        }
        return 1;
    }
    case SerialOp::MinSize:
        io->minSize += 4;
        return 1;
    }
    return 1;
}

// T declares its members itself (its read plan is its own) and reads them with
// the common LoadBody, without fix-ups of its own.
template <class T>
concept ReadsByOwnPlan = requires {
    { &T::ReadPlanned } -> std::same_as<int (T::*)(RecordReader&, uint32_t)>;
    { &T::LoadBody } -> std::same_as<int (cSerial::*)(RecordReader&)>;
};

// LoadBody of a record whose class is exactly T (a list's element, a nested
// member): where T reads by its own plan, the plan is run directly, without
// the two virtual calls and the class check on the way.
template <class T>
int LoadExact(T& record, RecordReader& in)
{
    if constexpr (ReadsByOwnPlan<T>) {
        int result = ReadPlanOf<T>(record, LoadedFileVersion).Run(reinterpret_cast<char*>(&record), in,
                                                                  LoadedFileVersion);
        if (NormalizeOnLoad)
            record.Normalize();
        return result;
    } else {
        return record.LoadBody(in);
    }
}

// T's constructor is its Init and nothing else (SERIAL_CONSTRUCTOR).
template <class T>
concept ConstructedByInit = requires { typename T::ConstructedByInit; } &&
                            std::same_as<typename T::ConstructedByInit, T>;

// Calls make, whose construction of a T leaves out T's Init: the T is what
// its member initialisers give (nested records are made in full).
template <class T, class Make>
decltype(auto) WithoutInit(Make&& make)
{
    struct LeaveOut {
        LeaveOut() { t_initLeftOut = &g_initPlans<T>; }
        ~LeaveOut() { t_initLeftOut = nullptr; }
    } leaveOut;
    return make();
}

// ReadsOverBare's answer for class T at a file version and a CurrentVersion.
struct BareAnswer {
    uint32_t version = UINT32_MAX;
    uint32_t current = UINT32_MAX;
    bool yes = false;
};
template <class T>
constinit inline BareAnswer g_bareAnswer{};

template <class T>
bool FindReadsOverBare(uint32_t version)
{
    T model;  // made in full: T has its init plan from here on
    const ReadPlan& plan = ReadPlanOf<T>(model, version);
    const ReadPlan* init = g_initPlans<T>.Find(CurrentVersion);
    std::optional<T> bare;
    WithoutInit<T>([&]() -> T& { return bare.emplace(); });
    return init && plan.ReadsOver(*init, reinterpret_cast<const char*>(&*bare));
}

// Whether a new element of T can be made without its Init before it is read
// from a file of the version: T's constructor is its Init, T reads by its own
// plan, and that plan reads over everything Init sets (ReadPlan::ReadsOver).
// An element made so that the file does not fill whole is made again in full
// and read again (ReadBare).
template <class T>
bool ReadsOverBare(uint32_t version)
{
    if constexpr (!ConstructedByInit<T> || !ReadsByOwnPlan<T>) {
        return false;
    } else {
        BareAnswer& answer = g_bareAnswer<T>;
        if (answer.version != version || answer.current != CurrentVersion)
            answer = {version, CurrentVersion, FindReadsOverBare<T>(version)};
        return answer.yes;
    }
}

// The element ReadBare read in part, made again in full and read again from
// start.
template <class T>
int ReadAgainInFull(T& item, RecordReader& in, std::size_t start)
{
    item = T();
    in.Rewind(start);
    in.SetEndedEarly(false);
    return LoadExact(item, in);
}

// Reads item, made without its Init, from in, which has not ended early so
// far. Where the file does not fill it whole (it ends inside it, or a read
// fails), it is made again in full and read again, so that what the file
// leaves out holds its initial value.
template <class T>
int ReadBare(T& item, RecordReader& in)
{
    const std::size_t start = in.Position();
    int ok = LoadExact(item, in);
    if (!ok || in.EndedEarly()) [[unlikely]]
        ok = ReadAgainInFull(item, in, start);
    return ok;
}

// A new element at the end of items, made without its Init and read by ReadBare.
template <class T>
int ReadNewBare(std::vector<T>& items, RecordReader& in)
{
    return ReadBare(WithoutInit<T>([&]() -> T& { return items.emplace_back(); }), in);
}

// Element i of items (i <= size) made a default element just before it is
// read: a new one at the end, or a kept one by assignment, which keeps its
// strings' and vectors' storage. fresh, the default element copied, is made
// when first needed; a single new element is made directly.
template <class T>
T& FreshElement(std::vector<T>& items, std::size_t i, std::size_t count, std::optional<T>& fresh)
{
    if (i == items.size() && !fresh && i + 1 == count)
        return items.emplace_back();
    if (!fresh)
        fresh.emplace();
    if (i == items.size())
        return items.emplace_back(*fresh);
    items[i] = *fresh;
    return items[i];
}

template <class T>
int RecordList<T>::Read(RecordReader& in, uint32_t version)
{
    std::size_t count = in.ReadCount(MinRecordSize<T>(version));
    if (count == 0) {
        items_.clear();
        return 1;
    }
    if (count < items_.size())
        items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(count), items_.end());
    items_.reserve(count);
    // Each element is made fresh right before it is read, while it is in the
    // cache; after a failed read the rest are made fresh only. A new element
    // the file fills whole is made without its Init.
    std::optional<T> fresh;
    const bool bare = ReadsOverBare<T>(LoadedFileVersion);
    int ok = 1;
    for (std::size_t i = 0; i < count; ++i) {
        if (bare && ok && i == items_.size() && !in.EndedEarly() && !in.AtEnd()) {
            ok = ReadNewBare(items_, in);
            continue;
        }
        T& item = FreshElement(items_, i, count, fresh);
        if (ok && !LoadExact(item, in))
            ok = 0;
    }
    return ok;
}

template <class R>
int ReadNestedAt(void* member, RecordReader& in, uint32_t)
{
    return LoadExact(*static_cast<R*>(member), in);
}
template <class R>
int ReadListAt(void* member, RecordReader& in, uint32_t version)
{
    return static_cast<RecordList<R>*>(member)->Read(in, version);
}
template <class R>
int InitNestedAt(void* member)
{
    return static_cast<R*>(member)->Init();
}
template <class R>
int InitListAt(void* member)
{
    static_cast<RecordList<R>*>(member)->clear();
    return 1;
}
template <class R>
int InitListVecAt(void* member)
{
    static_cast<std::vector<RecordList<R>>*>(member)->clear();
    return 1;
}
// A 32-bit count, then that many lists, as if into an emptied vector.
template <class R>
int ReadListVecAt(void* member, RecordReader& in, uint32_t version)
{
    auto& lists = *static_cast<std::vector<RecordList<R>>*>(member);
    uint32_t count = in.ReadCount(4);
    lists.resize(count);
    for (std::size_t i = 0; i < lists.size(); ++i)
        if (!lists[i].Read(in, version)) {
            for (std::size_t k = i + 1; k < lists.size(); ++k)
                lists[k].clear();
            return 0;
        }
    return 1;
}

int OpenListFile(const std::string& path, RecordReader& in, uint32_t& count);

// Records of class T kept for their storage (strings, vectors, nested lists):
// the next list file of T read into an empty list takes them, made fresh
// again by assignment, instead of allocating everything anew. A project that
// is loaded again thus reuses the memory of the one it replaces.
template <class T>
std::vector<T>& SpareRecords()
{
    static std::vector<T> spare;
    return spare;
}

// Empties list, keeping its elements as spare records of T (those of an earlier
// list not yet taken are freed).
template <class T>
void RecycleRecords(RecordList<T>& list)
{
    std::vector<T>& spare = SpareRecords<T>();
    spare.clear();
    spare.swap(list.items());
}

template <class T>
int LoadListFile(RecordList<T>& list, const std::string& path)
{
    RecordReader in;
    uint32_t count = 0;
    if (!OpenListFile(path, in, count))
        return 0;
    // A count of 0 or less (as a signed value) leaves the list as it was; a larger
    // one is resized to, not emptied first: existing elements are read over.
    long long endedIn = -1;
    std::size_t endedStart = 0;
    const uint32_t promised = count;
    if (static_cast<int32_t>(count) > 0) {
        count = in.BoundCount(count, MinRecordSize<T>(LoadedFileVersion));
        // Which record the file ended in: the first one that ran short, or the
        // one after those the bytes could hold.
        const bool fewer = in.EndedEarly();
        in.SetEndedEarly(false);
        std::vector<T>& items = list.items();
        std::vector<T>& spare = SpareRecords<T>();
        // The elements of a list read over keep their values where the file
        // ends early; spare records taken instead of new ones are made fresh.
        std::size_t readOver = items.size();
        if (items.empty() && !spare.empty()) {
            items.swap(spare);
            readOver = 0;
        }
        if (items.size() > count)
            items.erase(items.begin() + count, items.end());
        readOver = std::min<std::size_t>(readOver, count);
        items.reserve(count);
        // Each element is made fresh right before it is read, while it is in the
        // cache; a new element the file fills whole is made without its Init.
        std::optional<T> fresh;
        const bool bare = ReadsOverBare<T>(LoadedFileVersion);
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t start = in.Position();
            const bool before = in.EndedEarly();
            if (bare && i == items.size() && !in.EndedEarly() && !in.AtEnd())
                ReadNewBare(items, in);
            else
                LoadExact(i < readOver ? items[i] : FreshElement(items, i, count, fresh), in);
            if (!before && in.EndedEarly()) {
                endedIn = static_cast<long long>(i);
                endedStart = start;
            }
        }
        if (fewer && endedIn < 0) {
            endedIn = count;
            endedStart = in.Position();
        }
        if (fewer)
            in.SetEndedEarly(true);
    }
    NoteIfEndedEarly(path, in, endedIn, promised, endedStart);
    // Each record read was normalised as it was read; a list left as it was is
    // normalised here.
    if (NormalizeOnLoad && static_cast<int32_t>(promised) <= 0)
        for (T& item : list)
            item.Normalize();
    return 1;
}

template <class T>
int SaveListFile(RecordList<T>& list, const std::string& path)
{
    RecordWriter out;
    if (!BeginRecordFile(out, path))
        return 0;
    out.U32(static_cast<uint32_t>(list.size()));
    for (T& item : list)
        item.SaveBody(out);
    return out.Commit() ? 1 : 0;
}

// Declares a record class's constructor as its Init and nothing else. A list
// element of the class that a file fills whole is then made without the Init
// (ReadsOverBare).
#define SERIAL_CONSTRUCTOR(Class)       \
    using ConstructedByInit = Class;   \
    Class() { Init(); }

// Declares the member enumeration in a record class.
// Also gives the class its read and init plans.
#define SERIAL_MEMBERS                                                                   \
    int ReadPlanned(RecordReader& in_, uint32_t version_) override                        \
    {                                                                                      \
        return ReadByPlan<std::remove_cvref_t<decltype(*this)>>(*this, in_, version_);     \
    }                                                                                      \
    int InitPlanned() override { return InitByPlan<std::remove_cvref_t<decltype(*this)>>(*this); } \
    int Serial(SerialOp op, cSerial* other, SerialIO* io, uint32_t version) override
