// The kinds of messages that scripts count, and the counting.
#include "Platform.h"

#include "ScriptText.h"

#include <cstdio>

namespace fmhost {

namespace {

// By number: the stand-in's header defines only the messages it sends.
// clang-format off
const std::map<UINT, std::string> kNames = {
    {0x0003, "move"}, {0x0006, "activate"}, {0x0007, "setfocus"}, {0x0008, "killfocus"},
    {0x000B, "setredraw"}, {0x000C, "settext"}, {0x000D, "gettext"}, {0x000F, "paint"},
    {0x0014, "erasebkgnd"}, {0x0018, "showwindow"}, {0x001C, "activateapp"},
    {0x0022, "childactivate"}, {0x0024, "getminmaxinfo"}, {0x0046, "windowposchanging"},
    {0x0047, "windowposchanged"}, {0x007C, "stylechanging"}, {0x007D, "stylechanged"},
    {0x007F, "geticon"}, {0x0083, "nccalcsize"}, {0x0085, "ncpaint"}, {0x0086, "ncactivate"},
    {0x0088, "syncpaint"}, {0x0222, "mdiactivate"}, {0x0229, "mdigetactive"},
    {0x0230, "mdisetmenu"},
};
// clang-format on
const char *const kSizeTypes[] = {"restored", "minimized", "maximized", "maxshow", "maxhide"};

std::string SizeOf(LPARAM size)
{
    return std::to_string(LOWORD(size)) + "x" + std::to_string(HIWORD(size));
}

std::string TypeOf(WPARAM type)
{
    return type < 5 ? kSizeTypes[type] : std::to_string(type);
}

}  // namespace

std::map<std::string, int> MessageKinds(const WindowMessages &messages)
{
    std::map<std::string, int> kinds;
    for (const auto &count : messages.counts) {
        char id[16];
        std::snprintf(id, sizeof id, "0x%04x", count.first);
        auto name = kNames.find(count.first);
        if (count.first != WM_SIZE)
            kinds[name != kNames.end() ? name->second : id] += count.second;
    }
    for (const auto &size : messages.sizes)
        ++kinds["size:" + TypeOf(size.first)];
    return kinds;
}

int CountMessages(const WindowMessages &messages, const std::string &kind)
{
    bool sized = kind.rfind("size:", 0) == 0, other = kind.rfind("size:!", 0) == 0;
    bool known = kind == "all" || kind == "size" ||
                 (sized && kind.find('x') != std::string::npos) ||
                 (kind.size() == 6 && kind.rfind("0x", 0) == 0);
    for (const auto &name : kNames)
        known = known || kind == name.second;
    for (const char *type : kSizeTypes)
        known = known || (sized && kind.substr(other ? 6 : 5) == type);
    if (!known)
        throw ScriptError("no message kind '" + kind + "' (try 'help')");
    int count = 0;
    for (const auto &size : messages.sizes)
        count += sized && SizeOf(size.second) == kind.substr(5);
    for (const auto &found : MessageKinds(messages)) {
        bool size = found.first.rfind("size:", 0) == 0;
        if (kind == "all" || found.first == kind || (kind == "size" && size) ||
            (other && size && found.first.substr(5) != kind.substr(6)))
            count += found.second;
    }
    return count;
}

std::string DescribeMessages(const WindowMessages &messages)
{
    std::string text, sizes;
    for (const auto &kind : MessageKinds(messages))
        text += ", " + kind.first + " " + std::to_string(kind.second);
    for (const auto &size : messages.sizes)
        sizes += (sizes.empty() ? " (" : ", ") + TypeOf(size.first) + " " + SizeOf(size.second);
    return text.empty() ? "none" : text.substr(2) + (sizes.empty() ? "" : sizes + ")");
}

}  // namespace fmhost
