// The call log, fault injection and the quiet mode: every public Win32 function
// opens an ApiCall, which reserves its log entry and decides whether it fails.
// The log records raw values; their text is made only when the log is read.
#include "Internal.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace winsim {

namespace detail {

int &QuietDepth()
{
    static int depth = 0;
    return depth;
}

namespace {

const char *const kFunctionNames[] = {
#define WINSIM_FUNCTION_NAME(name) #name,
    WINSIM_FUNCTIONS(WINSIM_FUNCTION_NAME)
#undef WINSIM_FUNCTION_NAME
};

// The function's place in the list; a name that is not on it is a mistake
// of the test that names it, which would otherwise count or fail nothing.
int FunctionIndex(const std::string &name, const char *asker)
{
    for (size_t i = 0; i < sizeof kFunctionNames / sizeof kFunctionNames[0]; ++i)
        if (name == kFunctionNames[i])
            return static_cast<int>(i);
    throw std::invalid_argument(std::string("winsim::") + asker + ": '" + name +
                                "' is no function of the stand-in");
}

}  // namespace

const char *FunctionName(Fn function)
{
    return kFunctionNames[static_cast<int>(function)];
}

ApiCall::ApiCall(Fn function)
{
    if (QuietDepth() > 0)
        return;
    State &s = S();
    active_ = true;
    index_ = s.log.size();
    generation_ = s.logGeneration;
    s.log.emplace_back();
    s.log.back().function = FunctionName(function);
    for (size_t i = 0; i < s.faults.size();) {
        Fault &fault = s.faults[i];
        if (fault.function != kEveryFunction && fault.function != static_cast<int>(function)) {
            ++i;
            continue;
        }
        ++fault.seen;
        bool fires = fault.persistent ? fault.seen >= fault.nth : fault.seen == fault.nth;
        if (fires && !failed_) {
            failed_ = true;
            errorCode_ = fault.errorCode;
        }
        if (fires && !fault.persistent)
            s.faults.erase(s.faults.begin() + static_cast<long>(i));
        else
            ++i;
    }
    if (failed_) {
        ++s.faultsInjected;
        s.log[index_].failed = true;
    }
}

namespace {

LoggedValue Keep(State &s, const LogValue &value)
{
    LoggedValue kept;
    kept.kind = value.kind();
    kept.textAt = s.logText.size();
    kept.textLength = value.length();
    s.logText.append(value.text(), value.length());
    std::copy_n(value.numbers(), 4, kept.numbers);
    return kept;
}

std::string HexText(unsigned long long value)
{
    char text[32];
    std::snprintf(text, sizeof text, "0x%llx", value);
    return text;
}

std::string Written(LogValue::Kind kind, const char *text, size_t length, const long long *n)
{
    switch (kind) {
    case LogValue::Kind::Text:
        return std::string(text, length);
    case LogValue::Kind::Quoted:
        return "\"" + std::string(text, length) + "\"";
    case LogValue::Kind::Hex:
        return HexText(static_cast<unsigned long long>(n[0]));
    case LogValue::Kind::Dec:
        return std::to_string(n[0]);
    case LogValue::Kind::Handle:
        // Handles are 32-bit values on Windows; HWND_NOTOPMOST is 0xfffffffe.
        return n[0] == 0 ? "NULL" : HexText(static_cast<uint32_t>(n[0]));
    case LogValue::Kind::Resource:
        return "#" + std::to_string(static_cast<unsigned long long>(n[0]));
    case LogValue::Kind::Rect:
        return "{" + std::to_string(n[0]) + ", " + std::to_string(n[1]) + ", " +
               std::to_string(n[2]) + ", " + std::to_string(n[3]) + "}";
    case LogValue::Kind::Point:
        return "{" + std::to_string(n[0]) + ", " + std::to_string(n[1]) + "}";
    case LogValue::Kind::Class: {
        std::string name = n[1] == 0   ? "NULL"
                           : n[1] == 1 ? "#" + std::to_string(static_cast<unsigned long long>(n[2]))
                                       : "\"" + std::string(text, length) + "\"";
        return "{" + HexText(static_cast<unsigned long long>(n[0])) + ", " + name + "}";
    }
    }
    return std::string();
}

std::string Written(const State &s, const LoggedValue &value)
{
    return Written(value.kind, s.logText.data() + value.textAt, value.textLength, value.numbers);
}

Call Formatted(const State &s, const LoggedCall &logged)
{
    Call call{logged.function, {}, Written(s, logged.result), logged.failed};
    call.args.reserve(logged.argCount);
    for (size_t i = 0; i < logged.argCount; ++i)
        call.args.push_back(Written(s, s.logArgs[logged.firstArg + i]));
    return call;
}

}  // namespace

void ApiCall::Log(std::initializer_list<LogValue> args, const LogValue &result)
{
    Log(args, {}, result);
}

void ApiCall::Log(std::initializer_list<LogValue> first, std::initializer_list<LogValue> more,
                  const LogValue &result)
{
    State &s = S();
    if (!active_ || generation_ != s.logGeneration || index_ >= s.log.size())
        return;
    LoggedCall &call = s.log[index_];
    call.firstArg = s.logArgs.size();
    call.argCount = first.size() + more.size();
    for (const LogValue &arg : first)
        s.logArgs.push_back(Keep(s, arg));
    for (const LogValue &arg : more)
        s.logArgs.push_back(Keep(s, arg));
    call.result = Keep(s, result);
    // Read before it was complete, its text is made again.
    s.formattedUpTo = std::min(s.formattedUpTo, index_);
}

std::string LogValue::Formatted() const
{
    return Written(kind_, text_, length_, numbers_);
}

std::string operator+(const std::string &a, const LogValue &b)
{
    return a + b.Formatted();
}
std::string operator+(const LogValue &a, const std::string &b)
{
    return a.Formatted() + b;
}
std::string operator+(const char *a, const LogValue &b)
{
    return a + b.Formatted();
}
std::string operator+(const LogValue &a, const char *b)
{
    return a.Formatted() + b;
}
std::string operator+(const LogValue &a, const LogValue &b)
{
    return a.Formatted() + b.Formatted();
}

LogValue Text(LPCSTR text)
{
    if (text == nullptr)
        return "NULL";
    if (IS_INTRESOURCE(text))
        return LogValue(LogValue::Kind::Resource,
                        static_cast<long long>(reinterpret_cast<ULONG_PTR>(text)));
    return LogValue::Quoted(text);
}

LogValue Ptr(const void *pointer)
{
    return pointer ? Hex(reinterpret_cast<uintptr_t>(pointer)) : "NULL";
}

LogValue RectText(const RECT *rect)
{
    if (rect == nullptr)
        return "NULL";
    return LogValue(LogValue::Kind::Rect, rect->left, rect->top, rect->right, rect->bottom);
}

LogValue PointText(const POINT *point)
{
    if (point == nullptr)
        return "NULL";
    return LogValue(LogValue::Kind::Point, point->x, point->y);
}

}  // namespace detail

