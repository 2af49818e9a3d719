// The call log, fault injection and the quiet mode: every public Win32 function
// opens an ApiCall, which reserves its log entry and decides whether it fails.
#include "Internal.h"

#include <cstdio>

namespace winsim {

namespace detail {

int &QuietDepth()
{
    static int depth = 0;
    return depth;
}

ApiCall::ApiCall(const char *function)
{
    if (QuietDepth() > 0)
        return;
    State &s = S();
    active_ = true;
    index_ = s.log.size();
    generation_ = s.logGeneration;
    s.log.push_back(Call{function, {}, std::string(), false});
    for (size_t i = 0; i < s.faults.size();) {
        Fault &fault = s.faults[i];
        if (fault.function != "*" && fault.function != function) {
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
        FaultInjected(function);
    }
}

void ApiCall::Log(std::vector<std::string> args, const std::string &result)
{
    State &s = S();
    if (!active_ || generation_ != s.logGeneration || index_ >= s.log.size())
        return;
    s.log[index_].args = std::move(args);
    s.log[index_].result = result;
}

std::string Hex(unsigned long long value)
{
    char text[32];
    std::snprintf(text, sizeof text, "0x%llx", value);
    return text;
}

std::string Dec(long long value)
{
    return std::to_string(value);
}

std::string Text(LPCSTR text)
{
    if (text == nullptr)
        return "NULL";
    if (IS_INTRESOURCE(text))
        return "#" + std::to_string(reinterpret_cast<ULONG_PTR>(text));
    return "\"" + std::string(text) + "\"";
}

std::string Ptr(const void *pointer)
{
    return pointer ? Hex(reinterpret_cast<uintptr_t>(pointer)) : "NULL";
}

std::string RectText(const RECT *rect)
{
    if (rect == nullptr)
        return "NULL";
    return "{" + Dec(rect->left) + ", " + Dec(rect->top) + ", " + Dec(rect->right) + ", " +
           Dec(rect->bottom) + "}";
}

std::string PointText(const POINT *point)
{
    if (point == nullptr)
        return "NULL";
    return "{" + Dec(point->x) + ", " + Dec(point->y) + "}";
}

}  // namespace detail

using namespace detail;

void FailCall(const std::string &function, int nth, bool persistent, LSTATUS errorCode)
{
    Fault fault;
    fault.function = function;
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

void FaultInjected(const char *function)
{
    // A place for a breakpoint on "the call that failed"; kept out of line.
    asm volatile("" : : "r"(function) : "memory");
}

const std::vector<Call> &CallLog()
{
    return S().log;
}

void ClearCallLog()
{
    S().log.clear();
    ++S().logGeneration;
}

size_t CountCalls(const std::string &function)
{
    size_t count = 0;
    for (const Call &call : S().log)
        if (call.function == function)
            ++count;
    return count;
}

std::vector<Call> CallsTo(const std::string &function)
{
    std::vector<Call> calls;
    for (const Call &call : S().log)
        if (call.function == function)
            calls.push_back(call);
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
    if (handle == nullptr)
        return "NULL";
    // Handles are 32-bit values on Windows; HWND_NOTOPMOST is 0xfffffffe.
    return Hex(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(handle)));
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
