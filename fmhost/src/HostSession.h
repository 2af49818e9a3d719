// The stand-in host's side of the plug-in interface: it fills the call block,
// lends movable memory handles, answers the memory callbacks, sends messages
// and reads the result text back.
#ifndef FMHOST_HOSTSESSION_H
#define FMHOST_HOSTSESSION_H

#include "FMExtern.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace fmhost {

using EntryPoint = void (*)(ExternCallBlock *);

// The ten memory callbacks a host lends the plug-in, in the block's order.
struct HostCallbacks {
    FMNewHandleProc newHandle;
    FMSetHandleSizeProc setHandleSize;
    FMGetHandleSizeProc getHandleSize;
    FMDisposeHandleProc disposeHandle;
    FMMoveHHiProc moveHHi;
    FMLockHandleProc lockHandle;
    FMUnlockHandleProc unlockHandle;
    FMNewPointerProc newPointer;
    FMDisposePointerProc disposePointer;
    FMMemoryErrorProc memoryError;
};

// A call block as every host here fills it before the first message: all
// zero but the module's instance and the callbacks.
ExternCallBlock NewCallBlock(HINSTANCE instance, const HostCallbacks &callbacks);

// Host memory at its worst: every resize moves the block to a new allocation
// and poisons the old one, which is kept so that a write through a stale
// inner pointer can be found afterwards.
class HandleArena {
public:
    HandleArena();
    ~HandleArena();
    HandleArena(const HandleArena &) = delete;
    HandleArena &operator=(const HandleArena &) = delete;

    HostHandle New(const std::string &bytes);
    void Resize(HostHandle handle, int32_t size);
    int32_t Size(HostHandle handle) const;
    std::string Bytes(HostHandle handle) const;
    bool Owns(HostHandle handle) const;
    // True while no retired block has been written to since it was retired.
    bool RetiredBlocksIntact() const;
    size_t Moves() const { return moves_; }
    void Clear();

private:
    struct Block;
    Block *Find(HostHandle handle) const;
    std::vector<std::unique_ptr<Block>> live_;
    std::vector<std::vector<char>> retired_;
    size_t moves_ = 0;
};

// One external call as the host makes it.
struct CallRequest {
    uint32_t functionId = 0;
    std::string parameter;
    // What cGetHandleSize reports for the parameter; its length by default.
    std::optional<int32_t> reportedParameterSize;
    // What the result handle holds before the call.
    std::string initialResult;
    // cMemoryError reports an error after the next resize, which then fails.
    bool memoryErrorOnResize = false;
};

struct CallOutcome {
    std::string result;      // the result handle's bytes after the call
    int32_t resultSize = 0;  // its size
    int resizes = 0;         // cSetHandleSize calls during the call
    int memoryErrorQueries = 0;
    int parameterSizeQueries = 0;
    bool staleWrite = false;  // a retired block was written to
};

class HostSession {
public:
    HostSession(EntryPoint entry, HINSTANCE instance);
    ~HostSession();
    HostSession(const HostSession &) = delete;
    HostSession &operator=(const HostSession &) = delete;

    // Start-up: the plug-in's reply, or the value left in result.
    intptr_t Startup(int16_t extnVersion);
    CallOutcome Call(const CallRequest &request);
    std::string Call(uint32_t functionId, const std::string &parameter);
    void Shutdown();
    void Idle();
    void Preferences();
    // Any message code, with result preset to presetResult; answers result
    // afterwards.
    intptr_t Send(uint8_t whichCall, intptr_t presetResult = 0);

    // Calls the plug-in must never make: cNewHandle, cDisposeHandle, cMoveHHi,
    // cLockHandle, cUnlockHandle, cNewPointer, cDisposePointer.
    int ForbiddenCallbackCalls() const;
    ExternCallBlock &Block() { return block_; }
    HandleArena &Memory() { return arena_; }

private:
    void Deliver(uint8_t whichCall);

    EntryPoint entry_;
    ExternCallBlock block_;
    HandleArena arena_;
};

}  // namespace fmhost

#endif
