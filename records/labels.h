// Fixed lists of labels indexed by value: the items of the combo boxes that
// choose a kind and the words of the summaries that name it.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <type_traits>
#include <vector>

class LabelTable {
public:
    // The labels are written in the source as UTF-8 and held as CP932.
    LabelTable(std::initializer_list<const char*> utf8);

    int Count() const { return static_cast<int>(labels_.size()); }
    // The label of a value; empty for a value outside the table.
    const std::string& operator[](long long value) const;
    template <class E>
        requires std::is_enum_v<E>
    const std::string& operator[](E value) const
    {
        return (*this)[static_cast<long long>(value)];
    }

private:
    std::vector<std::string> labels_;
};

// The comparisons of conditions: the condition holds when "left comparison right".
enum class CompareOp : int32_t {
    Equal,          // "である"
    NotEqual,       // "でない"
    AtLeast,        // "以上"
    AtMost,         // "以下"
    Greater,        // "より上"
    Less,           // "より下"
    MultipleOf,     // "の倍数である"
    NotMultipleOf,  // "の倍数でない"
};
const LabelTable& CompareOpLabels();