using namespace detail;

void FailCall(const std::string &function, int nth, bool persistent, LSTATUS errorCode)
{
    Fault fault;
    fault.function = function == "*" ? kEveryFunction : FunctionIndex(function, "FailCall");
    fault.nth = nth < 1 ? 1 : nth;
    fault.persistent = persistent;
    fault.errorCode = errorCode;
    S().faults.push_back(fault);
}

void ClearFaults()
{
    S().faults.clear();
    S().faultsInjected = 0;
}

int FaultsInjected()
{
    return S().faultsInjected;
}

const std::vector<Call> &CallLog()
{
    State &s = S();
    s.formattedLog.resize(s.log.size(), Call{std::string(), {}, std::string(), false});
    for (size_t i = s.formattedUpTo; i < s.log.size(); ++i)
        s.formattedLog[i] = Formatted(s, s.log[i]);
    s.formattedUpTo = s.log.size();
    return s.formattedLog;
}

void ClearCallLog()
{
    State &s = S();
    s.log.clear();
    s.logArgs.clear();
    s.logText.clear();
    s.formattedLog.clear();
    s.formattedUpTo = 0;
    ++s.logGeneration;
}

size_t CallLogSize()
{
    return S().log.size();
}

const char *CallFunction(size_t index)
{
    return S().log.at(index).function;
}

bool CallFailed(size_t index)
{
    return S().log.at(index).failed;
}

size_t CountCalls(const std::string &function)
{
    FunctionIndex(function, "CountCalls");
    size_t count = 0;
    for (const LoggedCall &call : S().log)
        if (function == call.function)
            ++count;
    return count;
}

std::vector<Call> CallsTo(const std::string &function)
{
    FunctionIndex(function, "CallsTo");
    const State &s = S();
    std::vector<Call> calls;
    for (const LoggedCall &call : s.log)
        if (function == call.function)
            calls.push_back(Formatted(s, call));
    return calls;
}

std::string Format(const Call &call)
{
    std::string text = call.function + "(";
    for (size_t i = 0; i < call.args.size(); ++i)
        text += (i ? ", " : "") + call.args[i];
    return text + ") = " + call.result;
}

std::string Str(const void *handle)
{
    return HandleText(handle).Formatted();
}

Quiet::Quiet()
{
    ++QuietDepth();
}
Quiet::~Quiet()
{
    --QuietDepth();
}

}  // namespace winsim
