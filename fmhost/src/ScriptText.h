// The words of the stand-in host's script language: splitting a line into
// words, the numbers, rectangles and key=value options in them, and the text
// of answers and handles in messages.
#ifndef FMHOST_SCRIPTTEXT_H
#define FMHOST_SCRIPTTEXT_H

#include <windows.h>

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace fmhost {

struct ScriptError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

using Words = std::vector<std::string>;

// A line's words: blanks separate them, "double quotes" hold blanks and "|"
// in a word (with \n, \t, \0 and \xHH for other bytes), "#" starts a comment.
Words Tokenize(const std::string &line);

// A number in C's notation (decimal, 0x hex); what names it in the error.
long ParseNumber(const std::string &text, const char *what);

// The text quoted, as a script would write it.
std::string Quote(const std::string &text);
std::string Hex(unsigned long value);
std::string RectText(const RECT &r);

// key=value options after the positional words of a command.
struct Options {
    std::map<std::string, std::string> values;
    Words positional;

    Options(const Words &words, size_t first)
    {
        for (size_t i = first; i < words.size(); ++i) {
            size_t eq = words[i].find('=');
            if (eq != std::string::npos && eq > 0)
                values[words[i].substr(0, eq)] = words[i].substr(eq + 1);
            else
                positional.push_back(words[i]);
        }
    }
    bool Has(const std::string &key) const { return values.count(key) != 0; }
    std::string Get(const std::string &key, const std::string &fallback = "") const
    {
        auto it = values.find(key);
        return it == values.end() ? fallback : it->second;
    }
};

// Four numbers separated by commas: x,y,width,height (or left,top,right,bottom).
void ParseRect(const std::string &text, int *x, int *y, int *w, int *h);
// Two numbers separated by a comma: x,y.
void ParsePoint(const std::string &text, int *x, int *y);

}  // namespace fmhost

#endif
