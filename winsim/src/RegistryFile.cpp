// The registry on disk. The file is text:
//
//   winsim-registry 1
//   [Software\Quenmark Software]
//   [Software\Quenmark Software\Loomvane Plugin\1.1v1]
//   "prefs" 1 61 23 63
//   "" 1 64 65 66
//
// The first line identifies the format. A line "[path]" starts a key, the
// path relative to HKEY_CURRENT_USER; every key has its line, so that empty
// keys survive. A value line belongs to the key above it: the value's name in
// double quotes ("" for the default value; \\, \" and \xNN escape bytes),
// its type in decimal, then its data as two-digit hex bytes, none for empty
// data. Blank lines and lines starting with '#' are ignored.
#include "Internal.h"

#include <cstdio>
#include <fstream>
#include <sstream>

using namespace winsim::detail;

namespace {

const char kHeader[] = "winsim-registry 1";

std::string Escape(const std::string &name)
{
    std::string out;
    for (unsigned char c : name) {
        if (c == '\\' || c == '"') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c >= 0x7f) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", c);
            out += hex;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

void Write(std::ostream &out, const RegKey &key, const std::string &path)
{
    if (!path.empty())
        out << "[" << path << "]\n";
    for (const auto &entry : key.values) {
        const RegValue &value = entry.second;
        out << "\"" << Escape(value.name) << "\" " << value.type;
        for (unsigned char c : value.data) {
            char hex[4];
            std::snprintf(hex, sizeof hex, " %02x", c);
            out << hex;
        }
        out << "\n";
    }
    for (const auto &sub : key.subkeys)
        Write(out, *sub.second, path.empty() ? sub.second->name : path + "\\" + sub.second->name);
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Reads "name" from the start of line; answers the position after it.
bool ParseName(const std::string &line, size_t *at, std::string *name)
{
    if (line.empty() || line[0] != '"')
        return false;
    size_t i = 1;
    while (i < line.size() && line[i] != '"') {
        char c = line[i++];
        if (c != '\\') {
            *name += c;
            continue;
        }
        if (i >= line.size())
            return false;
        char e = line[i++];
        if (e == 'x') {
            if (i + 1 >= line.size() || HexDigit(line[i]) < 0 || HexDigit(line[i + 1]) < 0)
                return false;
            *name += static_cast<char>(HexDigit(line[i]) * 16 + HexDigit(line[i + 1]));
            i += 2;
        } else {
            *name += e;
        }
    }
    if (i >= line.size())
        return false;
    *at = i + 1;
    return true;
}

bool ParseValue(const std::string &line, RegValue *value)
{
    size_t at = 0;
    if (!ParseName(line, &at, &value->name))
        return false;
    std::istringstream rest(line.substr(at));
    long long type = -1;
    if (!(rest >> type) || type < 0 || type > 0xffffffffLL)
        return false;
    value->type = static_cast<DWORD>(type);
    std::string byte;
    while (rest >> byte) {
        if (byte.size() != 2 || HexDigit(byte[0]) < 0 || HexDigit(byte[1]) < 0)
            return false;
        value->data += static_cast<char>(HexDigit(byte[0]) * 16 + HexDigit(byte[1]));
    }
    return true;
}

}  // namespace

namespace winsim {

bool SaveRegistry(const std::string &file)
{
    std::ofstream out(file, std::ios::binary);
    if (!out)
        return false;
    out << kHeader << "\n";
    Write(out, *detail::S().registry, "");
    return static_cast<bool>(out);
}

// Replaces the whole tree; keys still open refer to the old one and answer
// ERROR_KEY_DELETED. A file that does not parse changes nothing.
bool LoadRegistry(const std::string &file)
{
    std::ifstream in(file, std::ios::binary);
    std::string line;
    if (!in || !std::getline(in, line) || line != kHeader)
        return false;
    std::shared_ptr<RegKey> root = NewRegistry();
    std::shared_ptr<RegKey> current = root;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        if (line[0] == '[') {
            if (line.back() != ']')
                return false;
            current = WalkKey(root, line.substr(1, line.size() - 2), true, nullptr);
            continue;
        }
        RegValue value;
        if (!ParseValue(line, &value))
            return false;
        current->values[Lower(value.name)] = value;
    }
    State &s = S();
    MarkDeleted(s.registry.get());
    s.registry = root;
    return true;
}

}  // namespace winsim
