#include "records/json_text.h"

namespace {

bool IsContainer(const Json& j) { return j.is_object() || j.is_array(); }

void Write(const Json& j, int depth, std::string& out)
{
    std::string pad(static_cast<std::size_t>(depth + 1) * 2, ' ');
    std::string closePad(static_cast<std::size_t>(depth) * 2, ' ');
    if (j.is_object()) {
        if (j.empty()) {
            out += "{}";
            return;
        }
        out += "{\n";
        std::size_t i = 0;
        for (auto it = j.begin(); it != j.end(); ++it, ++i) {
            out += pad;
            out += Json(it.key()).dump();
            out += ": ";
            Write(it.value(), depth + 1, out);
            out += i + 1 < j.size() ? ",\n" : "\n";
        }
        out += closePad + "}";
    } else if (j.is_array()) {
        bool nested = false;
        for (const Json& e : j)
            nested = nested || IsContainer(e);
        if (!nested) {
            out += j.dump(-1, ' ', false, Json::error_handler_t::strict);
            return;
        }
        out += "[\n";
        for (std::size_t i = 0; i < j.size(); ++i) {
            out += pad;
            Write(j[i], depth + 1, out);
            out += i + 1 < j.size() ? ",\n" : "\n";
        }
        out += closePad + "]";
    } else {
        out += j.dump(-1, ' ', false, Json::error_handler_t::strict);
    }
}

}  // namespace

std::string JsonText(const Json& value)
{
    std::string out;
    Write(value, 0, out);
    out += '\n';
    return out;
}
