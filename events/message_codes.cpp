#include "events/message_codes.h"

#include <array>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Moves pos past a run of digits; false when there is none.
bool Digits(std::string_view t, std::size_t& pos)
{
    std::size_t start = pos;
    while (pos < t.size() && IsDigit(t[pos]))
        ++pos;
    return pos > start;
}

bool Accept(std::string_view t, std::size_t& pos, char c)
{
    if (pos < t.size() && t[pos] == c) {
        ++pos;
        return true;
    }
    return false;
}

constexpr std::array<std::string_view, 11> kNames = {"#TURN.",   "#CHARA.",  "#LEADER.", "#TARGET.",
                                                     "#ACTCHARA.", "#BTLFRIEND.", "#BTLENEMY.", "#BEFORE.",
                                                     "#AFTER.",  "#CHANGE.", "#SKILL."};

}  // namespace

std::size_t MessageCodeLength(std::string_view text, std::size_t pos)
{
    if (pos + 1 >= text.size() || text[pos] != '#')
        return 0;
    std::string_view rest = text.substr(pos);
    for (std::string_view name : kNames)
        if (rest.substr(0, name.size()) == name)
            return name.size();
    std::size_t p = pos + 2;
    if (text[pos + 1] == 'P') {
        if (Digits(text, p) && Accept(text, p, '.'))
            return p - pos;
        return 0;
    }
    if (text[pos + 1] == 'C') {
        if (!Digits(text, p))
            return 0;
        if (Accept(text, p, '_') && !Digits(text, p))
            return 0;
        Accept(text, p, 'z');
        Accept(text, p, 'p');
        if (Accept(text, p, '.'))
            return p - pos;
    }
    return 0;
}
