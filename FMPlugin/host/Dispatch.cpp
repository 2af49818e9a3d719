// The external-call message: the function id picks one handler from the
// table that the function list builds.
#include "Plugin.h"

typedef void (*ParameterHandler)(HostHandle parameter, HostHandle result);
typedef void (*ResultOnlyHandler)(HostHandle result);

struct FunctionEntry {
    ParameterHandler withParameter;  // set when the handler reads the parameter
    ResultOnlyHandler resultOnly;    // set when it is given the result alone
};

#define FN_ENTRY_FN_PARAM(handler) \
    {                              \
        handler, NULL              \
    }
#define FN_ENTRY_FN_RESULT_ONLY(handler) \
    {                                    \
        NULL, handler                    \
    }
#define LOOMVANE_TABLE_ENTRY(id, name, handler, kind) FN_ENTRY_##kind(handler),

static const FunctionEntry FunctionTable[] = {LOOMVANE_FUNCTIONS(LOOMVANE_TABLE_ENTRY)};

#define LOOMVANE_CHECK_ORDER(id, name, handler, kind) \
    static_assert(id == __COUNTER__ - kFirstCounter, "ids in order");
enum { kFirstCounter = __COUNTER__ + 1 };
LOOMVANE_FUNCTIONS(LOOMVANE_CHECK_ORDER)

static_assert(sizeof FunctionTable / sizeof FunctionTable[0] == LOOMVANE_FUNCTION_COUNT,
              "one table entry per external function");

void DispatchExternalCall(intptr_t functionId, HostHandle parameter, HostHandle result)
{
    uint32_t id = (uint32_t)functionId;
    if (id >= LOOMVANE_FUNCTION_COUNT) {
        MessageBeep(0);
        return;
    }
    const FunctionEntry *entry = &FunctionTable[id];
    if (entry->withParameter != NULL)
        entry->withParameter(parameter, result);
    else
        entry->resultOnly(result);
}
