#include "records/labels.h"

#include "base/text.h"

LabelTable::LabelTable(std::initializer_list<const char*> utf8)
{
    labels_.reserve(utf8.size());
    for (const char* label : utf8)
        labels_.push_back(Utf8ToCp932(label));
}

const std::string& LabelTable::operator[](long long value) const
{
    static const std::string none;
    if (value < 0 || value >= Count())
        return none;
    return labels_[static_cast<std::size_t>(value)];
}

const LabelTable& CompareOpLabels()
{
    static const LabelTable labels{"である", "でない", "以上", "以下", "より上", "より下", "の倍数である", "の倍数でない"};
    return labels;
}
