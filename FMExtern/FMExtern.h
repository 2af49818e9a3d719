// The host's side of the plug-in interface: the call block the host passes on
// every message, the movable memory handles it lends, and its ten callbacks.
#ifndef FMEXTERN_FMEXTERN_H
#define FMEXTERN_FMEXTERN_H

#include <windows.h>

#include <stddef.h>
#include <stdint.h>

// The host calls back with __stdcall on 32-bit Windows; elsewhere there is
// only one convention.
#if defined(_WIN32) && !defined(_WIN64)
#define FMX_CALLBACK __stdcall
#else
#define FMX_CALLBACK
#endif

// The entry point is a plain C function with the C calling convention,
// exported under its undecorated name.
#if defined(_WIN32)
#define FMX_ENTRY extern "C" void __cdecl
#else
#define FMX_ENTRY extern "C" void
#endif

// A pointer to a pointer to a block of host memory. The host may move the
// block whenever it is resized, so the inner pointer must be read afresh after
// every resize. Text in a handle is 8-bit ANSI without a terminator.
typedef char **HostHandle;

typedef HostHandle(FMX_CALLBACK *FMNewHandleProc)(int32_t size);
typedef void(FMX_CALLBACK *FMSetHandleSizeProc)(HostHandle handle, int32_t size);
typedef int32_t(FMX_CALLBACK *FMGetHandleSizeProc)(HostHandle handle);
typedef void(FMX_CALLBACK *FMDisposeHandleProc)(HostHandle handle);
typedef void(FMX_CALLBACK *FMMoveHHiProc)(HostHandle handle);
typedef void(FMX_CALLBACK *FMLockHandleProc)(HostHandle handle);
typedef void(FMX_CALLBACK *FMUnlockHandleProc)(HostHandle handle);
typedef void *(FMX_CALLBACK *FMNewPointerProc)(int32_t size);
typedef void(FMX_CALLBACK *FMDisposePointerProc)(void *pointer);
typedef int16_t(FMX_CALLBACK *FMMemoryErrorProc)(void);

// Message codes carried in whichCall.
enum FMExternMessage {
    kFMXInit = 0,
    kFMXIdle = 1,
    kFMXExternal = 3,
    kFMXShutdown = 4,
    kFMXDoAppPreferences = 5
};

// Start-up replies stored in result.
enum FMExternStartupReply { kFMXStartupOK = 4, kFMXStartupBadVersion = -1, kFMXStartupFailed = -2 };

// The host's call block: 72 bytes on 32-bit Windows, where natural alignment
// gives exactly the host's offsets. On wider targets the fields that carry
// handles or addresses are pointer-width.
struct ExternCallBlock {
    int16_t extnVersion;   // start-up: the host's interface version
    int16_t resourceID;    // unused
    int32_t entryPoint;    // unused
    uint8_t ppcCalls;      // unused
    uint8_t whichCall;     // the message code
    uint8_t unsafeCalls;   // unused
    uint8_t parm1;         // unused
    intptr_t parm2;        // external call: the function id
    HostHandle parm3;      // external call: the parameter handle
    HINSTANCE instanceID;  // the plug-in module's instance handle
    intptr_t result;       // start-up: the reply; external call: the result handle
    intptr_t unused;       // unused
    FMNewHandleProc cNewHandle;
    FMSetHandleSizeProc cSetHandleSize;
    FMGetHandleSizeProc cGetHandleSize;
    FMDisposeHandleProc cDisposeHandle;
    FMMoveHHiProc cMoveHHi;
    FMLockHandleProc cLockHandle;
    FMUnlockHandleProc cUnlockHandle;
    FMNewPointerProc cNewPointer;
    FMDisposePointerProc cDisposePointer;
    FMMemoryErrorProc cMemoryError;
};

#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(ExternCallBlock) == 72, "the host's block is 72 bytes");
static_assert(offsetof(ExternCallBlock, extnVersion) == 0, "extnVersion");
static_assert(offsetof(ExternCallBlock, resourceID) == 2, "resourceID");
static_assert(offsetof(ExternCallBlock, entryPoint) == 4, "entryPoint");
static_assert(offsetof(ExternCallBlock, ppcCalls) == 8, "ppcCalls");
static_assert(offsetof(ExternCallBlock, whichCall) == 9, "whichCall");
static_assert(offsetof(ExternCallBlock, unsafeCalls) == 10, "unsafeCalls");
static_assert(offsetof(ExternCallBlock, parm1) == 11, "parm1");
static_assert(offsetof(ExternCallBlock, parm2) == 12, "parm2");
static_assert(offsetof(ExternCallBlock, parm3) == 16, "parm3");
static_assert(offsetof(ExternCallBlock, instanceID) == 20, "instanceID");
static_assert(offsetof(ExternCallBlock, result) == 24, "result");
static_assert(offsetof(ExternCallBlock, unused) == 28, "unused");
static_assert(offsetof(ExternCallBlock, cNewHandle) == 32, "cNewHandle");
static_assert(offsetof(ExternCallBlock, cSetHandleSize) == 36, "cSetHandleSize");
static_assert(offsetof(ExternCallBlock, cGetHandleSize) == 40, "cGetHandleSize");
static_assert(offsetof(ExternCallBlock, cDisposeHandle) == 44, "cDisposeHandle");
static_assert(offsetof(ExternCallBlock, cMoveHHi) == 48, "cMoveHHi");
static_assert(offsetof(ExternCallBlock, cLockHandle) == 52, "cLockHandle");
static_assert(offsetof(ExternCallBlock, cUnlockHandle) == 56, "cUnlockHandle");
static_assert(offsetof(ExternCallBlock, cNewPointer) == 60, "cNewPointer");
static_assert(offsetof(ExternCallBlock, cDisposePointer) == 64, "cDisposePointer");
static_assert(offsetof(ExternCallBlock, cMemoryError) == 68, "cMemoryError");
#endif

// The block of the message in progress; written first thing on every message.
extern ExternCallBlock *gFMExternCallPtr;

FMX_ENTRY FMExternCallProc(ExternCallBlock *block);

#endif
