// The oracle of the preferences: the stored text a start-up loads from the
// registry, and what the preferences dialog may change.
#include "Oracle.h"

namespace fuzz {

bool ExpectedLoad(std::string *text)
{
    if (!winsim::KeyExists(kSettingsKey)) {
        *text = "1";
        return true;
    }
    std::string data;
    if (!winsim::GetValue(kSettingsKey, "prefs", &data)) {
        *text = "1";  // the default, written again
        return true;
    }
    if (data.size() > 22)
        return false;
    if (!data.empty() && data.back() == '\0')
        data.pop_back();
    if (data.size() > 21)
        return false;
    *text = data.substr(0, data.find('\0'));
    return true;
}

namespace {

// Accepted: OK on a text it takes, which is then kept and ended with 1,
// whether or not ending the dialog went through. A DialogBoxParamA made to
// fail leaves the last run of an earlier message in place.
bool DialogAccepted()
{
    auto opened = winsim::CallsTo("DialogBoxParamA");
    winsim::DialogRun run = winsim::LastDialog();
    bool accepted = !opened.empty() && !opened.back().failed && run.ran;
    bool endedWithOk = false;
    for (const auto &end : winsim::CallsTo("EndDialog"))
        endedWithOk |= end.args.size() == 2 && end.args[1] == "1";
    return accepted && endedWithOk;
}

}  // namespace

// The stored text changes only on OK with a text of 1 to 20 characters with
// a "#", which is then in the registry; nothing else of the record or the
// windows changes.
void CheckPreferences(bool faulted, const Snapshot &before, const Snapshot &after)
{
    bool accepted = DialogAccepted();
    std::string text = gPluginState.prefText;
    if (!accepted && text != before.state.prefText)
        Fail("preferences", "the text changed without OK: \"" + text + "\"");
    if (accepted) {
        if (text.empty() || text.size() > 20 || text.find('#') == std::string::npos)
            Fail("preferences", "accepted \"" + text + "\"");
        std::string stored;
        bool found = winsim::GetValue(kSettingsKey, "prefs", &stored);
        if (found && !stored.empty() && stored.back() == '\0')
            stored.pop_back();
        if (!faulted && (!found || stored != text))
            Fail("preferences", "accepted \"" + text + "\" but stored \"" + stored + "\"");
    }
    PluginState without = after.state;
    std::memcpy(without.prefText, before.state.prefText, sizeof without.prefText);
    if (!SameState(before.state, without))
        Fail("preferences", "the dialog changed more of the record than the text");
    Changes c = Compare(before, after);
    if (!c.created.empty() || !c.destroyed.empty() || !c.style.empty() || !c.rect.empty() ||
        !c.title.empty() || !c.menu.empty())
        Fail("preferences", "changed" + Describe(c));
}

}  // namespace fuzz
