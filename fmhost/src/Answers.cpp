// The answers a function may give at all.
#include "Answers.h"

#include "FunctionList.h"
#include "PluginNames.h"

namespace fmhost {

namespace {

bool IsDecimal(const std::string &text, size_t from, size_t to)
{
    if (to <= from || to - from > 10)
        return false;
    if (text[from] == '0' && to - from > 1)
        return false;
    for (size_t i = from; i < to; ++i)
        if (text[i] < '0' || text[i] > '9')
            return false;
    return true;
}

// The ids of the version and the two size queries, by their names.
enum : uint32_t {
#define FMHOST_ANSWER_ID(id, name, handler, kind) k##handler = id,
    LOOMVANE_FUNCTIONS(FMHOST_ANSWER_ID)
#undef FMHOST_ANSWER_ID
};

}  // namespace

bool IsPlacementText(const std::string &text)
{
    size_t start = 0;
    for (int field = 0; field < 4; ++field) {
        size_t end = field < 3 ? text.find('|', start) : text.size();
        if (end == std::string::npos)
            return false;
        size_t digits = start;
        if (digits < end && text[digits] == '-')
            ++digits;
        if (!IsDecimal(text, digits, end) ||
            (digits > start && text.compare(digits, end - digits, "0") == 0))
            return false;
        start = end + 1;
    }
    return true;
}

bool IsFlagText(const std::string &text)
{
    return text == "0" || text == "1";
}

bool IsPossibleAnswer(uint32_t id, const std::string &answer)
{
    if (id == kDoVersion)
        return answer == LOOMVANE_SHORT_VERSION || answer == LOOMVANE_LONG_VERSION;
    if (id == kDoGetWindowSize || id == kDoGetWindowSizeABS)
        return answer == "0" || IsPlacementText(answer);
    return IsFlagText(answer);
}

}  // namespace fmhost
