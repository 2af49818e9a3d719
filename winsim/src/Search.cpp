// Window search: FindWindowA and FindWindowExA over one level of the tree,
// from the top of the Z order, by class and whole title without regard to case.
#include "Internal.h"

#include <algorithm>

using namespace winsim::detail;

namespace {

bool ClassMatches(const Window *w, LPCSTR className)
{
    if (className == nullptr)
        return true;
    if (IS_INTRESOURCE(className))
        return w->cls->atom == static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(className));
    return SameText(w->cls->name, className);
}

HWND Search(HWND parent, HWND childAfter, LPCSTR className, LPCSTR windowName)
{
    const std::vector<HWND> *list = &S().topLevel;
    if (parent != NULL) {
        Window *p = Find(parent);
        if (p == nullptr)
            return NULL;
        list = &p->children;
    }
    auto at = list->begin();
    if (childAfter != NULL) {
        at = std::find(list->begin(), list->end(), childAfter);
        if (at == list->end())
            return NULL;
        ++at;
    }
    for (; at != list->end(); ++at) {
        const Window *w = Find(*at);
        // Hidden and disabled windows are found too; "" names only an empty title.
        if (ClassMatches(w, className) && (windowName == nullptr || SameText(w->title, windowName)))
            return *at;
    }
    return NULL;
}

}  // namespace

HWND WINAPI FindWindowA(LPCSTR className, LPCSTR windowName)
{
    ApiCall call(Fn::FindWindowA);
    HWND result = call.Failed() ? NULL : Search(NULL, NULL, className, windowName);
    call.Log({Text(className), Text(windowName)}, HandleText(result));
    return result;
}

HWND WINAPI FindWindowExA(HWND parent, HWND childAfter, LPCSTR className, LPCSTR windowName)
{
    ApiCall call(Fn::FindWindowExA);
    HWND result = call.Failed() ? NULL : Search(parent, childAfter, className, windowName);
    call.Log({HandleText(parent), HandleText(childAfter), Text(className), Text(windowName)},
             HandleText(result));
    return result;
}
