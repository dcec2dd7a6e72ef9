// Feeds arbitrary bytes to the CSV text reader and the skill reader against a
// group of five skills. A refused file must leave the group as it was; an
// accepted one must leave every column within its limits.
#include <cstdint>
#include <cstring>

#include "base/log.h"
#include "base/text.h"
#include "database/csv.h"
#include "database/skill.h"

namespace {

class SilentSink : public MessageSink {
public:
    Answer Box(const std::string&, const std::string&, Buttons) override { return Answer::Ok; }
};

cSkillList FiveSkills()
{
    cSkillList g;
    g.m_nGroupNo = 0;
    g.m_Skills.resize(5);
    for (int i = 0; i < 5; ++i) {
        g.m_Skills[i].m_Name = "s" + std::to_string(i);
        g.m_Skills[i].m_nPrice = i * 100;
        g.m_Skills[i].m_dSortNo = i * 1.5;
    }
    return g;
}

bool WithinLimits(const cSkillList& g)
{
    for (int i = 1; i < g.m_Skills.size(); ++i) {
        cSkill& skill = const_cast<cSkill&>(g.m_Skills[i]);
        for (const CsvColumn& c : SkillCsvColumns()) {
            if (c.valueType == CSVVALUETYPE_MEMO)
                continue;
            void* p = c.member.address(skill);
            double v = 0;
            switch (c.valueType) {
            case CSVVALUETYPE_STRING: {
                const std::string& s = *static_cast<const std::string*>(p);
                std::size_t chars = 0;
                for (std::size_t k = 0; k < s.size(); k += CharLength(s, k))
                    ++chars;
                if (chars > static_cast<std::size_t>(c.lengthLimit))
                    return false;
                continue;
            }
            case CSVVALUETYPE_INT: { int32_t x; std::memcpy(&x, p, 4); v = x; break; }
            case CSVVALUETYPE_BYTE: { uint8_t x; std::memcpy(&x, p, 1); v = x; break; }
            case CSVVALUETYPE_DOUBLE: { std::memcpy(&v, p, 8); break; }
            default: return false;  // the skill table has no other types
            }
            if (!(v >= c.minimum && v <= c.maximum))
                return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static SilentSink sink;
    static const cSkillList original = FiveSkills();
    SetMessageSink(&sink);
    CsvTable table;
    if (!ParseCsvText(std::string_view(reinterpret_cast<const char*>(data), size), table))
        return 0;
    cSkillList group = original;
    bool ok = ReadSkillCsv(group, table);
    if (!ok && !group.Equals(original))
        __builtin_trap();
    if (ok && !WithinLimits(group))
        __builtin_trap();
    return 0;
}
