// The call block, the memory callbacks and the message cycle of the stand-in
// host.
#include "HostSession.h"

#include <algorithm>
#include <cstring>

namespace fmhost {

namespace {

constexpr char kPoison = '\xDD';
constexpr int16_t kMemFullError = -108;

// The callbacks carry no context, so they reach the session in progress
// through this pointer; one session runs at a time.
HostSession *gSession = nullptr;

struct Counters {
    int resizes = 0;
    int memoryErrorQueries = 0;
    int parameterSizeQueries = 0;
    int forbidden = 0;
    bool failNextResize = false;
    int16_t memoryError = 0;
    HostHandle parameter = nullptr;
    std::optional<int32_t> reportedParameterSize;
} gCounters;

// The seven callbacks the plug-in must never call only count.
HostHandle FMX_CALLBACK NewHandle(int32_t)
{
    ++gCounters.forbidden;
    return nullptr;
}
void FMX_CALLBACK DisposeHandle(HostHandle)
{
    ++gCounters.forbidden;
}
void FMX_CALLBACK MoveHHi(HostHandle)
{
    ++gCounters.forbidden;
}
void FMX_CALLBACK LockHandle(HostHandle)
{
    ++gCounters.forbidden;
}
void FMX_CALLBACK UnlockHandle(HostHandle)
{
    ++gCounters.forbidden;
}
void *FMX_CALLBACK NewPointer(int32_t)
{
    ++gCounters.forbidden;
    return nullptr;
}
void FMX_CALLBACK DisposePointer(void *)
{
    ++gCounters.forbidden;
}

void FMX_CALLBACK SetHandleSize(HostHandle handle, int32_t size)
{
    ++gCounters.resizes;
    if (gCounters.failNextResize) {
        gCounters.failNextResize = false;
        gCounters.memoryError = kMemFullError;
        return;
    }
    gCounters.memoryError = 0;
    if (gSession && gSession->Memory().Owns(handle))
        gSession->Memory().Resize(handle, size);
    else
        gCounters.memoryError = kMemFullError;
}

int32_t FMX_CALLBACK GetHandleSize(HostHandle handle)
{
    if (handle == gCounters.parameter) {
        ++gCounters.parameterSizeQueries;
        if (gCounters.reportedParameterSize)
            return *gCounters.reportedParameterSize;
    }
    return gSession && gSession->Memory().Owns(handle) ? gSession->Memory().Size(handle) : 0;
}

int16_t FMX_CALLBACK MemoryError()
{
    ++gCounters.memoryErrorQueries;
    return gCounters.memoryError;
}

}  // namespace

// ---- HandleArena ----

struct HandleArena::Block {
    char *data = nullptr;  // the handle points at this member
    std::vector<char> storage;
};

HandleArena::HandleArena() = default;
HandleArena::~HandleArena() = default;

HostHandle HandleArena::New(const std::string &bytes)
{
    auto block = std::make_unique<Block>();
    block->storage.assign(bytes.begin(), bytes.end());
    block->storage.push_back(kPoison);  // never empty, so data is never null
    block->data = block->storage.data();
    HostHandle handle = &block->data;
    live_.push_back(std::move(block));
    return handle;
}

HandleArena::Block *HandleArena::Find(HostHandle handle) const
{
    for (const auto &block : live_)
        if (&block->data == handle)
            return block.get();
    return nullptr;
}

bool HandleArena::Owns(HostHandle handle) const
{
    return Find(handle) != nullptr;
}

void HandleArena::Resize(HostHandle handle, int32_t size)
{
    Block *block = Find(handle);
    if (!block)
        return;
    size_t newSize = size > 0 ? static_cast<size_t>(size) : 0;
    size_t oldSize = block->storage.size() - 1;
    std::vector<char> moved(newSize + 1, kPoison);
    std::copy_n(block->storage.begin(), std::min(oldSize, newSize), moved.begin());
    std::fill(block->storage.begin(), block->storage.end(), kPoison);
    retired_.push_back(std::move(block->storage));
    block->storage = std::move(moved);
    block->data = block->storage.data();
    ++moves_;
}

int32_t HandleArena::Size(HostHandle handle) const
{
    Block *block = Find(handle);
    return block ? static_cast<int32_t>(block->storage.size() - 1) : 0;
}

std::string HandleArena::Bytes(HostHandle handle) const
{
    Block *block = Find(handle);
    if (!block)
        return std::string();
    return std::string(block->storage.begin(), block->storage.end() - 1);
}

bool HandleArena::RetiredBlocksIntact() const
{
    for (const auto &block : retired_)
        for (char c : block)
            if (c != kPoison)
                return false;
    return true;
}

void HandleArena::Clear()
{
    live_.clear();
    retired_.clear();
}

// ---- The call block ----

ExternCallBlock NewCallBlock(HINSTANCE instance, const HostCallbacks &callbacks)
{
    ExternCallBlock block;
    std::memset(&block, 0, sizeof block);
    block.instanceID = instance;
    block.cNewHandle = callbacks.newHandle;
    block.cSetHandleSize = callbacks.setHandleSize;
    block.cGetHandleSize = callbacks.getHandleSize;
    block.cDisposeHandle = callbacks.disposeHandle;
    block.cMoveHHi = callbacks.moveHHi;
    block.cLockHandle = callbacks.lockHandle;
    block.cUnlockHandle = callbacks.unlockHandle;
    block.cNewPointer = callbacks.newPointer;
    block.cDisposePointer = callbacks.disposePointer;
    block.cMemoryError = callbacks.memoryError;
    return block;
}

// ---- HostSession ----

HostSession::HostSession(EntryPoint entry, HINSTANCE instance)
    : entry_(entry),
      block_(NewCallBlock(
          instance, {NewHandle, SetHandleSize, GetHandleSize, DisposeHandle, MoveHHi, LockHandle,
                     UnlockHandle, NewPointer, DisposePointer, MemoryError}))
{
    gSession = this;
    gCounters = Counters();
}

HostSession::~HostSession()
{
    if (gSession == this)
        gSession = nullptr;
}

void HostSession::Deliver(uint8_t whichCall)
{
    gSession = this;
    block_.whichCall = whichCall;
    entry_(&block_);
}

intptr_t HostSession::Startup(int16_t extnVersion)
{
    block_.extnVersion = extnVersion;
    block_.result = 0;
    Deliver(kFMXInit);
    return block_.result;
}

CallOutcome HostSession::Call(const CallRequest &request)
{
    HostHandle parameter = arena_.New(request.parameter);
    HostHandle result = arena_.New(request.initialResult);
    gCounters.resizes = 0;
    gCounters.memoryErrorQueries = 0;
    gCounters.parameterSizeQueries = 0;
    gCounters.memoryError = 0;
    gCounters.failNextResize = request.memoryErrorOnResize;
    gCounters.parameter = parameter;
    gCounters.reportedParameterSize = request.reportedParameterSize;

    block_.parm2 = static_cast<intptr_t>(static_cast<int32_t>(request.functionId));
    block_.parm3 = parameter;
    block_.result = reinterpret_cast<intptr_t>(result);
    Deliver(kFMXExternal);

    CallOutcome outcome;
    outcome.result = arena_.Bytes(result);
    outcome.resultSize = arena_.Size(result);
    outcome.resizes = gCounters.resizes;
    outcome.memoryErrorQueries = gCounters.memoryErrorQueries;
    outcome.parameterSizeQueries = gCounters.parameterSizeQueries;
    outcome.staleWrite = !arena_.RetiredBlocksIntact();
    gCounters.parameter = nullptr;
    gCounters.reportedParameterSize.reset();
    gCounters.failNextResize = false;
    arena_.Clear();
    return outcome;
}

std::string HostSession::Call(uint32_t functionId, const std::string &parameter)
{
    CallRequest request;
    request.functionId = functionId;
    request.parameter = parameter;
    return Call(request).result;
}

void HostSession::Shutdown()
{
    Deliver(kFMXShutdown);
}
void HostSession::Idle()
{
    Deliver(kFMXIdle);
}
void HostSession::Preferences()
{
    Deliver(kFMXDoAppPreferences);
}

intptr_t HostSession::Send(uint8_t whichCall, intptr_t presetResult)
{
    block_.result = presetResult;
    Deliver(whichCall);
    return block_.result;
}

int HostSession::ForbiddenCallbackCalls() const
{
    return gCounters.forbidden;
}

}  // namespace fmhost
