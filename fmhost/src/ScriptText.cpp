// Splitting a script line into words, and reading and writing the values in
// them.
#include "ScriptText.h"

#include "PluginNames.h"

#include <cctype>
#include <cstdlib>
#include <sstream>

namespace fmhost {

namespace {
const char kPlatformWord[] = "{platform}";
}

Words Tokenize(const std::string &line)
{
    Words words;
    size_t i = 0;
    while (i < line.size()) {
        char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
            continue;
        }
        if (c == '#')
            break;
        std::string word;
        bool quoted = false;
        while (i < line.size() &&
               (quoted || (line[i] != ' ' && line[i] != '\t' && line[i] != '\r'))) {
            char d = line[i++];
            if (d == '"') {
                quoted = !quoted;
            } else if (d == '\\' && quoted && i + 2 < line.size() && line[i] == 'x' &&
                       std::isxdigit(static_cast<unsigned char>(line[i + 1])) &&
                       std::isxdigit(static_cast<unsigned char>(line[i + 2]))) {
                // \xHH: any byte, such as half of a double-byte character.
                word += static_cast<char>(std::stoi(line.substr(i + 1, 2), nullptr, 16));
                i += 3;
            } else if (d == '$' && line.compare(i, sizeof kPlatformWord - 1, kPlatformWord) == 0) {
                // ${platform}: what the module says of its platform, so that one
                // script runs against the 32-bit and the 64-bit module alike.
                word += LOOMVANE_PLATFORM;
                i += sizeof kPlatformWord - 1;
            } else if (d == '\\' && quoted && i < line.size()) {
                char e = line[i++];
                word += e == 'n' ? '\n' : e == 't' ? '\t' : e == '0' ? '\0' : e;
            } else {
                word += d;
            }
        }
        if (quoted)
            throw ScriptError("unterminated quotation mark");
        words.push_back(word);
    }
    return words;
}

long ParseNumber(const std::string &text, const char *what)
{
    if (text.empty())
        throw ScriptError(std::string("missing ") + what);
    char *end = nullptr;
    long value = std::strtol(text.c_str(), &end, 0);
    if (*end != '\0')
        throw ScriptError(std::string("not a number for ") + what + ": '" + text + "'");
    return value;
}

std::string Quote(const std::string &text)
{
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        if (c == '\0')
            out += "\\0";
        else
            out += c;
    }
    return out + "\"";
}

std::string Hex(unsigned long value)
{
    std::ostringstream out;
    out << "0x" << std::hex << value;
    return out.str();
}

std::string RectText(const RECT &r)
{
    std::ostringstream out;
    out << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
    return out.str();
}

namespace {

// what: "rectangle"; shape: how it is written.
void ParseNumbers(const std::string &text, int *values, int count, const char *what,
                  const char *shape)
{
    std::istringstream in(text);
    for (int i = 0; i < count; ++i) {
        std::string part;
        if (!std::getline(in, part, ','))
            throw ScriptError(std::string("a ") + what + " is " + shape + ": '" + text + "'");
        values[i] = static_cast<int>(ParseNumber(part, what));
    }
}

}  // namespace

void ParseRect(const std::string &text, int *x, int *y, int *w, int *h)
{
    int values[4];
    ParseNumbers(text, values, 4, "rectangle", "x,y,width,height");
    *x = values[0];
    *y = values[1];
    *w = values[2];
    *h = values[3];
}

void ParsePoint(const std::string &text, int *x, int *y)
{
    int values[2];
    ParseNumbers(text, values, 2, "point", "x,y");
    *x = values[0];
    *y = values[1];
}

}  // namespace fmhost
